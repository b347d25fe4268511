// Routing, sort order and state handling of the render queue, observed through the fake renderer.
#include <gtest/gtest.h>

#include <vector>

#include "SceneTestHelpers.h"
#include "renderer/Renderer_AlphaBlendingState.h"
#include "scene/Engine_RenderQueue.h"
#include "scene/Engine_SceneGraph.h"

namespace {

class RenderQueueTest : public SceneTest::SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    scene->SetViewportIndex(0);
  }

  // A mesh whose part i covers indices 10 i .. 10 i + 9; parts are opaque unless listed.
  static Core::SmartPointer<Engine::Mesh> MakeMesh(uint32_t parts, uint8_t transparent = 0) {
    Core::SmartPointer<Engine::Mesh> mesh(new Engine::Mesh());
    for (uint32_t i = 0; i < parts; ++i) mesh->AddPart(Engine::MeshPart{10 * i, 10 * i + 9, -1, transparent});
    for (uint32_t i = 0; i < 10 * parts; ++i) {
      mesh->AddPosition(Math::Vector3D(static_cast<float>(i), 0, 0));
      mesh->AddIndex(i);
    }
    return mesh;
  }
  static Engine::RenderItem MeshItem(const Core::SmartPointer<Engine::Mesh>& mesh, int32_t part, float z = 0.0f) {
    Engine::RenderItem item;
    item.mesh = mesh;
    item.meshPart = part;
    item.modelMatrix = Math::Matrix4x4::MakeTranslation(0, 0, z);
    return item;
  }

};

TEST_F(RenderQueueTest, RoutesItemsIntoTheirLists) {
  // A shared-quad item gets the sprite effect and the quad in the caller's record and is blended.
  Engine::RenderItem sprite;
  sprite.useSharedQuad = 1;
  sprite.meshPart = 0;
  Queue().AddRenderItem(sprite);
  EXPECT_EQ(sprite.effect.Get(), Queue().GetSpriteEffect().Get());
  EXPECT_EQ(sprite.mesh.Get(), Queue().GetSharedQuad().Get());
  ASSERT_EQ(Queue().GetBlendedItems().size(), 1u);

  // An opaque part without a transparent effect is opaque; a transparent effect sends it to blending.
  auto mesh = MakeMesh(2);
  auto opaque = MeshItem(mesh, 0);
  Queue().AddRenderItem(opaque);
  EXPECT_EQ(Queue().GetOpaqueItems().size(), 1u);
  auto transparentEffect = Renderer::CreateTexturedAlphaEffect();
  transparentEffect->transparent = 1;
  auto blended = MeshItem(mesh, 1);
  blended.effect = transparentEffect;
  Queue().AddRenderItem(blended);
  EXPECT_EQ(Queue().GetBlendedItems().size(), 2u);

  // customBlend swaps in the particle effect, but routing follows the effect it came with.
  auto custom = MeshItem(mesh, 1);
  custom.effect = transparentEffect;
  custom.customBlend = 1;
  Queue().AddRenderItem(custom);
  EXPECT_EQ(custom.effect.Get(), Queue().GetParticleEffect().Get());
  EXPECT_EQ(Queue().GetBlendedItems().size(), 3u);
  auto customOpaque = MeshItem(mesh, 0);
  customOpaque.customBlend = 1;
  Queue().AddRenderItem(customOpaque);
  EXPECT_EQ(Queue().GetOpaqueItems().size(), 2u);

  // Mesh-less items: points and lines are blended, anything else is dropped.
  float points[6] = {0, 0, 0, 1, 1, 0};
  Engine::RenderItem line;
  line.vertexArray = points;
  line.vertexCount = 2;
  line.primitive = 1;
  Queue().AddRenderItem(line);
  line.primitive = 0;
  Queue().AddRenderItem(line);
  line.primitive = 4;
  Queue().AddRenderItem(line);
  EXPECT_EQ(Queue().GetBlendedItems().size(), 5u);
  EXPECT_EQ(Queue().GetOpaqueItems().size(), 2u);
}

TEST_F(RenderQueueTest, ScreenSpaceItemsAreKeptOnlyAtTheLastViewport) {
  scene->SetViewportCount(2);
  scene->SetViewportIndex(0);
  Engine::RenderItem item;
  item.useSharedQuad = 1;
  item.meshPart = 0;
  item.screenSpace = 1;
  Queue().AddRenderItem(item);
  EXPECT_TRUE(Queue().GetScreenSpaceItems().empty());
  FlushFresh();
  EXPECT_EQ(renderer->CountCalls("SetScissorState"), 0u);  // not the last viewport: no screen pass

  scene->SetViewportIndex(1);
  Engine::RenderItem again;
  again.useSharedQuad = 1;
  again.meshPart = 0;
  again.screenSpace = 1;
  Queue().AddRenderItem(again);
  ASSERT_EQ(Queue().GetScreenSpaceItems().size(), 1u);
  renderer->ClearLog();
  const Renderer::Viewport before = renderer->GetViewport();
  const Math::Matrix4x4 viewBefore = renderer->GetViewMatrix();
  scene->FlushRenderQueue();
  ASSERT_EQ(renderer->draws.size(), 1u);
  EXPECT_EQ(renderer->CountCalls("SetScissorState"), 2u);
  EXPECT_TRUE(Queue().GetScreenSpaceItems().empty());
  // Everything the pass changed is back.
  EXPECT_EQ(renderer->GetViewport().width, before.width);
  EXPECT_EQ(renderer->GetViewMatrix(), viewBefore);
}

TEST_F(RenderQueueTest, OpaqueItemsSortByEffectMeshAndPartAndBlendedBackToFront) {
  auto mesh = MakeMesh(3);
  auto effect = Renderer::CreateTexturedAlphaEffect();
  // Submitted: effect part 2, no effect part 1, effect part 0, no effect part 0.
  auto a = MeshItem(mesh, 2);
  a.effect = effect;
  auto b = MeshItem(mesh, 1);
  auto c = MeshItem(mesh, 0);
  c.effect = effect;
  auto d = MeshItem(mesh, 0);
  for (auto* item : {&a, &b, &c, &d}) Queue().AddRenderItem(*item);
  ASSERT_EQ(Queue().GetOpaqueItems().size(), 4u);

  FlushFresh();
  ASSERT_EQ(renderer->draws.size(), 4u);
  // Items without effect first (parts 0, 1), then the effect's (parts 0, 2).
  EXPECT_EQ(renderer->draws[0].first, 0u);
  EXPECT_EQ(renderer->draws[1].first, 10u);
  EXPECT_EQ(renderer->draws[2].first, 0u);
  EXPECT_EQ(renderer->draws[3].first, 20u);

  // Blended: the item at z -10 before the one at z 5, whatever the order of submission.
  auto blendMesh = MakeMesh(2, 1);
  auto near = MeshItem(blendMesh, 1, 5.0f);
  auto far = MeshItem(blendMesh, 0, -10.0f);
  Queue().AddRenderItem(near);
  Queue().AddRenderItem(far);
  renderer->draws.clear();
  scene->FlushRenderQueue();
  ASSERT_EQ(renderer->draws.size(), 2u);
  EXPECT_EQ(renderer->draws[0].first, 0u);
  EXPECT_EQ(renderer->draws[1].first, 10u);
}

TEST_F(RenderQueueTest, BlendedItemsOfEqualDepthDrawInTheirOrderOfSubmissionEveryFrame) {
  // Enough items that an unstable sort reorders equal keys (short runs are sorted stably anyway):
  // three depths, submitted interleaved, each item recognisable by its mesh part.
  constexpr uint32_t kCount = 60;
  auto mesh = MakeMesh(kCount, 1);
  const float depths[] = {0.0f, -2.0f, 0.0f, 3.0f};
  for (int frame = 0; frame < 3; ++frame) {
    for (uint32_t i = 0; i < kCount; ++i) {
      auto item = MeshItem(mesh, static_cast<int32_t>(i), depths[i % 4]);
      Queue().AddRenderItem(item);
    }
    FlushFresh();
    ASSERT_EQ(renderer->draws.size(), kCount);
    std::vector<uint32_t> expected;
    for (float depth : {-2.0f, 0.0f, 3.0f}) {
      for (uint32_t i = 0; i < kCount; ++i) {
        if (depths[i % 4] == depth) expected.push_back(10 * i);
      }
    }
    for (uint32_t i = 0; i < kCount; ++i) EXPECT_EQ(renderer->draws[i].first, expected[i]) << "frame " << frame << " draw " << i;
  }
}

TEST_F(RenderQueueTest, EveryDrawMeetsItsOwnStatesAndTheFlushLeavesThemAsItFoundThem) {
  Renderer::AlphaBlendingState blendBefore;
  renderer->GetAlphaBlendingState(blendBefore);
  Core::SmartPointer<Renderer::ITexture> texture(new Renderer::FakeTexture("sheet.png", 64, 64, 7));
  Core::SmartPointer<Renderer::ITexture> other(new Renderer::FakeTexture("other.png", 64, 64, 8));
  Engine::RenderItem sprite;
  sprite.useSharedQuad = 1;
  sprite.meshPart = 0;
  sprite.texture = texture;
  Queue().AddRenderItem(sprite);

  auto mesh = MakeMesh(1, 1);
  Engine::RenderItem particles = MeshItem(mesh, 0);
  particles.customBlend = 1;
  particles.blendSource = Renderer::BlendFactor::One;
  particles.blendDestination = Renderer::BlendFactor::One;
  particles.texture = texture;
  Queue().AddRenderItem(particles);

  Engine::RenderItem last = sprite;
  last.texture = other;
  Queue().AddRenderItem(last);

  FlushFresh();
  ASSERT_EQ(renderer->draws.size(), 3u);
  EXPECT_EQ(renderer->draws[0].boundTexture, 7u);
  EXPECT_EQ(renderer->draws[1].boundTexture, 7u);
  EXPECT_EQ(renderer->draws[2].boundTexture, 8u);
  // The sprites blend by their alpha, the particles by the factors they asked for, though the
  // first two share their texture's binding.
  for (size_t i : {0u, 2u}) {
    EXPECT_EQ(renderer->draws[i].blending.source, Renderer::BlendFactor::SourceAlpha) << i;
    EXPECT_EQ(renderer->draws[i].blending.destination, Renderer::BlendFactor::OneMinusSourceAlpha) << i;
  }
  EXPECT_EQ(renderer->draws[1].blending.source, Renderer::BlendFactor::One);
  EXPECT_EQ(renderer->draws[1].blending.destination, Renderer::BlendFactor::One);
  EXPECT_EQ(renderer->CountCalls("SetTexture"), 4u);  // each texture bound once, and unbound
  EXPECT_FALSE(renderer->GetTexture(0));
  Renderer::AlphaBlendingState blendAfter;
  renderer->GetAlphaBlendingState(blendAfter);
  EXPECT_TRUE(blendAfter == blendBefore);
  // The particle effect took the item's blend factors.
  EXPECT_EQ(Queue().GetParticleEffect()->blendSource, Renderer::BlendFactor::One);

  // An empty flush draws nothing.
  renderer->ClearLog();
  renderer->draws.clear();
  scene->FlushRenderQueue();
  EXPECT_TRUE(renderer->draws.empty());
  EXPECT_EQ(renderer->CountCalls("DrawRange") + renderer->CountCalls("Draw"), 0u);
}

TEST_F(RenderQueueTest, TextContextsShareStatesWithTheirNeighbours) {
  Core::SmartPointer<Renderer::ITexture> texture(new Renderer::FakeTexture("font.png", 64, 64, 9));
  for (int i = 0; i < 3; ++i) {
    Engine::TextRenderContext context;
    context.SetTexture(texture);
    Queue().AddTextRenderContext(context);
    EXPECT_TRUE(context.GetEffect());  // the caller's context got the image effect
  }
  Engine::TextRenderContext untextured;
  Queue().AddTextRenderContext(untextured);
  ASSERT_EQ(Queue().GetTextContexts().size(), 3u);
  FlushFresh();
  EXPECT_EQ(renderer->draws.size(), 3u);
  EXPECT_EQ(renderer->CountCalls("SetTexture"), 2u);  // bound once, unbound once
  EXPECT_TRUE(Queue().GetTextContexts().empty());
}

TEST_F(RenderQueueTest, ScreenObjectsDrawByDepthEachWithItsOwnStates) {
  Core::SmartPointer<Renderer::ITexture> texture(new Renderer::FakeTexture("gui.png", 64, 64, 11));
  auto effect = Renderer::CreateScreenImageEffect();
  const float depths[3] = {5.0f, -1.0f, 2.0f};
  std::vector<Core::SmartPointer<Engine::TextRenderContext>> kept;  // the draws point into them
  for (float depth : depths) {
    Core::SmartPointer<Engine::TextRenderContext> object(new Engine::TextRenderContext());
    object->SetTexture(texture);
    object->SetEffect(effect);
    object->depth = depth;
    object->corners[1] = Math::Vector3D(depth, 0, 0);  // tells the draws apart
    kept.push_back(object);
    Queue().AddScreenObject(object);
  }
  Queue().AddScreenObject(Core::SmartPointer<Engine::ScreenObject>(new Engine::TextRenderContext()));  // not ready
  ASSERT_EQ(Queue().GetScreenObjectCount(), 3u);
  renderer->ClearLog();
  Queue().DrawScreenObjects();
  ASSERT_EQ(renderer->draws.size(), 3u);
  EXPECT_EQ(renderer->draws[0].vertices[3], -1.0f);
  EXPECT_EQ(renderer->draws[1].vertices[3], 2.0f);
  EXPECT_EQ(renderer->draws[2].vertices[3], 5.0f);
  EXPECT_EQ(renderer->CountCalls("SetTexture"), 6u);
  EXPECT_EQ(Queue().GetScreenObjectCount(), 0u);

  // An object with no indices binds its states and arrays but draws nothing.
  struct EmptyObject : Engine::TextRenderContext {
    uint32_t GetIndexCount() const override { return 0; }
  };
  Core::SmartPointer<EmptyObject> empty(new EmptyObject());
  empty->SetEffect(effect);
  Queue().AddScreenObject(empty);
  renderer->ClearLog();
  renderer->draws.clear();
  Queue().DrawScreenObjects();
  EXPECT_EQ(renderer->CountCalls("SetVertexArray"), 2u);
  EXPECT_EQ(renderer->CountCalls("DrawRange"), 0u);
}

}  // namespace
