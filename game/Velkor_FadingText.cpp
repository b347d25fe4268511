#include "game/Velkor_FadingText.h"

VELKOR_IMPLEMENT_CLASS(FadingText, "FadingText");
