#include "game/Velkor_GameOverLevel.h"

namespace {

const Core::ClassRegistration g_registration("GameOverLevel", &GameOverLevel::Create);

}  // namespace

Core::Object* GameOverLevel::Create() { return new (__FILE__, __LINE__) GameOverLevel(); }
