#pragma once
// The renderer's copy of the last settings sent of every state kind, with the start-up values.
// Getters read it back; it is never compared with what is sent.
#include "renderer/Renderer_RenderStates.h"

namespace Renderer {

struct StateCache {
  Material material{Math::Color(0.2f, 0.2f, 0.2f, 1.0f), Math::Color(0.8f, 0.8f, 0.8f, 1.0f),
                    Math::Color(0.0f, 0.0f, 0.0f, 1.0f), Math::Color(0.0f, 0.0f, 0.0f, 1.0f), 0.0f};
  ColorMaskState colorMask;
  ScissorState scissor;
  AlphaBlendingState alphaBlending;
  AlphaTestingState alphaTesting;
  CullingState culling;
  FogState fog;
  FillingState filling;
  ShadingState shading;
  DepthBufferState depthBuffer;
  StencilBufferState stencilBuffer;
  TriangleOffsetState triangleOffset;
  DitheringState dithering;
  PointState point;
  LineState line;
  TextureUnit0State textureUnit0;
  TextureUnit1State textureUnit1;
  TextureUnit2State textureUnit2;
  TextureUnit3State textureUnit3;
  TextureUnit4State textureUnit4;
  TextureUnit5State textureUnit5;
  TextureUnit6State textureUnit6;
  TextureUnit7State textureUnit7;
  LightingState lighting;
  NormalizeNormalsState normalizeNormals;

  // The cached record of texture unit 0..7 (unit 0 for anything larger).
  TexturingState& TextureUnit(uint32_t unit);
  const TexturingState& TextureUnit(uint32_t unit) const;
};

// Copies the texture-unit fields only (records of different units are different classes).
void CopyTextureUnitFields(TexturingState& to, const TexturingState& from);

}  // namespace Renderer
