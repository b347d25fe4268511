#include "game/Velkor_UFOClass.h"

VELKOR_IMPLEMENT_CLASS(UFOClass, "UFOClass");
