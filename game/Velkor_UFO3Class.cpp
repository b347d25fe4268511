#include "game/Velkor_UFO3Class.h"

VELKOR_IMPLEMENT_CLASS(UFO3Class, "UFO3Class");
