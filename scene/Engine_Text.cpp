#include "scene/Engine_Text.h"

#include <algorithm>
#include <cmath>

#include "core/Core_File.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_ITexture.h"
#include "scene/Engine_RenderQueue.h"
#include "scene/Engine_SceneGraph.h"

namespace Engine {

Text::Text(const std::string& text, bool screenObjectMode)
    : m_text(text), m_glyphMesh(new ("Engine_Text", __LINE__) Mesh()), m_screenObjectMode(screenObjectMode ? 1 : 0) {
  CreateEffect();
}

Text::Text(const Text& other)
    : Node(other),
      m_text(other.m_text),
      m_glyphMesh(static_cast<Mesh*>(other.m_glyphMesh->Clone())),
      m_font(other.m_font),
      m_color(other.m_color),
      m_opacity(other.m_opacity),
      m_reservedVector(other.m_reservedVector),
      m_screenObjectMode(other.m_screenObjectMode) {
  std::copy(other.m_further, other.m_further + 4, m_further);
  // Each text binds its own font's sheet into its effect, so a copy gets an effect of its own.
  CreateEffect();
}

Text::~Text() = default;

void Text::CreateEffect() {
  m_effect = m_screenObjectMode ? Renderer::CreateTextEffect() : Renderer::CreateTexturedAlphaEffect();
}

void Text::Save(Core::File& file) {
  Node::Save(file);
  file << m_text;
  file << (m_font ? m_font->GetPath() : std::string());
  Math::WriteColor(file, m_color);
  Core::WriteValue<float>(file, m_opacity);
  Math::WriteVector2D(file, m_reservedVector);
  Core::WriteValue<uint8_t>(file, m_screenObjectMode);
  for (float value : m_further) Core::WriteValue<float>(file, value);
}

void Text::Load(Core::File& file) {
  Node::Load(file);
  std::string text;
  file >> text;
  m_text = text;
  std::string fontPath;
  file >> fontPath;
  Math::ReadColor(file, m_color);
  Core::ReadValue(file, m_opacity);
  Math::ReadVector2D(file, m_reservedVector);
  Core::ReadValue(file, m_screenObjectMode);
  for (float& value : m_further) Core::ReadValue(file, value);
  if (file.HasFailed()) return;
  // A loaded text gets a font of its own, not the cache's.
  m_font = new ("Engine_Text", __LINE__) BitmapFont(fontPath);
  CreateEffect();
}

void Text::Layout(Math::Vector2D& minimum, Math::Vector2D& maximum) {
  minimum = Math::Vector2D(0.0f, 0.0f);
  maximum = Math::Vector2D(0.0f, 0.0f);
  const auto length = static_cast<uint32_t>(m_text.size());
  m_glyphMesh->Clear();
  if (length == 0 || !m_font) return;
  const BitmapFont& font = *m_font;
  m_glyphMesh->AddPart(MeshPart{0, 6 * length - 1, -1, 1});
  Core::SmartPointer<Renderer::ITexture> texture = font.GetTexture();
  if (texture) m_glyphMesh->AddReference(Core::SmartPointer<Core::Object>(texture.Get()));
  m_glyphMesh->ResizePositions(6 * length);
  m_glyphMesh->ResizeTexCoords(6 * length);

  const auto cell = static_cast<float>(font.GetHeaderField(3));
  const auto lineHeight = static_cast<int32_t>(font.GetLineHeight());
  const float spaceAdvance = static_cast<float>(font.GetGlyph(' ').advance);
  float penX = 0.0f;
  float lineY = 0.0f;
  bool anyQuad = false;

  uint32_t vertex = 0;
  auto blank = [&]() {
    for (int i = 0; i < 6; ++i, ++vertex) {
      m_glyphMesh->SetPosition(vertex, Math::Vector3D());
      m_glyphMesh->SetTexCoord(vertex, Math::Vector2D());
    }
  };
  for (char byte : m_text) {
    const auto code = static_cast<int32_t>(static_cast<signed char>(byte));
    if (code == '\n') {
      lineY -= static_cast<float>(lineHeight);
      penX = 0.0f;
      blank();
      continue;
    }
    if (code == ' ') {
      penX += spaceAdvance;
      blank();
      continue;
    }
    if (code == '\t') {
      penX += 4.0f * spaceAdvance;
      blank();
      continue;
    }
    if (code == '\r') {
      blank();
      continue;
    }
    const Glyph& glyph = font.GetGlyph(code);
    const float* t = font.GetGlyphTexCoords(code);
    float bearing = glyph.leftBearing;
    if (penX != 0.0f) {
      bearing = std::ceil(glyph.leftBearing);
      penX += static_cast<float>(glyph.horizontalOffset);
    }
    const float left = penX - bearing;
    penX += static_cast<float>(glyph.advance);
    if (penX != 0.0f) penX -= static_cast<float>(glyph.horizontalOffset);

    const Math::Vector3D p0(left, lineY, 0.0f);
    const Math::Vector3D p1(left + cell, lineY, 0.0f);
    const Math::Vector3D p2(left + cell, lineY + cell, 0.0f);
    const Math::Vector3D p3(left, lineY + cell, 0.0f);
    const Math::Vector2D t0(t[0], t[1]), t1(t[2], t[3]), t2(t[4], t[5]), t3(t[6], t[7]);
    const Math::Vector3D positions[6] = {p0, p1, p2, p2, p3, p0};
    const Math::Vector2D coordinates[6] = {t0, t1, t2, t2, t3, t0};
    for (int i = 0; i < 6; ++i, ++vertex) {
      m_glyphMesh->SetPosition(vertex, positions[i]);
      m_glyphMesh->SetTexCoord(vertex, coordinates[i]);
    }
    if (!anyQuad) {
      minimum = Math::Vector2D(p0.x, p0.y);
      maximum = Math::Vector2D(p2.x, p2.y);
      anyQuad = true;
    }
    minimum = Math::Vector2D(std::min({minimum.x, p0.x, p2.x}), std::min({minimum.y, p0.y, p2.y}));
    maximum = Math::Vector2D(std::max({maximum.x, p0.x, p2.x}), std::max({maximum.y, p0.y, p2.y}));
  }
}

void Text::Render() {
  if (!m_visible || m_text.empty() || m_screenObjectMode || !m_font) return;
  Math::Vector2D minimum, maximum;
  Layout(minimum, maximum);

  if (!m_screenSpace) {
    Math::BoundingBox box;
    const float xs[2] = {maximum.x, minimum.x};
    const float ys[2] = {maximum.y, minimum.y};
    // Corner order of the bounding box: +x+y+z, -x+y+z, -x+y-z, +x+y-z, then the same with -y.
    const int signs[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}};
    for (int i = 0; i < 8; ++i) {
      box.corners[i] = m_worldMatrix * Math::Vector3D(xs[signs[i][0]], ys[signs[i][1]], signs[i][2] ? -1.0f : 0.0f);
    }
    if (IsCulled(box)) return;
  }

  RenderQueue* queue = SceneGraph::GetActiveQueue();
  if (queue == nullptr) return;
  // The queue binds the effect's slot 1 for mesh items: the font's sheet goes there.
  m_effect->SetTexture(1, m_font->GetTexture());
  RenderItem item;
  item.effect = m_effect;
  item.mesh = m_glyphMesh;
  item.color = Math::Color(m_color.r, m_color.g, m_color.b, m_opacity);
  item.meshPart = 0;
  item.modelMatrix = m_worldMatrix;
  item.primitive = 4;
  item.screenSpace = m_screenSpace;
  queue->AddRenderItem(item);
}

}  // namespace Engine
