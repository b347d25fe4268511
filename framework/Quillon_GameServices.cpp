#include "framework/Quillon_GameServices.h"

#include "platform/PAL_Services.h"

namespace Quillon {

namespace {
GameServices g_defaultServices;
GameServices* g_services = nullptr;
}  // namespace

std::string GameServices::GetDirectory() const {
  const char* directory = PAL::GetExecutableDirectory();
  return directory ? directory : "";
}

GameServices& GetGameServices() { return g_services ? *g_services : g_defaultServices; }

void SetGameServices(GameServices* services) { g_services = services; }

}  // namespace Quillon
