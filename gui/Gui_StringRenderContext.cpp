#include "gui/Gui_StringRenderContext.h"

#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_ITexture.h"

namespace Engine {

StringRenderContext::StringRenderContext() = default;

StringRenderContext::StringRenderContext(const StringRenderContext& other)
    : ScreenObject(other),
      transform(other.transform),
      textureMatrix(other.textureMatrix),
      vertices(other.vertices),
      texCoords(other.texCoords),
      color(other.color),
      indices(other.indices),
      depth(other.depth),
      visible(other.visible),
      m_effect(other.m_effect),
      m_texture(other.m_texture) {}

StringRenderContext::~StringRenderContext() = default;

Core::Object* StringRenderContext::Clone() const {
  return new ("Gui_StringRenderContext", __LINE__) StringRenderContext(*this);
}

Core::SmartPointer<Renderer::Effect> StringRenderContext::GetEffect() const {
  return static_cast<Renderer::Effect*>(m_effect.Get());
}

Core::SmartPointer<Renderer::ITexture> StringRenderContext::GetTexture() const {
  return static_cast<Renderer::ITexture*>(m_texture.Get());
}

void StringRenderContext::SetEffect(const Core::SmartPointer<Renderer::Effect>& newEffect) {
  m_effect = newEffect.Get();
}

void StringRenderContext::SetTexture(const Core::SmartPointer<Renderer::ITexture>& newTexture) {
  m_texture = newTexture.Get();
}

bool StringRenderContext::IsReady() const { return m_effect && m_texture && !indices.empty(); }

void StringRenderContext::ClearQuads() {
  vertices.clear();
  texCoords.clear();
  indices.clear();
}

void StringRenderContext::Reset() {
  ClearQuads();
  m_effect.Reset();
  m_texture.Reset();
  depth = 0.0f;
  transform = Math::Matrix4x4();
  textureMatrix = Math::Matrix4x4();
  color = Math::Color(0.0f, 0.0f, 0.0f, 1.0f);
  visible = 1;
}

}  // namespace Engine
