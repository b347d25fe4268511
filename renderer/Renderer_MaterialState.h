#pragma once
// Surface reflectance for lighting, set on both faces.
#include "math/Math_Color.h"
#include "renderer/Renderer_State.h"

namespace Renderer {

class Material : public State {
 public:
  Math::Color ambient;
  Math::Color diffuse;
  Math::Color specular;
  Math::Color emission;
  float shininess = 0.0f;

  Material(Math::Color ambientColor, Math::Color diffuseColor, Math::Color specularColor,
           Math::Color emissionColor, float shininessValue);
  Material(const Material&) = default;
  Material& operator=(const Material&) = default;

  Core::Object* Clone() const override;
  const char* GetClassName() const override;
  uint32_t GetSize() const override;

  void Apply(IRenderer* renderer) override;
  void Capture(IRenderer* renderer) override;
  // Note the black diffuse colour: a reset material is not the renderer's grey start-up material.
  void Reset() override;

  bool operator==(const Material& other) const;
  bool operator!=(const Material& other) const { return !(*this == other); }
};

}  // namespace Renderer
