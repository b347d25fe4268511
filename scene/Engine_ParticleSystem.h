#pragma once
// The scene-graph leaf that draws a fixed number of textured, coloured, camera-facing quads in one
// render item. It simulates nothing: its owner writes the particle records every frame.
#include <cstdint>
#include <vector>

#include "math/Math_BoundingBox.h"
#include "scene/Engine_Mesh.h"
#include "scene/Engine_Node.h"

namespace Renderer {
class ITexture;
}

namespace Engine {

struct Particle {
  float x = 0.0f, y = 0.0f, z = 0.0f;
  float scaleX = 0.0f, scaleY = 0.0f;  // multipliers of the system's particle size
  float rotation = 0.0f;               // degrees about the view axis
  float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;
};

class ParticleSystem : public Node {
 public:
  ParticleSystem(const Core::SmartPointer<Renderer::ITexture>& texture, uint32_t particleCount);
  ParticleSystem(const ParticleSystem& other);
  ~ParticleSystem() override;
  Core::Object* Clone() const override;
  const char* GetClassName() const override { return "Engine::Node"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(ParticleSystem)); }

  void Update(float dt) override { RunUpdateHook(dt); }
  void Draw(uint32_t flags = 0) override {
    (void)flags;
    Render();
  }
  void DrawTree() override { Render(); }
  void Render() override;

  void SetUseLocalCoordinates(bool use) { m_useLocalCoordinates = use; }
  bool GetUseLocalCoordinates() const { return m_useLocalCoordinates != 0; }
  void SetBoundingSize(float size);
  void GetWorldBoundingBox(Math::BoundingBox& out);

  // Written by the owner every frame; the count is fixed at construction.
  std::vector<Particle>& GetParticles() { return m_particles; }
  uint32_t GetParticleCount() const { return static_cast<uint32_t>(m_particles.size()); }
  void SetBlendFactors(uint32_t source, uint32_t destination) {
    m_blendSource = source;
    m_blendDestination = destination;
  }
  void SetParticleSize(float width, float height) {
    m_particleWidth = width;
    m_particleHeight = height;
  }
  const Core::SmartPointer<Mesh>& GetMesh() const { return m_mesh; }
  Core::SmartPointer<Renderer::ITexture> GetTexture() const;

 private:
  Core::SmartPointer<Core::Object> m_texture;
  std::vector<Particle> m_particles;
  Core::SmartPointer<Mesh> m_mesh;
  uint32_t m_blendSource = 6;
  uint32_t m_blendDestination = 7;
  float m_particleWidth = 0.0f;
  float m_particleHeight = 0.0f;
  uint8_t m_useLocalCoordinates = 1;
};

}  // namespace Engine
