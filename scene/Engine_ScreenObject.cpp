#include "scene/Engine_ScreenObject.h"

#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_ITexture.h"

namespace Engine {

TextRenderContext::TextRenderContext() = default;

TextRenderContext::TextRenderContext(const TextRenderContext& other) : ScreenObject(other) { *this = other; }

TextRenderContext& TextRenderContext::operator=(const TextRenderContext& other) {
  if (this == &other) return *this;
  transform = other.transform;
  textureMatrix = other.textureMatrix;
  for (int i = 0; i < 4; ++i) {
    corners[i] = other.corners[i];
    texCoords[i] = other.texCoords[i];
  }
  color = other.color;
  for (int i = 0; i < 6; ++i) indices[i] = other.indices[i];
  depth = other.depth;
  visible = other.visible;
  primitiveCode = other.primitiveCode;
  m_effect = other.m_effect;
  m_texture = other.m_texture;
  return *this;
}

TextRenderContext::~TextRenderContext() = default;

Core::Object* TextRenderContext::Clone() const { return new ("Engine_TextRenderContext", __LINE__) TextRenderContext(*this); }

Core::SmartPointer<Renderer::Effect> TextRenderContext::GetEffect() const {
  return static_cast<Renderer::Effect*>(m_effect.Get());
}

Core::SmartPointer<Renderer::ITexture> TextRenderContext::GetTexture() const {
  return static_cast<Renderer::ITexture*>(m_texture.Get());
}

void TextRenderContext::SetEffect(const Core::SmartPointer<Renderer::Effect>& newEffect) { m_effect = newEffect.Get(); }

void TextRenderContext::SetTexture(const Core::SmartPointer<Renderer::ITexture>& newTexture) {
  m_texture = newTexture.Get();
}

bool TextRenderContext::IsReady() const { return m_effect.Get() != nullptr; }

void TextRenderContext::Reset() { *this = TextRenderContext(); }

}  // namespace Engine
