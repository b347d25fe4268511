#pragma once
// Shared fixtures and helpers for the engine's tests.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/WholeFiles.h"

namespace TestSupport {

// True when an X display is there to open windows on (make test always provides Xvfb).
bool HasDisplay();

// A fresh, empty directory under the system's temporary folder, removed by the caller when wanted.
std::string MakeTempDirectory(const std::string& prefix);

// A fresh folder for one test's files, removed with everything in it when the test ends.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& prefix) : m_path(MakeTempDirectory(prefix)) {}
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return m_path; }
  // Writes the bytes to a file of that name in the folder and returns its path; a failed write
  // fails the test.
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string m_path;
};

// Polls the condition every millisecond until it holds or the time is up; true when it held. The
// time only guards against a hang: it measures nothing.
bool WaitFor(const std::function<bool()>& condition, double timeoutMs = 10000.0);

// RGBA bytes (top row first) as the bytes of a PNG file, written by stb_image_write.
std::string EncodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba);

}  // namespace TestSupport

// Skips the current test with a reason when there is no display to open a window on.
#define VELKOR_REQUIRE_DISPLAY()                                              \
  do {                                                                        \
    if (!TestSupport::HasDisplay()) GTEST_SKIP() << "no X display (run under Xvfb)"; \
  } while (0)
