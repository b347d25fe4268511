#include "scene/Engine_Sprite.h"

#include <algorithm>

#include "core/Core_File.h"
#include "renderer/Renderer_ITexture.h"
#include "scene/Engine_RenderQueue.h"
#include "scene/Engine_SceneGraph.h"
#include "scene/Engine_TextureSource.h"

namespace Engine {
namespace {
std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

constexpr float kUnitQuadCorners[8][3] = {{0.5f, 0.5f, 0},  {-0.5f, 0.5f, 0},  {-0.5f, 0.5f, -1},  {0.5f, 0.5f, -1},
                                          {0.5f, -0.5f, 0}, {-0.5f, -0.5f, 0}, {-0.5f, -0.5f, -1}, {0.5f, -0.5f, -1}};
}  // namespace

// ---- SpriteAnimation ----

SpriteAnimation::SpriteAnimation(const Core::SmartPointer<Renderer::ITexture>& texture, uint32_t frameWidth,
                                 uint32_t frameHeight, const std::vector<SpriteFrame>& frames)
    : m_frames(frames),
      m_texture(texture.Get()),
      m_textureFileName(texture ? FileNameOf(texture->GetName()) : std::string()),
      m_loopEndingFrame(frames.empty() ? 0 : static_cast<uint32_t>(frames.size() - 1)),
      m_frameWidth(frameWidth),
      m_frameHeight(frameHeight) {}

SpriteAnimation::SpriteAnimation(const SpriteAnimation& other)
    : Core::Object(other),
      m_frames(other.m_frames),
      m_name(other.m_name),
      m_texture(other.m_texture),
      m_textureFileName(other.m_textureFileName),
      m_loopStartingFrame(other.m_loopStartingFrame),
      m_loopEndingFrame(other.m_loopEndingFrame),
      m_frameWidth(other.m_frameWidth),
      m_frameHeight(other.m_frameHeight) {}

SpriteAnimation::~SpriteAnimation() = default;

Core::SmartPointer<Renderer::ITexture> SpriteAnimation::GetTexture() const {
  return static_cast<Renderer::ITexture*>(m_texture.Get());
}

void SpriteAnimation::Save(Core::File& file) {
  Core::WriteValue<uint32_t>(file, static_cast<uint32_t>(m_frames.size()));
  for (const SpriteFrame& frame : m_frames) {
    Core::WriteValue<uint32_t>(file, frame.column);
    Core::WriteValue<uint32_t>(file, frame.row);
    Core::WriteValue<float>(file, frame.duration);
  }
  file << m_name;
  file << m_textureFileName;
  Core::WriteValue<uint32_t>(file, m_loopStartingFrame);
  Core::WriteValue<uint32_t>(file, m_loopEndingFrame);
  Core::WriteValue<uint32_t>(file, m_frameWidth);
  Core::WriteValue<uint32_t>(file, m_frameHeight);
}

void SpriteAnimation::Load(Core::File& file) {
  uint32_t count = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, 12)) count = 0;
  m_frames.resize(count);
  for (SpriteFrame& frame : m_frames) {
    Core::ReadValue(file, frame.column);
    Core::ReadValue(file, frame.row);
    Core::ReadValue(file, frame.duration);
  }
  std::string name;
  file >> name;
  m_name = name;
  std::string textureName;
  file >> textureName;
  m_textureFileName = textureName;
  Core::ReadValue(file, m_loopStartingFrame);
  Core::ReadValue(file, m_loopEndingFrame);
  Core::ReadValue(file, m_frameWidth);
  Core::ReadValue(file, m_frameHeight);
  if (file.HasFailed()) {
    m_frames.clear();
    return;
  }
  m_texture = m_textureFileName.empty()
                  ? Core::SmartPointer<Core::Object>()
                  : Core::SmartPointer<Core::Object>(
                        LoadTexture(GetTextureDirectory() + "\\" + m_textureFileName, true).Get());
}

// ---- Sprite ----

Sprite::Sprite() : m_color(0.0f, 0.0f, 0.0f, 1.0f) {}

Sprite::Sprite(const std::vector<Core::SmartPointer<SpriteAnimation>>& animations) : m_animations(animations) {
  Math::BoundingBox box;
  for (int i = 0; i < 8; ++i) {
    box.corners[i] = Math::Vector3D(kUnitQuadCorners[i][0], kUnitQuadCorners[i][1], kUnitQuadCorners[i][2]);
  }
  m_boundingVolume.Set(box);
}

Sprite::Sprite(const Sprite& other)
    : Node(other),
      m_animations(other.m_animations),
      m_color(other.m_color),
      m_opacity(other.m_opacity),
      m_frameTimer(other.m_frameTimer),
      m_animationSpeed(other.m_animationSpeed),
      m_currentFrame(other.m_currentFrame),
      m_currentAnimation(other.m_currentAnimation),
      m_endOfAnimation(other.m_endOfAnimation),
      m_loop(other.m_loop),
      m_playing(other.m_playing),
      m_paused(other.m_paused),
      m_flipHorizontal(other.m_flipHorizontal),
      m_flipVertical(other.m_flipVertical) {}

void Sprite::Save(Core::File& file) {
  Node::Save(file);
  Core::WriteObjectVector(file, m_animations);
  Math::WriteColor(file, m_color);
  Core::WriteValue<float>(file, m_opacity);
  Core::WriteValue<float>(file, m_frameTimer);
  Core::WriteValue<float>(file, m_animationSpeed);
  Core::WriteValue<uint32_t>(file, m_currentFrame);
  Core::WriteValue<uint32_t>(file, m_currentAnimation);
  Core::WriteValue<uint8_t>(file, m_endOfAnimation);
  Core::WriteValue<uint8_t>(file, m_loop);
  Core::WriteValue<uint8_t>(file, m_playing);
  Core::WriteValue<uint8_t>(file, m_paused);
  Core::WriteValue<uint8_t>(file, m_flipHorizontal);
  Core::WriteValue<uint8_t>(file, m_flipVertical);
}

void Sprite::Load(Core::File& file) {
  Node::Load(file);
  Core::ReadObjectVector(file, m_animations);
  Math::ReadColor(file, m_color);
  Core::ReadValue(file, m_opacity);
  Core::ReadValue(file, m_frameTimer);
  Core::ReadValue(file, m_animationSpeed);
  Core::ReadValue(file, m_currentFrame);
  Core::ReadValue(file, m_currentAnimation);
  Core::ReadValue(file, m_endOfAnimation);
  Core::ReadValue(file, m_loop);
  Core::ReadValue(file, m_playing);
  Core::ReadValue(file, m_paused);
  Core::ReadValue(file, m_flipHorizontal);
  Core::ReadValue(file, m_flipVertical);
}

SpriteAnimation* Sprite::GetPlayableAnimation() const {
  if (m_currentAnimation >= m_animations.size()) return nullptr;
  SpriteAnimation* animation = m_animations[m_currentAnimation].Get();
  if (animation == nullptr || animation->GetFramesCount() == 0) return nullptr;
  return animation;
}

void Sprite::Update(float dt) {
  RunUpdateHook(dt);
  StepAnimation(dt);
}

void Sprite::StepAnimation(float dt) {
  SpriteAnimation* animation = GetPlayableAnimation();
  if (animation == nullptr || !m_playing) return;
  const uint32_t count = animation->GetFramesCount();
  if (m_currentFrame >= count) m_currentFrame = count - 1;

  m_endOfAnimation = 0;
  m_frameTimer += m_animationSpeed * dt;
  if (m_frameTimer > animation->GetFrame(m_currentFrame)->duration) {
    m_frameTimer = 0.0f;
    m_currentFrame += 1;
  }
  // A loop range that reaches past the last frame ends at the last frame.
  const uint32_t limit = m_loop ? std::min(animation->GetLoopEndingFrame(), count - 1) + 1 : count;
  if (m_currentFrame >= limit) {
    m_currentFrame = m_loop ? std::min(animation->GetLoopStartingFrame(), count - 1) : count - 1;
    m_endOfAnimation = 1;
    if (!m_loop) m_playing = 0;
  }
}

void Sprite::SetPlaying(bool play) {
  if (!play) {
    m_playing = 0;
    m_paused = 0;
    m_currentFrame = 0;
    return;
  }
  if (!m_playing && !m_paused && m_endOfAnimation) m_currentFrame = 0;
  m_playing = 1;
  m_paused = 0;
}

void Sprite::Pause() {
  m_playing = 0;
  m_paused = 1;
}

uint32_t Sprite::SetCurrentAnimationIndex(uint32_t index, bool force) {
  if (index >= m_animations.size()) return index;
  SpriteAnimation* animation = m_animations[index].Get();
  const uint32_t frames = animation ? animation->GetFramesCount() : 0;
  if (!force && index == m_currentAnimation) return frames;
  m_currentAnimation = index;
  // The frame index always restarts: the old one may lie past the new animation's frames.
  m_currentFrame = 0;
  m_frameTimer = 0.0f;
  if (frames > 0) m_endOfAnimation = 0;
  return frames;
}

void Sprite::SetCurrentAnimationName(const std::string& name, bool force) {
  uint32_t index = 0;
  for (uint32_t i = 0; i < m_animations.size(); ++i) {
    if (m_animations[i] && m_animations[i]->GetName() == name) {
      index = i;
      break;
    }
  }
  SetCurrentAnimationIndex(index, force);
}

std::string Sprite::GetCurrentAnimationName() const {
  if (m_currentAnimation >= m_animations.size() || !m_animations[m_currentAnimation]) return std::string();
  return m_animations[m_currentAnimation]->GetName();
}

Core::SmartPointer<SpriteAnimation> Sprite::GetAnimation(uint32_t index) const {
  return index < m_animations.size() ? m_animations[index] : Core::SmartPointer<SpriteAnimation>();
}

void Sprite::SetCurrentFrameIndex(uint32_t index, bool force) {
  SpriteAnimation* animation = GetPlayableAnimation();
  if (animation == nullptr || index >= animation->GetFramesCount()) return;
  if (force || index != m_currentFrame) {
    m_currentFrame = index;
    m_frameTimer = 0.0f;
  }
  m_endOfAnimation = 0;
}

const SpriteFrame* Sprite::GetCurrentFrame() const {
  SpriteAnimation* animation = GetPlayableAnimation();
  return animation ? animation->GetFrame(m_currentFrame) : nullptr;
}

void Sprite::GoToFirstFrame(bool force) {
  if (GetPlayableAnimation() != nullptr) SetCurrentFrameIndex(0, force);
}

void Sprite::GoToLastFrame(bool force) {
  SpriteAnimation* animation = GetPlayableAnimation();
  if (animation != nullptr) SetCurrentFrameIndex(animation->GetFramesCount() - 1, force);
}

Math::Matrix4x4 Sprite::ComputeModelMatrix(const SpriteAnimation& animation) const {
  const float sx = m_flipHorizontal ? -1.0f : 1.0f;
  const float sy = m_flipVertical ? -1.0f : 1.0f;
  return GetParentWorld() * Math::Matrix4x4::MakeScale(static_cast<float>(animation.GetFrameWidth()) * sx,
                                                       static_cast<float>(animation.GetFrameHeight()) * sy, 1.0f);
}

void Sprite::GetWorldBoundingBox(Math::BoundingBox& out) {
  SpriteAnimation* animation = GetPlayableAnimation();
  m_boundingVolume.Transform(animation ? ComputeModelMatrix(*animation) : GetParentWorld());
  out = m_boundingVolume.worldBox;
}

void Sprite::Render() {
  if (!m_visible) return;
  SpriteAnimation* animation = GetPlayableAnimation();
  if (animation == nullptr) return;
  const SpriteFrame* frame = animation->GetFrame(std::min(m_currentFrame, animation->GetFramesCount() - 1));

  const Math::Matrix4x4 model = ComputeModelMatrix(*animation);
  if (!m_screenSpace) {
    m_boundingVolume.Transform(model);
    if (IsCulled(m_boundingVolume.worldBox)) return;
  }

  Core::SmartPointer<Renderer::ITexture> texture = animation->GetTexture();
  Math::Matrix4x4 textureMatrix;
  if (texture && texture->GetWidth() > 0 && texture->GetHeight() > 0) {
    const float sx = static_cast<float>(animation->GetFrameWidth()) / static_cast<float>(texture->GetWidth());
    const float sy = static_cast<float>(animation->GetFrameHeight()) / static_cast<float>(texture->GetHeight());
    const auto column = static_cast<float>(frame->column & 0xFFu);
    const auto row = static_cast<float>(frame->row & 0xFFu);
    textureMatrix = Math::Matrix4x4::MakeTranslation(sx * column, sy * row, 0.0f) * Math::Matrix4x4::MakeScale(sx, sy, 1.0f);
  }

  RenderQueue* queue = SceneGraph::GetActiveQueue();
  if (queue == nullptr) return;
  RenderItem item;
  item.modelMatrix = model;
  item.textureMatrix = textureMatrix;
  item.color = Math::Color(m_color.r, m_color.g, m_color.b, m_opacity);
  item.texture = texture;
  item.primitive = 4;
  item.meshPart = 0;
  item.useSharedQuad = 1;
  item.screenSpace = m_screenSpace;
  queue->AddRenderItem(item);
}

}  // namespace Engine
