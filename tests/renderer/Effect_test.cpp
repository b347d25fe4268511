#include <gtest/gtest.h>

#include <set>
#include <typeindex>
#include <typeinfo>

#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_RenderStates.h"
#include "tests/renderer/FakeRenderer.h"

using namespace Renderer;

namespace {

template <typename Kind>
Core::SmartPointer<State> MakeState() {
  return Core::SmartPointer<State>(new Kind());
}

void ExpectSameCache(const StateCache& a, const StateCache& b) {
  EXPECT_EQ(a.material, b.material);
  EXPECT_EQ(a.colorMask, b.colorMask);
  EXPECT_EQ(a.scissor, b.scissor);
  EXPECT_EQ(a.alphaBlending, b.alphaBlending);
  EXPECT_EQ(a.alphaTesting, b.alphaTesting);
  EXPECT_EQ(a.culling, b.culling);
  EXPECT_EQ(a.fog, b.fog);
  EXPECT_EQ(a.filling, b.filling);
  EXPECT_EQ(a.shading, b.shading);
  EXPECT_EQ(a.depthBuffer, b.depthBuffer);
  EXPECT_EQ(a.stencilBuffer, b.stencilBuffer);
  EXPECT_EQ(a.triangleOffset, b.triangleOffset);
  EXPECT_EQ(a.dithering, b.dithering);
  EXPECT_EQ(a.point, b.point);
  EXPECT_EQ(a.line, b.line);
  for (uint32_t unit = 0; unit < 8; ++unit)
    EXPECT_TRUE(a.TextureUnit(unit).SameSettings(b.TextureUnit(unit))) << "unit " << unit;
  EXPECT_EQ(a.lighting, b.lighting);
  EXPECT_EQ(a.normalizeNormals, b.normalizeNormals);
}

// Puts every kind away from its start value, as a caller in the middle of a frame would have it.
void SetUnusualSettings(FakeRenderer& renderer) {
  DepthBufferState depth;
  depth.function = CompareFunction::GreaterOrEqual;
  depth.writeEnabled = 1;
  depth.testEnabled = 0;
  renderer.SetDepthBufferState(depth);
  AlphaBlendingState blending;
  blending.source = BlendFactor::One;
  blending.destination = BlendFactor::Zero;
  blending.enabled = 0;
  renderer.SetAlphaBlendingState(blending);
  AlphaTestingState alphaTest;
  alphaTest.function = CompareFunction::Greater;
  alphaTest.reference = 0.75f;
  renderer.SetAlphaTestingState(alphaTest);
  LightingState lighting;
  lighting.enabled = 1;
  lighting.localViewer = 0;
  lighting.ambient = Math::Color(0.5f, 0.5f, 0.5f, 1);
  renderer.SetLightingState(lighting);
  CullingState culling;
  culling.face = CullFace::Front;
  culling.enabled = 1;
  renderer.SetCullingState(culling);
  TextureUnit0State unit0;
  unit0.applyMode = TextureApplyMode::Blend;
  unit0.filter = TextureFilter::Nearest;
  unit0.wrapS = TextureWrap::Clamp;
  unit0.wrapT = TextureWrap::ClampToBorder;
  unit0.enabled = 0;
  renderer.SetTextureUnit0State(unit0);
  renderer.SetColor(Math::Color(0.1f, 0.2f, 0.3f, 0.4f));
  renderer.ClearLog();
}

// One draw as the render queue does it.
void DrawWith(Effect& effect) {
  effect.UpdateStates();
  Core::SmartPointer<Technique> technique = effect.GetTechnique(0);
  technique->SaveStates();
  technique->GetPass(0)->Apply();
  IRenderer::GetInstance()->Draw(6);
  technique->RestoreStates();
}

}  // namespace

TEST(Pass, AddStateReplacesTheRecordOfTheSameKindInPlace) {
  Pass pass;
  auto firstDepth = MakeState<DepthBufferState>();
  auto culling = MakeState<CullingState>();
  auto secondDepth = MakeState<DepthBufferState>();
  EXPECT_EQ(pass.AddState(firstDepth), 0u);
  EXPECT_EQ(pass.AddState(culling), 1u);
  EXPECT_EQ(pass.AddState(secondDepth), 0u);
  ASSERT_EQ(pass.GetStateCount(), 2u);
  EXPECT_EQ(pass.GetState(0).Get(), secondDepth.Get());
  EXPECT_EQ(pass.GetState(1).Get(), culling.Get());
  EXPECT_EQ(firstDepth->GetReferenceCount(), 1u);  // released by the pass
  EXPECT_EQ(pass.GetState(5).Get(), nullptr);
}

TEST(Technique, RestoreListHasOneResetRecordPerKindAcrossPasses) {
  Core::SmartPointer<Technique> technique(new Technique());
  Core::SmartPointer<Pass> first(new Pass()), second(new Pass());
  Core::SmartPointer<AlphaBlendingState> blending(new AlphaBlendingState());
  blending->enabled = 1;
  blending->source = BlendFactor::One;
  first->AddState(blending);
  first->AddState(MakeState<DepthBufferState>());
  second->AddState(MakeState<AlphaBlendingState>());
  second->AddState(MakeState<TextureUnit1State>());
  second->AddState(MakeState<TextureUnit0State>());
  technique->AddPass(first);
  technique->AddPass(second);
  technique->BuildRestoreStates();
  ASSERT_EQ(technique->GetRestoreStateCount(), 4u);
  int blendingRecords = 0;
  for (uint32_t i = 0; i < technique->GetRestoreStateCount(); ++i) {
    auto record = technique->GetRestoreState(i);
    EXPECT_NE(record.Get(), blending.Get());  // clones, never the pass's own records
    const State& recorded = *record;
    if (typeid(recorded) == typeid(AlphaBlendingState)) {
      ++blendingRecords;
      EXPECT_EQ(*static_cast<AlphaBlendingState*>(record.Get()), AlphaBlendingState());  // reset
    }
  }
  EXPECT_EQ(blendingRecords, 1);
  technique->BuildRestoreStates();  // a second call adds no kind twice
  EXPECT_EQ(technique->GetRestoreStateCount(), 4u);
}

TEST(Technique, SaveApplyRestoreLeavesTheSettingsAsFound) {
  auto renderer = FakeRenderer::Install();
  SetUnusualSettings(*renderer);
  const StateCache before = renderer->GetCache();

  Core::SmartPointer<Technique> technique(new Technique());
  Core::SmartPointer<Pass> pass(new Pass());
  Core::SmartPointer<AlphaBlendingState> blending(new AlphaBlendingState());
  blending->enabled = 1;
  pass->AddState(blending);
  technique->AddPass(pass);
  technique->BuildRestoreStates();

  technique->SaveStates();
  pass->Apply();
  EXPECT_EQ(renderer->GetCache().alphaBlending.enabled, 1);
  technique->RestoreStates();
  ExpectSameCache(renderer->GetCache(), before);
  // Only the kinds the pass touches are sent.
  EXPECT_EQ(renderer->CountCalls("SetAlphaBlendingState"), 2u);
  EXPECT_EQ(renderer->calls.size(), 2u);
}

TEST(Technique, EmptyPassesGiveAnEmptyRestoreListThatDoesNothing) {
  auto renderer = FakeRenderer::Install();
  Core::SmartPointer<Technique> technique(new Technique());
  technique->AddPass(Core::SmartPointer<Pass>(new Pass()));
  technique->BuildRestoreStates();
  EXPECT_EQ(technique->GetRestoreStateCount(), 0u);
  technique->SaveStates();
  technique->RestoreStates();
  EXPECT_TRUE(renderer->calls.empty());
}

TEST(Effect, CloneSharesTexturesAndOwnsItsTechniques) {
  FakeTexture::liveCount = 0;
  {
    auto effect = CreateSpriteEffect();
    Core::SmartPointer<ITexture> texture(new FakeTexture("a.png", 4, 4, 7));
    effect->SetTexture(1, texture);
    effect->transparent = 1;
    Core::SmartPointer<Effect> clone(static_cast<Effect*>(effect->Clone()));
    EXPECT_EQ(clone->GetTexture(1).Get(), texture.Get());
    EXPECT_EQ(clone->transparent, 1);
    EXPECT_NE(clone->GetTechnique(0).Get(), effect->GetTechnique(0).Get());
    EXPECT_NE(clone->GetTechnique(0)->GetPass(0).Get(), effect->GetTechnique(0)->GetPass(0).Get());
    EXPECT_NE(clone->GetTechnique(0)->GetPass(0)->GetState(0).Get(),
              effect->GetTechnique(0)->GetPass(0)->GetState(0).Get());
    EXPECT_EQ(clone->GetTechnique(0)->GetRestoreStateCount(), effect->GetTechnique(0)->GetRestoreStateCount());

    Core::SmartPointer<ITexture> other(new FakeTexture("b.png", 4, 4, 8));
    clone->SetTexture(1, other);
    EXPECT_EQ(effect->GetTexture(1).Get(), texture.Get());
    texture.Reset();
    other.Reset();
    EXPECT_EQ(FakeTexture::liveCount, 2);
    effect.Reset();
    EXPECT_EQ(FakeTexture::liveCount, 1);  // the first texture went with its last holder
    clone->SetTexture(1, clone->GetTexture(1));  // assigning the same texture keeps it
    EXPECT_EQ(FakeTexture::liveCount, 1);
    EXPECT_EQ(clone->GetTexture(32).Get(), nullptr);
    clone->SetTexture(40, nullptr);  // out of range: ignored
  }
  EXPECT_EQ(FakeTexture::liveCount, 0);
}

TEST(ParticleEffect, UpdateStatesWritesTheLinkedBlendingRecordOnly) {
  auto renderer = FakeRenderer::Install();
  SetUnusualSettings(*renderer);
  const StateCache before = renderer->GetCache();
  auto effect = CreateParticleEffect();
  ASSERT_TRUE(effect->blendingState);
  effect->blendSource = BlendFactor::One;
  effect->blendDestination = BlendFactor::One;
  effect->UpdateStates();
  auto technique = effect->GetTechnique(0);
  technique->SaveStates();
  technique->GetPass(0)->Apply();
  AlphaBlendingState sent;
  renderer->GetAlphaBlendingState(sent);
  EXPECT_EQ(sent.source, BlendFactor::One);
  EXPECT_EQ(sent.destination, BlendFactor::One);
  EXPECT_EQ(sent.enabled, 1);
  technique->RestoreStates();
  ExpectSameCache(renderer->GetCache(), before);

  // A copy has no link: its UpdateStates changes nothing, and the source's record is untouched.
  Core::SmartPointer<ParticleEffect> clone(static_cast<ParticleEffect*>(effect->Clone()));
  EXPECT_FALSE(clone->blendingState);
  EXPECT_EQ(clone->blendSource, BlendFactor::One);
  clone->blendSource = BlendFactor::Zero;
  clone->UpdateStates();
  EXPECT_EQ(effect->blendingState->source, BlendFactor::One);
  clone->GetTechnique(0)->GetPass(0)->Apply();
  renderer->GetAlphaBlendingState(sent);
  EXPECT_EQ(sent.source, BlendFactor::One);  // the clone's own record still holds the copied factor
}

// What each effect sets is its own choice, seen in the pictures; what holds of all of them is the
// shape the draw relies on to put every setting back.
TEST(PredefinedEffects, EachHasOneTechniqueOnePassAndOneRestoreRecordPerKind) {
  const Core::SmartPointer<Effect> effects[] = {
      CreateLineEffect(),   CreateTexturedAlphaEffect(), CreateTextEffect(), CreateScreenImageEffect(),
      CreateSpriteEffect(), CreateOpaqueSpriteEffect(),  Core::SmartPointer<Effect>(CreateParticleEffect().Get()),
      CreateLineListEffect(), CreatePointListEffect()};
  for (const Core::SmartPointer<Effect>& effect : effects) {
    ASSERT_EQ(effect->GetTechniqueCount(), 1u);
    auto technique = effect->GetTechnique(0);
    ASSERT_EQ(technique->GetPassCount(), 1u);
    auto pass = technique->GetPass(0);
    ASSERT_GT(pass->GetStateCount(), 0u);
    std::set<std::type_index> kinds;
    for (uint32_t i = 0; i < pass->GetStateCount(); ++i) {
      const State& state = *pass->GetState(i);
      EXPECT_TRUE(kinds.insert(std::type_index(typeid(state))).second) << "two records of one kind";
    }
    EXPECT_EQ(technique->GetRestoreStateCount(), pass->GetStateCount());
  }
  // The particle effect's link is the very record its pass applies.
  auto particle = CreateParticleEffect();
  EXPECT_EQ(static_cast<State*>(particle->blendingState.Get()), particle->GetTechnique(0)->GetPass(0)->GetState(3).Get());
  // Each call builds a new effect.
  EXPECT_NE(CreateLineListEffect().Get(), CreateLineListEffect().Get());
}

TEST(PredefinedEffects, EveryDrawLeavesTheSettingsAsFound) {
  auto renderer = FakeRenderer::Install();
  Core::SmartPointer<ITexture> texture(new FakeTexture("t.png", 8, 8, 3));
  renderer->SetTexture(0, texture);
  SetUnusualSettings(*renderer);
  const StateCache before = renderer->GetCache();
  const Math::Color colorBefore = renderer->GetColor();
  const std::vector<Core::SmartPointer<Effect>> effects = {
      CreateLineEffect(),   CreateTexturedAlphaEffect(), CreateTextEffect(),      CreateScreenImageEffect(),
      CreateSpriteEffect(), CreateParticleEffect(),      CreateLineListEffect(), CreatePointListEffect()};
  for (size_t i = 0; i < effects.size(); ++i) {
    SCOPED_TRACE(i);
    DrawWith(*effects[i]);
    ExpectSameCache(renderer->GetCache(), before);
    EXPECT_EQ(renderer->GetColor(), colorBefore);
  }
}

TEST(PredefinedEffects, SpriteDrawSetsItsSettingsDuringTheDraw) {
  auto renderer = FakeRenderer::Install();
  SetUnusualSettings(*renderer);
  auto effect = CreateSpriteEffect();
  effect->GetTechnique(0)->SaveStates();
  effect->GetTechnique(0)->GetPass(0)->Apply();
  EXPECT_EQ(renderer->GetColor(), Math::Color(1, 1, 1, 1));
  EXPECT_EQ(renderer->GetCache().lighting.enabled, 0);
  EXPECT_EQ(renderer->GetCache().depthBuffer.writeEnabled, 0);
  EXPECT_EQ(renderer->GetCache().textureUnit0.enabled, 1);
  EXPECT_EQ(renderer->GetCache().culling.enabled, 0);
  effect->GetTechnique(0)->RestoreStates();
  EXPECT_EQ(renderer->GetCache().lighting.enabled, 1);
}

TEST(PredefinedEffects, LineAndPointListsLeaveTextureUnitZeroAlone) {
  auto renderer = FakeRenderer::Install();
  for (auto effect : {CreateLineListEffect(), CreatePointListEffect()}) {
    renderer->ClearLog();
    DrawWith(*effect);
    EXPECT_EQ(renderer->CountCalls("SetTextureUnit0State"), 0u);
    EXPECT_EQ(renderer->CountCalls("Draw"), 1u);
  }
}

TEST(RendererClasses, NoneIsCreatedByNameFromAStream) {
  // Effects, passes and states are built in code; a stream naming one must not conjure it up.
  for (const auto& entry : Core::GetClassRegistry())
    EXPECT_NE(std::string(entry.first).rfind("Renderer::", 0), 0u) << entry.first << " is registered";
  EXPECT_EQ(Core::CreateObject("Renderer::Effect"), nullptr);
  EXPECT_EQ(Core::CreateObject("Renderer::TextureUnit7State"), nullptr);
  Core::SmartPointer<Effect> effect(new Effect());
  EXPECT_STREQ(effect->GetClassName(), "Renderer::Effect");  // the name itself stays
}
