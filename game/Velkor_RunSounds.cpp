#include "game/Velkor_RunSounds.h"

#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "game/Velkor_MyGame.h"

namespace {

// Names and files of the run's sounds, in the order they are made.
struct SoundFile {
  const char* name;
  const char* file;
};
const SoundFile kSoundFiles[RunSounds::kCount] = {
    {"playerDie", "playerDie.wav"},         {"playerDying", "playerDying.wav"}, {"playerHeal", "playerHeal.wav"},
    {"playerShoot", "playerShoot.wav"},     {"ufoComing", "ufoComing.wav"},     {"ufoDie", "ufoDie.wav"},
    {"aiFriendAttack", "aiFriendAttack.ogg"}, {"playerLaser", "playerLaser.ogg"}, {"rocketExplode", "rocketExplode.ogg"},
    {"rocketLaunch", "rocketLaunch.ogg"},   {"ufoLaser", "ufoLaser.ogg"}};

}  // namespace

void RunSounds::Create(Quillon::Layer* layer) {
  const std::string folder = Quillon::Game::GetDirectory() + "\\Resources\\Sounds\\";
  for (int32_t i = 0; i < kCount; ++i) {
    m_sounds[i] = new (__FILE__, __LINE__) Quillon::Sound(folder + kSoundFiles[i].file, 0, 10.0f, false, 0.0f, false);
    m_sounds[i]->SetPosition(0.0f, 0.0f);
    if (layer != nullptr) layer->AddGameObject(m_sounds[i].Get());
  }
}

void RunSounds::Release() {
  for (auto& sound : m_sounds) sound.Reset();
}

void RunSounds::Play(const std::string& name, bool restart) const {
  const MyGame* game = GetMyGame();
  if (game == nullptr || game->soundOn == 0) return;
  for (int32_t i = 0; i < kCount; ++i) {
    if (name == kSoundFiles[i].name) {
      if (m_sounds[i]) m_sounds[i]->Play(restart);
      return;
    }
  }
}

void PlayRunSound(const std::string& name, bool restart) {
  Quillon::Game* game = Quillon::Game::GetInstance();
  const auto* holder = game != nullptr ? dynamic_cast<const RunSoundsHolder*>(game->GetCurrentLevel()) : nullptr;
  if (holder != nullptr) holder->GetRunSounds().Play(name, restart);
}
