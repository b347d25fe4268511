#include "game/Velkor_OptionMenu.h"

VELKOR_IMPLEMENT_CLASS(OptionMenu, "OptionMenu");
