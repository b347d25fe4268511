#include "game/Velkor_ShieldConsume.h"

VELKOR_IMPLEMENT_CLASS(ShieldConsume, "ShieldConsume");
