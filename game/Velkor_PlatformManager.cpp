#include "game/Velkor_PlatformManager.h"

VELKOR_IMPLEMENT_CLASS(PlatformManager, "PlatformManager");
