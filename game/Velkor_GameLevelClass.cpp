#include "game/Velkor_GameLevelClass.h"

#include "framework/Quillon_Game.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Text.h"
#include "gui/Gui_HUD.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "game/Velkor_BossObject.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_OptionMenu.h"
#include "game/Velkor_PlayerClass.h"
#include "game/Velkor_ScreenSupport.h"
#include "game/Velkor_WarningSign.h"

namespace {

constexpr uint32_t kSoundLayer = 1;

template <typename T>
void SetVisible(Partner<T>& partner, bool visible) {
  if (T* object = partner.Get()) object->SetVisible(visible);
}

}  // namespace

VELKOR_IMPLEMENT_LEVEL(GameLevelClass, "GameLevelClass");

void GameLevelClass::OnStart() {
  Quillon::Level::OnStart();
  m_started = false;
  m_hintPage = 0;
  m_runRecorded = false;
  if (GUI::HUD* hud = GUI::HUD::GetInstance()) hud->ShowCursor(true);
  m_startDelay = 0.0f;
  m_runSounds.Create(GetLayer(kSoundLayer));
  m_jukeBox = StartLevelMusic(*this, "GameBgm\\gamBgm.ogg");
}

void GameLevelClass::OnEnd() {
  Quillon::Level::OnEnd();
  m_started = false;
  // The layer owns the sounds and the level the music; this level only borrowed them.
  m_runSounds.Release();
  m_jukeBox = nullptr;
  ReleasePartners();
  m_parallax.Release();
}

template <typename Visit>
void GameLevelClass::ForEachPartner(Visit visit) {
  visit(m_car);
  visit(m_optionsOverlay);
  visit(m_warningSign);
  visit(m_ufo);
  visit(m_ufo2);
  visit(m_mothership);
  for (auto& picture : m_hintPictures) visit(picture);
  visit(m_hintBackdrop);
  visit(m_hintCaption);
}

void GameLevelClass::FindPartners() {
  ForEachPartner([](auto& partner) { partner.Find(); });
}

void GameLevelClass::ReleasePartners() {
  ForEachPartner([](auto& partner) { partner.Release(); });
}

void GameLevelClass::SetPaused(bool paused) {
  if (GetMyGame() == nullptr) return;
  SetGamePaused(paused);
  ShowOptionsOverlay(paused);
}

void GameLevelClass::ShowOptionsOverlay(bool shown) {
  if (OptionMenu* overlay = m_optionsOverlay.Get()) overlay->Show(shown, 1);
}

void GameLevelClass::Update(float dt) {
  Quillon::Level::Update(dt);
  if (m_startDelay <= kStartDelay) {
    m_startDelay += dt;
    return;
  }
  if (!m_started) FirstUpdate();
  m_started = true;
  if (!IsGamePaused()) {
    m_parallax.Update();
    UpdateWaves(dt);
  }
  UpdateHints();
  Quillon::Game* game = Quillon::Game::GetInstance();
  Input::Keyboard* keyboard = game != nullptr ? game->GetKeyboard() : nullptr;
  if (keyboard != nullptr && (keyboard->IsTriggered(Input::Key::P) || keyboard->IsTriggered(Input::Key::Escape))) {
    SetPaused(!IsGamePaused());
  }
  CheckGameOver();
}

void GameLevelClass::FirstUpdate() {
  FindPartners();
  if (MyGame* game = GetMyGame()) game->paused = 0;
  ShowOptionsOverlay(false);
  ResetWaves();
  m_parallax.SetUp();
  if (PlayerClass* car = m_car.Get()) ApplyEquipment(*car);
}

void GameLevelClass::ApplyEquipment(PlayerClass& car) {
  car.SetSpeedAndDurability(100, 20.0f);
  if (MyGame* game = GetMyGame()) {
    const DataManager& data = game->GetDataManager();
    // Only an equipped item that is there (item number 0 or more) is put on the car.
    for (const ArmourData& armour : data.armours) {
      if (armour.equipped == 1 && armour.itemId >= 0) car.EquipArmour(armour.itemId, armour.defense, armour.hoverTime);
    }
    for (const GunData& gun : data.guns) {
      if (gun.equipped == 1 && gun.itemId >= 0) car.EquipGun(gun.itemId, gun.delay, gun.multi);
    }
    for (const SpecialData& special : data.specials) {
      if (special.equipped == 1 && special.itemId >= 0) car.EquipSpecial(special.itemId, special.damage, special.delay);
    }
    for (const AiData& friendData : data.aiFriends) {
      if (friendData.equipped == 1 && friendData.itemId >= 0) {
        car.EquipAiFriend(friendData.itemId, friendData.damage, friendData.delay);
      }
    }
  }
  car.RefreshHudIcons();
  car.SetBulletDamage(50);
}

void GameLevelClass::UpdateHints() {
  MyGame* game = GetMyGame();
  if (game == nullptr) return;
  if (game->showTutorialPages != 0) {
    game->paused = 1;
    Input::Mouse* mouse = game->GetMouse();
    if (mouse != nullptr && mouse->IsTriggered(Input::Button::Left)) {
      ++m_hintPage;
    } else if (mouse != nullptr && mouse->IsTriggered(Input::Button::Right) && m_hintPage > 0) {
      --m_hintPage;
    }
    if (m_hintPage < kHintPages) {
      for (int32_t page = 0; page < kHintPages; ++page) SetVisible(m_hintPictures[page], page == m_hintPage);
      return;
    }
    game->showTutorialPages = 0;
    game->paused = 0;
  }
  for (auto& picture : m_hintPictures) SetVisible(picture, false);
  SetVisible(m_hintBackdrop, false);
  SetVisible(m_hintCaption, false);
}

void GameLevelClass::CheckGameOver() {
  const PlayerClass* car = m_car.Get();
  if (car == nullptr || !car->IsGameOver()) return;
  MyGame* game = GetMyGame();
  if (game == nullptr) return;
  // The switch waits for the next frame and the request is repeated until then; the run is
  // recorded the first time only.
  if (!m_runRecorded) {
    m_runRecorded = true;
    game->GetDataManager().RecordRun(car->GetGears(), static_cast<int32_t>(car->GetPositionX() / 100.0f), m_ufoLevel);
  }
  game->GoToLevel("GameOverLevel");
}
