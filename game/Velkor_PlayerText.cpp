#include "game/Velkor_PlayerText.h"

VELKOR_IMPLEMENT_CLASS(PlayerText, "PlayerText");
