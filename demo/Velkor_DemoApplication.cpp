#include "demo/Velkor_DemoApplication.h"

#include <cmath>

#include "platform/PAL_Path.h"
#include "scene/Engine_BitmapFont.h"
#include "scene/Engine_TextureSource.h"

namespace Engine {

DemoApplication::DemoApplication() : RenderingApplication(DisplaySettings::Windowed720p()) {
  GetWindow()->SetTitle("Velkor");
  SetDesiredFrameRate(60.0);
  LockFrameRate(true);
  BuildScene();
  StartSound();
}

DemoApplication::~DemoApplication() { Shutdown(); }

void DemoApplication::BuildScene() {
  m_scene = std::make_unique<SceneGraph>(GetRenderer());
  m_scene->SetViewportCount(1);
  m_viewport = new ("Velkor_DemoApplication", __LINE__) Viewport(0, 0, 1280, 720);
  m_camera = new ("Velkor_DemoApplication", __LINE__) Camera(45.0f, 1.0f, 5000.0f);
  m_scene->AddChild(m_camera);
  // At this distance one world unit is one window pixel, with the origin at the window's centre.
  const float distance = 720.0f / (2.0f * std::tan(22.5f * 0.0174532924f));

  // The car sheet holds three 144 x 100 frames on a 2 x 2 grid; a missing sheet shows the
  // renderer's fallback pattern.
  auto sheet = LoadTexture(PAL::ResourcePath("Resources\\Animations\\Car.png"), true);
  std::vector<SpriteFrame> frames = {{0, 0, 0.12f}, {1, 0, 0.12f}, {0, 1, 0.12f}};
  Core::SmartPointer<SpriteAnimation> drive(new ("Velkor_DemoApplication", __LINE__) SpriteAnimation(sheet, 144, 100, frames));
  drive->SetName("drive");
  m_sprite = new ("Velkor_DemoApplication", __LINE__) Sprite({drive});
  m_sprite->SetPlaying(true);
  m_spritePlace = new ("Velkor_DemoApplication", __LINE__) TransformationGroup();
  m_spritePlace->SetTransform(Math::Matrix4x4::MakeTranslation(-300.0f, 0.0f, -distance));
  m_spritePlace->AddChild(m_sprite);
  m_scene->AddChild(m_spritePlace);

  m_text = new ("Velkor_DemoApplication", __LINE__) Text("Velkor engine: sprite, text and particles at 60 fps", false);
  m_text->SetFont(GetFont(""));
  m_text->SetWorldMatrix(Math::Matrix4x4::MakeTranslation(-560.0f, 280.0f, -distance));
  m_scene->AddChild(m_text);

  auto spark = LoadTexture(PAL::ResourcePath("Resources\\ParticleSystems\\particle1.png"), false);
  m_particles = new ("Velkor_DemoApplication", __LINE__) ParticleSystem(spark, 300);
  m_particles->SetParticleSize(24.0f, 24.0f);
  m_particles->SetBoundingSize(2000.0f);
  m_particles->SetBlendFactors(Renderer::BlendFactor::SourceAlpha, Renderer::BlendFactor::One);
  Core::SmartPointer<TransformationGroup> fountainPlace(new ("Velkor_DemoApplication", __LINE__) TransformationGroup());
  fountainPlace->SetTransform(Math::Matrix4x4::MakeTranslation(300.0f, -250.0f, -distance));
  fountainPlace->AddChild(m_particles);
  m_scene->AddChild(fountainPlace);
  m_fountain = std::make_unique<ParticleFountain>(m_particles, ParticleFountain::Settings());
}

void DemoApplication::StartSound() {
  m_sound = std::make_unique<Sound::SoundEngine>();
  // Refilled every 30 ms, the period the game uses; false leaves the demo silent.
  if (!m_sound->Initialize(-1, 30)) return;
  m_sound->SetDistanceModel(2);
  const std::string shotPath = PAL::ResourcePath("\\Resources\\Sounds\\playerShoot.wav");
  if (Sound::SoundData* shot = m_sound->LoadSoundOrStream(shotPath, Sound::SoundEngine::kDefaultStreamLimit))
    m_shot = m_sound->CreateSource(shot, true, false);
  const std::string musicPath = PAL::ResourcePath("\\Resources\\MyJukeBoxes\\GameBgm\\gamBgm.ogg");
  if (Sound::SoundData* music = m_sound->LoadSoundOrStream(musicPath, Sound::SoundEngine::kDefaultStreamLimit)) {
    m_music = m_sound->CreateSource(music, true, true);
    m_sound->Play(m_music);
  }
}

void DemoApplication::Update() {
  GetMouse()->Update();
  GetKeyboard()->Update();
  if (GetKeyboard()->IsTriggered(Input::Key::Escape)) Quit();
  if (m_shot != nullptr && (GetKeyboard()->IsTriggered(Input::Key::Space) || GetMouse()->IsTriggered(0))) {
    m_sound->Stop(m_shot);
    m_sound->Play(m_shot);
  }
  if (!m_scene) return;

  // The last frame's duration; the first frames and long stalls count as one capped frame.
  const double rate = GetCurrentFrameRate();
  const float dt = rate > 10.0 && std::isfinite(rate) ? static_cast<float>(1.0 / rate) : 1.0f / 60.0f;
  m_time += dt;
  // The car drifts slowly so the capped frames are visible.
  m_spritePlace->GetTransform()->m[12] = -300.0f + 120.0f * static_cast<float>(std::sin(m_time));
  m_fountain->Update(dt);
  m_scene->UpdateFrame(dt);

  // A held button lightens the background, so input stays visible.
  const float light = GetMouse()->IsPressed(0) || GetMouse()->IsPressed(2) ? 0.35f : 0.1f;
  m_viewport->SetClearColor(Math::Color(light * 0.5f, light, light * 1.8f, 1.0f));
  m_scene->SetViewportIndex(0);
  m_scene->RenderView(m_camera, m_viewport);
}

void DemoApplication::Shutdown() {
  // Scene objects hold textures: they go before the renderer does.
  m_fountain.reset();
  m_particles.Reset();
  m_text.Reset();
  m_sprite.Reset();
  m_spritePlace.Reset();
  m_camera.Reset();
  m_viewport.Reset();
  m_scene.reset();
  if (m_sound) m_sound->Reset();
  m_shot = nullptr;
  m_music = nullptr;
  m_sound.reset();
}

}  // namespace Engine

Core::SmartPointer<Engine::Application> CreateApplication(const char*) {
  return Core::SmartPointer<Engine::Application>(new ("Velkor_DemoApplication", __LINE__) Engine::DemoApplication());
}
