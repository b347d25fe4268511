#include "tests/support/TestSupport.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

namespace TestSupport {

bool HasDisplay() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && display[0] != '\0';
}

std::string MakeTempDirectory(const std::string& prefix) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && base[0] ? base : "/tmp") + "/" + prefix + "XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed for " + pattern);
  return pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

std::string ScratchFolder::Write(const std::string& name, const std::string& bytes) const {
  const std::string path = m_path + "/" + name;
  EXPECT_TRUE(WriteWholeFile(path, bytes)) << path;
  return path;
}

bool WaitFor(const std::function<bool()>& condition, double timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double, std::milli>(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::string EncodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba) {
  std::string bytes;
  auto append = [](void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
  };
  if (stbi_write_png_to_func(append, &bytes, static_cast<int>(width), static_cast<int>(height), 4, rgba.data(),
                             static_cast<int>(width * 4)) == 0)
    return std::string();
  return bytes;
}

}  // namespace TestSupport
