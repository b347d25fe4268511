#include "game/Velkor_Tutorial.h"

#include "framework/Quillon_Game.h"
#include "input/Internal_Keyboard.h"
#include "game/Velkor_ScreenSupport.h"

namespace {

// The frames of "words", one page per station and step.
enum Page : uint32_t { kJumpPage = 1, kShootPage, kPowerUpPage, kUsePowerUpPage, kHealthPage, kSavePage, kDonePage };

void Hide(Quillon::Sprite* sprite) {
  if (sprite != nullptr) sprite->SetVisible(false);
}
void Show(Quillon::Sprite* sprite) {
  if (sprite != nullptr) sprite->SetVisible(true);
}
void MoveX(Quillon::Sprite* sprite, float dx) {
  if (sprite != nullptr) sprite->SetPositionX(sprite->GetPositionX() + dx);
}

// A sprite's shape contacts (the car's and the alien's) name the other sprite.
bool Touches(Quillon::Sprite* sprite, const char* other) {
  return sprite != nullptr && Quillon::IsCollidedWithSprite(sprite->GetCollisionResults(), other, true);
}

bool KeyWentDown(int32_t key) {
  Quillon::Game* game = Quillon::Game::GetInstance();
  Input::Keyboard* keyboard = game != nullptr ? game->GetKeyboard() : nullptr;
  return keyboard != nullptr && keyboard->IsTriggered(key);
}

}  // namespace

// The scene as this frame finds it: objects may be gone. The optional three ("tBtn",
// "healthtxt", "complete") may be null; the rest are there whenever a station runs.
struct Tutorial::Scene {
  Quillon::Sprite* platform1;
  Quillon::Sprite* platform2;
  Quillon::Sprite* platform3;
  Quillon::Sprite* platform4;
  Quillon::Sprite* alien;
  Quillon::Sprite* save;
  Quillon::Sprite* health;
  Quillon::Sprite* words;
  Quillon::Sprite* shield;
  Quillon::Sprite* player;
  Quillon::Sprite* alienBullet;
  Quillon::Sprite* charBullet;
  Quillon::Sprite* powerUp;
  Quillon::Sprite* healthText;
  Quillon::Sprite* complete;
  Quillon::Sprite* button;

  bool IsComplete() const {
    return platform1 && platform2 && platform3 && platform4 && alien && save && health && words && shield &&
           player && alienBullet && charBullet && powerUp;
  }
  void ShowPage(uint32_t page) const { words->SetCurrentFrameIndex(page, false); }
};

VELKOR_IMPLEMENT_LEVEL(Tutorial, "Tutorial");

void Tutorial::OnStart() {
  m_progress = Progress();
  m_scene.Release();
  HideGuiCursor();
}

void Tutorial::Update(float dt) {
  (void)dt;
  const Scene scene{Find("platform1"), Find("platform2"), Find("platform3"),   Find("platform4"),
                    Find("alien"),     Find("save"),      Find("health"),      Find("words"),
                    Find("shield"),    Find("player"),    Find("alienbullet"), Find("charbullet"),
                    Find("pup"),       Find("healthtxt"), Find("complete"),    Find("tBtn")};
  // Each frame starts from a bare scene; the station shows what it needs.
  for (Quillon::Sprite* sprite :
       {scene.shield, scene.alienBullet, scene.charBullet, scene.powerUp, scene.healthText, scene.complete}) {
    Hide(sprite);
  }
  PlaceCursorAtMouse(Find("pointer"));
  if (!scene.IsComplete()) return;
  if (RunFirstStation(scene) && RunSecondStation(scene) && RunThirdStation(scene)) RunFourthStation(scene);
  HandleLeaveButton();
}

void Tutorial::Scroll(const Scene& scene) {
  for (Quillon::Sprite* sprite : {scene.platform1, scene.platform2, scene.platform3, scene.platform4, scene.alien,
                                  scene.save, scene.health, scene.alienBullet, scene.powerUp}) {
    MoveX(sprite, -kScrollStep);
  }
}

bool Tutorial::RunFirstStation(const Scene& scene) {
  if (scene.platform1->GetPositionX() > kFirstStationPlatform1X) {
    Scroll(scene);
    return false;
  }
  scene.ShowPage(kJumpPage);
  if (m_progress.jumped != 0) return true;
  // Only the frame in which Space goes down counts, and only once.
  if (KeyWentDown(Input::Key::Space)) {
    scene.player->SetVelocity(Math::Vector2D(0.0f, kJumpSpeed));
    m_progress.jumped = 1;
  }
  return false;
}

bool Tutorial::RunSecondStation(const Scene& scene) {
  if (scene.alien->GetPositionX() > kSecondStationAlienX) {
    Scroll(scene);
    return false;
  }
  if (m_progress.hitByAlienBullet == 0) {
    Show(scene.alienBullet);
    MoveX(scene.alienBullet, -kBulletStep);
    if (Touches(scene.player, "alienbullet")) m_progress.hitByAlienBullet = 1;
    if (m_progress.hitByAlienBullet == 0) return false;
  }
  scene.ShowPage(kShootPage);
  Show(scene.healthText);
  Hide(scene.alienBullet);
  if (m_progress.clicked == 0) {
    if (IsLeftClick()) m_progress.clicked = 1;
    if (m_progress.clicked == 0) return false;
  }
  if (m_progress.alienHit == 0) {
    Show(scene.charBullet);
    MoveX(scene.charBullet, kBulletStep);
    if (Touches(scene.alien, "charbullet")) {
      m_progress.alienHit = 1;
      // The spent shot keeps its body while hidden, and nothing scrolls it: left where it hit, it
      // would stop the civilian on its way to the car and the last page could never be reached.
      scene.charBullet->SetPositionY(kSpentShotY);
    }
    return m_progress.alienHit != 0;
  }
  return true;
}

bool Tutorial::RunThirdStation(const Scene& scene) {
  Hide(scene.alien);
  Hide(scene.charBullet);
  Show(scene.powerUp);
  Hide(scene.healthText);
  scene.ShowPage(kPowerUpPage);
  if (scene.platform2->GetPositionX() > kThirdStationPlatform2X) Scroll(scene);
  if (m_progress.powerUpCollected == 0) {
    if (Touches(scene.player, "pup")) m_progress.powerUpCollected = 1;
    if (m_progress.powerUpCollected == 0) return false;
  }
  scene.ShowPage(kUsePowerUpPage);
  scene.powerUp->SetPosition(530.0f, 30.0f);
  if (m_progress.shieldUsed == 0) {
    if (KeyWentDown(Input::Key::D)) m_progress.shieldUsed = 1;
    if (m_progress.shieldUsed == 0) return false;
  }
  return true;
}

void Tutorial::RunFourthStation(const Scene& scene) {
  scene.ShowPage(kHealthPage);
  Hide(scene.powerUp);
  Show(scene.shield);
  if (scene.platform4->GetPositionX() > kFourthStationPlatform4X) Scroll(scene);
  if (m_progress.healthCollected == 0) {
    if (Touches(scene.player, "health")) m_progress.healthCollected = 1;
    if (m_progress.healthCollected == 0) return;
  }
  scene.ShowPage(kSavePage);
  if (scene.healthText != nullptr) {
    scene.healthText->SetCurrentFrameIndex(1, false);
    Show(scene.healthText);
  }
  Hide(scene.health);
  if (m_progress.saveReached == 0) {
    if (Touches(scene.player, "save")) m_progress.saveReached = 1;
    if (m_progress.saveReached == 0) return;
  }
  scene.ShowPage(kDonePage);
  if (scene.healthText != nullptr) scene.healthText->SetCurrentFrameIndex(2, false);
  Hide(scene.save);
  Show(scene.complete);
  if (scene.button != nullptr) scene.button->SetCurrentFrameIndex(1, false);
}

void Tutorial::HandleLeaveButton() {
  Quillon::Sprite* button = Find("tBtn");
  Quillon::Sprite* pointer = Find("pointer");
  if (button == nullptr || pointer == nullptr) return;
  if (!IsTouchingCursor(button, pointer, "pointer") || !IsCursorClick()) return;
  Show(Find("LoadingScreen"));
  if (Quillon::Game* game = Quillon::Game::GetInstance()) game->GoToLevel("GameLevel");
}
