#pragma once
// What the game object needs of whole-game saves and replays. That side implements this interface
// and installs a factory for it; the game creates it in its constructor. Without a factory, save,
// load and replay requests are ignored and no replay ever records or plays.
#include <memory>
#include <string>
#include <vector>

namespace Core {
class File;
}

namespace Quillon {

class Game;

class GameSaves {
 public:
  virtual ~GameSaves() = default;

  // The start of each frame step, before any level switch: writes or reads a replay file and
  // carries out a pending save, load or replay start; no request is pending afterwards.
  virtual void ProcessRequests(Game& game) = 0;
  virtual bool IsReplayPlaying() const = 0;
  virtual bool IsReplayRecording() const = 0;
  // Feeds the input devices one recorded frame; may replace dt with the recorded one.
  virtual void PlayReplayFrame(Game& game, float& dt) = 0;
  virtual void RecordReplayFrame(Game& game, float dt) = 0;

  // Requests by name, carried out at the start of the next frame step.
  virtual void RequestSave(const std::string& name) = 0;
  virtual void RequestLoad(const std::string& name) = 0;
  virtual void StartReplayRecording(const std::string& name) = 0;
  virtual void StopReplayRecording() = 0;
  virtual void StartReplay(const std::string& name) = 0;
  virtual void StopReplay() = 0;
  virtual void GetSavedGameNames(std::vector<std::string>& names) = 0;
  virtual void GetReplayNames(std::vector<std::string>& names) = 0;

  // The whole game's stored form (the game's own Save and Load hand over to these).
  virtual void SaveGame(Game& game, Core::File& file) = 0;
  virtual void LoadGame(Game& game, Core::File& file) = 0;
  // Frees the recorded frames (at shutdown).
  virtual void FreeReplayFrames() = 0;
};

using GameSavesFactory = std::unique_ptr<GameSaves> (*)();
// Installed by the saves side during static initialisation (null removes it).
void SetGameSavesFactory(GameSavesFactory factory);
GameSavesFactory GetGameSavesFactory();

}  // namespace Quillon
