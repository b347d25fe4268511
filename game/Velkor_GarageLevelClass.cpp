#include "game/Velkor_GarageLevelClass.h"

namespace {

const Core::ClassRegistration g_registration("GarageLevelClass", &GarageLevelClass::Create);

}  // namespace

Core::Object* GarageLevelClass::Create() { return new (__FILE__, __LINE__) GarageLevelClass(); }
