#include "game/Velkor_SpecialAttackClass.h"

VELKOR_IMPLEMENT_CLASS(SpecialAttackClass, "SpecialAttackClass");
