#include "renderer/Renderer_MaterialState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer {

Material::Material(Math::Color ambientColor, Math::Color diffuseColor, Math::Color specularColor,
                   Math::Color emissionColor, float shininessValue)
    : ambient(ambientColor),
      diffuse(diffuseColor),
      specular(specularColor),
      emission(emissionColor),
      shininess(shininessValue) {}

Core::Object* Material::Clone() const { return new (__FILE__, __LINE__) Material(*this); }

const char* Material::GetClassName() const { return "Renderer::Material"; }

uint32_t Material::GetSize() const { return static_cast<uint32_t>(sizeof(Material)); }

void Material::Apply(IRenderer* renderer) {
  if (renderer) renderer->SetMaterial(*this);
}

void Material::Capture(IRenderer* renderer) {
  if (renderer) renderer->GetMaterial(*this);
}

void Material::Reset() {
  ambient = Math::Color(0.2f, 0.2f, 0.2f, 1.0f);
  diffuse = Math::Color(0.0f, 0.0f, 0.0f, 1.0f);
  specular = Math::Color(0.0f, 0.0f, 0.0f, 1.0f);
  emission = Math::Color(0.0f, 0.0f, 0.0f, 1.0f);
  shininess = 0.0f;
}

bool Material::operator==(const Material& other) const {
  return ambient == other.ambient && diffuse == other.diffuse && specular == other.specular &&
         emission == other.emission && shininess == other.shininess;
}

}  // namespace Renderer
