#include "game/Velkor_MainMenuClass.h"

#include <cstdlib>

#include "framework/Quillon_Game.h"
#include "framework/Quillon_Viewport.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_OptionMenu_M.h"
#include "game/Velkor_ScreenSupport.h"

namespace {

const CaptionButton kButtons[] = {{"PlayBtn", "PlayTxt", false},     {"InstructionBtn", "InstructionTxt", true},
                                  {"GarageBtn", "GarageTxt", true}, {"OptionBtn", "OptionTxt", true},
                                  {"CreditBtn", "CreditTxt", true}, {"ExitBtn", "ExitTxt", true}};

void Go(const char* level) {
  if (Quillon::Game* game = Quillon::Game::GetInstance()) game->GoToLevel(level);
}

}  // namespace

VELKOR_IMPLEMENT_LEVEL(MainMenuClass, "MainMenuClass");

void MainMenuClass::FindSprites() {
  m_cursor = FindObjectByName<Quillon::Sprite>("MousePt");
  m_firstPlatform = FindObjectByName<Quillon::Sprite>("MenuPlatform1");
  m_secondPlatform = FindObjectByName<Quillon::Sprite>("MenuPlatform2");
  m_car = FindObjectByName<Quillon::Sprite>("MenuCar");
  m_loadingScreen = FindObjectByName<Quillon::Sprite>("LoadingScreen");
}

void MainMenuClass::OnStart() {
  FindSprites();
  HideGuiCursor();
  if (m_loadingScreen != nullptr) m_loadingScreen->SetVisible(false);
  if (m_car != nullptr) {
    m_car->SetCurrentFrameIndex(2, true);
    m_carSpeed = 1;
    m_car->SetVelocity(Math::Vector2D(0.0f, 1.0f));
  }
}

void MainMenuClass::Update(float dt) {
  (void)dt;
  FindSprites();
  PlaceCursorAtMouse(m_cursor);
  HandleButtons();
  ScrollPlatform(m_firstPlatform);
  ScrollPlatform(m_secondPlatform);
  BobCar();
}

void MainMenuClass::HandleButtons() {
  // The open overlay takes the pointer: the menu's own buttons are not looked at.
  OptionMenu_M* options = FindObjectByName<OptionMenu_M>("OptionMenuSprite");
  if (options != nullptr && options->IsShown()) return;
  if (const char* pressed = UpdateCaptionButtons(m_cursor, kButtons)) Press(pressed);
}

void MainMenuClass::Press(const std::string& button) {
  if (button == "PlayBtn") {
    MyGame* game = GetMyGame();
    if (m_cursor != nullptr) m_cursor->SetVisible(false);
    // The first play of a run opens the tutorial, later ones the game.
    if (game != nullptr && game->tutorialPlayed == 1) {
      if (m_loadingScreen != nullptr) m_loadingScreen->SetVisible(true);
      Go("GameLevel");
    } else {
      if (game != nullptr) game->tutorialPlayed = 1;
      Go("Tutorial");
    }
  } else if (button == "InstructionBtn") {
    Go("InstructionLevel");
  } else if (button == "GarageBtn") {
    Go("GarLevel");
  } else if (button == "OptionBtn") {
    if (OptionMenu_M* options = FindObjectByName<OptionMenu_M>("OptionMenuSprite")) options->Show(true, 0);
  } else if (button == "CreditBtn") {
    Go("CreditLevel");
  } else if (button == "ExitBtn") {
    if (Quillon::Game* game = Quillon::Game::GetInstance()) game->Quit();
  }
}

void MainMenuClass::ScrollPlatform(Quillon::Sprite* platform) {
  if (platform == nullptr) return;
  if (platform->GetPositionX() + kPlatformWidth < 0.0f) {
    Quillon::Viewport* viewport = GetViewport(0);
    platform->SetPositionX(viewport != nullptr ? static_cast<float>(viewport->GetWidth()) : kPlatformWidth);
  } else {
    platform->SetPositionX(platform->GetPositionX() - kPlatformStep);
  }
}

void MainMenuClass::BobCar() {
  if (m_car == nullptr) return;
  if (m_car->GetPositionY() > kCarHighest) m_carSpeed = -std::abs(m_carSpeed);
  if (m_car->GetPositionY() < kCarLowest) m_carSpeed = std::abs(m_carSpeed);
  m_car->SetVelocity(Math::Vector2D(0.0f, static_cast<float>(m_carSpeed)));
}
