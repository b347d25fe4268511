#include "game/Velkor_SpHud.h"

VELKOR_IMPLEMENT_CLASS(SpHud, "SpHud");
