// Particle systems, lines and circles, and the mesh container they build on.
#include <gtest/gtest.h>

#include <cmath>

#include "SceneTestHelpers.h"
#include "scene/Engine_Lines.h"
#include "scene/Engine_ParticleSystem.h"
#include "scene/Engine_SceneGraph.h"

namespace {

using Core::SmartPointer;

class DrawablesTest : public SceneTest::SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    texture = new Renderer::FakeTexture("spark.png", 8, 4, 5);
  }

  SmartPointer<Renderer::ITexture> texture;
};

void ExpectNear(const Math::Vector3D& v, float x, float y, float z) {
  EXPECT_NEAR(v.x, x, 1e-4f);
  EXPECT_NEAR(v.y, y, 1e-4f);
  EXPECT_NEAR(v.z, z, 1e-4f);
}

TEST_F(DrawablesTest, ParticlesBecomeCameraFacingQuads) {
  SmartPointer<Engine::TransformationGroup> place(new Engine::TransformationGroup());
  place->SetTransform(Math::Matrix4x4::MakeTranslation(100, 200, -7));
  SmartPointer<Engine::ParticleSystem> system(new Engine::ParticleSystem(texture, 2));
  place->AddChild(system);
  scene->AddChild(place);
  scene->UpdateFrame(0.0f);
  auto& particles = system->GetParticles();
  particles[0] = Engine::Particle{1, 2, 0, 1, 1, 0, 0.1f, 0.2f, 0.3f, 0.4f};
  particles[1] = Engine::Particle{0, 0, 0, 2, 2, 90, 1, 1, 1, 0};
  system->SetBlendFactors(Renderer::BlendFactor::SourceAlpha, Renderer::BlendFactor::One);
  system->Render();

  const auto& positions = system->GetMesh()->GetPositions();
  // Particle 0: 8 x 4 pixels at (1, 2): corners +-4, +-2.
  ExpectNear(positions[0], -3, 0, 0);
  ExpectNear(positions[1], 5, 0, 0);
  ExpectNear(positions[2], 5, 4, 0);
  ExpectNear(positions[4], -3, 4, 0);
  ExpectNear(positions[5], -3, 0, 0);
  EXPECT_EQ(system->GetMesh()->GetColors()[3], Math::Color(0.1f, 0.2f, 0.3f, 0.4f));
  // Particle 1, doubled and turned a quarter: (-8, -4) goes to (4, -8).
  ExpectNear(positions[6], 4, -8, 0);

  ASSERT_EQ(Queue().GetBlendedItems().size(), 1u);
  const auto& item = Queue().GetBlendedItems()[0];
  EXPECT_TRUE(item.customBlend);
  EXPECT_EQ(item.effect.Get(), Queue().GetParticleEffect().Get());
  EXPECT_EQ(item.blendDestination, static_cast<int32_t>(Renderer::BlendFactor::One));
  EXPECT_EQ(item.modelMatrix, Math::Matrix4x4::MakeTranslation(100, 200, -7));

  // World coordinates: only the parent's depth remains.
  system->SetUseLocalCoordinates(false);
  system->Render();
  EXPECT_EQ(Queue().GetBlendedItems()[1].modelMatrix, Math::Matrix4x4::MakeTranslation(0, 0, -7));

  FlushFresh();
  ASSERT_EQ(renderer->draws.size(), 2u);
  EXPECT_EQ(renderer->draws[0].count, 12u);
  EXPECT_EQ(renderer->draws[0].boundTexture, 5u);
}

TEST_F(DrawablesTest, BillboardsTurnWithTheView) {
  SmartPointer<Engine::ParticleSystem> system(new Engine::ParticleSystem(texture, 1));
  system->GetParticles()[0] = Engine::Particle{0, 0, 0, 1, 1, 0, 1, 1, 1, 1};
  // The view turned a quarter about z: the quad turns back so that it faces the camera unchanged.
  renderer->SetViewMatrix(Math::Matrix4x4::MakeRotationZ(90));
  system->Render();
  ExpectNear(system->GetMesh()->GetPositions()[1], -2, -4, 0);  // (4, -2) turned by -90 degrees
}

TEST_F(DrawablesTest, EmptyParticleSystemSubmitsAnItemThatDrawsNothing) {
  SmartPointer<Engine::ParticleSystem> system(new Engine::ParticleSystem(texture, 0));
  system->Render();
  ASSERT_EQ(Queue().GetBlendedItems().size(), 1u);
  FlushFresh();
  EXPECT_TRUE(renderer->draws.empty());
}

TEST_F(DrawablesTest, CirclePoints) {
  Engine::Circle quarter(10.0f, 90);
  const auto& points = quarter.GetPoints();
  ASSERT_EQ(points.size(), 10u);
  ExpectNear(points[0], 10, 0, 0);  // the degenerate first segment
  ExpectNear(points[1], 10, 0, 0);
  ExpectNear(points[3], 0, 10, 0);
  ExpectNear(points[5], -10, 0, 0);
  ExpectNear(points[9], 10, 0, 0);

  Engine::Circle open(10.0f, 7);
  const auto& last = open.GetPoints().back();
  ExpectNear(last, 10.0f * std::cos(357.0f * 3.14159265f / 180.0f), 10.0f * std::sin(357.0f * 3.14159265f / 180.0f), 0);
  EXPECT_EQ(open.GetPoints().size(), 2u * 52u);

  // A step below one degree is one degree (a step of 0 would never end).
  Engine::Circle zero(1.0f, 0);
  EXPECT_EQ(zero.GetPoints().size(), 2u * 361u);
  Engine::Circle negative(1.0f, -5);
  EXPECT_EQ(negative.GetPoints().size(), 2u * 361u);
}

TEST_F(DrawablesTest, LinesSubmitLineListsWithOpacity) {
  SmartPointer<Engine::Lines> lines(new Engine::Lines());
  lines->Render();
  EXPECT_TRUE(Queue().GetBlendedItems().empty());
  lines->AddLine(Math::Vector3D(0, 0, 0), Math::Vector3D(1, 1, 0));
  lines->AddLine(Math::Vector3D(2, 0, 0), Math::Vector3D(3, 1, 0));
  lines->SetPointB(1, Math::Vector3D(9, 9, 9));
  EXPECT_EQ(lines->GetPointB(1)->x, 9.0f);
  lines->SetColor(Math::Color(1, 1, 1, 0.8f));
  lines->SetOpacity(0.5f);
  lines->Render();
  ASSERT_EQ(Queue().GetBlendedItems().size(), 1u);
  EXPECT_EQ(Queue().GetBlendedItems()[0].color.a, 0.5f);
  EXPECT_EQ(Queue().GetBlendedItems()[0].vertexCount, 4u);
  FlushFresh();
  ASSERT_EQ(renderer->draws.size(), 1u);
  EXPECT_EQ(renderer->draws[0].primitive, 1);
  EXPECT_EQ(renderer->draws[0].count, 4u);
}

TEST_F(DrawablesTest, MeshClonesAreIndependentAndClearKeepsCapacity) {
  SmartPointer<Engine::Mesh> mesh(new Engine::Mesh());
  mesh->AddPosition(Math::Vector3D(1, 2, 3));
  mesh->AddReference(SmartPointer<Core::Object>(texture.Get()));
  SmartPointer<Engine::Mesh> clone(static_cast<Engine::Mesh*>(mesh->Clone()));
  clone->SetPosition(0, Math::Vector3D(7, 7, 7));
  EXPECT_EQ(mesh->GetPositions()[0].x, 1.0f);
  EXPECT_EQ(clone->GetReference(0).Get(), mesh->GetReference(0).Get());
  const size_t capacity = mesh->GetPositions().capacity();
  mesh->Clear();
  mesh->AddPosition(Math::Vector3D(4, 0, 0));
  EXPECT_EQ(mesh->GetPositionCount(), 1u);
  EXPECT_EQ(mesh->GetPositions().capacity(), capacity);

  // With colours their array is handed over; without, the array handed over is null.
  mesh->ResizeColors(1);
  renderer->ClearLog();
  mesh->BindArrays(renderer);
  EXPECT_EQ(renderer->CountCalls("SetColorArray"), 1u);
  EXPECT_NE(renderer->colorArray, nullptr);
  mesh->ResizeColors(0);
  renderer->ClearLog();
  mesh->BindArrays(renderer);
  EXPECT_EQ(renderer->CountCalls("SetColorArray"), 1u);
  EXPECT_EQ(renderer->colorArray, nullptr);
}

}  // namespace
