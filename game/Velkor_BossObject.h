#pragma once
// Base of the three UFO bosses: health, a health bar, and a wandering movement inside a box of
// offsets held relative to the car's x, so that a boss keeps pace with the car.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Quillon_Sprite.h"
#include "game/Velkor_MobHealthBar.h"
#include "game/Velkor_ScreenSupport.h"
#include "math/Math_Vector2D.h"

class HoverCar;

class BossObject : public Quillon::Sprite {
 public:
  BossObject() = default;
  explicit BossObject(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  // A copy gets a bar of its own when it starts.
  BossObject(const BossObject& other);
  VELKOR_DECLARE_CLASS(BossObject);
  void OnStart() override;
  // Also takes the health bar away.
  void Destroy() override;
  void ReleaseResources() override;

  // Places the boss, fills its health and sets its collision z.
  void Initialise(const Math::Vector2D& position, int32_t health, uint8_t zCollision);
  // The box its offset wanders in and the range of its random speed per axis (units per step).
  void SetWanderingBox(const Math::Vector2D& minimumOffset, const Math::Vector2D& maximumOffset,
                       const Math::Vector2D& minimumSpeed, const Math::Vector2D& maximumSpeed);

  // In the fight or out of it. The mothership stands in the level all along and is in the fight
  // only while a wave engages it; it also starts its attacks afresh.
  virtual void Engage(bool engaged) { m_engaged = engaged; }
  bool IsEngaged() const { return m_engaged; }

  int32_t GetHealth() const { return m_health; }
  int32_t GetMaximumHealth() const { return m_maximumHealth; }
  const Math::Vector2D& GetOffset() const { return m_offset; }
  void SetOffset(const Math::Vector2D& offset) { m_offset = offset; }
  MobHealthBar& GetHealthBar() { return m_healthBar; }

 protected:
  // One step of the wandering movement, with a change of direction by chance every 2 seconds.
  void Wander(float dt);
  // Damage from the car's shots, blasts and laser touching it this step.
  void TakeHits();
  // The bar's sprites join the boss's layer, at that scale and offset.
  void StartHealthBar(float scale, const Math::Vector2D& offset);
  // The two small UFOs' step: beside the car, an aimed shot now and then, hits, and the end.
  void UpdateEscort(float dt, const char* cloneName, int32_t bulletFrame, const char* downText, float textLifeTime);

  // The car it keeps pace with and shoots at, or null.
  HoverCar* GetCar();

  MobHealthBar m_healthBar;
  bool m_active = false;
  bool m_engaged = false;

 private:
  Math::Vector2D m_minimumOffset;
  Math::Vector2D m_offset;
  Math::Vector2D m_maximumOffset;
  Math::Vector2D m_minimumSpeed;
  Math::Vector2D m_maximumSpeed;
  float m_directionTimer = 0.0f;
  int32_t m_maximumHealth = 0;
  int32_t m_health = 0;
  int32_t m_directionX = 1;
  int32_t m_directionY = 1;
  int32_t m_speedX = 0;
  int32_t m_speedY = 0;
  Partner<HoverCar> m_car{"Player"};
};
