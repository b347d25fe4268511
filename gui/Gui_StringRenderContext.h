#pragma once
// One laid-out text as one screen object: glyph quads (4 vertices, 4 texture coordinates and 6
// indices each) over one font texture, drawn by the render queue's screen-object pass.
#include <cstdint>
#include <vector>

#include "scene/Engine_ScreenObject.h"

namespace Engine {

class StringRenderContext : public ScreenObject {
 public:
  StringRenderContext();
  StringRenderContext(const StringRenderContext& other);
  ~StringRenderContext() override;
  Core::Object* Clone() const override;
  const char* GetClassName() const override { return "Engine::StringRenderContext"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(StringRenderContext)); }

  uint32_t GetKind() const override { return 1; }
  Core::SmartPointer<Renderer::Effect> GetEffect() const override;
  Core::SmartPointer<Renderer::ITexture> GetTexture() const override;
  const Math::Matrix4x4& GetTransform() const override { return transform; }
  const Math::Matrix4x4& GetTextureMatrix() const override { return textureMatrix; }
  const Math::Vector3D* GetCorners() const override { return vertices.empty() ? nullptr : vertices.data(); }
  const Math::Vector2D* GetTexCoords() const override { return texCoords.empty() ? nullptr : texCoords.data(); }
  const Math::Color& GetColor() const override { return color; }
  const uint16_t* GetIndices() const override { return indices.empty() ? nullptr : indices.data(); }
  uint32_t GetIndexCount() const override { return static_cast<uint32_t>(indices.size()); }
  float GetDepth() const override { return depth; }
  void Reset() override;
  bool IsVisible() const override { return visible != 0; }
  // Set effect and texture, and at least one quad to draw (the queue reads the arrays' first
  // elements, which an empty text does not have).
  bool IsReady() const override;
  void PrepareDraw() override {}
  uint32_t GetPrimitiveCode() const override { return 4; }

  void SetEffect(const Core::SmartPointer<Renderer::Effect>& newEffect);
  void SetTexture(const Core::SmartPointer<Renderer::ITexture>& newTexture);
  // Empties the three arrays (capacity kept).
  void ClearQuads();

  Math::Matrix4x4 transform;
  Math::Matrix4x4 textureMatrix;
  std::vector<Math::Vector3D> vertices;
  std::vector<Math::Vector2D> texCoords;
  Math::Color color{0.0f, 0.0f, 0.0f, 1.0f};
  std::vector<uint16_t> indices;
  float depth = 0.0f;
  uint8_t visible = 1;

 private:
  Core::SmartPointer<Core::Object> m_effect;
  Core::SmartPointer<Core::Object> m_texture;
};

}  // namespace Engine
