#include "platform/PAL_FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <utility>

namespace PAL {

namespace {

std::mutex g_hookMutex;
BeforeReplaceHook g_beforeReplaceHook;

std::string Cause(const char* what, const std::string& path, int errorNumber) {
  return std::string(what) + " \"" + path + "\": " + std::strerror(errorNumber);
}

std::string DirectoryOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Writes every byte, resuming after signals and short writes.
bool WriteAll(int descriptor, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(descriptor, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// The rename itself must reach the device too, or a power loss may bring back the old name.
// Some file systems refuse fsync on a directory; the data is already safe then, so that is no failure.
void SyncDirectory(const std::string& directory) {
  const int descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

// A fresh name beside path: two saves (or two processes) never share a temporary file, and a
// leftover from an earlier crash is never reused.
int CreateTemporaryFile(const std::string& path, std::string& temporaryPath, int& errorNumber) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporaryPath = path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter++);
    const int descriptor = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) return descriptor;
    errorNumber = errno;
    if (errorNumber != EEXIST) return -1;
  }
  return -1;
}

}  // namespace

FileReadResult ReadWholeFile(const std::string& path, std::string& bytes, std::string& error,
                             std::size_t maxBytes) {
  bytes.clear();
  error.clear();
  int descriptor;
  do {
    descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) {
    if (errno == ENOENT) return FileReadResult::Missing;
    error = Cause("cannot open", path, errno);
    return FileReadResult::Failed;
  }
  struct stat status;
  if (::fstat(descriptor, &status) != 0) {
    error = Cause("cannot examine", path, errno);
    ::close(descriptor);
    return FileReadResult::Failed;
  }
  if (!S_ISREG(status.st_mode)) {
    error = "\"" + path + "\" is not a regular file";
    ::close(descriptor);
    return FileReadResult::Failed;
  }
  char buffer[4096];
  for (;;) {
    const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
    if (count < 0) {
      if (errno == EINTR) continue;
      error = Cause("cannot read", path, errno);
      bytes.clear();
      ::close(descriptor);
      return FileReadResult::Failed;
    }
    if (count == 0) break;
    // The limit holds for what is read, not for what stat said: the file may grow meanwhile.
    if (bytes.size() + static_cast<std::size_t>(count) > maxBytes) {
      bytes.append(buffer, maxBytes - bytes.size());
      error = "\"" + path + "\" is larger than " + std::to_string(maxBytes) + " bytes";
      ::close(descriptor);
      return FileReadResult::TooLarge;
    }
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(descriptor);
  return FileReadResult::Read;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes, std::string& error) {
  error.clear();
  std::string temporaryPath;
  int errorNumber = 0;
  const int descriptor = CreateTemporaryFile(path, temporaryPath, errorNumber);
  if (descriptor < 0) {
    error = Cause("cannot create a temporary file for", path, errorNumber);
    return false;
  }
  const auto abandon = [&](const char* what) {
    error = Cause(what, temporaryPath, errno);
    ::close(descriptor);
    ::unlink(temporaryPath.c_str());
    return false;
  };
  if (!WriteAll(descriptor, bytes.data(), bytes.size())) return abandon("cannot write");
  // The data must be on the device before the new name points at it.
  if (::fsync(descriptor) != 0) return abandon("cannot flush");
  if (::close(descriptor) != 0) {
    error = Cause("cannot close", temporaryPath, errno);
    ::unlink(temporaryPath.c_str());
    return false;
  }

  BeforeReplaceHook hook;
  {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    hook = g_beforeReplaceHook;
  }
  if (hook && !hook(temporaryPath)) {
    error = "replacing \"" + path + "\" was interrupted before the rename";
    return false;
  }

  if (::rename(temporaryPath.c_str(), path.c_str()) != 0) {
    error = Cause("cannot rename the temporary file over", path, errno);
    ::unlink(temporaryPath.c_str());
    return false;
  }
  SyncDirectory(DirectoryOf(path));
  return true;
}

bool KeepCopyOfFile(const std::string& path, const std::string& copyPath, std::string& error) {
  error.clear();
  if (::unlink(copyPath.c_str()) != 0 && errno != ENOENT) {
    error = Cause("cannot remove the old copy", copyPath, errno);
    return false;
  }
  if (::link(path.c_str(), copyPath.c_str()) == 0) {
    SyncDirectory(DirectoryOf(copyPath));
    return true;
  }
  const int linkError = errno;
  if (linkError == ENOENT && ::access(path.c_str(), F_OK) != 0) return true;  // nothing to keep
  // No hard links here (or not allowed): copy the bytes instead, just as durably.
  std::string bytes;
  std::string readError;
  if (ReadWholeFile(path, bytes, readError, static_cast<std::size_t>(64) << 20) != FileReadResult::Read) {
    error = Cause("cannot link", copyPath, linkError) + "; " + readError;
    return false;
  }
  return ReplaceFileAtomically(copyPath, bytes, error);
}

void SetBeforeReplaceHook(BeforeReplaceHook hook) {
  std::lock_guard<std::mutex> lock(g_hookMutex);
  g_beforeReplaceHook = std::move(hook);
}

}  // namespace PAL
