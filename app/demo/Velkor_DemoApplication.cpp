#include "app/demo/Velkor_DemoApplication.h"

#include <cmath>

#include "platform/PAL_Path.h"

namespace Engine {
namespace {

DisplaySettings DemoSettings() {
  DisplaySettings settings;
  settings.width = 1280;
  settings.height = 720;
  settings.refreshRate = 85;
  settings.multisampleCount = 0;
  settings.fullScreen = 0;
  settings.verticalSync = 1;
  return settings;
}

}  // namespace

DemoApplication::DemoApplication() : RenderingApplication(DemoSettings()) {
  GetWindow()->SetTitle("Velkor");
  SetDesiredFrameRate(60.0);
  LockFrameRate(true);
  // A missing picture shows the renderer's grey fallback pattern: still a textured quad.
  m_texture = Renderer::ITexture::Create(PAL::ResourcePath("Resources\\ParticleSystems\\particle1.png"), false);
  m_effect = Renderer::CreateSpriteEffect();
  GetRenderer()->SetProjectionMatrix(Math::Matrix4x4::MakeOrtho2D(0.0f, 1280.0f, 0.0f, 720.0f));
  const float coordinates[12] = {0, 0, 1, 0, 1, 1, 0, 0, 1, 1, 0, 1};
  for (int i = 0; i < 12; ++i) m_coordinates[i] = coordinates[i];
}

DemoApplication::~DemoApplication() { Shutdown(); }

void DemoApplication::Update() {
  GetMouse()->Update();
  GetKeyboard()->Update();
  if (GetKeyboard()->IsTriggered(Input::Key::Escape)) Quit();

  Renderer::IRenderer* renderer = GetRenderer();
  // A held button lightens the background, so input stays visible.
  const float light = GetMouse()->IsPressed(0) || GetMouse()->IsPressed(2) ? 0.35f : 0.1f;
  renderer->ClearBuffers(Math::Color(light * 0.5f, light, light * 1.8f, 1.0f), 1.0f, 0);
  if (!m_texture || !m_effect) return;

  // The quad drifts slowly so the capped frames are visible.
  m_time += 1.0 / 60.0;
  const float x = 512.0f + 200.0f * static_cast<float>(std::sin(m_time)), y = 232.0f, size = 256.0f;
  const float vertices[18] = {x, y, 0, x + size, y, 0, x + size, y + size, 0,
                              x, y, 0, x + size, y + size, 0, x, y + size, 0};
  for (int i = 0; i < 18; ++i) m_vertices[i] = vertices[i];

  auto technique = m_effect->GetTechnique(0);
  renderer->SetTexture(0, m_texture);
  technique->SaveStates();
  technique->GetPass(0)->Apply();
  renderer->SetVertexArray(m_vertices);
  renderer->SetTextureCoordinateArray(0, m_coordinates);
  renderer->SetPrimitiveType(Renderer::PrimitiveType::TriangleList);
  renderer->Draw(6);
  renderer->SetVertexArray(nullptr);
  renderer->SetTextureCoordinateArray(0, nullptr);
  technique->RestoreStates();
}

void DemoApplication::Shutdown() {
  m_effect.Reset();
  m_texture.Reset();
}

}  // namespace Engine

Core::SmartPointer<Engine::Application> CreateApplication(const char*) {
  return Core::SmartPointer<Engine::Application>(new ("Velkor_DemoApplication", __LINE__) Engine::DemoApplication());
}
