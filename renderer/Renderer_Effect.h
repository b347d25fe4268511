#pragma once
// How geometry is drawn: techniques of render-state passes, 32 texture slots and a transparency
// flag. Every draw takes technique 0, saves its restore kinds, applies pass 0, draws, restores.
#include <vector>

#include "renderer/Renderer_AlphaBlendingState.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_Technique.h"

namespace Renderer {

class Effect : public Core::Object {
 public:
  static constexpr uint32_t kTextureSlotCount = 32;

  uint8_t transparent = 0;

  Effect() = default;
  // Clones the techniques; shares the textures.
  Effect(const Effect& other);
  Effect& operator=(const Effect&) = delete;
  VELKOR_DECLARE_CLASS(Effect);

  void AddTechnique(const Core::SmartPointer<Technique>& technique);
  Core::SmartPointer<Technique> GetTechnique(uint32_t index) const;
  uint32_t GetTechniqueCount() const { return static_cast<uint32_t>(m_techniques.size()); }
  // Slots 0..31; others are ignored (and read as empty).
  void SetTexture(uint32_t slot, const Core::SmartPointer<ITexture>& texture);
  Core::SmartPointer<ITexture> GetTexture(uint32_t slot) const;

  // Brings per-draw settings into the pass records; nothing here.
  virtual void UpdateStates();

 private:
  std::vector<Core::SmartPointer<Technique>> m_techniques;
  Core::SmartPointer<ITexture> m_textures[kTextureSlotCount];
};

// An effect whose blend factors are chosen per draw.
class ParticleEffect : public Effect {
 public:
  // The record the pass applies; UpdateStates writes the factors into it.
  Core::SmartPointer<AlphaBlendingState> blendingState;
  uint32_t blendSource = BlendFactor::SourceAlpha;
  uint32_t blendDestination = BlendFactor::OneMinusSourceAlpha;

  ParticleEffect() = default;
  // A copy is not linked to a blending record: its UpdateStates does nothing.
  ParticleEffect(const ParticleEffect& other);
  VELKOR_DECLARE_CLASS(ParticleEffect);

  void UpdateStates() override;
};

// The engine's predefined effects; each call builds a new one.
Core::SmartPointer<Effect> CreateLineEffect();
Core::SmartPointer<Effect> CreateTexturedAlphaEffect();
Core::SmartPointer<Effect> CreateTextEffect();
Core::SmartPointer<Effect> CreateScreenImageEffect();
Core::SmartPointer<Effect> CreateSpriteEffect();
// The sprite effect for a quad whose every sampled texel is fully opaque and whose colour has alpha
// 1: the same picture without blending or the alpha test, each of which costs per fragment.
Core::SmartPointer<Effect> CreateOpaqueSpriteEffect();
Core::SmartPointer<ParticleEffect> CreateParticleEffect();
Core::SmartPointer<Effect> CreateLineListEffect();
Core::SmartPointer<Effect> CreatePointListEffect();

}  // namespace Renderer
