#include "game/Velkor_CursorClass.h"

VELKOR_IMPLEMENT_CLASS(CursorClass, "CursorClass");
