#include "framework/Quillon_SpriteAnimation.h"

#include "renderer/Renderer_ITexture.h"
#include "scene/Engine_TextureSource.h"

namespace Quillon {

SpriteAnimation::SpriteAnimation(const std::string& texturePath, uint32_t columns, uint32_t rows,
                                 const std::vector<float>& delays) {
  Core::SmartPointer<Renderer::ITexture> texture = Engine::LoadTexture(texturePath, false);
  if (texture) {
    m_textureName = texture->GetName();
    // A grid without columns or rows has no frame size (rather than a division by zero).
    if (columns > 0 && rows > 0) {
      m_frameWidth = static_cast<uint32_t>(texture->GetWidth() > 0 ? texture->GetWidth() : 0) / columns;
      m_frameHeight = static_cast<uint32_t>(texture->GetHeight() > 0 ? texture->GetHeight() : 0) / rows;
    }
  }
  const uint32_t perRow = columns > 0 ? columns : 1;
  for (uint32_t i = 0; i < delays.size(); ++i) {
    Engine::SpriteFrame frame;
    frame.column = i % perRow;
    frame.row = i / perRow;
    frame.duration = delays[i];
    m_frames.push_back(frame);
  }
  m_engineAnimation = new (__FILE__, __LINE__) Engine::SpriteAnimation(texture, m_frameWidth, m_frameHeight, m_frames);
}

int SpriteAnimation::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

void SpriteAnimation::SetName(const std::string& name) {
  m_name = name;
  if (m_engineAnimation) m_engineAnimation->SetName(name);
}

const std::string& SpriteAnimation::GetName() const { return m_engineAnimation ? m_engineAnimation->GetName() : m_name; }

uint32_t SpriteAnimation::GetFramesCount() const { return m_engineAnimation ? m_engineAnimation->GetFramesCount() : 0; }

float SpriteAnimation::GetFrameDelay(uint32_t frame) const {
  if (!m_engineAnimation) return 0.0f;
  const Engine::SpriteFrame* record = m_engineAnimation->GetFrame(frame);
  return record ? record->duration : 0.0f;
}

void SpriteAnimation::SetLoopStartingFrame(uint32_t frame) {
  m_loopStartingFrame = frame;
  if (m_engineAnimation) m_engineAnimation->SetLoopStartingFrame(frame);
}

uint32_t SpriteAnimation::GetLoopStartingFrame() const {
  return m_engineAnimation ? m_engineAnimation->GetLoopStartingFrame() : m_loopStartingFrame;
}

void SpriteAnimation::SetLoopEndingFrame(uint32_t frame) {
  m_loopEndingFrame = frame;
  if (m_engineAnimation) m_engineAnimation->SetLoopEndingFrame(frame);
}

uint32_t SpriteAnimation::GetLoopEndingFrame() const {
  return m_engineAnimation ? m_engineAnimation->GetLoopEndingFrame() : m_loopEndingFrame;
}

}  // namespace Quillon
