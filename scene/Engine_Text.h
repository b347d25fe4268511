#pragma once
// The scene-graph leaf that lays a string out in a bitmap font as one mesh of glyph quads (six
// vertices per byte) and submits it as one render item.
#include <string>

#include "math/Math_BoundingBox.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "scene/Engine_BitmapFont.h"
#include "scene/Engine_Mesh.h"
#include "scene/Engine_Node.h"

namespace Engine {

class Text : public Node {
 public:
  Text() : Text("", false) {}
  Text(const std::string& text, bool screenObjectMode);
  Text(const Text& other);
  ~Text() override;
  VELKOR_DECLARE_CLASS(Text);

  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void Update(float dt) override { RunUpdateHook(dt); }
  void Draw(uint32_t flags = 0) override {
    (void)flags;
    Render();
  }
  void DrawTree() override { Render(); }
  void Render() override;

  void SetText(const std::string& text) { m_text = text; }
  const std::string& GetText() const { return m_text; }
  void SetFont(const Core::SmartPointer<BitmapFont>& font) { m_font = font; }
  const Core::SmartPointer<BitmapFont>& GetFont() const { return m_font; }
  void SetColor(const Math::Color& color) { m_color = color; }
  const Math::Color& GetColor() const { return m_color; }
  void SetOpacity(float opacity) { m_opacity = opacity; }
  float GetOpacity() const { return m_opacity; }
  bool IsScreenObjectMode() const { return m_screenObjectMode != 0; }
  const Core::SmartPointer<Mesh>& GetGlyphMesh() const { return m_glyphMesh; }
  const Core::SmartPointer<Renderer::Effect>& GetEffect() const { return m_effect; }

  // Lays the text out into the glyph mesh; the rectangle the glyph quads cover.
  void Layout(Math::Vector2D& minimum, Math::Vector2D& maximum);

 private:
  void CreateEffect();

  std::string m_text;
  Core::SmartPointer<Mesh> m_glyphMesh;
  Core::SmartPointer<BitmapFont> m_font;
  Math::Color m_color{1.0f, 1.0f, 1.0f, 1.0f};
  float m_opacity = 1.0f;
  Math::Vector2D m_reservedVector;
  uint8_t m_screenObjectMode = 0;
  float m_further[4] = {0.0f, 0.0f, 1.0f, 0.0f};
  Core::SmartPointer<Renderer::Effect> m_effect;
};

}  // namespace Engine
