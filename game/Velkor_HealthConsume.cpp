#include "game/Velkor_HealthConsume.h"

VELKOR_IMPLEMENT_CLASS(HealthConsume, "HealthConsume");
