#include "tests/support/RealGame.h"

namespace TestSupport {

MyGame* StartMyGame(GameSession& session, Quillon::LevelFactory* levels, uint32_t firstLevel) {
  MyGame* game = session.Adopt(
      new MyGame(Core::SmartPointer<Quillon::LevelFactory>(levels), MyGame::MakeDisplaySettings(), firstLevel));
  game->LockFrameRate(false);
  return game;
}

void CoverGameWindow(TestInput::FakeInputBackend& input) {
  input.clientLeft = 0;
  input.clientTop = 0;
  input.clientWidth = 1280;
  input.clientHeight = 720;
}

}  // namespace TestSupport
