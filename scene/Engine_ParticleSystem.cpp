#include "scene/Engine_ParticleSystem.h"

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_ITexture.h"
#include "scene/Engine_RenderQueue.h"
#include "scene/Engine_SceneGraph.h"

namespace Engine {

ParticleSystem::ParticleSystem(const Core::SmartPointer<Renderer::ITexture>& texture, uint32_t particleCount)
    : m_texture(texture.Get()), m_particles(particleCount), m_mesh(new ("Engine_ParticleSystem", __LINE__) Mesh()) {
  if (texture) {
    m_particleWidth = static_cast<float>(texture->GetWidth());
    m_particleHeight = static_cast<float>(texture->GetHeight());
  }
  m_mesh->AddPart(MeshPart{0, 6 * particleCount - 1, -1, 1});
  const Math::Vector2D coordinates[6] = {{0, 0}, {1, 0}, {1, 1}, {1, 1}, {0, 1}, {0, 0}};
  for (uint32_t i = 0; i < particleCount; ++i) {
    for (uint32_t v = 0; v < 6; ++v) {
      m_mesh->AddPosition(Math::Vector3D());
      m_mesh->AddColor(Math::Color(0.0f, 0.0f, 0.0f, 1.0f));
      m_mesh->AddTexCoord(coordinates[v]);
      m_mesh->AddIndex(6 * i + v);
    }
  }
}

ParticleSystem::ParticleSystem(const ParticleSystem& other)
    : Node(other),
      m_texture(other.m_texture),
      m_particles(other.m_particles),
      m_mesh(static_cast<Mesh*>(other.m_mesh->Clone())),
      m_blendSource(other.m_blendSource),
      m_blendDestination(other.m_blendDestination),
      m_particleWidth(other.m_particleWidth),
      m_particleHeight(other.m_particleHeight),
      m_useLocalCoordinates(other.m_useLocalCoordinates) {}

ParticleSystem::~ParticleSystem() = default;

Core::Object* ParticleSystem::Clone() const { return new ("Engine_ParticleSystem", __LINE__) ParticleSystem(*this); }

Core::SmartPointer<Renderer::ITexture> ParticleSystem::GetTexture() const {
  return static_cast<Renderer::ITexture*>(m_texture.Get());
}

void ParticleSystem::SetBoundingSize(float size) {
  const float h = size / 2.0f;
  Math::BoundingBox box;
  const float corners[8][3] = {{h, h, 0},  {-h, h, 0},  {-h, h, -1},  {h, h, -1},
                               {h, -h, 0}, {-h, -h, 0}, {-h, -h, -1}, {h, -h, -1}};
  for (int i = 0; i < 8; ++i) box.corners[i] = Math::Vector3D(corners[i][0], corners[i][1], corners[i][2]);
  m_boundingVolume.Set(box);
}

void ParticleSystem::GetWorldBoundingBox(Math::BoundingBox& out) {
  m_boundingVolume.Transform(GetParentWorld());
  out = m_boundingVolume.worldBox;
}

void ParticleSystem::Render() {
  if (!m_visible) return;
  const Math::Matrix4x4& parentWorld = GetParentWorld();
  if (!m_screenSpace) {
    m_boundingVolume.Transform(parentWorld);
    if (IsCulled(m_boundingVolume.worldBox)) return;
  }
  RenderQueue* queue = SceneGraph::GetActiveQueue();
  Renderer::IRenderer* renderer = queue ? queue->GetRenderer() : nullptr;
  if (queue == nullptr) return;

  // Billboard: the inverse view's rotation turns each quad to face the camera.
  Math::Matrix4x4 billboard;
  if (renderer != nullptr) billboard = renderer->GetViewMatrix().GetInverse();
  billboard.m[12] = billboard.m[13] = billboard.m[14] = 0.0f;

  for (uint32_t i = 0; i < m_particles.size(); ++i) {
    const Particle& p = m_particles[i];
    const float w = 0.5f * m_particleWidth * p.scaleX;
    const float h = 0.5f * m_particleHeight * p.scaleY;
    const Math::Matrix4x4 m =
        Math::Matrix4x4::MakeTranslation(p.x, p.y, p.z) * billboard * Math::Matrix4x4::MakeRotationZ(p.rotation);
    const Math::Vector3D lowerLeft = m * Math::Vector3D(-w, -h, 0.0f);
    const Math::Vector3D lowerRight = m * Math::Vector3D(w, -h, 0.0f);
    const Math::Vector3D upperRight = m * Math::Vector3D(w, h, 0.0f);
    const Math::Vector3D upperLeft = m * Math::Vector3D(-w, h, 0.0f);
    const Math::Vector3D corners[6] = {lowerLeft, lowerRight, upperRight, upperRight, upperLeft, lowerLeft};
    const Math::Color color(p.r, p.g, p.b, p.a);
    for (uint32_t v = 0; v < 6; ++v) {
      m_mesh->SetPosition(6 * i + v, corners[v]);
      m_mesh->SetColor(6 * i + v, color);
    }
  }

  RenderItem item;
  item.texture = GetTexture();
  item.mesh = m_mesh;
  if (m_useLocalCoordinates) {
    item.modelMatrix = parentWorld;
  } else {
    // Positions are world positions, drawn at the parent's depth.
    item.modelMatrix = Math::Matrix4x4::MakeTranslation(0.0f, 0.0f, parentWorld.m[14]);
  }
  item.primitive = 4;
  item.meshPart = 0;
  item.blendSource = static_cast<int32_t>(m_blendSource);
  item.blendDestination = static_cast<int32_t>(m_blendDestination);
  item.customBlend = 1;
  item.screenSpace = m_screenSpace;
  queue->AddRenderItem(item);
}

}  // namespace Engine
