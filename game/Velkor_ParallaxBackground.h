#pragma once
// The game level's scrolling backdrop: the sky and the dimmer stand on the camera, two bands of
// two tiles each and five buildings scroll at their own speeds and wrap round to the right edge
// of the view when they leave it on the left.
#include <cstdint>

#include "core/Core_Object.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ScreenSupport.h"

namespace Quillon {
class Camera;
}
class HoverCar;

class ParallaxBackground : public Core::Object {
 public:
  static constexpr int32_t kBuildingCount = 5;

  ParallaxBackground() = default;
  // A copy is a new backdrop that finds its sprites when it is set up.
  ParallaxBackground(const ParallaxBackground&) : Core::Object() {}
  ParallaxBackground& operator=(const ParallaxBackground&) = delete;
  ~ParallaxBackground() override = default;
  VELKOR_DECLARE_CLASS(ParallaxBackground);

  // Finds the sprites and makes the five buildings from the level's "Buildings".
  void SetUp();
  void Update();
  // Lets go of every sprite and partner it holds (the level has ended).
  void Release();

  // Moves the sprite left by the shift while any of it is still right of `left`; once it has left
  // the view (of width viewWidth) it goes to the right edge and the answer is true.
  static bool Wrap(Quillon::Sprite& sprite, float left, float shift, int32_t viewWidth);
  // A frame of the sprite's current animation drawn at random.
  static uint32_t RandomFrame(const Quillon::Sprite& sprite);

  Quillon::Sprite* GetBuilding(int32_t index) const {
    return index >= 0 && index < kBuildingCount ? m_buildings[index].Get() : nullptr;
  }

 private:
  Core::SmartPointer<Quillon::Sprite> m_sky;
  Core::SmartPointer<Quillon::Sprite> m_nearBand;
  Core::SmartPointer<Quillon::Sprite> m_nearBandSecond;
  Core::SmartPointer<Quillon::Sprite> m_farBand;
  Core::SmartPointer<Quillon::Sprite> m_farBandSecond;
  Core::SmartPointer<Quillon::Sprite> m_buildings[kBuildingCount];
  Core::SmartPointer<Quillon::Sprite> m_dimmer;
  // The bands scroll with the car's speed, round the camera.
  Partner<Quillon::Camera> m_camera{"camera0"};
  Partner<HoverCar> m_car{"Player"};
};
