#include "game/Velkor_CharBullet.h"

VELKOR_IMPLEMENT_CLASS(CharBullet, "CharBullet");
