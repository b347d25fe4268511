#include "game/Velkor_GameLevelClass.h"

#include "framework/Quillon_Game.h"
#include "framework/Quillon_JukeBox.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Text.h"
#include "gui/Gui_HUD.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "game/Velkor_HUD_Manager.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_OptionMenu.h"
#include "game/Velkor_PlayerClass.h"
#include "game/Velkor_ScreenSupport.h"

namespace {

const Core::ClassRegistration g_registration("GameLevelClass", &GameLevelClass::Create);

// Names and files of the run's sounds, in the order they are made.
struct SoundFile {
  const char* name;
  const char* file;
};
const SoundFile kSoundFiles[GameLevelClass::kSoundCount] = {
    {"playerDie", "playerDie.wav"},         {"playerDying", "playerDying.wav"}, {"playerHeal", "playerHeal.wav"},
    {"playerShoot", "playerShoot.wav"},     {"ufoComing", "ufoComing.wav"},     {"ufoDie", "ufoDie.wav"},
    {"aiFriendAttack", "aiFriendAttack.ogg"}, {"playerLaser", "playerLaser.ogg"}, {"rocketExplode", "rocketExplode.ogg"},
    {"rocketLaunch", "rocketLaunch.ogg"},   {"ufoLaser", "ufoLaser.ogg"}};

constexpr uint32_t kSoundLayer = 1;
constexpr int32_t kKeyPause = 68;  // P
constexpr int32_t kKeyEscape = Input::Key::Escape;

const char* const kHintPictures[GameLevelClass::kHintPages] = {"tuh1Sprite", "tuh2Sprite", "tuh3Sprite"};

void SetSpriteVisible(const char* name, bool visible) {
  if (auto* sprite = FindObjectByName<Quillon::Sprite>(name)) sprite->SetVisible(visible);
}

}  // namespace

Core::Object* GameLevelClass::Create() { return new (__FILE__, __LINE__) GameLevelClass(); }

GameLevelClass* GameLevelClass::GetCurrent() {
  Quillon::Game* game = Quillon::Game::GetInstance();
  return game != nullptr ? dynamic_cast<GameLevelClass*>(game->GetCurrentLevel()) : nullptr;
}

void GameLevelClass::PlayRunSound(const std::string& name, bool restart) {
  if (GameLevelClass* level = GetCurrent()) level->PlaySound(name, restart);
}

void GameLevelClass::OnStart() {
  Quillon::Level::OnStart();
  m_started = false;
  m_hintPage = 0;
  m_runRecorded = false;
  if (GUI::HUD* hud = GUI::HUD::GetInstance()) hud->ShowCursor(true);
  m_startDelay = 0.0f;
  CreateSounds();
  StartMusic();
}

void GameLevelClass::OnEnd() {
  Quillon::Level::OnEnd();
  m_started = false;
  // The layer owns the sounds and the level the music; this level only borrowed them.
  for (auto& sound : m_sounds) sound.Reset();
  m_jukeBox = nullptr;
  m_hud = nullptr;
}

void GameLevelClass::CreateSounds() {
  Quillon::Layer* layer = GetLayer(kSoundLayer);
  const std::string folder = Quillon::Game::GetDirectory() + "\\Resources\\Sounds\\";
  for (int32_t i = 0; i < kSoundCount; ++i) {
    // A file that fails to load leaves a sound without data, which plays nothing.
    m_sounds[i] = new (__FILE__, __LINE__) Quillon::Sound(folder + kSoundFiles[i].file, 0, 10.0f, false, 0.0f, false);
    m_sounds[i]->SetPosition(0.0f, 0.0f);
    if (layer != nullptr) layer->AddGameObject(m_sounds[i].Get());
  }
}

void GameLevelClass::StartMusic() {
  const std::vector<std::string> files = {Quillon::Game::GetDirectory() +
                                          "\\Resources\\MyJukeBoxes\\GameBgm\\gamBgm.ogg"};
  Core::SmartPointer<Quillon::JukeBox> music(new (__FILE__, __LINE__) Quillon::JukeBox(files));
  music->SetFadeTime(2.0f);
  music->SetShuffle(false);
  music->SetRepeat(true);
  music->SetMusicVolume(kMusicVolume, 0.0f);
  SetJukeBox(music.Get());
  m_jukeBox = music.Get();
  const MyGame* game = GetMyGame();
  if (game != nullptr && game->musicOn != 0) m_jukeBox->PlayMusic(-1);
}

void GameLevelClass::PlaySound(const std::string& name, bool restart) {
  const MyGame* game = GetMyGame();
  if (game == nullptr || game->soundOn == 0) return;
  for (int32_t i = 0; i < kSoundCount; ++i) {
    if (name == kSoundFiles[i].name) {
      if (m_sounds[i]) m_sounds[i]->Play(restart);
      return;
    }
  }
}

void GameLevelClass::SetPaused(bool paused) {
  MyGame* game = GetMyGame();
  if (game == nullptr) return;
  game->paused = paused ? 1 : 0;
  ShowOptionsOverlay(paused);
  if (game->musicOn == 0 || m_jukeBox == nullptr) return;
  if (paused) {
    m_jukeBox->PauseMusic();
  } else {
    m_jukeBox->PlayMusic(-1);
  }
}

void GameLevelClass::ShowOptionsOverlay(bool shown) {
  if (auto* overlay = FindObjectByName<OptionMenu>("OptionMenuSprite")) overlay->Show(shown, 1);
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
  if (keyboard != nullptr && (keyboard->IsTriggered(kKeyPause) || keyboard->IsTriggered(kKeyEscape))) {
    SetPaused(!IsGamePaused());
  }
  CheckGameOver();
}

void GameLevelClass::FirstUpdate() {
  m_hud = FindObjectByName<HUD_Manager>("hud_mgr");
  if (MyGame* game = GetMyGame()) game->paused = 0;
  ShowOptionsOverlay(false);
  ResetWaves();
  m_parallax.SetUp();
  if (PlayerClass* car = FindObjectByName<PlayerClass>("Player")) ApplyEquipment(*car);
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
    if (mouse != nullptr && mouse->IsTriggered(0)) {
      ++m_hintPage;
    } else if (mouse != nullptr && mouse->IsTriggered(2) && m_hintPage > 0) {
      --m_hintPage;
    }
    if (m_hintPage < kHintPages) {
      for (int32_t page = 0; page < kHintPages; ++page) SetSpriteVisible(kHintPictures[page], page == m_hintPage);
      return;
    }
    game->showTutorialPages = 0;
    game->paused = 0;
  }
  for (const char* picture : kHintPictures) SetSpriteVisible(picture, false);
  SetSpriteVisible("tutBg", false);
  if (auto* caption = FindObjectByName<Quillon::Text>("tuhPrevTxt")) caption->SetVisible(false);
}

void GameLevelClass::CheckGameOver() {
  const PlayerClass* car = FindObjectByName<PlayerClass>("Player");
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
