#pragma once
// The engine's demo program until the game exists: a 1280 x 720 window titled "Velkor", cleared to a
// colour, with a textured, alpha-blended quad drawn through the renderer at a capped 60 frames per
// second; quits on Escape or when the window is closed.
#include "renderer/Engine_RenderingApplication.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_ITexture.h"

namespace Engine {

class DemoApplication : public RenderingApplication {
 public:
  DemoApplication();
  ~DemoApplication() override;

  void Update() override;
  void Shutdown() override;

 private:
  Core::SmartPointer<Renderer::ITexture> m_texture;
  Core::SmartPointer<Renderer::Effect> m_effect;
  float m_vertices[18] = {};
  float m_coordinates[12] = {};
  double m_time = 0.0;
};

}  // namespace Engine
