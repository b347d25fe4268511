#include "game/Velkor_GarageLevelClass.h"

#include "framework/Quillon_Game.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_SoundObject.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_ScreenSupport.h"

namespace {

// The car preview bobs between these heights, this far per frame.
constexpr float kBobLowest = -165.0f;
constexpr float kBobHighest = -100.0f;

}  // namespace

VELKOR_IMPLEMENT_LEVEL(GarageLevelClass, "GarageLevelClass");

void GarageLevelClass::OnStart() {
  Quillon::Level::OnStart();
  m_startTimer = 0.0f;
  m_bobSpeed = 0.5f;
  HideGuiCursor();
  m_pointer.Find();
  m_demoArmour.Find();
  m_menu.Initialise(GetLayerByName("MenuLayer"));
  m_music = StartLevelMusic(*this, "GarageBgm\\garBgm.ogg");
  m_clickSound = CreateSound("MouseClick.ogg");
}

void GarageLevelClass::OnEnd() {
  m_pointer.Release();
  m_demoArmour.Release();
}

void GarageLevelClass::Update(float dt) {
  Quillon::Level::Update(dt);
  BobDemoArmour();
  PlaceCursorAtMouse(m_pointer.Get());
  HandleInput();
  m_startTimer += dt;
  if (m_startTimer >= kFirstSetDelay && !m_menu.IsStarted()) {
    // Moves from the armours to the guns: the garage opens on the guns.
    if (m_menu.ChangeSet(1)) m_menu.SetStarted(true);
  }
}

void GarageLevelClass::HandleInput() {
  if (!IsCursorClick()) return;
  Quillon::Sprite* pointer = m_pointer.Get();
  // The arrows and the back button act whether or not the dialog is open.
  if (IsCursorOver(pointer, "RightItemBtn")) {
    PlaySound("MouseClick", true);
    m_menu.ChangeSet(2);
  } else if (IsCursorOver(pointer, "LeftItemBtn")) {
    PlaySound("MouseClick", true);
    m_menu.ChangeSet(1);
  } else if (IsCursorOver(pointer, "backBtn")) {
    if (Quillon::Game* game = Quillon::Game::GetInstance()) game->GoToLevel("MainOptionLevel");
  } else if (m_menu.HandleClick()) {
    PlaySound("MouseClick", true);
  }
}

void GarageLevelClass::BobDemoArmour() {
  Quillon::Sprite* armour = m_demoArmour.Get();
  if (armour == nullptr) return;
  const float y = armour->GetPositionY();
  if ((y < kBobLowest && m_bobSpeed < 0.0f) || (y > kBobHighest && m_bobSpeed > 0.0f)) m_bobSpeed = -m_bobSpeed;
  armour->SetPositionY(y + m_bobSpeed);
}

void GarageLevelClass::PlaySound(const std::string& name, bool restart) {
  MyGame* game = GetMyGame();
  if (game == nullptr || game->soundOn == 0) return;
  if (name == "MouseClick" && m_clickSound != nullptr) m_clickSound->Play(restart);
}

Quillon::Sound* GarageLevelClass::CreateSound(const std::string& fileName) {
  Quillon::Layer* layer = GetLayer(1);
  if (layer == nullptr) return nullptr;
  Core::SmartPointer<Quillon::Sound> sound(new (__FILE__, __LINE__) Quillon::Sound(
      Quillon::Game::GetDirectory() + "\\Resources\\Sounds\\" + fileName, 0, 10.0f, false, 0.0f, false));
  sound->SetPosition(0.0f, 0.0f);
  layer->AddGameObject(sound.Get(), false, nullptr);
  return sound.Get();
}
