#include "game/Velkor_AlienBullet.h"

VELKOR_IMPLEMENT_CLASS(AlienBullet, "AlienBullet");
