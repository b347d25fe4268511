#pragma once
// The engine's demo program until the game exists: a 1280 x 720 window titled "Velkor" showing a
// scene through a camera at a capped 60 frames per second (an animated sprite, a line of text and a
// particle fountain), with background music and a shot sound on Space or a left click; quits on
// Escape or when the window is closed. Without a sound device it runs silently.
#include <memory>

#include "audio/Sound_Engine.h"
#include "demo/Velkor_DemoFountain.h"
#include "renderer/Engine_RenderingApplication.h"
#include "scene/Engine_Camera.h"
#include "scene/Engine_SceneGraph.h"
#include "scene/Engine_Sprite.h"
#include "scene/Engine_Text.h"
#include "scene/Engine_Viewport.h"

namespace Engine {

class DemoApplication : public RenderingApplication {
 public:
  DemoApplication();
  ~DemoApplication() override;

  void Update() override;
  void Shutdown() override;

 private:
  void BuildScene();
  void StartSound();

  std::unique_ptr<SceneGraph> m_scene;
  Core::SmartPointer<Camera> m_camera;
  Core::SmartPointer<Viewport> m_viewport;
  Core::SmartPointer<TransformationGroup> m_spritePlace;
  Core::SmartPointer<Sprite> m_sprite;
  Core::SmartPointer<Text> m_text;
  Core::SmartPointer<ParticleSystem> m_particles;
  std::unique_ptr<ParticleFountain> m_fountain;
  double m_time = 0.0;
  std::unique_ptr<Sound::SoundEngine> m_sound;
  Sound::SoundSource* m_shot = nullptr;
  Sound::SoundSource* m_music = nullptr;
};

}  // namespace Engine
