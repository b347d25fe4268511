#pragma once
// Whole-file reads and crash-safe whole-file replacement. Paths are Linux paths: map the
// system's backslash paths through PAL::MapPath first.
#include <cstddef>
#include <functional>
#include <string>

namespace PAL {

enum class FileReadResult {
  Read,      // bytes hold the whole file
  Missing,   // no file of that name (nothing to lose by creating it)
  TooLarge,  // the file is larger than maxBytes: bytes hold its first maxBytes, error says so
  Failed,    // the name exists but could not be read: see error
};

// Reads the whole regular file at path into bytes. A file larger than maxBytes gives TooLarge
// with its beginning in bytes, so that what a damaged file still holds there is not lost. A
// directory or any other non-regular entry, and every read error give Failed with the cause (and
// the path) in error; bytes are then empty.
FileReadResult ReadWholeFile(const std::string& path, std::string& bytes, std::string& error,
                             std::size_t maxBytes);

// Replaces the file at path with bytes so that a crash or power loss at any moment leaves
// either the old file or the new one, never a mixture: the bytes go to a new temporary file in
// the same directory, which is flushed to the device and then renamed over path. On failure
// the old file is untouched, the temporary file is removed and error holds the cause.
bool ReplaceFileAtomically(const std::string& path, const std::string& bytes, std::string& error);

// Makes copyPath a second name of the existing file at path (replacing whatever copyPath
// named), so the file's current contents survive a later replacement of path. Falls back to a
// durable copy where the file system has no hard links. A missing file has nothing to keep:
// true. False with the cause on failure.
bool KeepCopyOfFile(const std::string& path, const std::string& copyPath, std::string& error);

// Tests stand for a crash between writing the temporary file and renaming it: the hook runs at
// that moment, and when it answers false the replacement stops there, leaving the temporary
// file behind as a crash would, and ReplaceFileAtomically returns false. An empty hook removes it.
using BeforeReplaceHook = std::function<bool(const std::string& temporaryPath)>;
void SetBeforeReplaceHook(BeforeReplaceHook hook);

}  // namespace PAL
