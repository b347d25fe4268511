#include "core/Core_String.h"

#include <cstdio>

namespace Core {

namespace {

// Formats into a buffer sized by a first measuring pass: no value can overflow it.
template <typename T>
String Format(const char* format, T value) {
  char small[64];
  int length = std::snprintf(small, sizeof(small), format, value);
  if (length < 0) return String();
  if (static_cast<size_t>(length) < sizeof(small)) return String(small, static_cast<size_t>(length));
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, value);
  text.resize(static_cast<size_t>(length));
  return String(std::move(text));
}

}  // namespace

String& String::Erase(uint32_t pos, int32_t count) {
  if (empty() || count <= 0 || pos >= size()) return *this;
  if (static_cast<uint64_t>(pos) + static_cast<uint64_t>(count) > size()) return *this;
  erase(pos, static_cast<size_t>(count));
  return *this;
}

String String::SubstringFrom(uint32_t pos) const {
  if (empty() || pos >= size()) return String();
  return String(substr(pos));
}

std::u16string String::ToWide() const {
  std::u16string wide;
  wide.reserve(size());
  for (char c : *this) wide.push_back(static_cast<char16_t>(static_cast<int16_t>(static_cast<signed char>(c))));
  return wide;
}

String ToString(int value) { return Format("%i", value); }
String ToString(float value) { return Format("%f", static_cast<double>(value)); }
String ToString(double value) { return Format("%.16lf", value); }

String GetFileName(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  if (slash == std::string::npos) return String(path);
  return String(path.substr(slash + 1));
}

}  // namespace Core
