#include "framework/Quillon_Saves.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <list>
#include <map>

#include "collision/Collision_Actor.h"
#include "collision/Collision_Engine.h"
#include "core/Core_File.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_CollisionBridge.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Level.h"
#include "gui/Gui_HUD.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "physics/Physics_Engine.h"
#include "physics/Physics_RigidBody.h"
#include "platform/PAL_Path.h"
#include "platform/PAL_Services.h"

namespace Quillon {

namespace {

Saves::BeforeReplaceHook g_beforeReplace;

const char* const kReplayStartState = "gameSaved_OnReplayStart";

// Each collision actor stores at least its animation count.
constexpr uint64_t kSmallestActorSize = 4;

}  // namespace

std::unique_ptr<GameSaves> CreateGameSaves() { return std::make_unique<Saves>(); }

void Saves::SetBeforeReplaceHook(BeforeReplaceHook hook) { g_beforeReplace = std::move(hook); }

bool Saves::IsNetworkGame() {
  Game* game = Game::GetInstance();
  return game != nullptr && game->GetNetworkEngine() != nullptr && game->GetNetworkEngine()->IsNetworkGame();
}

std::string Saves::GetSaveFolder() {
  const Game* game = Game::GetInstance();
  if (game == nullptr) return std::string();
  const std::string named = game->GetSaveDirectory();
  if (named.empty()) return std::string();
  std::string folder = PAL::MapPath(named);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string Saves::GetSavePath(const std::string& name) {
  const std::string folder = GetSaveFolder();
  if (folder.empty()) return std::string();
  // Only the bare file name counts, whichever separator a script used: a save never leaves its folder.
  const size_t separator = name.find_last_of("/\\");
  const std::string bare = separator == std::string::npos ? name : name.substr(separator + 1);
  return folder + "/" + bare;
}

std::string Saves::FindSavePath(const std::string& name) {
  const std::string path = GetSavePath(name);
  if (path.empty()) return path;
  if (Core::DiskFile(path, Core::DiskFile::ReadMode).HasFailed()) {
    // The folder lists endings without regard to case; a file written elsewhere as "_GAMESAVED"
    // must open under the name it was listed by, also on a file system that tells case apart.
    const std::string wanted = path.substr(path.find_last_of('/') + 1);
    std::vector<std::string> files;
    ListSaveFiles(files);
    for (const std::string& file : files) {
      if (file.size() == wanted.size() &&
          std::equal(file.begin(), file.end(), wanted.begin(), [](unsigned char a, unsigned char b) {
            return std::toupper(a) == std::toupper(b);
          })) {
        return GetSavePath(file);
      }
    }
  }
  return path;
}

// ---- Requests -----------------------------------------------------------------------------------

void Saves::RequestSave(const std::string& name) {
  if (IsNetworkGame()) return;
  m_savePath = GetSavePath(name);
  m_pendingRequest = SaveRequest;
}

void Saves::RequestLoad(const std::string& name) {
  if (IsNetworkGame()) return;
  m_loadPath = FindSavePath(name);
  m_pendingRequest = LoadRequest;
}

void Saves::StartReplayRecording(const std::string& name) {
  if (m_playing != 0) return;
  m_recording = 1;
  FreeReplayFrames();
  m_replayPath = name;
  RequestSave(name + "_gameSaved");
  // Without its starting state a recording could never be played: it stops if that save fails.
  m_recordingStartPending = m_pendingRequest == SaveRequest ? 1 : 0;
  if (m_recordingStartPending == 0) m_recording = 0;
}

void Saves::StopReplayRecording() {
  if (m_recording == 0 || m_playing != 0) return;
  m_recording = 0;
  if (IsNetworkGame()) return;
  m_pendingRequest = WriteReplay;
  m_replayPath = GetSavePath(m_replayPath + "_replayData");
}

void Saves::StartReplay(const std::string& name) {
  // A recording under way ends here (its frames are freed below), whether or not the replay starts.
  m_recording = 0;
  m_recordingStartPending = 0;
  m_playing = 1;
  FreeReplayFrames();
  RequestSave(kReplayStartState);
  RequestLoad(name + "_gameSaved");
  if (!IsNetworkGame()) {
    m_pendingRequest = StartReplayRequest;
    m_replayPath = FindSavePath(name + "_replayData");
  }
  m_playbackPosition = 0;
}

void Saves::StopReplay() {
  if (m_playing == 0) return;
  m_playing = 0;
  RequestLoad(kReplayStartState);
}

// ---- Carrying requests out ----------------------------------------------------------------------

void Saves::ProcessRequests(Game& game) {
  if (m_pendingRequest == WriteReplay) {
    WriteFileAtomically(m_replayPath, [this](Core::File& file) { WriteReplayFile(file, m_frames); });
  }
  if (m_pendingRequest == StartReplayRequest) {
    std::vector<unsigned char> bytes;
    bool read = ReadWholeFile(m_replayPath, bytes);
    if (read) {
      Core::MemoryFile file(bytes.data(), static_cast<uint32_t>(bytes.size()));
      read = ReadReplayFile(file, m_frames);
    }
    // A short or corrupt replay is refused like a missing one: no frame of it is played.
    if (!read) {
      m_pendingRequest = None;
      m_playing = 0;
      FreeReplayFrames();
    }
  }
  switch (m_pendingRequest) {
    case StartReplayRequest:
      // Without the state before the replay, its end would load an older one (or none): the
      // player's game would be lost, so the replay does not start.
      if (!SaveToPath(game, m_savePath)) {
        m_playing = 0;
        FreeReplayFrames();
      } else if (LoadFromPath(game, m_loadPath)) {
        m_recording = 0;
        game.RestartFrameClock();
      } else {
        m_playing = 0;
      }
      m_savePath.clear();
      m_loadPath.clear();
      break;
    case SaveRequest:
      if (!SaveToPath(game, m_savePath) && m_recordingStartPending != 0) {
        m_recording = 0;
        FreeReplayFrames();
      }
      m_savePath.clear();
      break;
    case LoadRequest:
      if (LoadFromPath(game, m_loadPath)) game.RestartFrameClock();
      m_loadPath.clear();
      break;
    default:
      break;
  }
  m_pendingRequest = None;
  m_recordingStartPending = 0;
}

bool Saves::SaveToPath(Game& game, const std::string& path) {
  return WriteFileAtomically(path, [this, &game](Core::File& file) { SaveGame(game, file); });
}

bool Saves::LoadFromPath(Game& game, const std::string& path) {
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  // The load builds straight into the running engines, so the game as it is now is kept in memory
  // first and loaded back when the file turns out short, corrupt or foreign.
  Core::MemoryFile snapshot;
  SaveGame(game, snapshot);
  game.ResetBeforeLoad();
  {
    // Objects of the file that no part of the game took go with the stream, before the game is
    // put back: freed later, they would release bodies of the game restored in their place.
    Core::MemoryFile input(bytes.data(), static_cast<uint32_t>(bytes.size()));
    if (LoadGameChecked(game, input)) return true;
  }
  game.ResetBeforeLoad();
  Core::MemoryFile restore(snapshot.GetBuffer().GetData(), snapshot.GetBuffer().GetSize());
  LoadGameChecked(game, restore);
  game.RestartFrameClock();
  return false;
}

bool Saves::WriteFileAtomically(const std::string& path, const std::function<void(Core::File&)>& writer) {
  // No folder to keep saves in: nothing is written anywhere else instead.
  if (path.empty()) return false;
  // The player's data folder may not exist yet (a first save, or a cleaned-up home).
  const std::string mappedPath = PAL::MapPath(path);
  const size_t separator = mappedPath.find_last_of('/');
  std::string error;
  if (separator != std::string::npos && separator > 0 &&
      !PAL::CreateDirectories(mappedPath.substr(0, separator), error)) {
    return false;
  }
  const std::string temporaryPath = path + ".partial";
  const std::string systemTemporaryPath = PAL::MapPath(temporaryPath);
  {
    Core::DiskFile file(temporaryPath, Core::DiskFile::WriteMode);
    if (file.HasFailed()) {
      std::remove(systemTemporaryPath.c_str());
      return false;
    }
    writer(file);
    bool failed = file.HasFailed();
    file.Close();
    // After closing, the disk file no longer counts as open: ask what the writes and the close did.
    failed = failed || file.File::HasFailed();
    if (failed) {
      std::remove(systemTemporaryPath.c_str());
      return false;
    }
  }
  if (g_beforeReplace && !g_beforeReplace(systemTemporaryPath)) return false;
  if (std::rename(systemTemporaryPath.c_str(), PAL::MapPath(path).c_str()) != 0) {
    std::remove(systemTemporaryPath.c_str());
    return false;
  }
  return true;
}

bool Saves::ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
  if (path.empty()) return false;
  Core::DiskFile file(path, Core::DiskFile::ReadMode);
  if (file.HasFailed()) return false;
  const uint64_t size = file.GetRemaining();
  if (size > kMaximumFileSize) return false;
  bytes.resize(static_cast<size_t>(size));
  if (size != 0) file.Read(bytes.data(), static_cast<uint32_t>(size));
  return !file.HasFailed();
}

// ---- Replay frames ------------------------------------------------------------------------------

void Saves::RecordReplayFrame(Game& game, float dt) {
  if (m_recording == 0 || m_playing != 0) return;
  ReplayFrame frame;
  if (Input::Keyboard* keyboard = game.GetKeyboard()) {
    auto changes = std::make_unique<InputChanges>();
    if (keyboard->GetChanges(changes->codes, changes->records)) {
      frame.keyboardChanged = 1;
      frame.keyboardChanges = std::move(changes);
    }
  }
  if (Input::Mouse* mouse = game.GetMouse()) {
    auto changes = std::make_unique<InputChanges>();
    if (mouse->GetChanges(frame.mouseHeader, changes->codes, changes->records)) {
      frame.mouseChanged = 1;
      frame.mouseChanges = std::move(changes);
    }
  }
  frame.dt = dt;
  m_frames.push_back(std::move(frame));
}

void Saves::PlayReplayFrame(Game& game, float& dt) {
  if (m_playing == 0) return;
  Input::Keyboard* keyboard = game.GetKeyboard();
  if (keyboard != nullptr && keyboard->IsTriggered(keyboard->GetStoredKey())) {
    StopReplay();
    keyboard->Reset();
    keyboard->ClearGuard();
    return;
  }
  if (m_playbackPosition >= m_frames.size()) {
    StopReplay();
    return;
  }
  const ReplayFrame& frame = m_frames[m_playbackPosition];
  if (keyboard != nullptr) {
    if (frame.keyboardChanges) {
      keyboard->SetChanges(frame.keyboardChanges->codes, frame.keyboardChanges->records);
    } else {
      keyboard->Reset();
      keyboard->ClearGuard();
    }
  }
  if (Input::Mouse* mouse = game.GetMouse()) {
    if (frame.mouseChanges) {
      mouse->SetChanges(frame.mouseHeader, frame.mouseChanges->codes, frame.mouseChanges->records);
    } else {
      mouse->SetChanges(frame.mouseHeader, Input::ButtonList(), Input::RecordList());
    }
  }
  dt = frame.dt;
  ++m_playbackPosition;
  if (m_playbackPosition == m_frames.size()) StopReplay();
}

// ---- The whole game's stored form ---------------------------------------------------------------

void Saves::SaveGame(Game& game, Core::File& file) {
  const uint32_t assetCount = game.GetCollisionAssetCount();
  Core::WriteValue<uint32_t>(file, assetCount);
  for (uint32_t i = 0; i < assetCount; ++i) game.GetCollisionAsset(i)->Save(file);
  if (Collision2D::CollisionEngine* collision = game.GetCollisionEngine()) {
    collision->Save(file);
  } else {
    Collision2D::CollisionEngine empty;
    empty.Save(file);
  }
  file.WriteObject(game.GetCurrentLevel());
  Core::WriteValue<double>(file, game.GetPreviousFrameDuration());
  Core::WriteValue<uint32_t>(file, game.GetResolutionWidth());
  Core::WriteValue<uint32_t>(file, game.GetResolutionHeight());
  Core::WriteValue<uint32_t>(file, game.GetCurrentLevelIndex());
  Core::WriteValue<uint32_t>(file, game.GetStartingLevelIndex());
  Core::WriteValue<uint32_t>(file, game.GetRequestedLevelIndex());
  Core::WriteValue<uint8_t>(file, game.IsLevelSwitchRequested() ? 1 : 0);
  Core::WriteValue<uint8_t>(file, GetOneSidedContact() ? 1 : 0);
  Core::WriteValue<uint8_t>(file, m_recording);
  if (GUI::HUD* hud = game.GetHUD()) {
    hud->Save(file);
  } else {
    GUI::HUD empty;
    empty.Save(file);
  }
  file << game.GetTitle();
  Camera::SaveActiveListener(file);
  Core::WriteValue<uint32_t>(file, GameObject::GetIdCounter());
  Physics2D::PhysicsEngine* physics = game.GetPhysicsEngine();
  const bool bridge = physics != nullptr && physics->GetContactListUpdate() == &Game::UpdateContactList;
  const bool data = physics != nullptr && physics->GetContactListUpdateData() == Game::kContactListData;
  Core::WriteValue<uint32_t>(file, bridge ? 1 : 0);
  Core::WriteValue<uint32_t>(file, data ? 1 : 0);
  file.WriteObject(physics);
}

void Saves::LoadGame(Game& game, Core::File& file) {
  if (!LoadGameChecked(game, file)) file.Fail();
}

bool Saves::LoadGameChecked(Game& game, Core::File& file) {
  // Collision actors first: the level's objects name them by their place in the list.
  const uint32_t assetCount = Core::ReadValue<uint32_t>(file);
  if (!file.CheckCount(assetCount, kSmallestActorSize)) return false;
  std::vector<std::unique_ptr<Collision2D::CollisionActor>> actors;
  actors.reserve(assetCount);
  for (uint32_t i = 0; i < assetCount; ++i) {
    actors.push_back(std::make_unique<Collision2D::CollisionActor>());
    actors.back()->Load(file);
    if (file.HasFailed()) return false;
  }
  for (auto& actor : actors) game.AddCollisionAssets(actor.release());

  Collision2D::CollisionEngine* collision = game.GetCollisionEngine();
  if (collision == nullptr) return false;
  collision->Load(file);
  if (file.HasFailed()) return false;

  Core::SmartPointer<Level> level;
  Core::ReadObjectPointer(file, level);
  if (file.HasFailed()) return false;
  game.SetCurrentLevel(level);

  const double previousFrameDuration = Core::ReadValue<double>(file);
  const uint32_t width = Core::ReadValue<uint32_t>(file);
  const uint32_t height = Core::ReadValue<uint32_t>(file);
  const uint32_t currentIndex = Core::ReadValue<uint32_t>(file);
  const uint32_t startingIndex = Core::ReadValue<uint32_t>(file);
  const uint32_t requestedIndex = Core::ReadValue<uint32_t>(file);
  const uint8_t switchRequested = Core::ReadValue<uint8_t>(file);
  const uint8_t oneSided = Core::ReadValue<uint8_t>(file);
  const uint8_t recording = Core::ReadValue<uint8_t>(file);
  if (file.HasFailed()) return false;
  // The next dt comes from this duration, and the next level switch from these indices.
  if (!std::isfinite(previousFrameDuration) || previousFrameDuration < 0.0) return false;
  const uint32_t levelCount = game.GetLevelCount();
  const uint32_t indexLimit = levelCount == 0 ? 1 : levelCount;
  if (currentIndex >= indexLimit || startingIndex >= indexLimit || requestedIndex >= indexLimit) return false;
  if (switchRequested > 1 || oneSided > 1 || recording > 1) return false;

  GUI::HUD* hud = game.GetHUD();
  if (hud == nullptr) return false;
  hud->Load(file);
  std::string title;
  file >> title;
  Camera::LoadActiveListener(file);
  const uint32_t idCounter = Core::ReadValue<uint32_t>(file);
  const uint32_t bridge = Core::ReadValue<uint32_t>(file);
  const uint32_t data = Core::ReadValue<uint32_t>(file);
  if (file.HasFailed() || bridge > 1 || data > 1) return false;

  Core::SmartPointer<Physics2D::PhysicsEngine> physics(Core::ReadTypedObject<Physics2D::PhysicsEngine>(file));
  if (physics == nullptr || file.HasFailed()) return false;
  if (bridge != 0) physics->SetContactListUpdate(&Game::UpdateContactList);
  if (data != 0) physics->SetContactListUpdateData(Game::kContactListData);
  game.ReplacePhysicsEngine(physics);

  // Bodies come back without their owners: give each one the game object's callbacks again and
  // point it at the object that holds its handle.
  const uint32_t slotCount = physics->GetRigidBodySlotCount();
  for (uint32_t handle = 1; handle <= slotCount; ++handle) {
    if (Core::SmartPointer<Physics2D::RigidBody> body = physics->GetRigidBody(handle)) {
      body->SetIntegrationCallback(&GameObject::FollowRigidBody);
      body->SetPostCollisionCallback(&GameObject::FollowRigidBodyPreviousFrame);
    }
  }
  if (level) {
    std::list<GameObject*> objects;
    level->GetGameObjects(objects);
    for (GameObject* owner : objects) {
      const uint32_t handle = owner != nullptr ? owner->GetPhysicsId() : 0;
      if (handle == 0) continue;
      if (Core::SmartPointer<Physics2D::RigidBody> body = physics->GetRigidBody(handle)) body->SetData(owner);
    }
  }

  game.SetPreviousFrameDuration(previousFrameDuration);
  game.SetResolution(width, height);
  game.SetLevelIndices(currentIndex, startingIndex, requestedIndex, switchRequested != 0);
  SetOneSidedContact(oneSided != 0);
  m_recording = recording;
  game.SetTitle(title);
  // Loading the objects moved the counter past every loaded ID; a smaller stored counter would
  // hand those IDs out again.
  if (idCounter > GameObject::GetIdCounter()) GameObject::SetIdCounter(idCounter);
  return true;
}

// ---- Listing ------------------------------------------------------------------------------------

void Saves::ListSaveFiles(std::vector<std::string>& names) {
  const std::string folder = GetSaveFolder();
  if (folder.empty()) return;
  std::vector<std::string> entries;
  if (!PAL::ListDirectory(folder, entries)) return;
  for (const std::string& entry : entries) {
    const std::string path = folder + "/" + entry;
    if (PAL::IsDirectory(path) || PAL::IsSystemFile(path)) continue;
    names.push_back(entry);
  }
}

void Saves::GetNamesEndingWith(const char* upperCaseEnding, std::vector<std::string>& names) {
  names.clear();
  std::vector<std::string> files;
  ListSaveFiles(files);
  const std::string ending(upperCaseEnding);
  for (const std::string& file : files) {
    if (file.size() < ending.size()) continue;
    std::string tail = file.substr(file.size() - ending.size());
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (tail == ending) names.push_back(file.substr(0, file.size() - ending.size()));
  }
}

void Saves::GetSavedGameNames(std::vector<std::string>& names) { GetNamesEndingWith("_GAMESAVED", names); }

void Saves::GetReplayNames(std::vector<std::string>& names) { GetNamesEndingWith("_REPLAYDATA", names); }

}  // namespace Quillon
