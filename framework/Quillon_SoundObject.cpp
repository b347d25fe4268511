#include "framework/Quillon_SoundObject.h"

#include <cmath>

#include "audio/Sound_Engine.h"
#include "core/Core_File.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_Layer.h"
#include "math/Math_Vector3D.h"

namespace Quillon {

::Sound::SoundEngine* GetSoundEngine() { return GetGameServices().GetSoundEngine(); }

namespace {

// A name read from a stream becomes part of a path: only a bare file name is taken.
bool IsBareName(const std::string& name) {
  return !name.empty() && name.find_first_of("\\/") == std::string::npos && name != ".." && name != ".";
}

// The file's own name, after the last separator of either kind.
std::string BareFileName(const std::string& path) {
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

float Finite(float value, float fallback) { return std::isfinite(value) ? value : fallback; }

}  // namespace

::Core::Object* Sound::Create() { return new (__FILE__, __LINE__) Sound(); }
const char* Sound::GetClassName() const { return "Quillon::Sound"; }
uint32_t Sound::GetSize() const { return static_cast<uint32_t>(sizeof(Sound)); }
static const ::Core::ClassRegistration g_soundRegistration("Quillon::Sound", &Sound::Create);

Sound::Sound(const std::string& path, uint32_t positionMode, float intensity, bool looping, float loopFraction,
             bool loadWhole) {
  Initialize(path, positionMode, intensity, looping, loopFraction, loadWhole);
}

int Sound::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

void Sound::Initialize(const std::string& path, uint32_t positionMode, float intensity, bool looping,
                       float loopFraction, bool loadWhole) {
  m_loadWhole = loadWhole ? 1 : 0;
  m_soundData = nullptr;
  if (::Sound::SoundEngine* engine = GetSoundEngine()) {
    m_soundData = engine->FindLoadedSound(path, loopFraction);
    if (m_soundData == nullptr) {
      m_soundData = loopFraction == 0.0f && !loadWhole ? engine->LoadSoundOrStream(path, kStreamLimit)
                                                       : engine->LoadSound(path, loopFraction);
    }
  }
  if (m_soundData != nullptr) m_fileName = m_soundData->GetName();
  m_loopFraction = loopFraction;
  m_intensity = intensity;
  m_looping = looping ? 1 : 0;
  m_positionMode = positionMode;
  m_volume = 1.0f;
  m_pitch = 1.0f;
  m_source = nullptr;
}

::Core::Object* Sound::Clone() const {
  auto* copy = new (__FILE__, __LINE__)
      Sound(m_fileName, m_positionMode, m_intensity, m_looping != 0, m_loopFraction, m_loadWhole != 0);
  if (m_volume >= 0.0f) copy->m_volume = m_volume;
  if (m_pitch > 0.0f) copy->m_pitch = m_pitch;
  copy->SetName(GetName());
  copy->SetPosition(GetPosition());
  // The original's script hears of the copy: the copy itself has none.
  auto* self = const_cast<Sound*>(this);
  if (HasScriptFlag() && self->GetScript() != nullptr) {
    self->CallScriptFunction("OnClone", self);
  }
  return copy;
}

bool Sound::Play(bool restart) {
  ::Sound::SoundEngine* engine = GetSoundEngine();
  if (engine == nullptr) return false;
  if (m_source == nullptr) {
    m_source = engine->CreateSource(m_soundData, m_positionMode == kUnpositioned, m_looping != 0);
    if (m_source == nullptr) return false;
  } else if (restart) {
    engine->Stop(m_source);
  }
  if (m_volume >= 0.0f) m_source->SetGain(m_volume);
  if (m_pitch > 0.0f) m_source->SetPitch(m_pitch);
  m_source->SetLooping(m_looping != 0);
  return engine->Play(m_source);
}

void Sound::Stop() {
  if (m_source == nullptr) return;
  if (::Sound::SoundEngine* engine = GetSoundEngine()) engine->Stop(m_source);
}

void Sound::Pause() {
  if (m_source == nullptr) return;
  if (::Sound::SoundEngine* engine = GetSoundEngine()) engine->Pause(m_source);
}

void Sound::Rewind() {
  if (m_source == nullptr) return;
  if (::Sound::SoundEngine* engine = GetSoundEngine()) engine->RefillStream(m_source);
}

bool Sound::IsPlaying() const {
  ::Sound::SoundEngine* engine = GetSoundEngine();
  return m_source != nullptr && engine != nullptr && engine->IsPlaying(m_source);
}

void Sound::SetVolume(float volume) {
  if (!(volume >= 0.0f)) return;
  m_volume = volume;
  if (m_source != nullptr) m_source->SetGain(volume);
}

float Sound::GetVolume() const { return m_source != nullptr ? m_source->GetGain() : m_volume; }

void Sound::SetPitch(float pitch) {
  if (!(pitch > 0.0f)) return;
  m_pitch = pitch;
  if (m_source != nullptr) m_source->SetPitch(pitch);
}

float Sound::GetPitch() const { return m_source != nullptr ? m_source->GetPitch() : m_pitch; }

void Sound::SetLooping(bool looping) {
  m_looping = looping ? 1 : 0;
  if (m_source != nullptr) m_source->SetLooping(looping);
}

void Sound::ReleaseSource() {
  if (m_source == nullptr) return;
  if (::Sound::SoundEngine* engine = GetSoundEngine()) engine->DestroySource(m_source);
  m_source = nullptr;
}

void Sound::Tick(float dt) {
  GameObject::Tick(dt);
  if (m_source == nullptr) return;
  m_source->SetReferenceDistance(m_intensity);
  if (m_positionMode == kAtListenerLayer || m_positionMode == kAtOwnLayer) {
    Layer* layer = nullptr;
    if (m_positionMode == kAtListenerLayer) {
      if (Camera* listener = Camera::GetActiveListener()) layer = listener->GetLayer();
    } else {
      layer = GetLayer();
    }
    m_source->SetPosition(Math::Vector3D(m_position.x, m_position.y, layer != nullptr ? layer->GetZOrder() : 0.0f));
  }
  ::Sound::SoundEngine* engine = GetSoundEngine();
  if (engine != nullptr && !engine->IsStarted(m_source)) ReleaseSource();
}

void Sound::Destroy() {
  GameObject::Destroy();
  // The layer drops the object before its next Tick, so the source is given back now rather than
  // left stopped in the engine's list until the next engine reset.
  ReleaseSource();
}

void Sound::Save(Core::File& file) {
  GameObject::Save(file);
  // The folder is the game's sounds folder on every machine: only the file's own name is kept.
  file << BareFileName(m_fileName);
  Core::WriteValue<uint32_t>(file, m_positionMode);
  Core::WriteValue<float>(file, m_loopFraction);
  Core::WriteValue<uint8_t>(file, m_loadWhole);
  Core::WriteValue<float>(file, GetVolume());
  Core::WriteValue<float>(file, GetPitch());
  Core::WriteValue<float>(file, m_intensity);
  Core::WriteValue<uint8_t>(file, m_looping);
  Core::WriteValue<uint8_t>(file, IsPlaying() ? 1 : 0);
}

void Sound::Load(Core::File& file) {
  LoadBase(file);
  std::string name;
  file >> name;
  const uint32_t positionMode = Core::ReadValue<uint32_t>(file);
  const float loopFraction = Core::ReadValue<float>(file);
  const uint8_t loadWhole = Core::ReadValue<uint8_t>(file);
  const float volume = Core::ReadValue<float>(file);
  const float pitch = Core::ReadValue<float>(file);
  const float intensity = Core::ReadValue<float>(file);
  const uint8_t looping = Core::ReadValue<uint8_t>(file);
  const uint8_t playing = Core::ReadValue<uint8_t>(file);
  if (file.HasFailed()) return;
  ReleaseSource();
  const std::string path =
      IsBareName(name) ? GetGameServices().GetDirectory() + "\\Resources\\Sounds\\" + name : std::string();
  // A fraction outside 0..1 (or not a number) would be clamped by the engine under another key.
  const float fraction = std::isfinite(loopFraction) && loopFraction >= 0.0f && loopFraction <= 1.0f ? loopFraction : 0.0f;
  if (path.empty()) {
    m_soundData = nullptr;
    m_fileName = name;
    m_loopFraction = fraction;
    m_intensity = Finite(intensity, 0.0f);
    m_looping = looping != 0 ? 1 : 0;
    m_positionMode = positionMode;
    m_loadWhole = loadWhole != 0 ? 1 : 0;
    m_volume = 1.0f;
    m_pitch = 1.0f;
  } else {
    Initialize(path, positionMode, Finite(intensity, 0.0f), looping != 0, fraction, loadWhole != 0);
    if (m_soundData == nullptr) m_fileName = name;
  }
  if (std::isfinite(volume)) SetVolume(volume);
  if (std::isfinite(pitch)) SetPitch(pitch);
  if (playing != 0) Play(false);
}

}  // namespace Quillon
