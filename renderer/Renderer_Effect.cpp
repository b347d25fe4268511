#include "renderer/Renderer_Effect.h"

#include "renderer/Renderer_RenderStates.h"

namespace Renderer {

VELKOR_IMPLEMENT_UNREGISTERED_CLASS(Effect, "Renderer::Effect");
VELKOR_IMPLEMENT_UNREGISTERED_CLASS(ParticleEffect, "Renderer::ParticleEffect");

Effect::Effect(const Effect& other) : Core::Object(other), transparent(other.transparent) {
  for (const auto& technique : other.m_techniques)
    m_techniques.emplace_back(static_cast<Technique*>(technique->Clone()));
  for (uint32_t i = 0; i < kTextureSlotCount; ++i) m_textures[i] = other.m_textures[i];
}

void Effect::AddTechnique(const Core::SmartPointer<Technique>& technique) {
  if (technique) m_techniques.push_back(technique);
}

Core::SmartPointer<Technique> Effect::GetTechnique(uint32_t index) const {
  if (index >= m_techniques.size()) return nullptr;
  return m_techniques[index];
}

void Effect::SetTexture(uint32_t slot, const Core::SmartPointer<ITexture>& texture) {
  if (slot < kTextureSlotCount) m_textures[slot] = texture;
}

Core::SmartPointer<ITexture> Effect::GetTexture(uint32_t slot) const {
  if (slot >= kTextureSlotCount) return nullptr;
  return m_textures[slot];
}

void Effect::UpdateStates() {}

ParticleEffect::ParticleEffect(const ParticleEffect& other)
    : Effect(other), blendSource(other.blendSource), blendDestination(other.blendDestination) {}

void ParticleEffect::UpdateStates() {
  if (!blendingState) return;
  blendingState->source = blendSource;
  blendingState->destination = blendDestination;
}

namespace {

template <typename Kind>
Core::SmartPointer<Kind> Make() {
  return Core::SmartPointer<Kind>(new (__FILE__, __LINE__) Kind());
}

Core::SmartPointer<State> Depth() {
  auto state = Make<DepthBufferState>();
  state->function = CompareFunction::Less;
  state->testEnabled = 1;
  state->writeEnabled = 0;
  return state;
}

Core::SmartPointer<AlphaBlendingState> Blending(bool enabled = true) {
  auto state = Make<AlphaBlendingState>();
  state->source = BlendFactor::SourceAlpha;
  state->destination = BlendFactor::OneMinusSourceAlpha;
  state->enabled = enabled ? 1 : 0;
  return state;
}

Core::SmartPointer<State> AlphaTest(bool enabled = true) {
  auto state = Make<AlphaTestingState>();
  state->function = CompareFunction::NotEqual;
  state->reference = 0.0f;
  state->enabled = enabled ? 1 : 0;
  return state;
}

Core::SmartPointer<State> Lighting() { return Make<LightingState>(); }

Core::SmartPointer<State> Culling() {
  auto state = Make<CullingState>();
  state->face = CullFace::Back;
  state->enabled = 0;
  return state;
}

Core::SmartPointer<State> White() {
  auto state = Make<CurrentColorState>();
  state->color = Math::Color(1.0f, 1.0f, 1.0f, 1.0f);
  return state;
}

Core::SmartPointer<State> Unit0(uint32_t filter, uint32_t applyMode, uint32_t wrap) {
  auto state = Make<TextureUnit0State>();
  state->enabled = 1;
  state->filter = filter;
  state->applyMode = applyMode;
  state->wrapS = wrap;
  state->wrapT = wrap;
  return state;
}

// Adds the records to one pass of one technique and completes the effect.
template <typename EffectType>
Core::SmartPointer<EffectType> Build(Core::SmartPointer<EffectType> effect,
                                     std::initializer_list<Core::SmartPointer<State>> states, bool transparent) {
  Core::SmartPointer<Technique> technique(new (__FILE__, __LINE__) Technique());
  Core::SmartPointer<Pass> pass(new (__FILE__, __LINE__) Pass());
  for (const auto& state : states) pass->AddState(state);
  technique->AddPass(pass);
  technique->BuildRestoreStates();
  effect->AddTechnique(technique);
  effect->transparent = transparent ? 1 : 0;
  return effect;
}

Core::SmartPointer<Effect> NewEffect() { return Core::SmartPointer<Effect>(new (__FILE__, __LINE__) Effect()); }

}  // namespace

Core::SmartPointer<Effect> CreateLineEffect() {
  return Build(NewEffect(), {Depth(), Blending(), Culling()}, true);
}

Core::SmartPointer<Effect> CreateTexturedAlphaEffect() {
  return Build(NewEffect(),
               {Unit0(TextureFilter::Linear, TextureApplyMode::Modulate, TextureWrap::Repeat), Depth(), Blending(),
                AlphaTest(), Lighting(), Culling()},
               false);
}

Core::SmartPointer<Effect> CreateTextEffect() {
  return Build(NewEffect(),
               {Unit0(TextureFilter::Nearest, TextureApplyMode::Modulate, TextureWrap::ClampToEdge), Depth(),
                Blending(), AlphaTest(), Lighting()},
               false);
}

Core::SmartPointer<Effect> CreateScreenImageEffect() {
  return Build(NewEffect(), {Unit0(TextureFilter::Linear, TextureApplyMode::Replace, TextureWrap::Repeat), Depth()},
               false);
}

Core::SmartPointer<Effect> CreateSpriteEffect() {
  return Build(NewEffect(),
               {White(), Unit0(TextureFilter::Linear, TextureApplyMode::Modulate, TextureWrap::ClampToEdge), Depth(),
                Blending(), AlphaTest(), Lighting(), Culling()},
               true);
}

Core::SmartPointer<Effect> CreateOpaqueSpriteEffect() {
  // Blending and the alpha test are listed switched off, so that the technique also restores them.
  return Build(NewEffect(),
               {White(), Unit0(TextureFilter::Linear, TextureApplyMode::Modulate, TextureWrap::ClampToEdge), Depth(),
                Blending(false), AlphaTest(false), Lighting(), Culling()},
               true);
}

Core::SmartPointer<ParticleEffect> CreateParticleEffect() {
  Core::SmartPointer<ParticleEffect> effect(new (__FILE__, __LINE__) ParticleEffect());
  Core::SmartPointer<AlphaBlendingState> blending = Blending();
  effect->blendingState = blending;
  return Build(effect,
               {White(), Unit0(TextureFilter::Linear, TextureApplyMode::Modulate, TextureWrap::Repeat), Depth(),
                blending, AlphaTest(), Lighting(), Culling()},
               true);
}

Core::SmartPointer<Effect> CreateLineListEffect() {
  return Build(NewEffect(), {White(), Lighting(), Depth(), Blending(), AlphaTest()}, false);
}

Core::SmartPointer<Effect> CreatePointListEffect() { return CreateLineListEffect(); }

}  // namespace Renderer
