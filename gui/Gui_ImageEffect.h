#pragma once
// The effect of every GUI quad and glyph: modulated texture clamped at its edges, alpha blending,
// transparent pixels discarded, no depth writes. Its filter (the mode value) can change per draw.
#include <cstdint>

#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_TexturingState.h"

namespace GUI {

class ImageEffect : public Renderer::Effect {
 public:
  ImageEffect();
  ImageEffect(const ImageEffect& other);
  const char* GetClassName() const override { return "GUI::ImageEffect"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(ImageEffect)); }
  Core::Object* Clone() const override;

  // Copies the mode value into the texture state's filter (0 nearest, 1 linear).
  void UpdateStates() override;
  void ApplyMode() { UpdateStates(); }

  uint32_t modeValue = 0;
  Core::SmartPointer<Renderer::TextureUnit0State> textureState;
};

}  // namespace GUI
