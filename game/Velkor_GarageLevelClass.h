#pragma once
// The garage shop between runs: the set arrows, the item labels and the dialog (G_MenuManager),
// the bobbing car preview, the pointer, the click sound and the garage music.
#include <string>

// The game's header names the sound engine's namespace unqualified: it comes before the sound object.
#include "framework/Quillon_Game.h"
#include "framework/Quillon_JukeBox.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_SoundObject.h"
#include "framework/Quillon_Sprite.h"
#include "game/Velkor_G_MenuManager.h"
#include "game/Velkor_ScreenSupport.h"

class GarageLevelClass : public Quillon::Level {
 public:
  // The first set change comes this long after the start, so the labels slide in once it is drawn.
  static constexpr float kFirstSetDelay = 0.2f;

  VELKOR_DECLARE_LEVEL(GarageLevelClass);

  void OnStart() override;
  void OnEnd() override;
  void Update(float dt) override;

  // Plays a sound of the level by name ("MouseClick"), when the game's sound is on.
  void PlaySound(const std::string& name, bool restart);

  G_MenuManager& GetMenuManager() { return m_menu; }
  Quillon::JukeBox* GetMusic() const { return m_music; }

 private:
  void HandleInput();
  void BobDemoArmour();
  // A sound of the sounds folder, in layer 1 of the level (which owns it).
  Quillon::Sound* CreateSound(const std::string& fileName);

  float m_startTimer = 0.0f;
  float m_bobSpeed = 0.5f;
  Partner<Quillon::Sprite> m_pointer{"MousePointer"};
  Partner<Quillon::Sprite> m_demoArmour{"DemoArmour"};
  G_MenuManager m_menu;
  Quillon::JukeBox* m_music = nullptr;
  Quillon::Sound* m_clickSound = nullptr;
};
