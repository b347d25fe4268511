#include "game/Velkor_UFO2Class.h"

VELKOR_IMPLEMENT_CLASS(UFO2Class, "UFO2Class");
