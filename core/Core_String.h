#pragma once
// Core's text helpers.
#include <cstdint>
#include <string>

namespace Core {

// The engine's string: the standard string with the few helpers the engine adds.
class String : public std::string {
 public:
  using std::string::string;
  String() = default;
  String(const std::string& text) : std::string(text) {}  // NOLINT: interchangeable with std::string
  String(std::string&& text) : std::string(std::move(text)) {}  // NOLINT

  // Removes count characters at pos when the whole range lies inside the string; otherwise nothing.
  String& Erase(uint32_t pos, int32_t count);
  // The characters from pos to the end; empty when pos is at or past the end.
  String SubstringFrom(uint32_t pos) const;
  // One 16-bit character per byte, each byte sign-extended.
  std::u16string ToWide() const;
};

String ToString(int value);
String ToString(float value);
String ToString(double value);

// The text after the last backslash; the whole path when it has none.
String GetFileName(const std::string& path);

}  // namespace Core
