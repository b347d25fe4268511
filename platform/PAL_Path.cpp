#include "platform/PAL_Path.h"

#include "platform/PAL_Services.h"

namespace PAL {

std::string MapPath(const std::string& path) {
  std::string mapped;
  mapped.reserve(path.size());
  for (char c : path) {
    if (c == '\\') c = '/';
    if (c == '/' && !mapped.empty() && mapped.back() == '/') continue;
    mapped.push_back(c);
  }
  return mapped;
}

std::string ResourcePath(const std::string& relative) {
  return MapPath(std::string(GetExecutableDirectory()) + "/" + relative);
}

}  // namespace PAL
