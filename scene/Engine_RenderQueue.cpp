#include "scene/Engine_RenderQueue.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_Pass.h"
#include "renderer/Renderer_ScissorState.h"
#include "renderer/Renderer_Technique.h"
#include "scene/Engine_Camera.h"
#include "scene/Engine_SceneGraph.h"

namespace Engine {
namespace {
RenderQueue* g_renderQueue = nullptr;

template <typename T>
bool PointerLess(const T* a, const T* b) {
  return std::less<const T*>()(a, b);
}

struct EffectParts {
  Core::SmartPointer<Renderer::Technique> technique;
  Core::SmartPointer<Renderer::Pass> pass;
};

EffectParts GetParts(Renderer::Effect* effect) {
  EffectParts parts;
  if (effect == nullptr) return parts;
  parts.technique = effect->GetTechnique(0);
  if (parts.technique) parts.pass = parts.technique->GetPass(0);
  return parts;
}

// Whether the kinds of states the techniques save and restore, and those their passes set, are the
// same: then one's saved states put back what the other's pass set.
bool SetSameStates(const EffectParts& a, const EffectParts& b) {
  const auto sameKinds = [](uint32_t count, uint32_t otherCount, const auto& get, const auto& getOther) {
    if (count != otherCount) return false;
    for (uint32_t i = 0; i < count; ++i) {
      const Core::SmartPointer<Renderer::State> state = get(i);
      bool found = false;
      for (uint32_t j = 0; j < otherCount && !found; ++j) found = Renderer::IsSameKind(*state, *getOther(j));
      if (!found) return false;
    }
    return true;
  };
  if (a.technique.Get() == b.technique.Get() && a.pass.Get() == b.pass.Get()) return true;
  if (!a.pass != !b.pass) return false;
  const Renderer::Technique& t = *a.technique;
  const Renderer::Technique& u = *b.technique;
  if (!sameKinds(t.GetRestoreStateCount(), u.GetRestoreStateCount(), [&](uint32_t i) { return t.GetRestoreState(i); },
                 [&](uint32_t i) { return u.GetRestoreState(i); })) {
    return false;
  }
  if (!a.pass) return true;
  const Renderer::Pass& p = *a.pass;
  const Renderer::Pass& q = *b.pass;
  return sameKinds(p.GetStateCount(), q.GetStateCount(), [&](uint32_t i) { return p.GetState(i); },
                   [&](uint32_t i) { return q.GetState(i); });
}

void ArraysOff(Renderer::IRenderer* renderer) {
  renderer->SetColorArray(nullptr);
  renderer->SetSecondaryColorArray(nullptr);
  renderer->SetNormalArray(nullptr);
}

void ArraysAllOff(Renderer::IRenderer* renderer) {
  ArraysOff(renderer);
  renderer->SetVertexArray(nullptr);
  renderer->SetIndexArray16(nullptr);
  renderer->SetTextureCoordinateArray(0, nullptr);
}

// Binds the quad's arrays and draws it (the shared steps of text contexts and screen objects).
void DrawQuadArrays(Renderer::IRenderer* renderer, const ScreenObject& object, int32_t primitive) {
  renderer->SetModelMatrix(object.GetTransform());
  renderer->SetTextureMatrix(0, object.GetTextureMatrix());
  ArraysOff(renderer);
  renderer->SetVertexArray(&object.GetCorners()[0].x);
  renderer->SetIndexArray16(object.GetIndices());
  renderer->SetTextureCoordinateArray(0, &object.GetTexCoords()[0].x);
  renderer->SetColor(object.GetColor());
  renderer->SetPrimitiveType(primitive);
  const uint32_t count = object.GetIndexCount();
  if (count > 0) renderer->DrawRange(0, count - 1);
  ArraysAllOff(renderer);
}

Renderer::ScissorState MakeScissor(int32_t x, int32_t y, int32_t width, int32_t height, bool enabled) {
  Renderer::ScissorState scissor;
  scissor.x = x;
  scissor.y = y;
  scissor.width = width;
  scissor.height = height;
  scissor.enabled = enabled ? 1 : 0;
  return scissor;
}
}  // namespace

RenderQueue::RenderQueue() {
  g_renderQueue = this;
  m_lineEffect = Renderer::CreateLineListEffect();
  m_pointEffect = Renderer::CreatePointListEffect();
  m_spriteEffect = Renderer::CreateSpriteEffect();
  m_opaqueSpriteEffect = Renderer::CreateOpaqueSpriteEffect();
  m_screenImageEffect = Renderer::CreateScreenImageEffect();
  m_particleEffect = Renderer::CreateParticleEffect();

  m_quadMesh = new ("Internal_RenderQueue", 110) Mesh();
  m_quadMesh->AddPart(MeshPart{0, 5, -1, 1});
  const float positions[6][2] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}, {-0.5f, -0.5f}};
  const float coordinates[6][2] = {{0, 0}, {1, 0}, {1, 1}, {1, 1}, {0, 1}, {0, 0}};
  for (uint32_t i = 0; i < 6; ++i) {
    m_quadMesh->AddPosition(Math::Vector3D(positions[i][0], positions[i][1], 0.0f));
    m_quadMesh->AddIndex(i);
    m_quadMesh->AddTexCoord(Math::Vector2D(coordinates[i][0], coordinates[i][1]));
  }
}

RenderQueue::~RenderQueue() {
  m_quadMesh.Reset();
  m_particleEffect.Reset();
  m_screenImageEffect.Reset();
  m_opaqueSpriteEffect.Reset();
  m_spriteEffect.Reset();
  m_pointEffect.Reset();
  m_lineEffect.Reset();
  m_opaque.clear();
  m_screenSpace.clear();
  m_blended.clear();
  m_textContexts.clear();
  m_screenObjects.clear();
  m_camera.Reset();
  if (g_renderQueue == this) g_renderQueue = nullptr;
}

RenderQueue* RenderQueue::GetInstance() { return g_renderQueue; }

void RenderQueue::SetCamera(const Core::SmartPointer<Camera>& camera) { m_camera = camera.Get(); }

bool RenderQueue::IsLastViewport() const {
  if (m_sceneGraph == nullptr) return true;
  return m_sceneGraph->GetViewportIndex() + 1 == m_sceneGraph->GetViewportCount();
}

void RenderQueue::AddRenderItem(RenderItem& item) {
  if (item.useSharedQuad) {
    if (item.effect != m_spriteEffect.Get()) item.effect = m_spriteEffect;
    if (item.mesh != m_quadMesh.Get()) item.mesh = m_quadMesh;
    if (item.screenSpace) {
      if (IsLastViewport()) m_screenSpace.push_back(item);
    } else {
      m_blended.push_back(item);
    }
    return;
  }
  if (item.screenSpace) {
    if (!IsLastViewport()) return;
    if (item.customBlend) item.effect = m_particleEffect.Get();
    m_screenSpace.push_back(item);
    return;
  }
  if (item.mesh) {
    const bool transparentEffect = item.effect && item.effect->transparent != 0;
    if (item.customBlend) item.effect = m_particleEffect.Get();
    const uint32_t part = static_cast<uint32_t>(item.meshPart);
    // A part the mesh does not have is taken as transparent; the draw skips it anyway.
    const bool transparentPart = part >= item.mesh->GetPartCount() || item.mesh->GetPart(part).transparent != 0;
    if (!transparentPart && !transparentEffect) {
      m_opaque.push_back(item);
    } else {
      m_blended.push_back(item);
    }
    return;
  }
  if (item.primitive == 0 || item.primitive == 1) m_blended.push_back(item);
}

void RenderQueue::AddTextRenderContext(TextRenderContext& context) {
  if (!context.GetTexture()) return;
  context.SetEffect(m_screenImageEffect);
  m_textContexts.push_back(context);
}

void RenderQueue::AddScreenObject(const Core::SmartPointer<ScreenObject>& object) {
  if (object && object->IsReady()) m_screenObjects.push_back(object);
}

void RenderQueue::SortByDepth(std::vector<RenderItem>& items) {
  for (RenderItem& item : items) item.depth = item.modelMatrix.m[14];
  // Stable: items of equal depth keep their order of submission, the same every frame.
  std::stable_sort(items.begin(), items.end(),
                   [](const RenderItem& a, const RenderItem& b) { return a.depth < b.depth; });
}

void RenderQueue::Flush() {
  if (m_renderer == nullptr) return;
  DrawTextContexts();
  std::sort(m_opaque.begin(), m_opaque.end(), [](const RenderItem& a, const RenderItem& b) {
    if (a.effect.Get() != b.effect.Get()) return PointerLess(a.effect.Get(), b.effect.Get());
    if (a.mesh.Get() != b.mesh.Get()) return PointerLess(a.mesh.Get(), b.mesh.Get());
    return static_cast<uint32_t>(a.meshPart) < static_cast<uint32_t>(b.meshPart);
  });
  DrawItems(m_opaque, 0, m_opaque.size());
  SortByDepth(m_blended);
  SpareFill(m_blended, true);
  DrawFolded(m_blended);
  m_viewCleared = false;
  if (IsLastViewport()) DrawScreenSpace();
}

void RenderQueue::DrawItems(std::vector<RenderItem>& items, size_t begin, size_t end) {
  Renderer::IRenderer* renderer = m_renderer;
  const Math::Matrix4x4 view = renderer->GetViewMatrix();
  // Items in a row that bind one texture and set the same kinds of states share the binding and
  // one save and restore round them: each draw meets the states it would meet alone, and the
  // renderer (a software one above all) is spared checking again states set and put back between.
  EffectParts open;
  Renderer::ITexture* bound = nullptr;
  Renderer::Pass* applied = nullptr;
  const auto close = [&]() {
    if (!open.technique) return;
    open.technique->RestoreStates();
    renderer->SetTexture(0, nullptr);
    open = EffectParts();
    applied = nullptr;
  };
  for (size_t index = begin; index < end; ++index) {
    RenderItem& item = items[index];
    if (item.mesh && static_cast<uint32_t>(item.meshPart) >= item.mesh->GetPartCount()) continue;
    if (item.ignoreView) renderer->SetViewMatrix(Math::Matrix4x4());
    if ((item.useSharedQuad || item.customBlend) && item.effect) item.effect->SetTexture(1, item.texture);

    Renderer::Effect* effect = item.primitive == 1   ? m_lineEffect.Get()
                               : item.primitive == 0 ? m_pointEffect.Get()
                                                     : item.effect.Get();
    const EffectParts parts = GetParts(effect);
    Core::SmartPointer<Renderer::ITexture> texture = effect ? effect->GetTexture(1) : nullptr;

    renderer->SetPrimitiveType(item.primitive);
    const bool joins = open.technique && parts.technique && texture.Get() == bound && SetSameStates(open, parts);
    if (!joins) {
      close();
      renderer->SetTexture(0, texture);
    }
    if (item.customBlend == 1 && effect != nullptr) {
      if (auto* particle = dynamic_cast<Renderer::ParticleEffect*>(effect)) {
        particle->blendSource = static_cast<uint32_t>(item.blendSource);
        particle->blendDestination = static_cast<uint32_t>(item.blendDestination);
      }
      effect->UpdateStates();
    }
    if (!joins && parts.technique) {
      parts.technique->SaveStates();
      open = parts;
      bound = texture.Get();
    }
    // A custom blend may have changed the pass since it was applied.
    if (parts.pass && (parts.pass.Get() != applied || item.customBlend == 1)) {
      parts.pass->Apply();
      applied = parts.pass.Get();
    }

    if (!item.mesh) {
      renderer->SetModelMatrix(item.modelMatrix);
      renderer->SetVertexArray(item.vertexArray);
      renderer->SetColor(item.color);
      renderer->Draw(item.vertexCount);
      renderer->SetVertexArray(nullptr);
      renderer->SetColorArray(nullptr);
    } else {
      Core::SmartPointer<Renderer::IRenderer> shared(renderer);
      item.mesh->BindArrays(shared);
      renderer->SetColor(item.color);
      renderer->SetModelMatrix(item.modelMatrix);
      renderer->SetTextureMatrix(0, item.textureMatrix);
      item.mesh->DrawPart(shared, static_cast<uint32_t>(item.meshPart));
      item.mesh->UnbindArrays(shared);
    }

    if (!open.technique) renderer->SetTexture(0, nullptr);
    if (item.ignoreView) renderer->SetViewMatrix(view);
  }
  close();
}

void RenderQueue::DrawTextContexts() {
  if (m_textContexts.empty()) return;
  Renderer::IRenderer* renderer = m_renderer;
  const Renderer::Viewport viewport = renderer->GetViewport();
  const Math::Matrix4x4 savedView = renderer->GetViewMatrix();
  const Math::Matrix4x4 savedProjection = renderer->GetProjectionMatrix();
  renderer->SetViewMatrix(Math::Matrix4x4());
  const auto right = static_cast<uint32_t>(viewport.x) + static_cast<uint32_t>(viewport.width);
  const auto top = static_cast<uint32_t>(viewport.y) + static_cast<uint32_t>(viewport.height);
  renderer->SetProjectionMatrix(Math::Matrix4x4::MakeOrtho2D(static_cast<float>(viewport.x), static_cast<float>(right),
                                                             static_cast<float>(viewport.y), static_cast<float>(top)));

  m_textContextStates.resize(m_textContexts.size());
  for (size_t i = 0; i < m_textContexts.size(); ++i) {
    Core::SmartPointer<Renderer::Effect> effect = m_textContexts[i].GetEffect();
    const EffectParts parts = GetParts(effect.Get());
    m_textContextStates[i].technique = parts.technique;
    m_textContextStates[i].pass = parts.pass;
    m_textContextStates[i].texture = m_textContexts[i].GetTexture().Get();
  }
  const TextContextStates none;
  for (size_t i = 0; i < m_textContexts.size(); ++i) {
    const TextContextStates& current = m_textContextStates[i];
    const TextContextStates& previous = i > 0 ? m_textContextStates[i - 1] : none;
    const TextContextStates& next = i + 1 < m_textContextStates.size() ? m_textContextStates[i + 1] : none;
    if (current.texture && current.texture != previous.texture) renderer->SetTexture(0, current.texture);
    if (current.technique && current.technique.Get() != previous.technique.Get()) current.technique->SaveStates();
    if (current.pass && current.pass.Get() != previous.pass.Get()) current.pass->Apply();
    DrawQuadArrays(renderer, m_textContexts[i], 4);
    if (current.technique && current.technique.Get() != next.technique.Get()) current.technique->RestoreStates();
    if (current.texture && current.texture != next.texture) renderer->SetTexture(0, nullptr);
  }
  for (TextContextStates& states : m_textContextStates) states = TextContextStates();
  renderer->SetTextureMatrix(0, Math::Matrix4x4());
  renderer->SetProjectionMatrix(savedProjection);
  renderer->SetViewMatrix(savedView);
}

void RenderQueue::DrawScreenSpace() {
  Renderer::IRenderer* renderer = m_renderer;
  if (m_screenSpace.empty()) return;
  const Renderer::RendererDescriptor descriptor = renderer->GetDescriptor();
  const auto width = static_cast<int32_t>(descriptor.width);
  const auto height = static_cast<int32_t>(descriptor.height);

  Renderer::ScissorState savedScissor;
  renderer->GetScissorState(savedScissor);
  renderer->SetScissorState(MakeScissor(0, 0, width, height, false));
  const Renderer::Viewport savedViewport = renderer->GetViewport();
  Renderer::Viewport full;
  full.width = width;
  full.height = height;
  renderer->SetViewport(full);

  SortByDepth(m_screenSpace);

  const Math::Matrix4x4 savedView = renderer->GetViewMatrix();
  const Math::Matrix4x4 savedProjection = renderer->GetProjectionMatrix();
  const float aspect = height != 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
  renderer->SetProjectionMatrix(Math::Matrix4x4::MakePerspective(45.0f, aspect, 1.0f, 10000.0f));
  // One unit in the plane z = 0 is one window pixel: the eye stands H / (2 tan 22.5 degrees) away.
  const double distance = static_cast<double>(height) / (2.0 * std::tan(3.14159265358979323846 / 8.0));
  renderer->SetViewMatrix(Math::Matrix4x4::MakeTranslation(0.0f, 0.0f, -static_cast<float>(distance)));

  SpareFill(m_screenSpace, false);
  DrawFolded(m_screenSpace);

  renderer->SetViewMatrix(savedView);
  renderer->SetProjectionMatrix(savedProjection);
  renderer->SetViewport(savedViewport);
  renderer->SetScissorState(savedScissor);
}

void RenderQueue::Clear() {
  m_opaque.clear();
  m_blended.clear();
  m_textContexts.clear();
  if (IsLastViewport()) m_screenSpace.clear();
}

void RenderQueue::DrawScreenObjects() {
  if (m_renderer == nullptr) {
    m_screenObjects.clear();
    return;
  }
  Renderer::IRenderer* renderer = m_renderer;
  std::stable_sort(m_screenObjects.begin(), m_screenObjects.end(),
            [](const Core::SmartPointer<ScreenObject>& a, const Core::SmartPointer<ScreenObject>& b) {
              return a->GetDepth() < b->GetDepth();
            });
  const Renderer::RendererDescriptor descriptor = renderer->GetDescriptor();
  const auto width = static_cast<int32_t>(descriptor.width);
  const auto height = static_cast<int32_t>(descriptor.height);
  Renderer::ScissorState savedScissor;
  renderer->GetScissorState(savedScissor);
  renderer->SetScissorState(MakeScissor(0, 0, width, height, false));
  const Renderer::Viewport savedViewport = renderer->GetViewport();
  Renderer::Viewport full;
  full.width = width;
  full.height = height;
  renderer->SetViewport(full);
  const Math::Matrix4x4 savedView = renderer->GetViewMatrix();
  renderer->SetViewMatrix(Math::Matrix4x4());
  const Math::Matrix4x4 savedProjection = renderer->GetProjectionMatrix();
  renderer->SetProjectionMatrix(
      Math::Matrix4x4::MakeOrtho2D(0.0f, static_cast<float>(width), 0.0f, static_cast<float>(height)));

  for (const Core::SmartPointer<ScreenObject>& object : m_screenObjects) {
    object->PrepareDraw();
    Core::SmartPointer<Renderer::Effect> effect = object->GetEffect();
    const EffectParts parts = GetParts(effect.Get());
    Core::SmartPointer<Renderer::ITexture> texture = object->GetTexture();
    if (texture) renderer->SetTexture(0, texture);
    if (parts.technique) parts.technique->SaveStates();
    if (parts.pass) parts.pass->Apply();
    DrawQuadArrays(renderer, *object, static_cast<int32_t>(object->GetPrimitiveCode()));
    if (parts.technique) parts.technique->RestoreStates();
    if (texture) renderer->SetTexture(0, nullptr);
  }

  renderer->SetTextureMatrix(0, Math::Matrix4x4());
  renderer->SetProjectionMatrix(savedProjection);
  renderer->SetViewMatrix(savedView);
  renderer->SetViewport(savedViewport);
  renderer->SetScissorState(savedScissor);
  m_screenObjects.clear();
}

}  // namespace Engine
