#include "game/Velkor_BulletClass.h"

VELKOR_IMPLEMENT_CLASS(BulletClass, "BulletClass");
