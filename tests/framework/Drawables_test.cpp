// Sprites and their animations, texts, circles, lines, cameras and viewports: what reaches their
// engine nodes, their copies and their stored forms, and drawing through the recording renderer.
#include <gtest/gtest.h>

#include "core/Core_File.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Shapes.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_SpriteAnimation.h"
#include "framework/Quillon_Text.h"
#include "framework/Quillon_Viewport.h"
#include "tests/framework/FrameworkTestSupport.h"
#include "tests/scene/SceneTestHelpers.h"

namespace {

using Core::SmartPointer;

class DrawablesTest : public FrameworkTest::FrameworkFixture {
 protected:
  void SetUp() override {
    FrameworkFixture::SetUp();
    SceneTest::RegisterTextureSize("sheet.png", 256, 128);
  }
  SmartPointer<Quillon::SpriteAnimation> Sheet(const std::string& name, size_t frames = 6) {
    SmartPointer<Quillon::SpriteAnimation> animation(
        new Quillon::SpriteAnimation("sheet.png", 4, 2, std::vector<float>(frames, 0.1f)));
    animation->SetName(name);
    return animation;
  }
};

TEST_F(DrawablesTest, AnimationCutsItsSheetIntoAGridOfFrames) {
  auto animation = Sheet("run");
  EXPECT_EQ(animation->GetFrameWidth(), 64u);
  EXPECT_EQ(animation->GetFrameHeight(), 64u);
  EXPECT_EQ(animation->GetFramesCount(), 6u);
  const Engine::SpriteFrame* frame = animation->GetEngineAnimation()->GetFrame(5);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->column, 1u);
  EXPECT_EQ(frame->row, 1u);
  EXPECT_EQ(animation->GetName(), "run");
  EXPECT_EQ(animation->GetFrameDelay(9), 0.0f);
  // A grid without columns gives no frame size instead of dividing by zero.
  Quillon::SpriteAnimation empty("sheet.png", 0, 2, {0.1f});
  EXPECT_EQ(empty.GetFrameWidth(), 0u);
}

TEST_F(DrawablesTest, SpriteForwardsToItsEngineSpriteOnlyOnChanges) {
  auto run = Sheet("run");
  auto jump = Sheet("jump", 3);
  SmartPointer<Quillon::Sprite> sprite(new Quillon::Sprite({run.Get(), jump.Get()}));
  EXPECT_EQ(sprite->GetAnimationsCount(), 2u);
  sprite->SetAnimationSpeed(-2.0f);
  EXPECT_EQ(sprite->GetAnimationSpeed(), 0.0f);
  sprite->SetAnimationSpeed(1.0f);
  sprite->SetPlaying(true);
  sprite->GetEngineSprite()->Update(0.05f);
  const float timer = sprite->GetEngineSprite()->GetFrameTimer();
  EXPECT_GT(timer, 0.0f);
  sprite->SetCurrentFrameIndex(sprite->GetCurrentFrameIndex(), true);  // same frame: untouched
  EXPECT_EQ(sprite->GetEngineSprite()->GetFrameTimer(), timer);
  sprite->SetCurrentAnimationName("jump", false);
  EXPECT_EQ(sprite->GetCurrentAnimationIndex(), 1u);
  EXPECT_EQ(sprite->GetFramesCount(1), 3u);
  EXPECT_EQ(sprite->GetFrameWidth(7), 0u);  // no such animation
  sprite->SetOpacity(0.5f);
  sprite->SetModulationColor(Math::Color(1.0f, 0.0f, 0.0f, 1.0f));
  EXPECT_EQ(sprite->GetEngineSprite()->GetOpacity(), 1.0f);  // shown from the next frame
  sprite->Tick(0.01f);
  EXPECT_EQ(sprite->GetEngineSprite()->GetOpacity(), 0.5f);
  EXPECT_EQ(sprite->GetEngineSprite()->GetModulationColor(), Math::Color(1.0f, 0.0f, 0.0f, 1.0f));
}

TEST_F(DrawablesTest, SpriteCopyHasItsOwnEngineSpriteAndNoDisplayObjects) {
  auto run = Sheet("run");
  SmartPointer<Quillon::Sprite> sprite(new Quillon::Sprite({run.Get()}));
  sprite->SetVisibleCollisionData(true);
  sprite->SetCollisionActorIndex(3);
  SmartPointer<Quillon::Sprite> copy(static_cast<Quillon::Sprite*>(sprite->Clone()));
  EXPECT_NE(copy->GetEngineSprite().Get(), sprite->GetEngineSprite().Get());
  EXPECT_EQ(copy->GetNode()->GetChild(0).Get(), copy->GetEngineSprite().Get());
  EXPECT_EQ(copy->GetCollisionActorIndex(), 3);
  EXPECT_TRUE(copy->GetVisibleCollisionData());
  EXPECT_EQ(copy->GetCollisionLinesCount(), 0u);
  copy->SetVisibleCollisionData(false);  // nothing to destroy
  EXPECT_EQ(copy->GetCollisionCirclesCount(), 0u);
}

TEST_F(DrawablesTest, SavedSpriteKeepsItsAnimationStateAndAppliesColourNextFrame) {
  auto run = Sheet("run");
  auto jump = Sheet("jump", 3);
  SmartPointer<Quillon::Sprite> sprite(new Quillon::Sprite({run.Get(), jump.Get()}));
  sprite->SetName("hero");
  sprite->SetFlipHorizontal(true);
  sprite->SetLoop(false);
  sprite->SetAnimationSpeed(2.0f);
  sprite->SetCurrentAnimationIndex(1, true);
  sprite->SetCurrentFrameIndex(2, true);
  sprite->SetHUDObject(true);
  sprite->SetCollisionActorIndex(4);
  sprite->SetOpacity(0.25f);
  sprite->SetVisible(false);
  auto loaded = RoundTrip(sprite.Get());
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->GetName(), "hero");
  EXPECT_EQ(loaded->GetAnimationsCount(), 2u);
  EXPECT_TRUE(loaded->GetFlipHorizontal());
  EXPECT_FALSE(loaded->GetLoop());
  EXPECT_EQ(loaded->GetAnimationSpeed(), 2.0f);
  EXPECT_EQ(loaded->GetCurrentAnimationIndex(), 1u);
  EXPECT_EQ(loaded->GetCurrentFrameIndex(), 2u);
  EXPECT_TRUE(loaded->IsHUDObject());
  EXPECT_EQ(loaded->GetCollisionActorIndex(), 4);
  EXPECT_FALSE(loaded->GetEngineSprite()->GetVisible());  // the new engine sprite follows the node
  EXPECT_EQ(loaded->GetEngineSprite()->GetOpacity(), 1.0f);
  loaded->Tick(0.0f);
  EXPECT_EQ(loaded->GetEngineSprite()->GetOpacity(), 0.25f);
}

TEST_F(DrawablesTest, TextSavesItsFontByNameAndFindsItInTheFontsFolder) {
  const std::string fontPath = services_.directory + "\\Resources\\Fonts\\DefaultFont\\DefaultFont";
  SmartPointer<Quillon::Text> text(new Quillon::Text("score 10", fontPath));
  text->SetHUDObject(true);
  text->SetVisible(false);
  auto loaded = RoundTrip(text.Get());
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->GetText(), "score 10");
  EXPECT_TRUE(loaded->IsHUDObject());
  EXPECT_FALSE(loaded->GetEngineText()->GetVisible());
  ASSERT_TRUE(loaded->GetEngineText()->GetFont());
  // Saved as "DefaultFont", found again under the game's fonts folder.
  EXPECT_EQ(loaded->GetEngineText()->GetFont()->GetPath(), text->GetEngineText()->GetFont()->GetPath());
  loaded->SetModulationColor(Math::Color(0.0f, 1.0f, 0.0f, 1.0f));
  loaded->Tick(0.0f);
  EXPECT_EQ(loaded->GetEngineText()->GetColor(), Math::Color(0.0f, 1.0f, 0.0f, 1.0f));
}

TEST_F(DrawablesTest, TextIsDrawnWhereItsObjectStands) {
  const std::string fontPath = services_.directory + "\\Resources\\Fonts\\DefaultFont\\DefaultFont";
  SmartPointer<Quillon::Text> text(new Quillon::Text("Play", fontPath));
  text->SetPosition(120.0f, -40.0f);
  SmartPointer<Quillon::Text> copy(static_cast<Quillon::Text*>(text->Clone()));
  copy->SetPosition(-300.0f, 200.0f);
  for (Quillon::Text* object : {text.Get(), copy.Get()}) {
    object->RefreshTransform();
    object->GetNode()->Update(0.0f);  // as the scene graph's frame update walks the tree
    Math::Matrix4x4 world;
    object->GetEngineText()->GetWorldMatrix(world);
    EXPECT_EQ(world.m[12], object->GetPosition().x);
    EXPECT_EQ(world.m[13], object->GetPosition().y);
  }
}

TEST_F(DrawablesTest, LinePointsAreLocalAndShapesStayHiddenWhenLoaded) {
  SmartPointer<Quillon::Line> line(new Quillon::Line(Math::Vector2D(0.0f, 0.0f), Math::Vector2D(5.0f, 5.0f)));
  line->SetPosition(10.0f, 0.0f);
  EXPECT_EQ(line->GetPointA(), Math::Vector2D(0.0f, 0.0f));
  Math::Vector3D drawn = *line->GetNode()->GetTransform() * Math::Vector3D(0.0f, 0.0f, 0.0f);
  EXPECT_EQ(drawn.x, 10.0f);
  line->SetVisible(false);
  auto loadedLine = RoundTrip(line.Get());
  ASSERT_TRUE(loadedLine);
  EXPECT_EQ(loadedLine->GetPointB(), Math::Vector2D(5.0f, 5.0f));
  EXPECT_FALSE(loadedLine->GetEngineLines()->GetVisible());

  SmartPointer<Quillon::Circle> circle(new Quillon::Circle(4.0f));
  circle->SetVisible(false);
  auto loadedCircle = RoundTrip(circle.Get());
  ASSERT_TRUE(loadedCircle);
  EXPECT_EQ(loadedCircle->GetRadius(), 4.0f);
  EXPECT_FALSE(loadedCircle->GetEngineCircle()->GetVisible());
  circle->SetRadius(0.0f);
  for (const Math::Vector3D& point : circle->GetEngineCircle()->GetPoints()) {
    EXPECT_EQ(point.x, 0.0f);
    EXPECT_EQ(point.y, 0.0f);
  }
}

TEST_F(DrawablesTest, FirstCameraListensUntilReleased) {
  SmartPointer<Quillon::Camera> first(new Quillon::Camera(45.0f));
  SmartPointer<Quillon::Camera> second(new Quillon::Camera(60.0f));
  EXPECT_TRUE(first->IsActiveListener());
  EXPECT_FALSE(second->IsActiveListener());
  second->MakeActiveListener();
  EXPECT_EQ(Quillon::Camera::GetActiveListener(), second.Get());
  second->ReleaseResources();
  EXPECT_EQ(Quillon::Camera::GetActiveListener(), nullptr);
  SmartPointer<Quillon::Camera> third(new Quillon::Camera(30.0f));
  EXPECT_TRUE(third->IsActiveListener());
  third.Reset();
  EXPECT_EQ(Quillon::Camera::GetActiveListener(), nullptr);
  first->SetFOV(70.0f);
  auto loaded = RoundTrip(first.Get());
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->GetEngineCamera()->GetFOV(), 70.0f);
  loaded->ReleaseResources();
}

TEST_F(DrawablesTest, ViewportClampsSizesAndKeepsOnlyTheBackgroundFileName) {
  SmartPointer<Quillon::Viewport> viewport(new Quillon::Viewport(10, 20, 300, 200));
  viewport->Set(1, 2, -5, 50);
  EXPECT_EQ(viewport->GetWidth(), 0u);
  EXPECT_EQ(viewport->GetHeight(), 50u);
  viewport->SetClearColor(Math::Color(0.1f, 0.2f, 0.3f, 1.0f));
  viewport->SetName("main");
  auto plain = RoundTrip(viewport.Get());
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->GetBackground(), "");
  EXPECT_FALSE(plain->GetEngineViewport()->GetBackground());
  EXPECT_EQ(plain->GetClearColor(), Math::Color(0.1f, 0.2f, 0.3f, 1.0f));
  EXPECT_EQ(plain->GetX(), 1);

  SmartPointer<Quillon::Level> level(new Quillon::Level());
  level->SetName("GameLevel");
  services_.level = level.Get();
  viewport->SetBackground("C:\\art\\sky.png");
  EXPECT_EQ(viewport->GetBackground(), "C:\\art\\sky.png");
  const std::string rebuilt = services_.directory + "\\Resources\\Viewports Backgrounds\\GameLevel\\sky.png";
  SceneTest::RegisterTextureSize(rebuilt, 16, 16);
  auto loaded = RoundTrip(viewport.Get());
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->GetBackground(), "sky.png");
  ASSERT_TRUE(loaded->GetEngineViewport()->GetBackground());
  EXPECT_EQ(std::string(loaded->GetEngineViewport()->GetBackground()->GetName()), rebuilt);
  services_.level = nullptr;
}

TEST_F(DrawablesTest, ViewportDrawsThroughItsCameraOnly) {
  SmartPointer<Quillon::Viewport> viewport(new Quillon::Viewport(0, 0, 640, 480));
  renderer_->ClearLog();
  viewport->Render();
  EXPECT_TRUE(renderer_->calls.empty());
  SmartPointer<Quillon::Camera> camera(new Quillon::Camera(45.0f));
  viewport->SetCamera(camera.Get());
  viewport->Render();
  EXPECT_FALSE(renderer_->calls.empty());
  camera->ReleaseResources();
}

}  // namespace

namespace {

TEST_F(DrawablesTest, SpriteIsInViewOnlyThroughAViewportWithACamera) {
  auto run = Sheet("run");
  SmartPointer<Quillon::Sprite> sprite(new Quillon::Sprite({run.Get()}));
  SmartPointer<Quillon::Viewport> viewport(new Quillon::Viewport(0, 0, 640, 480));
  EXPECT_FALSE(sprite->IsInViewport(nullptr));
  EXPECT_FALSE(sprite->IsInViewport(viewport.Get()));
  SmartPointer<Quillon::Camera> camera(new Quillon::Camera(45.0f));
  viewport->SetCamera(camera.Get());
  sprite->SetPosition(0.0f, 0.0f);
  sprite->SetZOrder(-100.0f);
  sprite->SetScale(1.0f, 1.0f);
  scene_->AddChild(sprite->GetNode());
  scene_->Update(0.0f);
  EXPECT_TRUE(sprite->IsInViewport(viewport.Get()));
  sprite->SetPosition(100000.0f, 0.0f);
  scene_->Update(0.0f);
  EXPECT_FALSE(sprite->IsInViewport(viewport.Get()));
  scene_->RemoveChild(sprite->GetNode());
  camera->ReleaseResources();
}

}  // namespace
