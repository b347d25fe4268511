#include "framework/Quillon_Sprite.h"

#include "core/Core_File.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Shapes.h"
#include "framework/Quillon_Viewport.h"
#include "math/Math_BoundingBox.h"
#include "math/Math_Frustum.h"
#include "math/Math_Stream.h"
#include "renderer/Engine_RenderingApplication.h"
#include "scene/Engine_TextureSource.h"

namespace Quillon {

VELKOR_IMPLEMENT_CLASS(Sprite, "Quillon::Sprite");

Sprite::Sprite(const std::vector<SpriteAnimation*>& animations) {
  std::vector<Core::SmartPointer<Engine::SpriteAnimation>> engineAnimations;
  for (SpriteAnimation* animation : animations) {
    if (animation != nullptr) engineAnimations.push_back(animation->GetEngineAnimation());
  }
  m_engineSprite = new (__FILE__, __LINE__) Engine::Sprite(engineAnimations);
  m_node->AddChild(m_engineSprite);
}

Sprite::Sprite(const Sprite& other)
    : GameObject(other),
      m_collisionActorIndex(other.m_collisionActorIndex),
      m_visibleCollisionData(other.m_visibleCollisionData),
      m_visibleBoundingRectangle(other.m_visibleBoundingRectangle),
      m_collisionDataColor(other.m_collisionDataColor),
      m_boundingRectangleColor(other.m_boundingRectangleColor) {
  if (other.m_engineSprite) {
    m_engineSprite = static_cast<Engine::Sprite*>(other.m_engineSprite->Clone());
    m_node->AddChild(m_engineSprite);
  }
}

Sprite::Sprite() = default;

Sprite::~Sprite() = default;

int Sprite::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

void Sprite::Tick(float dt) {
  if (m_collisionId != 0) {
    UpdateCollisionFrame();
    UpdateCollisionDisplay();
  }
  GameObject::Tick(dt);
}

void Sprite::UpdateAppearance(float dt) {
  (void)dt;
  if (!m_engineSprite) return;
  m_engineSprite->SetOpacity(m_opacity);
  m_engineSprite->SetModulationColor(m_modulationColor);
}

// ---- Animation ----------------------------------------------------------------------------------

void Sprite::SetLoop(bool loop) {
  if (m_engineSprite) m_engineSprite->SetLoop(loop);
}
bool Sprite::GetLoop() const { return m_engineSprite && m_engineSprite->GetLoop(); }

void Sprite::SetAnimationSpeed(float speed) {
  if (m_engineSprite) m_engineSprite->SetAnimationSpeed(speed < 0.0f ? 0.0f : speed);
}
float Sprite::GetAnimationSpeed() const { return m_engineSprite ? m_engineSprite->GetAnimationSpeed() : 0.0f; }

void Sprite::SetPlaying(bool playing) {
  if (m_engineSprite) m_engineSprite->SetPlaying(playing);
}
bool Sprite::IsPlaying() const { return m_engineSprite && m_engineSprite->IsPlaying(); }

void Sprite::Pause() {
  if (m_engineSprite) m_engineSprite->Pause();
}
bool Sprite::IsPaused() const { return m_engineSprite && m_engineSprite->IsPaused(); }

void Sprite::SetCurrentAnimationIndex(uint32_t index, bool force) {
  if (m_engineSprite && m_engineSprite->GetCurrentAnimationIndex() != index) m_engineSprite->SetCurrentAnimationIndex(index, force);
}
uint32_t Sprite::GetCurrentAnimationIndex() const { return m_engineSprite ? m_engineSprite->GetCurrentAnimationIndex() : 0; }

void Sprite::SetCurrentAnimationName(const std::string& name, bool force) {
  if (m_engineSprite && m_engineSprite->GetCurrentAnimationName() != name) m_engineSprite->SetCurrentAnimationName(name, force);
}
std::string Sprite::GetCurrentAnimationName() const { return m_engineSprite ? m_engineSprite->GetCurrentAnimationName() : std::string(); }

void Sprite::SetCurrentFrameIndex(uint32_t index, bool force) {
  if (m_engineSprite && m_engineSprite->GetCurrentFrameIndex() != index) m_engineSprite->SetCurrentFrameIndex(index, force);
}
uint32_t Sprite::GetCurrentFrameIndex() const { return m_engineSprite ? m_engineSprite->GetCurrentFrameIndex() : 0; }

void Sprite::GoToFirstFrame(bool force) {
  if (m_engineSprite) m_engineSprite->GoToFirstFrame(force);
}
void Sprite::GoToLastFrame(bool force) {
  if (m_engineSprite) m_engineSprite->GoToLastFrame(force);
}
bool Sprite::IsEndOfAnimation() const { return m_engineSprite && m_engineSprite->IsEndOfAnimation(); }

void Sprite::SetFlipHorizontal(bool flip) {
  if (m_engineSprite && m_engineSprite->GetFlipHorizontal() != flip) m_engineSprite->SetFlipHorizontal(flip);
}
bool Sprite::GetFlipHorizontal() const { return m_engineSprite && m_engineSprite->GetFlipHorizontal(); }

void Sprite::SetFlipVertical(bool flip) {
  if (m_engineSprite && m_engineSprite->GetFlipVertical() != flip) m_engineSprite->SetFlipVertical(flip);
}
bool Sprite::GetFlipVertical() const { return m_engineSprite && m_engineSprite->GetFlipVertical(); }

uint32_t Sprite::GetAnimationsCount() const { return m_engineSprite ? m_engineSprite->GetAnimationsCount() : 0; }

uint32_t Sprite::GetFrameWidth(uint32_t animation) const {
  auto engineAnimation = m_engineSprite ? m_engineSprite->GetAnimation(animation) : nullptr;
  return engineAnimation ? engineAnimation->GetFrameWidth() : 0;
}

uint32_t Sprite::GetFrameHeight(uint32_t animation) const {
  auto engineAnimation = m_engineSprite ? m_engineSprite->GetAnimation(animation) : nullptr;
  return engineAnimation ? engineAnimation->GetFrameHeight() : 0;
}

uint32_t Sprite::GetFramesCount(uint32_t animation) const {
  auto engineAnimation = m_engineSprite ? m_engineSprite->GetAnimation(animation) : nullptr;
  return engineAnimation ? engineAnimation->GetFramesCount() : 0;
}

float Sprite::GetFrameDelay(uint32_t animation, uint32_t frame) const {
  auto engineAnimation = m_engineSprite ? m_engineSprite->GetAnimation(animation) : nullptr;
  const Engine::SpriteFrame* record = engineAnimation ? engineAnimation->GetFrame(frame) : nullptr;
  return record ? record->duration : 0.0f;
}

float Sprite::GetCurrentFrameDelay() const {
  const Engine::SpriteFrame* record = m_engineSprite ? m_engineSprite->GetCurrentFrame() : nullptr;
  return record ? record->duration : 0.0f;
}

void Sprite::SetHUDObject(bool hud) {
  if (m_engineSprite) m_engineSprite->SetScreenSpace(hud);
}
bool Sprite::IsHUDObject() const { return m_engineSprite && m_engineSprite->GetScreenSpace(); }

bool Sprite::IsInViewport(Viewport* viewport) const {
  if (viewport == nullptr || viewport->GetCamera() == nullptr || !m_engineSprite) return false;
  Math::Frustum frustum;
  viewport->GetCamera()->BuildFrustum(frustum, static_cast<int>(viewport->GetWidth()),
                                      static_cast<int>(viewport->GetHeight()));
  Math::BoundingBox box;
  m_engineSprite->GetWorldBoundingBox(box);
  return frustum.ClassifyBox(box) != 2;
}

// ---- Collision display --------------------------------------------------------------------------

void Sprite::SetVisibleCollisionData(bool visible) {
  m_visibleCollisionData = visible ? 1 : 0;
  if (visible) return;
  for (auto& line : m_collisionLines) line->Destroy();
  for (auto& circle : m_collisionCircles) circle->Destroy();
  m_collisionLines.clear();
  m_collisionCircles.clear();
  m_linesInUse = 0;
  m_circlesInUse = 0;
}

void Sprite::SetVisibleBoundingRectangle(bool visible) {
  m_visibleBoundingRectangle = visible ? 1 : 0;
  if (visible) return;
  for (auto& line : m_boundingRectangleLines) {
    if (line) line->Destroy();
    line.Reset();
  }
}

// ---- Persistence --------------------------------------------------------------------------------

namespace {

template <typename T>
void ReadObjectList(Core::File& file, std::vector<Core::SmartPointer<T>>& out) {
  out.clear();
  uint32_t count = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, 1)) count = 0;
  for (uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
    Core::SmartPointer<T> object;
    Core::ReadObjectPointer(file, object);
    if (object) out.push_back(object);
  }
}

}  // namespace

void Sprite::Save(Core::File& file) {
  GameObject::Save(file);
  const uint32_t animationCount = GetAnimationsCount();
  Core::WriteValue<uint32_t>(file, animationCount);
  for (uint32_t i = 0; i < animationCount; ++i) file.WriteObject(m_engineSprite->GetAnimation(i).Get());
  Core::WriteValue<uint8_t>(file, GetFlipHorizontal() ? 1 : 0);
  Core::WriteValue<uint8_t>(file, GetFlipVertical() ? 1 : 0);
  Core::WriteValue<uint8_t>(file, GetLoop() ? 1 : 0);
  Math::WriteFloat(file, GetAnimationSpeed());
  Core::WriteValue<uint8_t>(file, IsPaused() ? 1 : 0);
  Core::WriteValue<uint8_t>(file, IsPlaying() ? 1 : 0);
  Core::WriteValue<uint32_t>(file, GetCurrentAnimationIndex());
  Core::WriteValue<uint32_t>(file, GetCurrentFrameIndex());
  Core::WriteValue<uint8_t>(file, IsHUDObject() ? 1 : 0);
  Core::WriteValue<int32_t>(file, m_collisionActorIndex);
  Core::WriteValue<uint8_t>(file, m_visibleCollisionData);
  Core::WriteValue<uint8_t>(file, m_visibleBoundingRectangle);
  Core::WriteValue<int32_t>(file, m_linesInUse);
  Core::WriteValue<int32_t>(file, m_circlesInUse);
  Math::WriteColor(file, m_collisionDataColor);
  Core::WriteObjectVector(file, m_collisionCircles);
  Core::WriteObjectVector(file, m_collisionLines);
}

void Sprite::Load(Core::File& file) {
  LoadBase(file);
  uint32_t animationCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(animationCount, 1)) animationCount = 0;
  // The engine animations find their sheets in the game's animations folder.
  const std::string animationsFolder = GetGameServices().GetDirectory() + "\\Resources\\Animations";
  if (auto* application = Engine::RenderingApplication::GetInstance()) {
    application->SetTextureDirectory(animationsFolder);
  } else {
    Engine::SetTextureDirectory(animationsFolder);
  }
  std::vector<Core::SmartPointer<Engine::SpriteAnimation>> animations;
  for (uint32_t i = 0; i < animationCount && !file.HasFailed(); ++i) {
    Core::SmartPointer<Engine::SpriteAnimation> animation;
    Core::ReadObjectPointer(file, animation);
    if (animation) animations.push_back(animation);
  }
  if (m_engineSprite) m_node->RemoveChild(m_engineSprite);
  m_engineSprite = new (__FILE__, __LINE__) Engine::Sprite(animations);
  m_node->AddChild(m_engineSprite);
  m_engineSprite->SetFlipHorizontal(Core::ReadValue<uint8_t>(file) != 0);
  m_engineSprite->SetFlipVertical(Core::ReadValue<uint8_t>(file) != 0);
  m_engineSprite->SetLoop(Core::ReadValue<uint8_t>(file) != 0);
  float speed = 0.0f;
  Math::ReadFloat(file, speed);
  m_engineSprite->SetAnimationSpeed(speed);
  const bool paused = Core::ReadValue<uint8_t>(file) != 0;
  const bool playing = Core::ReadValue<uint8_t>(file) != 0;
  m_engineSprite->SetPlaying(playing);
  if (paused) m_engineSprite->Pause();
  m_engineSprite->SetCurrentAnimationIndex(Core::ReadValue<uint32_t>(file), true);
  m_engineSprite->SetCurrentFrameIndex(Core::ReadValue<uint32_t>(file), true);
  m_engineSprite->SetScreenSpace(Core::ReadValue<uint8_t>(file) != 0);
  SetVisible(IsVisible());
  Core::ReadValue(file, m_collisionActorIndex);
  BindCollisionActor();
  Core::ReadValue(file, m_visibleCollisionData);
  Core::ReadValue(file, m_visibleBoundingRectangle);
  Core::ReadValue(file, m_linesInUse);
  Core::ReadValue(file, m_circlesInUse);
  Math::ReadColor(file, m_collisionDataColor);
  ReadObjectList(file, m_collisionCircles);
  ReadObjectList(file, m_collisionLines);
}

}  // namespace Quillon
