#pragma once
// The animated game object: an engine sprite under the object's node, its current frame kept in
// step with its collision body, an optional drawing of its collision shapes and bounding rectangle.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_SpriteAnimation.h"
#include "scene/Engine_Sprite.h"

namespace Quillon {

class Circle;
class Line;
class Viewport;

class Sprite : public GameObject {
 public:
  static constexpr const char* ScriptClassName = "Sprite";

  // The registry's sprite: no engine sprite until Load builds one.
  Sprite();
  explicit Sprite(const std::vector<SpriteAnimation*>& animations);
  Sprite(const Sprite& other);
  ~Sprite() override;
  VELKOR_DECLARE_CLASS(Sprite);
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void Tick(float dt) override;
  void UpdateAppearance(float dt) override;
  // After the game object's record: animation name and index, frame, flips, HUD flag. A replica
  // shows the server's frames instead of running its own animation.
  void NetworkSyncSend(NetworkFile& file) override;
  void NetworkSyncReceive(NetworkFile& file) override;

  void SetCollisionActorIndex(int32_t index) { m_collisionActorIndex = index; }
  int32_t GetCollisionActorIndex() const { return m_collisionActorIndex; }

  // Animation control, forwarded to the engine sprite (setters act only on a change).
  void SetLoop(bool loop);
  bool GetLoop() const;
  // A negative speed becomes 0.
  void SetAnimationSpeed(float speed);
  float GetAnimationSpeed() const;
  void SetPlaying(bool playing);
  bool IsPlaying() const;
  void Pause();
  bool IsPaused() const;
  void SetCurrentAnimationIndex(uint32_t index, bool force);
  uint32_t GetCurrentAnimationIndex() const;
  void SetCurrentAnimationName(const std::string& name, bool force);
  std::string GetCurrentAnimationName() const;
  void SetCurrentFrameIndex(uint32_t index, bool force);
  uint32_t GetCurrentFrameIndex() const;
  void GoToFirstFrame(bool force);
  void GoToLastFrame(bool force);
  bool IsEndOfAnimation() const;
  void SetFlipHorizontal(bool flip);
  bool GetFlipHorizontal() const;
  void SetFlipVertical(bool flip);
  bool GetFlipVertical() const;
  uint32_t GetAnimationsCount() const;
  // By animation index; 0 for an animation or frame that does not exist.
  uint32_t GetFrameWidth(uint32_t animation) const;
  uint32_t GetFrameHeight(uint32_t animation) const;
  uint32_t GetFramesCount(uint32_t animation) const;
  float GetFrameDelay(uint32_t animation, uint32_t frame) const;
  float GetCurrentFrameDelay() const;
  void SetHUDObject(bool hud);
  bool IsHUDObject() const;
  // False without a viewport or camera; else whether the sprite's box is not wholly out of view.
  bool IsInViewport(Viewport* viewport) const;

  // Collision display.
  void SetVisibleCollisionData(bool visible);
  bool GetVisibleCollisionData() const { return m_visibleCollisionData != 0; }
  void SetVisibleBoundingRectangle(bool visible);
  bool GetVisibleBoundingRectangle() const { return m_visibleBoundingRectangle != 0; }
  void SetCollisionDataColor(const Math::Color& color) { m_collisionDataColor = color; }
  const Math::Color& GetCollisionDataColor() const { return m_collisionDataColor; }
  void SetBoundingRectangleColor(const Math::Color& color) { m_boundingRectangleColor = color; }
  const Math::Color& GetBoundingRectangleColor() const { return m_boundingRectangleColor; }
  uint32_t GetCollisionLinesCount() const { return static_cast<uint32_t>(m_collisionLines.size()); }
  uint32_t GetCollisionCirclesCount() const { return static_cast<uint32_t>(m_collisionCircles.size()); }

  const Core::SmartPointer<Engine::Sprite>& GetEngineSprite() const { return m_engineSprite; }

  // The owners' IDs of this frame's sprite contacts (first list, then second), for the level's
  // save; reading stores the objects found under those IDs into the contact records.
  void WriteCollidedIds(Core::File& file);
  void ReadCollidedIds(Core::File& file);

 private:
  // The collision body follows the picture's frame; the drawn shapes follow the body.
  void UpdateCollisionFrame();
  void UpdateCollisionDisplay();
  // After Load: the body's owner and its collision actor.
  void BindCollisionActor();

  Core::SmartPointer<Engine::Sprite> m_engineSprite;
  int32_t m_collisionActorIndex = -1;
  // Drawn shapes are objects of the sprite's layer; the references keep one destroyed elsewhere
  // from dangling here.
  std::vector<Core::SmartPointer<Line>> m_collisionLines;
  std::vector<Core::SmartPointer<Circle>> m_collisionCircles;
  int32_t m_linesInUse = 0;
  int32_t m_circlesInUse = 0;
  uint8_t m_visibleCollisionData = 0;
  Core::SmartPointer<Line> m_boundingRectangleLines[4];
  uint8_t m_visibleBoundingRectangle = 0;
  Math::Color m_collisionDataColor{0.0f, 0.0f, 0.0f, 1.0f};
  Math::Color m_boundingRectangleColor{0.0f, 0.0f, 0.0f, 1.0f};
};

// The first sprite of that ID over the current level's layers in order; null when there is none.
Sprite* FindSpriteById(uint32_t id);

}  // namespace Quillon
