#pragma once
// A short message that fades out over 100 frames and then goes. The level holds one of each kind
// ("FadingTxt"); actors show a message by copying it.
#include <string>

#include "framework/Quillon_Text.h"
#include "math/Math_Vector2D.h"

namespace Quillon {
class Layer;
}

class FadingText : public Quillon::Text {
 public:
  static constexpr float kFadeStep = 0.01f;

  FadingText() = default;
  FadingText(const std::string& caption, const std::string& fontPath) : Quillon::Text(caption, fontPath) {}
  // A copy is a message: it fades and goes; the level's own text stays as a model.
  FadingText(const FadingText& other) : Quillon::Text(other), m_message(true) {}
  VELKOR_DECLARE_CLASS(FadingText);

  void OnStart() override;
  void Update(float dt) override;

  float GetFade() const { return m_fade; }
  bool IsMessage() const { return m_message; }

  // Copies the level's "FadingTxt" with that caption at the position into the layer; null when
  // there is no model or no layer.
  static FadingText* Spawn(const std::string& caption, const Math::Vector2D& position, Quillon::Layer* layer);

 private:
  float m_fade = 1.0f;
  bool m_message = false;
};
