#pragma once
// Light sources the renderer recognises by their class.
#include "core/Core_Object.h"
#include "math/Math_Color.h"
#include "math/Math_Vector3D.h"

namespace Renderer {

class Light : public Core::Object {
 public:
  Math::Color ambient{0.0f, 0.0f, 0.0f, 1.0f};
  Math::Color diffuse{1.0f, 1.0f, 1.0f, 1.0f};
  Math::Color specular{1.0f, 1.0f, 1.0f, 1.0f};
  uint8_t enabled = 1;

  const char* GetClassName() const override { return "Renderer::Light"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(Light)); }
};

class DirectionalLight : public Light {
 public:
  Math::Vector3D direction{0.0f, 0.0f, -1.0f};
  const char* GetClassName() const override { return "Renderer::DirectionalLight"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(DirectionalLight)); }
};

class PointLight : public Light {
 public:
  Math::Vector3D position;
  float constantAttenuation = 1.0f;
  float linearAttenuation = 0.0f;
  float quadraticAttenuation = 0.0f;
  const char* GetClassName() const override { return "Renderer::PointLight"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(PointLight)); }
};

class SpotLight : public Light {
 public:
  Math::Vector3D position;
  Math::Vector3D direction{0.0f, 0.0f, -1.0f};
  float exponent = 0.0f;
  float cutOff = 45.0f;
  float constantAttenuation = 1.0f;
  float linearAttenuation = 0.0f;
  float quadraticAttenuation = 0.0f;
  const char* GetClassName() const override { return "Renderer::SpotLight"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(SpotLight)); }
};

}  // namespace Renderer
