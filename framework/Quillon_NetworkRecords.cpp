// The network records the sprite, the text and the sound append to the game object's own. Every
// field comes from a peer: it is read into a local first and applied only when the whole record
// was there and its values are ones the object may take.
#include <cmath>

#include "core/Core_File.h"
#include "framework/Quillon_NetworkFile.h"
#include "framework/Quillon_SoundObject.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_Text.h"

namespace Quillon {

// ---- Sprite -----------------------------------------------------------------------------------------

void Sprite::NetworkSyncSend(NetworkFile& file) {
  GameObject::NetworkSyncSend(file);
  file.WriteString(GetCurrentAnimationName());
  Core::WriteValue<uint32_t>(file, GetCurrentAnimationIndex());
  Core::WriteValue<uint32_t>(file, GetCurrentFrameIndex());
  Core::WriteValue<uint8_t>(file, GetFlipHorizontal() ? 1 : 0);
  Core::WriteValue<uint8_t>(file, GetFlipVertical() ? 1 : 0);
  Core::WriteValue<uint8_t>(file, IsHUDObject() ? 1 : 0);
}

void Sprite::NetworkSyncReceive(NetworkFile& file) {
  // The client shows the server's frames, never its own animation's.
  SetPlaying(false);
  GameObject::NetworkSyncReceive(file);
  if (file.HasFailed()) return;
  std::string name;
  file.ReadString(name);
  const uint32_t animation = Core::ReadValue<uint32_t>(file);
  const uint32_t frame = Core::ReadValue<uint32_t>(file);
  const uint8_t flipHorizontal = Core::ReadValue<uint8_t>(file);
  const uint8_t flipVertical = Core::ReadValue<uint8_t>(file);
  const uint8_t hud = Core::ReadValue<uint8_t>(file);
  if (file.HasFailed()) return;
  // Names, indices and frames this sprite does not have are refused by the setters themselves.
  if (!name.empty() && name != GetCurrentAnimationName()) SetCurrentAnimationName(name, false);
  if (animation != GetCurrentAnimationIndex()) SetCurrentAnimationIndex(animation, false);
  if (frame != GetCurrentFrameIndex()) SetCurrentFrameIndex(frame, false);
  if ((flipHorizontal != 0) != GetFlipHorizontal()) SetFlipHorizontal(flipHorizontal != 0);
  if ((flipVertical != 0) != GetFlipVertical()) SetFlipVertical(flipVertical != 0);
  SetHUDObject(hud != 0);
}

// ---- Text -------------------------------------------------------------------------------------------

void Text::NetworkSave(NetworkFile& file) {
  GameObject::NetworkSave(file);
  file.WriteString(GetText());
}

void Text::NetworkLoad(NetworkFile& file) {
  GameObject::NetworkLoad(file);
  if (file.HasFailed()) return;
  std::string text;
  file.ReadString(text);
  if (!file.HasFailed()) SetText(text);
}

void Text::NetworkSyncSend(NetworkFile& file) {
  GameObject::NetworkSyncSend(file);
  file.WriteString(GetText());
  Core::WriteValue<uint8_t>(file, IsHUDObject() ? 1 : 0);
}

void Text::NetworkSyncReceive(NetworkFile& file) {
  GameObject::NetworkSyncReceive(file);
  if (file.HasFailed()) return;
  std::string text;
  file.ReadString(text);
  const uint8_t hud = Core::ReadValue<uint8_t>(file);
  if (file.HasFailed()) return;
  if (text != GetText()) SetText(text);
  SetHUDObject(hud != 0);
}

// ---- Sound ------------------------------------------------------------------------------------------

void Sound::NetworkSyncSend(NetworkFile& file) {
  GameObject::NetworkSyncSend(file);
  Core::WriteValue<float>(file, GetVolume());
  Core::WriteValue<float>(file, GetPitch());
  Core::WriteValue<float>(file, m_intensity);
  Core::WriteValue<uint8_t>(file, m_looping);
  Core::WriteValue<uint8_t>(file, IsPlaying() ? 1 : 0);
}

void Sound::NetworkSyncReceive(NetworkFile& file) {
  GameObject::NetworkSyncReceive(file);
  if (file.HasFailed()) return;
  const float volume = Core::ReadValue<float>(file);
  const float pitch = Core::ReadValue<float>(file);
  const float intensity = Core::ReadValue<float>(file);
  const uint8_t looping = Core::ReadValue<uint8_t>(file);
  const uint8_t playing = Core::ReadValue<uint8_t>(file);
  if (file.HasFailed()) return;
  SetLooping(looping != 0);
  if (std::isfinite(intensity)) m_intensity = intensity;
  // The setters ignore a negative volume and a pitch of 0 or below.
  if (std::isfinite(volume)) SetVolume(volume);
  if (std::isfinite(pitch)) SetPitch(pitch);
  if (playing != 0) {
    if (!IsPlaying()) Play(true);
  } else {
    Stop();
  }
}

}  // namespace Quillon
