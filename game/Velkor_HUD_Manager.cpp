#include "game/Velkor_HUD_Manager.h"

VELKOR_IMPLEMENT_CLASS(HUD_Manager, "HUD_Manager");
