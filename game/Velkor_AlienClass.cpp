#include "game/Velkor_AlienClass.h"

VELKOR_IMPLEMENT_CLASS(AlienClass, "AlienClass");
