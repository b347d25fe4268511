#include "renderer/Renderer_TexturingState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

void TexturingState::Reset() {
  applyMode = TextureApplyMode::Decal;
  filter = TextureFilter::Nearest;
  wrapS = TextureWrap::Repeat;
  wrapT = TextureWrap::Repeat;
  enabled = 0;
}

bool TexturingState::SameSettings(const TexturingState& o) const {
  return applyMode == o.applyMode && filter == o.filter && wrapS == o.wrapS && wrapT == o.wrapT &&
         enabled == o.enabled && generationMode == o.generationMode && oneDimensional == o.oneDimensional;
}

#define VELKOR_TEXTURE_UNIT_STATE_IMPL(N)                                              \
  VELKOR_IMPLEMENT_UNREGISTERED_CLASS(TextureUnit##N##State, "Renderer::TextureUnit" #N "State");   \
  void TextureUnit##N##State::Apply(IRenderer* renderer) {                             \
    if (renderer) renderer->SetTextureUnit##N##State(*this);                           \
  }                                                                                    \
  void TextureUnit##N##State::Capture(IRenderer* renderer) {                           \
    if (renderer) renderer->GetTextureUnit##N##State(*this);                           \
  }

VELKOR_TEXTURE_UNIT_STATE_IMPL(0)
VELKOR_TEXTURE_UNIT_STATE_IMPL(1)
VELKOR_TEXTURE_UNIT_STATE_IMPL(2)
VELKOR_TEXTURE_UNIT_STATE_IMPL(3)
VELKOR_TEXTURE_UNIT_STATE_IMPL(4)
VELKOR_TEXTURE_UNIT_STATE_IMPL(5)
VELKOR_TEXTURE_UNIT_STATE_IMPL(6)
VELKOR_TEXTURE_UNIT_STATE_IMPL(7)

}  // namespace Renderer
