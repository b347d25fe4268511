#pragma once
// The scene-graph leaf that draws one textured, animated quad: animations of frames cut from one
// texture sheet each, a frame timer, a speed factor, a loop range, flips, a colour and an opacity.
#include <cstdint>
#include <string>
#include <vector>

#include "math/Math_Color.h"
#include "scene/Engine_Node.h"

namespace Renderer {
class ITexture;
}

namespace Engine {

struct SpriteFrame {
  uint32_t column = 0;  // cell indices into the sheet; only the low byte is used
  uint32_t row = 0;
  float duration = 0.0f;  // in units of dt times the speed factor
};

class SpriteAnimation : public Core::Object {
 public:
  SpriteAnimation() = default;
  SpriteAnimation(const Core::SmartPointer<Renderer::ITexture>& texture, uint32_t frameWidth, uint32_t frameHeight,
                  const std::vector<SpriteFrame>& frames);
  SpriteAnimation(const SpriteAnimation& other);
  ~SpriteAnimation() override;
  VELKOR_DECLARE_CLASS(SpriteAnimation);

  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

  void SetName(const std::string& name) { m_name = name; }
  const std::string& GetName() const { return m_name; }
  uint32_t GetFramesCount() const { return static_cast<uint32_t>(m_frames.size()); }
  // Null for an index past the last frame.
  const SpriteFrame* GetFrame(uint32_t index) const { return index < m_frames.size() ? &m_frames[index] : nullptr; }
  Core::SmartPointer<Renderer::ITexture> GetTexture() const;
  void SetLoopStartingFrame(uint32_t frame) { m_loopStartingFrame = frame; }
  uint32_t GetLoopStartingFrame() const { return m_loopStartingFrame; }
  void SetLoopEndingFrame(uint32_t frame) { m_loopEndingFrame = frame; }
  uint32_t GetLoopEndingFrame() const { return m_loopEndingFrame; }
  uint32_t GetFrameWidth() const { return m_frameWidth; }
  uint32_t GetFrameHeight() const { return m_frameHeight; }
  // The sheet's file name without its directory, as saved.
  const std::string& GetTextureFileName() const { return m_textureFileName; }

 private:
  std::vector<SpriteFrame> m_frames;
  std::string m_name;
  Core::SmartPointer<Core::Object> m_texture;
  std::string m_textureFileName;
  uint32_t m_loopStartingFrame = 0;
  uint32_t m_loopEndingFrame = 0;
  uint32_t m_frameWidth = 0;
  uint32_t m_frameHeight = 0;
};

class Sprite : public Node {
 public:
  // The registry's empty sprite (colour black).
  Sprite();
  explicit Sprite(const std::vector<Core::SmartPointer<SpriteAnimation>>& animations);
  Sprite(const Sprite& other);
  VELKOR_DECLARE_CLASS(Sprite);

  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void Update(float dt) override;
  void Draw(uint32_t flags = 0) override {
    (void)flags;
    Render();
  }
  void DrawTree() override { Render(); }
  void Render() override;

  void SetPlaying(bool play);
  void Pause();
  bool IsPlaying() const { return m_playing != 0; }
  bool IsPaused() const { return m_paused != 0; }
  bool IsEndOfAnimation() const { return m_endOfAnimation != 0; }
  void SetLoop(bool loop) { m_loop = loop; }
  bool GetLoop() const { return m_loop != 0; }
  void SetAnimationSpeed(float speed) { m_animationSpeed = speed; }
  float GetAnimationSpeed() const { return m_animationSpeed; }

  uint32_t SetCurrentAnimationIndex(uint32_t index, bool force);
  void SetCurrentAnimationName(const std::string& name, bool force);
  uint32_t GetCurrentAnimationIndex() const { return m_currentAnimation; }
  // Empty when the current index names no animation.
  std::string GetCurrentAnimationName() const;
  uint32_t GetAnimationsCount() const { return static_cast<uint32_t>(m_animations.size()); }
  // Null for an index past the last animation.
  Core::SmartPointer<SpriteAnimation> GetAnimation(uint32_t index) const;

  void SetCurrentFrameIndex(uint32_t index, bool force);
  uint32_t GetCurrentFrameIndex() const { return m_currentFrame; }
  // Null when the current animation has no such frame.
  const SpriteFrame* GetCurrentFrame() const;
  void GoToFirstFrame(bool force);
  void GoToLastFrame(bool force);

  void SetFlipHorizontal(bool flip) { m_flipHorizontal = flip; }
  bool GetFlipHorizontal() const { return m_flipHorizontal != 0; }
  void SetFlipVertical(bool flip) { m_flipVertical = flip; }
  bool GetFlipVertical() const { return m_flipVertical != 0; }
  void SetOpacity(float opacity) { m_opacity = opacity; }
  float GetOpacity() const { return m_opacity; }
  void SetModulationColor(const Math::Color& color) { m_color = color; }
  const Math::Color& GetModulationColor() const { return m_color; }
  float GetFrameTimer() const { return m_frameTimer; }

  void GetWorldBoundingBox(Math::BoundingBox& out);

 private:
  // The current animation when it exists and has frames; null otherwise.
  SpriteAnimation* GetPlayableAnimation() const;
  Math::Matrix4x4 ComputeModelMatrix(const SpriteAnimation& animation) const;
  void StepAnimation(float dt);

  std::vector<Core::SmartPointer<SpriteAnimation>> m_animations;
  Math::Color m_color{1.0f, 1.0f, 1.0f, 1.0f};
  float m_opacity = 1.0f;
  float m_frameTimer = 0.0f;
  float m_animationSpeed = 1.0f;
  uint32_t m_currentFrame = 0;
  uint32_t m_currentAnimation = 0;
  uint8_t m_endOfAnimation = 0;
  uint8_t m_loop = 1;
  uint8_t m_playing = 0;
  uint8_t m_paused = 0;
  uint8_t m_flipHorizontal = 0;
  uint8_t m_flipVertical = 0;
};

}  // namespace Engine
