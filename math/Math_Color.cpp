#include "math/Math_Color.h"

#include "math/Math_Stream.h"

namespace Math {
Core::File& WriteColor(Core::File& file, const Color& color) {
  WriteFloat(file, color.r);
  WriteFloat(file, color.g);
  WriteFloat(file, color.b);
  WriteFloat(file, color.a);
  return file;
}

Core::File& ReadColor(Core::File& file, Color& color) {
  ReadFloat(file, color.r);
  ReadFloat(file, color.g);
  ReadFloat(file, color.b);
  ReadFloat(file, color.a);
  return file;
}
}  // namespace Math
