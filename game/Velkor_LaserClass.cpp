#include "game/Velkor_LaserClass.h"

VELKOR_IMPLEMENT_CLASS(LaserClass, "LaserClass");
