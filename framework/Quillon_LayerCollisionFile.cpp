#include "framework/Quillon_LayerCollisionFile.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>

#include "platform/PAL_Path.h"

namespace Quillon {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Reader {
 public:
  Reader(const char* text, std::size_t size) : m_text(text), m_end(text + size) {}

  void SkipBlanks() {
    while (m_position < m_end && IsBlank(*m_position)) {
      if (*m_position == '\n') ++m_line;
      ++m_position;
    }
  }

  bool ReadWord() {
    SkipBlanks();
    if (m_position == m_end) return false;
    while (m_position < m_end && !IsBlank(*m_position)) ++m_position;
    return true;
  }

  // A signed decimal count; a negative one stands for none.
  bool ReadCount(int64_t& count) {
    SkipBlanks();
    const char* start = m_position;
    if (m_position < m_end && (*m_position == '+' || *m_position == '-')) ++m_position;
    if (!ScanDigits()) return false;
    int64_t value = 0;
    const char* digits = (*start == '+' || *start == '-') ? start + 1 : start;
    auto result = std::from_chars(digits, m_position, value);
    const bool negative = *start == '-';
    // A signed 32-bit count, as the format's writers produce it.
    if (result.ec != std::errc() || value > std::numeric_limits<int32_t>::max() + (negative ? 1LL : 0LL)) return false;
    count = negative ? -value : value;
    return true;
  }

  // Optional sign, digits, optional fraction, optional exponent; finite float values only.
  bool ReadNumber(double& value) {
    SkipBlanks();
    const char* start = m_position;
    if (m_position < m_end && (*m_position == '+' || *m_position == '-')) ++m_position;
    const char* integral = m_position;
    while (m_position < m_end && IsDigit(*m_position)) ++m_position;
    bool anyDigit = m_position != integral;
    if (m_position < m_end && *m_position == '.') {
      ++m_position;
      const char* fraction = m_position;
      while (m_position < m_end && IsDigit(*m_position)) ++m_position;
      anyDigit = anyDigit || m_position != fraction;
    }
    if (!anyDigit) return false;
    if (m_position < m_end && (*m_position == 'e' || *m_position == 'E')) {
      const char* exponent = m_position + 1;
      if (exponent < m_end && (*exponent == '+' || *exponent == '-')) ++exponent;
      if (exponent < m_end && IsDigit(*exponent)) {
        m_position = exponent;
        while (m_position < m_end && IsDigit(*m_position)) ++m_position;
      }
    }
    // from_chars takes no leading '+'.
    const char* first = *start == '+' ? start + 1 : start;
    auto result = std::from_chars(first, m_position, value);
    if (result.ec != std::errc() || result.ptr != m_position) return false;
    // Values that round to a finite float: below the largest float plus half its last step.
    const double limit = static_cast<double>(std::numeric_limits<float>::max()) + std::ldexp(1.0, 103);
    return std::isfinite(value) && std::fabs(value) < limit;
  }

  bool ReadUnsigned(uint32_t& value) {
    SkipBlanks();
    const char* start = m_position;
    if (!ScanDigits()) return false;
    auto result = std::from_chars(start, m_position, value);
    return result.ec == std::errc();
  }

  // One non-blank character that cannot be taken for the start of a number's digits.
  bool ReadDelimiter() {
    SkipBlanks();
    if (m_position == m_end || IsDigit(*m_position)) return false;
    ++m_position;
    return true;
  }

  uint32_t GetLine() const { return m_line; }

 private:
  bool ScanDigits() {
    const char* digits = m_position;
    while (m_position < m_end && IsDigit(*m_position)) ++m_position;
    return m_position != digits;
  }

  const char* m_text;
  const char* m_end;
  const char* m_position = m_text;
  uint32_t m_line = 1;
};

// The z value's integer part (toward zero), of which the low byte counts.
bool ToZCollision(double z, uint8_t& out) {
  if (!(std::fabs(z) < 9.0e15)) return false;
  out = static_cast<uint8_t>(static_cast<int64_t>(z) & 0xFF);
  return true;
}

std::string Where(const char* section, int64_t record, const Reader& reader) {
  return std::string(section) + " record " + std::to_string(record + 1) + " (line " +
         std::to_string(reader.GetLine()) + ")";
}

// Reads numbers separated by delimiters, then the user id: the shape of both record kinds.
bool ReadRecord(Reader& reader, double* numbers, int numberCount, uint32_t& userId) {
  for (int i = 0; i < numberCount; ++i) {
    if (!reader.ReadNumber(numbers[i]) || !reader.ReadDelimiter()) return false;
  }
  return reader.ReadUnsigned(userId);
}

}  // namespace

bool ParseLayerCollisionText(const char* text, std::size_t size, LayerCollisionData& data, std::string& error) {
  data = LayerCollisionData();
  LayerCollisionData parsed;
  Reader reader(text, size);
  int64_t count = 0;
  if (!reader.ReadWord()) {
    error = "missing segment header";
    return false;
  }
  if (!reader.ReadCount(count)) {
    error = "missing or malformed segment count (line " + std::to_string(reader.GetLine()) + ")";
    return false;
  }
  for (int64_t i = 0; i < count; ++i) {
    double numbers[5];
    LayerCollisionData::Segment segment;
    if (!ReadRecord(reader, numbers, 5, segment.userId) || !ToZCollision(numbers[4], segment.zCollision)) {
      error = "malformed or missing " + Where("segment", i, reader);
      return false;
    }
    segment.a = Math::Vector2D(static_cast<float>(numbers[0]), static_cast<float>(numbers[1]));
    segment.b = Math::Vector2D(static_cast<float>(numbers[2]), static_cast<float>(numbers[3]));
    parsed.segments.push_back(segment);
  }
  if (!reader.ReadWord()) {
    error = "missing circle header";
    return false;
  }
  if (!reader.ReadCount(count)) {
    error = "missing or malformed circle count (line " + std::to_string(reader.GetLine()) + ")";
    return false;
  }
  for (int64_t i = 0; i < count; ++i) {
    double numbers[4];
    LayerCollisionData::Circle circle;
    if (!ReadRecord(reader, numbers, 4, circle.userId) || !ToZCollision(numbers[3], circle.zCollision)) {
      error = "malformed or missing " + Where("circle", i, reader);
      return false;
    }
    circle.center = Math::Vector2D(static_cast<float>(numbers[0]), static_cast<float>(numbers[1]));
    circle.radius = static_cast<float>(numbers[2]);
    parsed.circles.push_back(circle);
  }
  data = std::move(parsed);
  return true;
}

bool ReadLayerCollisionFile(const std::string& path, LayerCollisionData& data, std::string& error) {
  data = LayerCollisionData();
  std::ifstream file(PAL::MapPath(path), std::ios::binary);
  if (!file) {
    error = path + ": cannot be opened";
    return false;
  }
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  file.seekg(0, std::ios::beg);
  if (size < 0 || static_cast<uint64_t>(size) > kMaximumLayerCollisionFileSize) {
    error = path + ": not a layer collision file (size)";
    return false;
  }
  std::string text(static_cast<std::size_t>(size), '\0');
  if (size > 0 && !file.read(&text[0], size)) {
    error = path + ": read failed";
    return false;
  }
  std::string reason;
  if (!ParseLayerCollisionText(text.data(), text.size(), data, reason)) {
    error = path + ": " + reason;
    return false;
  }
  return true;
}

}  // namespace Quillon
