#pragma once
// The real game driven by a test: the game object on the test's session and the stand-in mouse
// over its window.
#include <cstdint>

#include "game/Velkor_MyGame.h"
#include "tests/input/FakeInputBackend.h"
#include "tests/support/GameSession.h"

namespace TestSupport {

// Builds the real game with its own display settings on the levels the factory makes, from
// firstLevel on, and gives it to the session. Its frame cap is off: the cap waits on the clock,
// which only the test moves.
MyGame* StartMyGame(GameSession& session, Quillon::LevelFactory* levels, uint32_t firstLevel);

// The game's 1280 x 720 window as the stand-in sees it: a client area at the screen's top-left
// corner, so that cursor and window coordinates agree.
void CoverGameWindow(TestInput::FakeInputBackend& input);

}  // namespace TestSupport
