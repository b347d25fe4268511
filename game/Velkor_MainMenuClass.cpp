#include "game/Velkor_MainMenuClass.h"

#include <cstdlib>

#include "framework/Quillon_Game.h"
#include "framework/Quillon_Viewport.h"
#include "game/Velkor_MyGame.h"
#include "game/Velkor_OptionMenu_M.h"

namespace {

const CaptionButton kButtons[] = {{"PlayBtn", "PlayTxt", false},     {"InstructionBtn", "InstructionTxt", true},
                                  {"GarageBtn", "GarageTxt", true}, {"OptionBtn", "OptionTxt", true},
                                  {"CreditBtn", "CreditTxt", true}, {"ExitBtn", "ExitTxt", true}};

void Go(const char* level) {
  if (Quillon::Game* game = Quillon::Game::GetInstance()) game->GoToLevel(level);
}

}  // namespace

VELKOR_IMPLEMENT_LEVEL(MainMenuClass, "MainMenuClass");

MainMenuClass::MainMenuClass() : ButtonScreen(kButtons) {}

void MainMenuClass::OnStart() {
  ButtonScreen::OnStart();
  for (Partner<Quillon::Sprite>* partner : {&m_firstPlatform, &m_secondPlatform, &m_car, &m_loadingScreen}) {
    partner->Find();
  }
  m_options.Find();
  if (Quillon::Sprite* loadingScreen = m_loadingScreen.Get()) loadingScreen->SetVisible(false);
  if (Quillon::Sprite* car = m_car.Get()) {
    car->SetCurrentFrameIndex(2, true);
    m_carSpeed = 1;
    car->SetVelocity(Math::Vector2D(0.0f, 1.0f));
  }
}

void MainMenuClass::OnEnd() {
  ButtonScreen::OnEnd();
  for (Partner<Quillon::Sprite>* partner : {&m_firstPlatform, &m_secondPlatform, &m_car, &m_loadingScreen}) {
    partner->Release();
  }
  m_options.Release();
}

void MainMenuClass::Update(float dt) {
  ButtonScreen::Update(dt);
  ScrollPlatform(m_firstPlatform.Get());
  ScrollPlatform(m_secondPlatform.Get());
  BobCar();
}

bool MainMenuClass::AnswersButtons() {
  const OptionMenu_M* options = m_options.Get();
  return options == nullptr || !options->IsShown();
}

void MainMenuClass::Press(const std::string& button) {
  if (button == "PlayBtn") {
    MyGame* game = GetMyGame();
    if (Quillon::Sprite* cursor = GetCursor()) cursor->SetVisible(false);
    // The first play of a run opens the tutorial, later ones the game.
    if (game != nullptr && game->tutorialPlayed == 1) {
      if (Quillon::Sprite* loadingScreen = m_loadingScreen.Get()) loadingScreen->SetVisible(true);
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
    if (OptionMenu_M* options = m_options.Get()) options->Show(true, 0);
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
  Quillon::Sprite* car = m_car.Get();
  if (car == nullptr) return;
  if (car->GetPositionY() > kCarHighest) m_carSpeed = -std::abs(m_carSpeed);
  if (car->GetPositionY() < kCarLowest) m_carSpeed = std::abs(m_carSpeed);
  car->SetVelocity(Math::Vector2D(0.0f, static_cast<float>(m_carSpeed)));
}
