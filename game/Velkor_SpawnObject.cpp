#include "game/Velkor_SpawnObject.h"

VELKOR_IMPLEMENT_CLASS(SpawnObject, "SpawnObject");
