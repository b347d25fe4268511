#pragma once
// The intro cut-scene: three comic panels brought in one after the other with their people, saucers,
// laser and fires, then faded out; it leads to the main menu after ten seconds or on a click.
#include <initializer_list>

#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ScreenSupport.h"

class StoryClass : public Quillon::Level {
 public:
  // The scene's timetable, in seconds from its start.
  static constexpr float kSecondPanelTime = 4.0f;
  static constexpr float kThirdPanelTime = 6.0f;
  static constexpr float kFadeOutTime = 8.0f;
  static constexpr float kEndTime = 10.0f;

  VELKOR_DECLARE_LEVEL(StoryClass);

  void OnStart() override;
  void OnEnd() override { m_parts.Release(); }
  void Update(float dt) override;

  float GetStoryTime() const { return m_storyTime; }
  float GetSceneOpacity() const { return m_sceneOpacity; }
  float GetUfoOpacity() const { return m_ufoOpacity; }
  float GetLaserOpacity() const { return m_laserOpacity; }
  float GetFlameOpacity() const { return m_flameOpacity; }

 private:
  using Names = std::initializer_list<const char*>;

  Quillon::Sprite* Find(const char* name);
  void Move(const Names& names, float dx, float dy);
  void SetOpacity(const Names& names, float opacity);
  void ApplyOpacities();
  void PlayFirstPanel();
  void Leave();

  float m_fadeStep = 0.0f;
  float m_storyTime = 0.0f;
  float m_sceneOpacity = 1.0f;
  float m_ufoOpacity = 0.0f;
  float m_laserOpacity = 0.0f;
  float m_flameOpacity = 0.0f;
  // The scene's sprites by name, kept from the start of the level.
  PartnersByName<Quillon::Sprite> m_parts;
};
