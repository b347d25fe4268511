#pragma once
// Textured quads drawn in window space: the screen-object interface of the GUI's overlay and the
// plain text render context that viewport backgrounds and the GUI's image and string contexts use.
#include <cstdint>

#include "core/Core_Object.h"
#include "math/Math_Color.h"
#include "math/Math_Matrix4x4.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector3D.h"

namespace Renderer {
class Effect;
class ITexture;
}  // namespace Renderer

namespace Engine {

class ScreenObject : public Core::Object {
 public:
  virtual uint32_t GetKind() const = 0;
  virtual Core::SmartPointer<Renderer::Effect> GetEffect() const = 0;
  virtual Core::SmartPointer<Renderer::ITexture> GetTexture() const = 0;
  virtual const Math::Matrix4x4& GetTransform() const = 0;
  virtual const Math::Matrix4x4& GetTextureMatrix() const = 0;
  // Four corners and four texture coordinates.
  virtual const Math::Vector3D* GetCorners() const = 0;
  virtual const Math::Vector2D* GetTexCoords() const = 0;
  virtual const Math::Color& GetColor() const = 0;
  virtual const uint16_t* GetIndices() const = 0;
  virtual uint32_t GetIndexCount() const = 0;
  virtual float GetDepth() const = 0;
  virtual void Reset() = 0;
  virtual bool IsVisible() const = 0;
  virtual bool IsReady() const = 0;
  virtual void PrepareDraw() = 0;
  virtual uint32_t GetPrimitiveCode() const = 0;
};

class TextRenderContext : public ScreenObject {
 public:
  TextRenderContext();
  TextRenderContext(const TextRenderContext& other);
  TextRenderContext& operator=(const TextRenderContext& other);
  ~TextRenderContext() override;
  Core::Object* Clone() const override;

  uint32_t GetKind() const override { return 0; }
  Core::SmartPointer<Renderer::Effect> GetEffect() const override;
  Core::SmartPointer<Renderer::ITexture> GetTexture() const override;
  const Math::Matrix4x4& GetTransform() const override { return transform; }
  const Math::Matrix4x4& GetTextureMatrix() const override { return textureMatrix; }
  const Math::Vector3D* GetCorners() const override { return corners; }
  const Math::Vector2D* GetTexCoords() const override { return texCoords; }
  const Math::Color& GetColor() const override { return color; }
  const uint16_t* GetIndices() const override { return indices; }
  uint32_t GetIndexCount() const override { return 6; }
  float GetDepth() const override { return depth; }
  void Reset() override;
  bool IsVisible() const override { return visible != 0; }
  bool IsReady() const override;
  void PrepareDraw() override {}
  uint32_t GetPrimitiveCode() const override { return primitiveCode; }

  void SetEffect(const Core::SmartPointer<Renderer::Effect>& newEffect);
  void SetTexture(const Core::SmartPointer<Renderer::ITexture>& newTexture);

  Math::Matrix4x4 transform;
  Math::Matrix4x4 textureMatrix;
  Math::Vector3D corners[4];
  Math::Vector2D texCoords[4];
  Math::Color color{0.0f, 0.0f, 0.0f, 1.0f};
  uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
  float depth = 0.0f;
  uint8_t visible = 1;
  uint32_t primitiveCode = 4;

 private:
  // Held by pointer so that this header does not need the effect's and texture's definitions.
  Core::SmartPointer<Core::Object> m_effect;
  Core::SmartPointer<Core::Object> m_texture;
};

}  // namespace Engine
