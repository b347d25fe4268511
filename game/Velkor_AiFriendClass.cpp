#include "game/Velkor_AiFriendClass.h"

VELKOR_IMPLEMENT_CLASS(AiFriendClass, "AiFriendClass");
