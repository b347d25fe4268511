#include "game/Velkor_WarningSign.h"

VELKOR_IMPLEMENT_CLASS(WarningSign, "WarningSign");
