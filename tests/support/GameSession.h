#pragma once
// What every test that runs a game object on a real window needs around it, set up once and undone
// once: message boxes answered OK, the math and script engines, the fixed clock only the test
// moves, a fresh folder for the player's data, and the game object with its frame step.
#include <functional>
#include <string>

#include "app/Engine_Application.h"
#include "core/Core_Object.h"

namespace TestSupport {

class GameSession {
 public:
  GameSession() = default;
  ~GameSession() { Close(); }
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  // Answers every message box with OK, starts the math and script engines and installs the fixed
  // clock at startMilliseconds. With a folder prefix, a fresh folder under the system's temporary
  // one becomes both the working directory and the user's data folder, so that nothing the game
  // writes reaches the player's own. Run it under ASSERT_NO_FATAL_FAILURE: a step that fails is a
  // fatal failure, and Close undoes the steps that were done.
  void Open(const std::string& folderPrefix = std::string(), double startMilliseconds = 0.0);
  // Stops the game, then undoes Open in reverse: the clock, the window's last messages (a quit
  // one test posted must not end the next one's loop), the engines, the hook, the working
  // directory and the data folder the process had, and the folder with all in it.
  void Close();

  // The game the session runs from now on and stops at Close.
  template <typename GameType>
  GameType* Adopt(GameType* game) {
    m_game = game;
    return game;
  }
  // Shuts the game down and lets it go, when there is one.
  void StopGame();

  // One frame: the clock moves on, then the game begins, updates and ends its frame. Between the
  // update and the end (the picture drawn, not yet shown) runs beforeShow when there is one.
  void Step(double milliseconds, const std::function<void()>& beforeShow = nullptr);

  double Now() const;
  void SetNow(double milliseconds);
  // The fresh folder; empty when Open was given no prefix.
  const std::string& Folder() const { return m_folder; }

 private:
  Core::SmartPointer<Engine::Application> m_game;
  std::string m_folder;
  std::string m_previousDirectory;
  std::string m_previousDataHome;
  bool m_hadDataHome = false;
  bool m_hooked = false;
  bool m_mathStarted = false;
  bool m_scriptsStarted = false;
  bool m_clockInstalled = false;
};

// A small window the framework's own test games open: 320 x 240.
Engine::DisplaySettings SmallDisplay(std::uint32_t refreshRate = 85);

}  // namespace TestSupport
