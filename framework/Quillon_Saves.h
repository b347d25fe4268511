#pragma once
// Whole-game saves, loads and replays in the folder the game names (Game::GetSaveDirectory). Requests
// are recorded by name and carried out at the start of the next frame step. The files are the
// player's data: a save replaces the old file only once the new one is whole, and a load that
// finds a short, corrupt or foreign file puts the running game back as it was.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Quillon_GameSaves.h"
#include "framework/Quillon_Replay.h"

namespace Quillon {

class Saves : public GameSaves {
 public:
  enum Request : uint32_t { None = 0, SaveRequest = 1, LoadRequest = 2, WriteReplay = 3, StartReplayRequest = 4 };

  // Files larger than this are refused rather than read into memory.
  static constexpr uint64_t kMaximumFileSize = 256u * 1024u * 1024u;

  void ProcessRequests(Game& game) override;
  bool IsReplayPlaying() const override { return m_playing != 0; }
  bool IsReplayRecording() const override { return m_recording != 0; }
  void PlayReplayFrame(Game& game, float& dt) override;
  void RecordReplayFrame(Game& game, float dt) override;

  void RequestSave(const std::string& name) override;
  void RequestLoad(const std::string& name) override;
  void StartReplayRecording(const std::string& name) override;
  void StopReplayRecording() override;
  void StartReplay(const std::string& name) override;
  void StopReplay() override;
  void GetSavedGameNames(std::vector<std::string>& names) override;
  void GetReplayNames(std::vector<std::string>& names) override;

  void SaveGame(Game& game, Core::File& file) override;
  void LoadGame(Game& game, Core::File& file) override;
  void FreeReplayFrames() override { m_frames.clear(); }

  // The running game's saves folder as a Linux path; empty without a game or a folder.
  static std::string GetSaveFolder();
  // The names (without folder) of the plain files in the saves folder, in listing order.
  static void ListSaveFiles(std::vector<std::string>& names);
  // The saves folder + "/" + the bare name; empty when there is no folder (the save is refused).
  static std::string GetSavePath(const std::string& name);
  // The path to open for a name: the file of that name, else one in the folder whose name differs
  // only in case (as the folder's listing matches endings).
  static std::string FindSavePath(const std::string& name);

  // Reads the whole game from file into the running game, which ResetBeforeLoad has emptied;
  // false when the file is short, corrupt or foreign (the game then holds a partial load).
  bool LoadGameChecked(Game& game, Core::File& file);
  // Loads the file at path; false, with the game as it was, when the file cannot be opened or read.
  bool LoadFromPath(Game& game, const std::string& path);
  // Writes to a temporary file beside path, then renames it over path.
  bool SaveToPath(Game& game, const std::string& path);

  uint32_t GetPendingRequest() const { return m_pendingRequest; }
  const std::vector<ReplayFrame>& GetReplayFrames() const { return m_frames; }
  uint32_t GetPlaybackPosition() const { return m_playbackPosition; }

  // Tests stand for a crash after the temporary file is written and before it replaces the old
  // one: when the hook answers false, the replacement stops there as a crash would (the temporary
  // file stays behind). An empty hook removes it.
  using BeforeReplaceHook = std::function<bool(const std::string& temporaryPath)>;
  static void SetBeforeReplaceHook(BeforeReplaceHook hook);

 private:
  static bool IsNetworkGame();
  // Writes through writer to path + ".partial", then renames it over path.
  static bool WriteFileAtomically(const std::string& path, const std::function<void(Core::File&)>& writer);
  // The whole file in memory; false when it cannot be opened or read, or is too large.
  static bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes);
  void GetNamesEndingWith(const char* upperCaseEnding, std::vector<std::string>& names);

  uint32_t m_pendingRequest = None;
  std::string m_savePath;
  std::string m_loadPath;
  uint8_t m_recording = 0;
  uint8_t m_playing = 0;
  // The save that starts a recording is pending: its failure ends the recording.
  uint8_t m_recordingStartPending = 0;
  std::vector<ReplayFrame> m_frames;
  std::string m_replayPath;
  uint32_t m_playbackPosition = 0;
};

// The saves the game installs by default.
std::unique_ptr<GameSaves> CreateGameSaves();

}  // namespace Quillon
