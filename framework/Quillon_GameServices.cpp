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

bool IsScriptNameInsideScripts(const std::string& name) {
  if (name.empty()) return true;
  if (name[0] == '/' || name[0] == '\\' || name.find(':') != std::string::npos) return false;
  if (name.find('\0') != std::string::npos) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0 && end - start == 2) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace Quillon
