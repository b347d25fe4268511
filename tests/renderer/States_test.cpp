#include <gtest/gtest.h>

#include <typeinfo>

#include "renderer/Renderer_Pass.h"
#include "renderer/Renderer_RenderStates.h"
#include "tests/renderer/FakeRenderer.h"

using namespace Renderer;

TEST(RenderStates, ResetKeepsTextureDescriptionFogColourAndGivesBlackMaterial) {
  TextureUnit2State unit;
  unit.generationMode = 1;
  unit.oneDimensional = 1;
  unit.applyMode = TextureApplyMode::Modulate;
  unit.filter = TextureFilter::Linear;
  unit.wrapS = unit.wrapT = TextureWrap::ClampToEdge;
  unit.enabled = 1;
  unit.Reset();
  EXPECT_EQ(unit.generationMode, 1);
  EXPECT_EQ(unit.oneDimensional, 1);
  EXPECT_EQ(unit.applyMode, TextureApplyMode::Decal);
  EXPECT_EQ(unit.filter, TextureFilter::Nearest);
  EXPECT_EQ(unit.wrapS, TextureWrap::Repeat);
  EXPECT_EQ(unit.wrapT, TextureWrap::Repeat);
  EXPECT_EQ(unit.enabled, 0);

  FogState fog;
  fog.color = Math::Color(0.5f, 0.25f, 0.125f, 1.0f);
  fog.mode = FogMode::Exponential;
  fog.start = 3.0f;
  fog.end = 7.0f;
  fog.density = 0.5f;
  fog.enabled = 1;
  fog.Reset();
  EXPECT_EQ(fog.color, Math::Color(0.5f, 0.25f, 0.125f, 1.0f));
  EXPECT_EQ(fog, [] { FogState f; f.color = Math::Color(0.5f, 0.25f, 0.125f, 1.0f); return f; }());

  Material material(Math::Color(1, 1, 1, 1), Math::Color(0.8f, 0.8f, 0.8f, 1), Math::Color(1, 0, 0, 1),
                    Math::Color(0, 1, 0, 1), 12.0f);
  material.Reset();
  EXPECT_EQ(material.ambient, Math::Color(0.2f, 0.2f, 0.2f, 1.0f));
  EXPECT_EQ(material.diffuse, Math::Color(0, 0, 0, 1));
  EXPECT_EQ(material.specular, Math::Color(0, 0, 0, 1));
  EXPECT_EQ(material.emission, Math::Color(0, 0, 0, 1));
  EXPECT_EQ(material.shininess, 0.0f);

  StencilBufferState stencil;
  stencil.writeMask = 3;
  stencil.reference = -4;
  stencil.enabled = 1;
  stencil.Reset();
  EXPECT_EQ(stencil, StencilBufferState());
}

TEST(RenderStates, CloneKeepsTheConcreteKind) {
  TextureUnit3State unit;
  unit.filter = TextureFilter::Linear;
  unit.wrapT = 9;
  Core::SmartPointer<State> clone(static_cast<State*>(unit.Clone()));
  const State& cloned = *clone;
  ASSERT_EQ(typeid(cloned), typeid(TextureUnit3State));
  EXPECT_EQ(*static_cast<TextureUnit3State*>(clone.Get()), unit);
  EXPECT_TRUE(IsSameKind(*clone, unit));
  EXPECT_FALSE(IsSameKind(*clone, TextureUnit2State()));
  EXPECT_EQ(clone->GetReferenceCount(), 1u);

  Pass pass;
  pass.AddState(Core::SmartPointer<State>(new TextureUnit2State()));
  EXPECT_EQ(pass.AddState(clone), 1u);
  EXPECT_EQ(pass.AddState(Core::SmartPointer<State>(new TextureUnit3State())), 1u);
  EXPECT_EQ(pass.GetStateCount(), 2u);

  Material material(Math::Color(1, 0, 0, 1), Math::Color(0, 1, 0, 1), Math::Color(0, 0, 1, 1),
                    Math::Color(1, 1, 0, 1), 5.0f);
  Core::SmartPointer<State> materialClone(static_cast<State*>(material.Clone()));
  EXPECT_EQ(*static_cast<Material*>(materialClone.Get()), material);
}

// Apply then Capture through the renderer gives the applied fields back, enum values outside the
// lists included: records store them unchanged.
template <typename Kind, typename Setter>
void RoundTrip(IRenderer* renderer, Setter set) {
  Kind state;
  set(state);
  state.Apply(renderer);
  Kind captured;
  captured.Capture(renderer);
  EXPECT_EQ(captured, state) << typeid(Kind).name();
}

TEST(RenderStates, ApplyThenCaptureRoundTripsEveryKind) {
  auto renderer = FakeRenderer::Install();
  IRenderer* r = renderer.Get();
  RoundTrip<NormalizeNormalsState>(r, [](auto& s) { s.enabled = 1; });
  RoundTrip<LightingState>(r, [](auto& s) {
    s.ambient = Math::Color(0.1f, 0.2f, 0.3f, 0.4f);
    s.localViewer = 0;
    s.enabled = 1;
  });
  RoundTrip<TextureUnit0State>(r, [](auto& s) {
    s.applyMode = 17;
    s.filter = 4;
    s.wrapS = 9;
    s.wrapT = 2;
    s.enabled = 1;
  });
  RoundTrip<TextureUnit7State>(r, [](auto& s) { s.generationMode = s.oneDimensional = 1; });
  RoundTrip<LineState>(r, [](auto& s) { s.width = 3.5f; });
  RoundTrip<PointState>(r, [](auto& s) { s.size = 8.0f; });
  RoundTrip<DitheringState>(r, [](auto& s) { s.enabled = 0; });
  RoundTrip<TriangleOffsetState>(r, [](auto& s) {
    s.factor = 1.5f;
    s.units = -2.0f;
    s.enabled = 1;
  });
  RoundTrip<StencilBufferState>(r, [](auto& s) {
    s.function = 8;
    s.failOperation = 9;
    s.depthFailOperation = StencilOperation::Invert;
    s.depthPassOperation = StencilOperation::Replace;
    s.reference = -3;
    s.compareMask = 0x0F;
    s.writeMask = 0xF0;
    s.enabled = 1;
  });
  RoundTrip<DepthBufferState>(r, [](auto& s) { s.function = 8; s.testEnabled = s.writeEnabled = 0; });
  RoundTrip<ShadingState>(r, [](auto& s) { s.model = 0; });
  RoundTrip<FillingState>(r, [](auto& s) { s.mode = FillMode::Lines; });
  RoundTrip<FogState>(r, [](auto& s) {
    s.mode = 5;
    s.color = Math::Color(0.3f, 0.3f, 0.3f, 1);
    s.density = 0.25f;
    s.enabled = 1;
  });
  RoundTrip<CullingState>(r, [](auto& s) { s.face = 3; s.enabled = 0; });
  RoundTrip<AlphaTestingState>(r, [](auto& s) {
    s.function = CompareFunction::Greater;
    s.reference = 0.5f;
    s.enabled = 1;
  });
  RoundTrip<AlphaBlendingState>(r, [](auto& s) { s.source = 11; s.destination = BlendFactor::One; s.enabled = 1; });
  RoundTrip<ScissorState>(r, [](auto& s) {
    s.x = -5;
    s.y = 7;
    s.width = 10;
    s.height = 20;
    s.enabled = 1;
  });
  RoundTrip<ColorMaskState>(r, [](auto& s) { s.green = s.alpha = 0; });
  RoundTrip<CurrentColorState>(r, [](auto& s) { s.color = Math::Color(0.25f, 0.5f, 0.75f, 0.5f); });
  Material material(Math::Color(1, 0, 0, 1), Math::Color(0, 1, 0, 1), Math::Color(0, 0, 1, 1),
                    Math::Color(1, 1, 0, 1), 5.0f);
  material.Apply(renderer.Get());
  Material captured(Math::Color(), Math::Color(), Math::Color(), Math::Color(), 0.0f);
  captured.Capture(renderer.Get());
  EXPECT_EQ(captured, material);
}

TEST(RenderStates, PlainStateAndNullRendererDoNothing) {
  auto renderer = FakeRenderer::Install();
  State plain;
  plain.Apply(renderer.Get());
  plain.Capture(renderer.Get());
  plain.Reset();
  EXPECT_TRUE(renderer->calls.empty());
  DepthBufferState depth;
  depth.Apply(nullptr);
  depth.Capture(nullptr);
  EXPECT_EQ(depth, DepthBufferState());
  Core::SmartPointer<State> clone(static_cast<State*>(plain.Clone()));
  const State& cloned = *clone;
  EXPECT_EQ(typeid(cloned), typeid(State));
}

TEST(RenderStates, RendererCacheStartsWithTheStartUpValuesAndTheSingletonGoesWithIt) {
  {
    auto renderer = FakeRenderer::Install();
    EXPECT_EQ(IRenderer::GetInstance().Get(), renderer.Get());
    Material material(Math::Color(), Math::Color(), Math::Color(), Math::Color(), 1.0f);
    renderer->GetMaterial(material);
    EXPECT_EQ(material.diffuse, Math::Color(0.8f, 0.8f, 0.8f, 1.0f));
    CullingState culling;
    culling.enabled = 0;
    renderer->GetCullingState(culling);
    EXPECT_EQ(culling.enabled, 1);
    TextureUnit4State unit;
    unit.enabled = 1;
    renderer->GetTextureUnit4State(unit);
    EXPECT_EQ(unit, TextureUnit4State());
    EXPECT_EQ(renderer->GetColor(), Math::Color(0, 0, 0, 1));
  }
  EXPECT_EQ(IRenderer::GetInstance().Get(), nullptr);
}
