#include "game/Velkor_PlayerClass.h"

VELKOR_IMPLEMENT_CLASS(PlayerClass, "PlayerClass");
