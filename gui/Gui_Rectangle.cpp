#include "gui/Gui_Rectangle.h"

#include <algorithm>

#include "core/Core_File.h"

namespace GUI {

bool NRectangle::Contains(float x, float y) const {
  return left <= x && x <= GetRight() && bottom <= y && y <= GetTop();
}

bool NRectangle::Intersect(NRectangle& out, const NRectangle& a, const NRectangle& b) {
  const float right = std::min(a.GetRight(), b.GetRight());
  const float top = std::min(a.GetTop(), b.GetTop());
  out.left = std::max(a.left, b.left);
  out.bottom = std::max(a.bottom, b.bottom);
  out.width = right - out.left;
  out.height = top - out.bottom;
  return out.IsValid();
}

void NRectangle::Save(Core::File& file) const {
  Core::WriteValue(file, left);
  Core::WriteValue(file, bottom);
  Core::WriteValue(file, width);
  Core::WriteValue(file, height);
}

void NRectangle::Load(Core::File& file) {
  Core::ReadValue(file, left);
  Core::ReadValue(file, bottom);
  Core::ReadValue(file, width);
  Core::ReadValue(file, height);
}

bool TRectangle::ClipTextured(TRectangle& out, const TRectangle& a, const NRectangle& clip) {
  NRectangle r;
  if (!NRectangle::Intersect(r, a, clip)) return false;
  const float du = a.texCoords[1].x - a.texCoords[0].x;
  const float dv = a.texCoords[3].y - a.texCoords[0].y;
  // A valid intersection implies a.width and a.height of at least 1, so the divisions are safe.
  const float fl = (r.left - a.left) / a.width;
  const float fb = (r.bottom - a.bottom) / a.height;
  const float fr = (a.GetRight() - r.GetRight()) / a.width;
  const float ft = (a.GetTop() - r.GetTop()) / a.height;
  TRectangle result(r);
  result.texCoords[0] = Math::Vector2D(a.texCoords[0].x + fl * du, a.texCoords[0].y + fb * dv);
  result.texCoords[1] = Math::Vector2D(a.texCoords[1].x - fr * du, a.texCoords[1].y + fb * dv);
  result.texCoords[2] = Math::Vector2D(a.texCoords[2].x - fr * du, a.texCoords[2].y - ft * dv);
  result.texCoords[3] = Math::Vector2D(a.texCoords[3].x + fl * du, a.texCoords[3].y - ft * dv);
  out = result;
  return true;
}

void TRectangle::Save(Core::File& file) const {
  NRectangle::Save(file);
  for (const Math::Vector2D& coordinate : texCoords) {
    Core::WriteValue(file, coordinate.x);
    Core::WriteValue(file, coordinate.y);
  }
}

void TRectangle::Load(Core::File& file) {
  NRectangle::Load(file);
  for (Math::Vector2D& coordinate : texCoords) {
    Core::ReadValue(file, coordinate.x);
    Core::ReadValue(file, coordinate.y);
  }
}

}  // namespace GUI
