#include "game/Velkor_BossObject.h"

VELKOR_IMPLEMENT_CLASS(BossObject, "BossObject");
