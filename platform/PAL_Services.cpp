#include "platform/PAL_Services.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/PAL_Path.h"

namespace PAL {

namespace {

std::string ReadExecutablePath() {
  // The link's length is not known in advance; grow until it fits.
  std::vector<char> buffer(1024);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return std::string();
    if (static_cast<std::size_t>(length) < buffer.size()) return std::string(buffer.data(), static_cast<std::size_t>(length));
    buffer.resize(buffer.size() * 2);
  }
}

struct ExecutablePath {
  std::string directory;
  std::string name;
};

const ExecutablePath& GetExecutablePath() {
  static const ExecutablePath path = [] {
    ExecutablePath result;
    SplitExecutablePath(ReadExecutablePath(), result.directory, result.name);
    return result;
  }();
  return path;
}

struct ErrorContext {
  std::mutex lock;
  std::string function;
  std::string enclosingFunction;
  std::string sourceFile;
  std::uint32_t line = 0;
};

ErrorContext& GetErrorContext() {
  static ErrorContext* context = new ErrorContext;
  return *context;
}

struct MessageBoxHandlers {
  std::mutex lock;
  MessageBoxHandler hook;
  MessageBoxHandler backend;
};

MessageBoxHandlers& GetMessageBoxHandlers() {
  static MessageBoxHandlers* handlers = new MessageBoxHandlers;
  return *handlers;
}

// The hook first, then the backend; false when neither showed the box.
bool ShowInBox(const MessageBoxRequest& request, std::uint32_t& answer) {
  MessageBoxHandler hook, backend;
  {
    MessageBoxHandlers& handlers = GetMessageBoxHandlers();
    std::lock_guard<std::mutex> guard(handlers.lock);
    hook = handlers.hook;
    backend = handlers.backend;
  }
  bool shown = false;
  if (hook) shown = hook(request, answer);
  if (!shown && backend) shown = backend(request, answer);
  return shown;
}

// Opens a directory one component at a time, so no length limit applies to the whole path.
int OpenDirectory(const std::string& path) {
  int directory = open(path[0] == '/' ? "/" : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  std::size_t start = 0;
  while (directory >= 0 && start < path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) {
      const std::string component = path.substr(start, end - start);
      const int next = openat(directory, component.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      close(directory);
      directory = next;
    }
    start = end + 1;
  }
  return directory;
}

const char* SystemErrorText(int errorCode, char* buffer, std::size_t size) {
  if (errorCode == 0) return "no error code was given";
  // The GNU form returns the text, which may or may not be in the buffer.
  return strerror_r(errorCode, buffer, size);
}

}  // namespace

void SplitExecutablePath(const std::string& path, std::string& directory, std::string& name) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    directory = path;
    name = path;
    return;
  }
  directory = path.substr(0, slash);
  name = path.substr(slash + 1);
}

const char* GetExecutableDirectory() { return GetExecutablePath().directory.c_str(); }

const char* GetExecutableName() { return GetExecutablePath().name.c_str(); }

bool IsDirectory(const std::string& path) {
  struct stat status {};
  if (stat(MapPath(path).c_str(), &status) != 0) return true;
  return S_ISDIR(status.st_mode);
}

bool IsSystemFile(const std::string& path) {
  struct stat status {};
  return stat(MapPath(path).c_str(), &status) != 0;
}

bool ListDirectory(const std::string& directory, std::vector<std::string>& names) {
  const std::string mapped = MapPath(directory);
  if (mapped.empty()) return false;
  const int descriptor = OpenDirectory(mapped);
  if (descriptor < 0) return false;
  DIR* search = fdopendir(descriptor);
  if (search == nullptr) {
    close(descriptor);
    return false;
  }
  errno = 0;
  while (const dirent* entry = readdir(search)) names.emplace_back(entry->d_name);
  closedir(search);
  return true;
}

void SetErrorContext(const char* function, const char* enclosingFunction, std::uint32_t line,
                     const char* sourceFile) {
  ErrorContext& context = GetErrorContext();
  {
    std::lock_guard<std::mutex> guard(context.lock);
    context.function = function != nullptr ? function : "";
    context.enclosingFunction = enclosingFunction != nullptr ? enclosingFunction : "";
    context.sourceFile = sourceFile != nullptr ? sourceFile : "";
    context.line = line + 1;
  }
  errno = 0;
}

std::string ComposeErrorText(const std::string& function, int errorCode, const std::string& systemText,
                             const std::string& enclosingFunction, const std::string& sourceFile, int line) {
  static const char kFormat[] = "The \"%s\" function failed with error %d: %s\nEnclosing Function: %s\nFile: %s\nLine: %d";
  const int length = std::snprintf(nullptr, 0, kFormat, function.c_str(), errorCode, systemText.c_str(),
                                   enclosingFunction.c_str(), sourceFile.c_str(), line);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(&text[0], text.size(), kFormat, function.c_str(), errorCode, systemText.c_str(),
                enclosingFunction.c_str(), sourceFile.c_str(), line);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

void CheckWin32Error(bool failed) {
  const int errorCode = errno;
  if (!failed) return;
  std::string function, enclosingFunction, sourceFile;
  std::uint32_t line = 0;
  {
    ErrorContext& context = GetErrorContext();
    std::lock_guard<std::mutex> guard(context.lock);
    function = context.function;
    enclosingFunction = context.enclosingFunction;
    sourceFile = context.sourceFile;
    line = context.line;
  }
  char buffer[256] = {};
  const std::string systemText = SystemErrorText(errorCode, buffer, sizeof(buffer));
  // A failure is reported even when the system left no error code: ending silently with
  // success would hide it.
  ShowMessageBox("Error",
                 ComposeErrorText(function, errorCode, systemText, enclosingFunction, sourceFile,
                                  static_cast<int>(line)),
                 MessageBoxIcon::Error, MessageBoxButton::OK);
  ExitAfterFatalError(errorCode != 0 ? errorCode : 1);
}

void ExitAfterFatalError(int exitCode) {
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(exitCode);
}

void SetMessageBoxHook(MessageBoxHandler hook) {
  MessageBoxHandlers& handlers = GetMessageBoxHandlers();
  std::lock_guard<std::mutex> guard(handlers.lock);
  handlers.hook = std::move(hook);
}

void SetMessageBoxBackend(MessageBoxHandler backend) {
  MessageBoxHandlers& handlers = GetMessageBoxHandlers();
  std::lock_guard<std::mutex> guard(handlers.lock);
  handlers.backend = std::move(backend);
}

std::vector<std::uint32_t> GetMessageBoxButtons(std::uint32_t buttons) {
  using B = MessageBoxButton;
  switch (buttons) {
    case B::OK | B::Cancel: return {B::OK, B::Cancel};
    case B::Abort | B::Retry | B::Ignore: return {B::Abort, B::Retry, B::Ignore};
    case B::Yes | B::No | B::Cancel: return {B::Yes, B::No, B::Cancel};
    case B::Yes | B::No: return {B::Yes, B::No};
    case B::Retry | B::Cancel: return {B::Retry, B::Cancel};
    case B::Cancel | B::TryAgain | B::Continue: return {B::Cancel, B::TryAgain, B::Continue};
    default: return {B::OK};
  }
}

std::uint32_t ShowMessageBox(const std::string& caption, const std::string& text, std::int32_t icon,
                             std::uint32_t buttons) {
  MessageBoxRequest request;
  request.caption = caption;
  request.text = text;
  request.icon = (icon >= MessageBoxIcon::Information && icon <= MessageBoxIcon::Question) ? icon : MessageBoxIcon::None;
  request.buttons = GetMessageBoxButtons(buttons);

  std::uint32_t answer = MessageBoxButton::OK;
  if (!ShowInBox(request, answer)) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    return MessageBoxButton::OK;
  }
  if (std::find(request.buttons.begin(), request.buttons.end(), answer) == request.buttons.end()) {
    return MessageBoxButton::OK;
  }
  return answer;
}

void ReportFailure(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  std::fflush(stderr);
  MessageBoxRequest request;
  request.caption = caption;
  request.text = text;
  request.icon = MessageBoxIcon::Error;
  request.buttons = {MessageBoxButton::OK};
  std::uint32_t answer = MessageBoxButton::OK;
  ShowInBox(request, answer);
}

}  // namespace PAL
