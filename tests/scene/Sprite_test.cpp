// Sprite animation stepping (loops, end flags, speed, timing), animation switching and the quad a
// sprite submits, including sprites whose animations give them nothing to play.
#include <gtest/gtest.h>

#include "SceneTestHelpers.h"
#include "scene/Engine_SceneGraph.h"
#include "scene/Engine_Sprite.h"

namespace {

using Core::SmartPointer;

class SpriteTest : public SceneTest::SceneFixture {
 protected:
  void SetUp() override {
    SceneFixture::SetUp();
    texture = new Renderer::FakeTexture("sheet.png", 256, 128, 3);
  }
  SmartPointer<Engine::SpriteAnimation> MakeAnimation(uint32_t frameCount, const std::string& name = "") {
    std::vector<Engine::SpriteFrame> frames;
    for (uint32_t i = 0; i < frameCount; ++i) frames.push_back({i, i % 2, 0.1f});
    SmartPointer<Engine::SpriteAnimation> animation(new Engine::SpriteAnimation(texture, 32, 64, frames));
    animation->SetName(name);
    return animation;
  }
  std::vector<uint32_t> Play(Engine::Sprite& sprite, int steps, float dt, std::vector<bool>* ends = nullptr) {
    std::vector<uint32_t> seen;
    for (int i = 0; i < steps; ++i) {
      sprite.Update(dt);
      seen.push_back(sprite.GetCurrentFrameIndex());
      if (ends) ends->push_back(sprite.IsEndOfAnimation());
    }
    return seen;
  }

  SmartPointer<Renderer::ITexture> texture;
};

TEST_F(SpriteTest, NonLoopingAnimationStopsOnItsLastFrameAndRestarts) {
  Engine::Sprite sprite({MakeAnimation(3)});
  sprite.SetLoop(false);
  sprite.SetPlaying(true);
  std::vector<bool> ends;
  // Each step of 0.15 passes one duration of 0.1: one frame per step.
  EXPECT_EQ(Play(sprite, 4, 0.15f, &ends), (std::vector<uint32_t>{1, 2, 2, 2}));
  EXPECT_EQ(ends, (std::vector<bool>{false, false, true, true}));
  EXPECT_FALSE(sprite.IsPlaying());
  sprite.SetPlaying(true);
  EXPECT_EQ(sprite.GetCurrentFrameIndex(), 0u);
  EXPECT_TRUE(sprite.IsPlaying());
}

TEST_F(SpriteTest, LoopRangePlaysTheIntroOnceThenCycles) {
  auto animation = MakeAnimation(6);
  animation->SetLoopStartingFrame(2);
  animation->SetLoopEndingFrame(4);
  Engine::Sprite sprite({animation});
  sprite.SetPlaying(true);
  std::vector<bool> ends;
  EXPECT_EQ(Play(sprite, 8, 0.15f, &ends), (std::vector<uint32_t>{1, 2, 3, 4, 2, 3, 4, 2}));
  EXPECT_EQ(ends, (std::vector<bool>{false, false, false, false, true, false, false, true}));

  // A loop end past the last frame wraps after the last frame instead of running off the list.
  auto shortAnimation = MakeAnimation(3);
  shortAnimation->SetLoopEndingFrame(40);
  shortAnimation->SetLoopStartingFrame(90);
  Engine::Sprite clamped({shortAnimation});
  clamped.SetPlaying(true);
  EXPECT_EQ(Play(clamped, 4, 0.15f), (std::vector<uint32_t>{1, 2, 2, 2}));
}

TEST_F(SpriteTest, TimingSpeedAndPause) {
  Engine::Sprite sprite({MakeAnimation(4)});
  sprite.SetPlaying(true);
  // Not strictly past the duration: no advance.
  sprite.Update(0.1f);
  EXPECT_EQ(sprite.GetCurrentFrameIndex(), 0u);
  // More than two durations in one step still advance one frame, and the excess is dropped.
  sprite.Update(0.5f);
  EXPECT_EQ(sprite.GetCurrentFrameIndex(), 1u);
  EXPECT_EQ(sprite.GetFrameTimer(), 0.0f);
  sprite.SetAnimationSpeed(0.0f);
  Play(sprite, 10, 1.0f);
  EXPECT_EQ(sprite.GetCurrentFrameIndex(), 1u);
  EXPECT_TRUE(sprite.IsPlaying());
  sprite.SetAnimationSpeed(2.0f);
  sprite.Update(0.06f);
  EXPECT_EQ(sprite.GetCurrentFrameIndex(), 2u);
  sprite.Pause();
  Play(sprite, 3, 1.0f);
  EXPECT_EQ(sprite.GetCurrentFrameIndex(), 2u);
  EXPECT_TRUE(sprite.IsPaused());
  sprite.SetPlaying(true);  // resumes where it paused
  EXPECT_EQ(sprite.GetCurrentFrameIndex(), 2u);
  sprite.SetPlaying(false);
  EXPECT_EQ(sprite.GetCurrentFrameIndex(), 0u);
}

TEST_F(SpriteTest, SwitchingAnimationsAndCheckedGetters) {
  Engine::Sprite sprite({MakeAnimation(5, "run"), MakeAnimation(2, "jump"), MakeAnimation(0, "empty")});
  sprite.SetCurrentFrameIndex(4, false);
  EXPECT_EQ(sprite.SetCurrentAnimationIndex(1, false), 2u);
  EXPECT_EQ(sprite.GetCurrentFrameIndex(), 0u);
  EXPECT_EQ(sprite.GetCurrentAnimationName(), "jump");
  sprite.SetCurrentAnimationName("nothing such", false);
  EXPECT_EQ(sprite.GetCurrentAnimationIndex(), 0u);
  EXPECT_EQ(sprite.SetCurrentAnimationIndex(9, true), 9u);
  EXPECT_EQ(sprite.GetCurrentAnimationIndex(), 0u);
  EXPECT_FALSE(sprite.GetAnimation(3));
  EXPECT_EQ(sprite.GetAnimation(0)->GetFrame(5), nullptr);
  sprite.SetCurrentFrameIndex(5, true);  // past the last frame: ignored
  EXPECT_EQ(sprite.GetCurrentFrameIndex(), 0u);
  sprite.GoToLastFrame(true);
  EXPECT_EQ(sprite.GetCurrentFrameIndex(), 4u);

  // An animation without frames neither steps nor draws.
  sprite.SetCurrentAnimationName("empty", true);
  EXPECT_EQ(sprite.GetCurrentFrameIndex(), 0u);
  EXPECT_EQ(sprite.GetCurrentFrame(), nullptr);
  sprite.SetPlaying(true);
  sprite.Update(1.0f);
  sprite.Render();
  EXPECT_TRUE(scene->GetRenderQueue().GetBlendedItems().empty());

  // Neither does a sprite without animations.
  Engine::Sprite bare;
  bare.SetPlaying(true);
  bare.Update(1.0f);
  bare.GoToLastFrame(true);
  bare.Render();
  EXPECT_TRUE(scene->GetRenderQueue().GetBlendedItems().empty());
}

TEST_F(SpriteTest, SubmitsOneSharedQuadScaledToTheFrame) {
  SmartPointer<Engine::TransformationGroup> place(new Engine::TransformationGroup());
  place->SetTransform(Math::Matrix4x4::MakeTranslation(100, 50, -5));
  SmartPointer<Engine::Sprite> sprite(new Engine::Sprite({MakeAnimation(4)}));
  sprite->SetModulationColor(Math::Color(0.5f, 0.25f, 1.0f, 0.0f));
  sprite->SetOpacity(0.75f);
  sprite->SetCurrentFrameIndex(3, true);  // column 3, row 1
  place->AddChild(sprite);
  scene->AddChild(place);
  scene->UpdateFrame(0.0f);
  sprite->Render();
  sprite->SetFlipHorizontal(true);
  sprite->Render();
  const auto& items = scene->GetRenderQueue().GetBlendedItems();
  ASSERT_EQ(items.size(), 2u);
  const Engine::RenderItem& item = items[0];
  EXPECT_TRUE(item.useSharedQuad);
  EXPECT_EQ(item.texture.Get(), texture.Get());
  EXPECT_EQ(item.color, Math::Color(0.5f, 0.25f, 1.0f, 0.75f));
  EXPECT_EQ(item.modelMatrix, Math::Matrix4x4::MakeTranslation(100, 50, -5) * Math::Matrix4x4::MakeScale(32, 64, 1));
  // Frame cells are 32/256 by 64/128 of the sheet.
  EXPECT_EQ(item.textureMatrix,
            Math::Matrix4x4::MakeTranslation(0.125f * 3, 0.5f, 0) * Math::Matrix4x4::MakeScale(0.125f, 0.5f, 1));
  EXPECT_EQ(items[1].modelMatrix.m[0], -32.0f);
  EXPECT_EQ(items[1].textureMatrix, item.textureMatrix);
}

}  // namespace
