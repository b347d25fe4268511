#include "tests/support/RealGame.h"

namespace TestSupport {

MyGame* StartMyGame(GameSession& session, Quillon::LevelFactory* levels, uint32_t firstLevel) {
  MyGame* game = session.Adopt(
      new MyGame(Core::SmartPointer<Quillon::LevelFactory>(levels), MyGame::MakeDisplaySettings(), firstLevel));
  game->LockFrameRate(false);
  return game;
}

void CoverGameWindow(TestInput::FakeInputBackend& input) { input.CoverWindow(1280, 720); }

}  // namespace TestSupport
