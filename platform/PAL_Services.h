#pragma once
// Small operating-system services: the executable's own path, attribute tests and directory
// listings, the fatal error report for failed system calls and the program's message box.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace PAL {

// The folder of the running executable, without a trailing separator ('/' on Linux).
const char* GetExecutableDirectory();
// The executable's file name.
const char* GetExecutableName();
// Splits at the last '/': a path without one is both the directory and the name.
void SplitExecutablePath(const std::string& path, std::string& directory, std::string& name);

// Both answer true for a path that does not exist (or cannot be examined), as callers
// expect. Linux has no system attribute, so an existing path is never a system file.
bool IsDirectory(const std::string& path);
bool IsSystemFile(const std::string& path);

// Appends every entry name of the directory, "." and ".." included, in the order the system
// reports them. Paths of any length. False (list unchanged) when the directory cannot be
// opened; an error during the listing keeps the names read so far.
bool ListDirectory(const std::string& directory, std::vector<std::string>& names);

// Records the system call about to be made (the stored line is line + 1, the line of the call
// that follows) and clears errno.
void SetErrorContext(const char* function, const char* enclosingFunction, std::uint32_t line,
                     const char* sourceFile);
// After the recorded call: when it failed, reports it in the "Error" box and ends the process
// with errno as exit code (1 when the system gave none). Does nothing when not failed.
void CheckWin32Error(bool failed);
// The text of that report, of any length.
std::string ComposeErrorText(const std::string& function, int errorCode, const std::string& systemText,
                             const std::string& enclosingFunction, const std::string& sourceFile, int line);
// Flushes the standard streams and ends the process at once, without running exit handlers
// (the failure may have left any lock held).
[[noreturn]] void ExitAfterFatalError(int exitCode);

struct MessageBoxIcon {
  static constexpr std::int32_t None = 0;
  static constexpr std::int32_t Information = 1;
  static constexpr std::int32_t Warning = 2;
  static constexpr std::int32_t Error = 3;
  static constexpr std::int32_t Question = 4;
};

// Buttons and answers, as bit flags (Abort has no bit).
struct MessageBoxButton {
  static constexpr std::uint32_t Abort = 0x000;
  static constexpr std::uint32_t Cancel = 0x002;
  static constexpr std::uint32_t Continue = 0x004;
  static constexpr std::uint32_t Ignore = 0x008;
  static constexpr std::uint32_t No = 0x010;
  static constexpr std::uint32_t OK = 0x020;
  static constexpr std::uint32_t Retry = 0x040;
  static constexpr std::uint32_t TryAgain = 0x080;
  static constexpr std::uint32_t Yes = 0x100;
};

// What a message box shows: the icon kind (None for unknown kinds) and the buttons in order.
struct MessageBoxRequest {
  std::string caption;
  std::string text;
  std::int32_t icon = MessageBoxIcon::None;
  std::vector<std::uint32_t> buttons;
};

// Shows the box and stores the pressed button in answer; false when it could not be shown.
using MessageBoxHandler = std::function<bool(const MessageBoxRequest& request, std::uint32_t& answer)>;

// Tests install a hook, tried first. The window layer installs the real box as the backend.
// An empty handler removes it. Without either (or when both decline), the text goes to stderr
// and the answer is OK.
void SetMessageBoxHook(MessageBoxHandler hook);
void SetMessageBoxBackend(MessageBoxHandler backend);

// The buttons shown for a button set: OK+Cancel, Abort+Retry+Ignore, Yes+No+Cancel, Yes+No,
// Retry+Cancel, Cancel+TryAgain+Continue; any other set shows OK alone.
std::vector<std::uint32_t> GetMessageBoxButtons(std::uint32_t buttons);

// Shows a box and returns the answer; an answer that is not one of the shown buttons
// (including a box that could not be shown) counts as OK.
std::uint32_t ShowMessageBox(const std::string& caption, const std::string& text, std::int32_t icon,
                             std::uint32_t buttons);

// A failure the user must learn of even without a display: "caption: text" always goes to stderr,
// and the error box with OK shows it as well where a box can be shown.
void ReportFailure(const std::string& caption, const std::string& text);

}  // namespace PAL
