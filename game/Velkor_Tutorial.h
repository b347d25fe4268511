#pragma once
// The playable tutorial: the scene scrolls from station to station; at each one a page of
// "words" says what to do, and the page turns once the player has done it (hover, get hit, shoot
// the alien, take the power-up and use it, pick up health, reach the civilian). The button
// "tBtn" leaves for the game at any moment.
#include <cstdint>

#include "framework/Quillon_Level.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_ScreenSupport.h"

class Tutorial : public Quillon::Level {
 public:
  // What the player has done so far; a station is reached by these and by how far the scene has
  // scrolled, which only ever moves left.
  struct Progress {
    uint8_t jumped = 0;            // Space went down at the first station
    uint8_t hitByAlienBullet = 0;
    uint8_t alienHit = 0;          // the car's bullet reached the alien
    uint8_t clicked = 0;           // the left button went down at the second station
    uint8_t powerUpCollected = 0;
    uint8_t shieldUsed = 0;        // D went down once the power-up was collected
    uint8_t healthCollected = 0;
    uint8_t saveReached = 0;
  };

  static constexpr float kScrollStep = 5.0f;
  static constexpr float kBulletStep = 10.0f;
  static constexpr float kJumpSpeed = 15.0f;
  // Where the scroll stops for each station: the named object's x at or left of it.
  static constexpr float kFirstStationPlatform1X = -1330.0f;
  static constexpr float kSecondStationAlienX = 505.0f;
  static constexpr float kThirdStationPlatform2X = -1417.0f;
  static constexpr float kFourthStationPlatform4X = -285.0f;
  // Where the car's shot goes once it has hit the alien: below everything of the scene.
  static constexpr float kSpentShotY = -5000.0f;

  VELKOR_DECLARE_LEVEL(Tutorial);

  void OnStart() override;
  void OnEnd() override { m_scene.Release(); }
  void Update(float dt) override;

  const Progress& GetProgress() const { return m_progress; }

 private:
  struct Scene;
  // Each station answers whether the script goes on to the next one this frame.
  bool RunFirstStation(const Scene& scene);
  bool RunSecondStation(const Scene& scene);
  bool RunThirdStation(const Scene& scene);
  void RunFourthStation(const Scene& scene);
  static void Scroll(const Scene& scene);
  void HandleLeaveButton();
  Quillon::Sprite* Find(const char* name) { return m_scene.Get(name); }

  Progress m_progress;
  // The scene's objects, found on first use and kept for the visit.
  PartnersByName<Quillon::Sprite> m_scene;
};
