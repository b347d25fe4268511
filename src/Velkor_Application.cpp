// The game's CreateApplication: the level factory and the game object, starting on the logos.
#include "app/Engine_Application.h"
#include "content/Velkor_MyLevelFactory.h"
#include "game/Velkor_MyGame.h"

Core::SmartPointer<Engine::Application> CreateApplication(const char* commandLine) {
  (void)commandLine;
  Core::SmartPointer<Quillon::LevelFactory> factory(new ("Velkor_Application", __LINE__) MyLevelFactory());
  // Out of memory throws on to the engine's main function, which tells the player and fails.
  return Core::SmartPointer<Engine::Application>(
      new ("Velkor_Application", __LINE__) MyGame(factory, MyGame::MakeDisplaySettings(), 0));
}
