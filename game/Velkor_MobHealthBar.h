#pragma once
// The health bar over an enemy or a boss: a red background bar and a green bar over it that
// shrinks towards the left as health runs out. Its owner holds it by value and adds its two
// sprites to its own layer.
#include <cstdint>

#include "core/Core_Object.h"
#include "framework/Quillon_Sprite.h"
#include "math/Math_Vector2D.h"

namespace Quillon {
class Layer;
}

class MobHealthBar : public Core::Object {
 public:
  MobHealthBar() = default;
  // A copy is a new, empty bar: two owners must never share the sprites.
  MobHealthBar(const MobHealthBar&) : Core::Object() {}
  MobHealthBar& operator=(const MobHealthBar&) = delete;
  ~MobHealthBar() override = default;
  VELKOR_DECLARE_CLASS(MobHealthBar);

  // Scale 1 and fresh copies of the level's "greenBar" and "redBar" (either missing leaves that
  // bar out); false when neither exists.
  bool Initialize();
  // Adds the bars to the owner's layer (red first, so the green one is drawn over it at equal depth).
  void AddToLayer(Quillon::Layer* layer);
  // A maximum of 0 or less counts as 1.
  void SetHealth(int32_t current, int32_t maximum);
  void Place(const Math::Vector2D& position);
  void SetOffset(const Math::Vector2D& offset) { m_offset = offset; }
  void SetScale(float scale) { m_scale = scale; }
  void SetVisible(bool visible);
  void Destroy();

  Quillon::Sprite* GetGreenBar() const { return m_greenBar.Get(); }
  Quillon::Sprite* GetRedBar() const { return m_redBar.Get(); }
  float GetGreenShift() const { return m_greenShift; }
  float GetScale() const { return m_scale; }
  const Math::Vector2D& GetOffset() const { return m_offset; }

 private:
  Core::SmartPointer<Quillon::Sprite> m_greenBar;
  Core::SmartPointer<Quillon::Sprite> m_redBar;
  Math::Vector2D m_offset;
  float m_greenShift = 0.0f;
  float m_scale = 1.0f;
};
