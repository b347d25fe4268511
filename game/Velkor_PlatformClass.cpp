#include "game/Velkor_PlatformClass.h"

VELKOR_IMPLEMENT_CLASS(PlatformClass, "PlatformClass");
