#include "game/Velkor_G_MenuLabel.h"

VELKOR_IMPLEMENT_CLASS(G_MenuLabel, "G_MenuLabel");
