#include "platform/PAL_Path.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

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

namespace {

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

// $HOME, else the account's home from the password database (a service may run without $HOME).
std::string HomeDirectory() {
  const char* home = std::getenv("HOME");
  if (IsAbsolute(home)) return home;
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  struct passwd entry;
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      IsAbsolute(found->pw_dir)) {
    return found->pw_dir;
  }
  return std::string();
}

}  // namespace

std::string UserDataDirectory(const std::string& application) {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (IsAbsolute(dataHome)) {
    base = dataHome;
  } else {
    const std::string home = HomeDirectory();
    if (home.empty()) return std::string();
    base = home + "/.local/share";
  }
  std::string directory = MapPath(base + "/" + application);
  while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
  return directory;
}

bool CreateDirectories(const std::string& directory, std::string& error) {
  error.clear();
  if (directory.empty()) {
    error = "no folder named";
    return false;
  }
  const std::string mapped = MapPath(directory);
  // Each prefix ending before a separator, then the whole path.
  for (std::size_t end = 1; end <= mapped.size(); ++end) {
    if (end < mapped.size() && mapped[end] != '/') continue;
    const std::string part = mapped.substr(0, end);
    struct stat status;
    if (::stat(part.c_str(), &status) == 0) {
      if (S_ISDIR(status.st_mode)) continue;
      error = "\"" + part + "\" is not a folder";
      return false;
    }
    if (::mkdir(part.c_str(), 0700) == 0) continue;
    const int cause = errno;
    // Made by someone else in the meantime: fine when it is a folder.
    if (cause == EEXIST && ::stat(part.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) continue;
    error = "cannot create the folder \"" + part + "\": " + std::strerror(cause);
    return false;
  }
  return true;
}

}  // namespace PAL
