#include "renderer/Renderer_StateCache.h"

namespace Renderer {

TexturingState& StateCache::TextureUnit(uint32_t unit) {
  return const_cast<TexturingState&>(static_cast<const StateCache*>(this)->TextureUnit(unit));
}

const TexturingState& StateCache::TextureUnit(uint32_t unit) const {
  switch (unit) {
    case 1: return textureUnit1;
    case 2: return textureUnit2;
    case 3: return textureUnit3;
    case 4: return textureUnit4;
    case 5: return textureUnit5;
    case 6: return textureUnit6;
    case 7: return textureUnit7;
    default: return textureUnit0;
  }
}

void CopyTextureUnitFields(TexturingState& to, const TexturingState& from) {
  to.applyMode = from.applyMode;
  to.filter = from.filter;
  to.wrapS = from.wrapS;
  to.wrapT = from.wrapT;
  to.enabled = from.enabled;
  to.generationMode = from.generationMode;
  to.oneDimensional = from.oneDimensional;
}

}  // namespace Renderer
