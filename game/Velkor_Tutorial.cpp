#include "game/Velkor_Tutorial.h"

namespace {

const Core::ClassRegistration g_registration("Tutorial", &Tutorial::Create);

}  // namespace

Core::Object* Tutorial::Create() { return new (__FILE__, __LINE__) Tutorial(); }
