#pragma once
// The text file of a layer's static collision geometry: a header word and a count, that many
// segment records "ax d ay d bx d by d z d userId", then a header word and a count of circle records
// "cx d cy d radius d z d userId", where d is any one non-blank character. The file comes from
// outside: it is checked whole before any shape is made from it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "math/Math_Vector2D.h"

namespace Quillon {

struct LayerCollisionData {
  struct Segment {
    Math::Vector2D a;
    Math::Vector2D b;
    uint8_t zCollision = 0;
    uint32_t userId = 0;
  };
  struct Circle {
    Math::Vector2D center;
    float radius = 0.0f;
    uint8_t zCollision = 0;
    uint32_t userId = 0;
  };
  std::vector<Segment> segments;
  std::vector<Circle> circles;
};

// Largest file the reader takes in; real layer files are a few kilobytes.
constexpr std::size_t kMaximumLayerCollisionFileSize = 16u * 1024u * 1024u;

// Parses the text. On failure returns false, leaves data empty and says in error what was wrong
// and where (record and line).
bool ParseLayerCollisionText(const char* text, std::size_t size, LayerCollisionData& data, std::string& error);
// Reads and parses the file at path (system backslashes allowed); errors name the path.
bool ReadLayerCollisionFile(const std::string& path, LayerCollisionData& data, std::string& error);

}  // namespace Quillon
