#include "game/Velkor_RadiusAttack.h"

VELKOR_IMPLEMENT_CLASS(RadiusAttack, "RadiusAttack");
