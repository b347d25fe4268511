// Cameras and viewports: projection and view loaded for one view and put back, viewport and scissor
// applied and restored exactly, and the order of a whole view.
#include <gtest/gtest.h>

#include <algorithm>

#include "SceneTestHelpers.h"
#include "scene/Engine_Camera.h"
#include "scene/Engine_SceneGraph.h"
#include "scene/Engine_Viewport.h"

namespace {

using Core::SmartPointer;

class CameraTest : public SceneTest::SceneFixture {
 protected:
  CameraTest() : SceneFixture(true, 800, 600) {}
  size_t IndexOf(const std::string& call, size_t from = 0) const {
    auto found = std::find(renderer->calls.begin() + static_cast<long>(from), renderer->calls.end(), call);
    return static_cast<size_t>(found - renderer->calls.begin());
  }
};

TEST_F(CameraTest, SetupViewLoadsProjectionAndInverseWorldThenRestores) {
  SmartPointer<Engine::TransformationGroup> rig(new Engine::TransformationGroup());
  rig->SetTransform(Math::Matrix4x4::MakeTranslation(5, 6, 100));
  SmartPointer<Engine::Camera> camera(new Engine::Camera(60.0f, 2.0f, 500.0f));
  rig->AddChild(camera);
  scene->AddChild(rig);
  scene->UpdateFrame(0.0f);
  EXPECT_EQ(camera->GetPosition().z, 100.0f);

  const Math::Matrix4x4 oldProjection = Math::Matrix4x4::MakeScale(2, 2, 2);
  const Math::Matrix4x4 oldView = Math::Matrix4x4::MakeTranslation(1, 1, 1);
  renderer->SetProjectionMatrix(oldProjection);
  renderer->SetViewMatrix(oldView);
  camera->SetupView(renderer.Get(), 400, 200);
  EXPECT_EQ(renderer->GetProjectionMatrix(), Math::Matrix4x4::MakePerspective(60.0f, 2.0f, 2.0f, 500.0f));
  EXPECT_EQ(renderer->GetViewMatrix(), Math::Matrix4x4::MakeTranslation(5, 6, 100).GetInverse());
  Math::Frustum built;
  camera->BuildFrustum(built, 400, 200);
  EXPECT_EQ(built.projection, camera->GetFrustum().projection);
  camera->RestoreView(renderer.Get());
  EXPECT_EQ(renderer->GetProjectionMatrix(), oldProjection);
  EXPECT_EQ(renderer->GetViewMatrix(), oldView);
}

TEST_F(CameraTest, ViewportApplyAndRestoreLeaveTheRendererAsItWas) {
  Renderer::Viewport before;
  before.x = 3;
  before.y = 4;
  before.width = 50;
  before.height = 60;
  before.nearDepth = 0.25f;
  renderer->SetViewport(before);
  Renderer::ScissorState scissorBefore;
  scissorBefore.x = 7;
  scissorBefore.width = 33;
  scissorBefore.enabled = 0;
  renderer->SetScissorState(scissorBefore);

  Engine::Viewport viewport(10, 20, 300, 200);
  viewport.Apply(renderer.Get());
  Renderer::Viewport applied = renderer->GetViewport();
  EXPECT_EQ(applied.x, 10);
  EXPECT_EQ(applied.height, 200);
  Renderer::ScissorState scissor;
  renderer->GetScissorState(scissor);
  EXPECT_EQ(scissor.enabled, 1);
  EXPECT_EQ(scissor.width, 300);
  viewport.Restore(renderer.Get());
  const Renderer::Viewport after = renderer->GetViewport();
  EXPECT_EQ(after.x, 3);
  EXPECT_EQ(after.width, 50);
  EXPECT_EQ(after.nearDepth, 0.25f);
  Renderer::ScissorState scissorAfter;
  renderer->GetScissorState(scissorAfter);
  EXPECT_TRUE(scissorAfter == scissorBefore);

  // Clearing uses the viewport's colour; without a background nothing is queued.
  viewport.SetClearColor(Math::Color(0.2f, 0.4f, 0.6f, 1.0f));
  viewport.Clear(renderer.Get());
  ASSERT_FALSE(renderer->colorClears.empty());
  EXPECT_EQ(renderer->colorClears.back(), Math::Color(0.2f, 0.4f, 0.6f, 1.0f));
  viewport.DrawBackground(renderer.Get());
  EXPECT_TRUE(scene->GetRenderQueue().GetTextContexts().empty());
  SceneTest::RegisterTextureSize("back.png", 64, 64);
  viewport.SetBackground("back.png");
  viewport.DrawBackground(renderer.Get());
  ASSERT_EQ(scene->GetRenderQueue().GetTextContexts().size(), 1u);
  EXPECT_EQ(scene->GetRenderQueue().GetTextContexts()[0].corners[2].x, 310.0f);
}

TEST_F(CameraTest, RenderViewAppliesDrawsClearsFlushesAndRestoresInOrder) {
  SmartPointer<Engine::Camera> camera(new Engine::Camera(45.0f, 1.0f, 1000.0f));
  SmartPointer<Engine::Viewport> viewport(new Engine::Viewport(0, 0, 400, 300));
  scene->AddChild(camera);
  scene->UpdateFrame(0.0f);
  const Math::Matrix4x4 viewBefore = renderer->GetViewMatrix();
  renderer->ClearLog();
  scene->RenderView(camera, viewport);
  const size_t viewportSet = IndexOf("SetViewport");
  const size_t projection = IndexOf("SetProjectionMatrix");
  const size_t clear = IndexOf("ClearBuffers");
  const size_t restoreProjection = IndexOf("SetProjectionMatrix", projection + 1);
  const size_t restoreViewport = IndexOf("SetViewport", viewportSet + 1);
  EXPECT_LT(viewportSet, projection);
  EXPECT_LT(projection, clear);
  EXPECT_LT(clear, restoreProjection);
  EXPECT_LT(restoreProjection, restoreViewport);
  EXPECT_LT(restoreViewport, renderer->calls.size());
  EXPECT_EQ(renderer->GetViewMatrix(), viewBefore);
  EXPECT_EQ(scene->GetFrustum().projection, camera->GetFrustum().projection);

  // ClearScreen clears the colour buffer over the whole window and puts the viewport back.
  scene->ClearScreen(Math::Color(1, 0, 0, 1));
  EXPECT_EQ(renderer->colorClears.back(), Math::Color(1, 0, 0, 1));
}

}  // namespace
