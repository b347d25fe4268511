#include "game/Velkor_EnergyBar.h"

VELKOR_IMPLEMENT_CLASS(EnergyBar, "EnergyBar");
