#include "game/Velkor_PowerConsume.h"

VELKOR_IMPLEMENT_CLASS(PowerConsume, "PowerConsume");
