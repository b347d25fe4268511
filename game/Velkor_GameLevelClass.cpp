#include "game/Velkor_GameLevelClass.h"

namespace {

const Core::ClassRegistration g_registration("GameLevelClass", &GameLevelClass::Create);

}  // namespace

Core::Object* GameLevelClass::Create() { return new (__FILE__, __LINE__) GameLevelClass(); }
