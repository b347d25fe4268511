#pragma once
// The settings of one texture unit. Each unit is its own kind, so a pass can hold one per unit.
#include "renderer/Renderer_State.h"

namespace Renderer {

class TexturingState : public State {
 public:
  uint32_t applyMode = TextureApplyMode::Decal;
  uint32_t filter = TextureFilter::Nearest;
  uint32_t wrapS = TextureWrap::Repeat;
  uint32_t wrapT = TextureWrap::Repeat;
  uint8_t enabled = 0;
  uint8_t generationMode = 0;
  uint8_t oneDimensional = 0;

  // The texture unit this kind addresses.
  virtual uint32_t GetUnit() const = 0;

  Core::Object* Clone() const override = 0;
  void Apply(IRenderer* renderer) override = 0;
  void Capture(IRenderer* renderer) override = 0;
  // Keeps generationMode and oneDimensional: they describe the texture, not a setting to undo.
  void Reset() override;

  // Equal fields; the unit is not compared.
  bool SameSettings(const TexturingState& other) const;

 protected:
  TexturingState() = default;
  TexturingState(const TexturingState&) = default;
  TexturingState& operator=(const TexturingState&) = default;
};

#define VELKOR_TEXTURE_UNIT_STATE(N)                                            \
  class TextureUnit##N##State : public TexturingState {                         \
   public:                                                                      \
    TextureUnit##N##State() = default;                                          \
    TextureUnit##N##State(const TextureUnit##N##State&) = default;              \
    TextureUnit##N##State& operator=(const TextureUnit##N##State&) = default;   \
    VELKOR_DECLARE_CLASS(TextureUnit##N##State);                                \
    uint32_t GetUnit() const override { return N; }                             \
    void Apply(IRenderer* renderer) override;                                   \
    void Capture(IRenderer* renderer) override;                                 \
    bool operator==(const TextureUnit##N##State& o) const { return SameSettings(o); } \
    bool operator!=(const TextureUnit##N##State& o) const { return !SameSettings(o); } \
  };

VELKOR_TEXTURE_UNIT_STATE(0)
VELKOR_TEXTURE_UNIT_STATE(1)
VELKOR_TEXTURE_UNIT_STATE(2)
VELKOR_TEXTURE_UNIT_STATE(3)
VELKOR_TEXTURE_UNIT_STATE(4)
VELKOR_TEXTURE_UNIT_STATE(5)
VELKOR_TEXTURE_UNIT_STATE(6)
VELKOR_TEXTURE_UNIT_STATE(7)

#undef VELKOR_TEXTURE_UNIT_STATE

}  // namespace Renderer
