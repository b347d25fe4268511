#include "game/Velkor_CivilianClass.h"

VELKOR_IMPLEMENT_CLASS(CivilianClass, "CivilianClass");
