#pragma once
// The application base every program on the engine derives from, the start-up display settings,
// and the factory that the program supplies.
#include <cstdint>

#include "core/Core_Object.h"

namespace Engine {

// What a program asks of its window and renderer at start-up.
struct DisplaySettings {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t refreshRate = 0;
  std::uint32_t multisampleCount = 0;
  std::uint8_t fullScreen = 0;
  std::uint8_t verticalSync = 0;

  // The window the game and the demo open: 1280 x 720 at 85 Hz, windowed, with vertical sync and
  // without multisampling.
  static DisplaySettings Windowed720p() { return DisplaySettings{1280, 720, 85, 0, 0, 1}; }
};

// One per process. Engine::Main calls BeginFrame, Update and EndFrame once per pass of the main
// loop, and Shutdown once after it.
class Application : public Core::Object {
 public:
  // Becomes the instance that GetInstance answers.
  Application();
  ~Application() override = 0;

  // The most recently constructed application (null before the first). Not reset when that
  // application is destroyed.
  static Application* GetInstance();

  // Posts the quit request: the main loop ends before its next frame.
  void Quit();

  virtual void BeginFrame() {}
  virtual void Update() {}
  virtual void EndFrame() {}
  virtual void Shutdown() {}
};

}  // namespace Engine

// Supplied by the program (the game, the demo, a test): the one application object, holding one
// reference. Called once by Engine::Main after the foundation has started.
Core::SmartPointer<Engine::Application> CreateApplication(const char* commandLine);
