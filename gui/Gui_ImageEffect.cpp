#include "gui/Gui_ImageEffect.h"

#include "renderer/Renderer_RenderStates.h"

namespace GUI {

ImageEffect::ImageEffect() {
  Core::SmartPointer<Renderer::Technique> technique(new ("Gui_ImageEffect", __LINE__) Renderer::Technique());
  Core::SmartPointer<Renderer::Pass> pass(new ("Gui_ImageEffect", __LINE__) Renderer::Pass());

  textureState = new ("Gui_ImageEffect", __LINE__) Renderer::TextureUnit0State();
  textureState->enabled = 1;
  textureState->applyMode = Renderer::TextureApplyMode::Modulate;
  textureState->filter = modeValue;
  textureState->wrapS = Renderer::TextureWrap::ClampToEdge;
  textureState->wrapT = Renderer::TextureWrap::ClampToEdge;
  textureState->generationMode = 0;
  textureState->oneDimensional = 0;
  pass->AddState(textureState.Get());

  Core::SmartPointer<Renderer::DepthBufferState> depth(new ("Gui_ImageEffect", __LINE__) Renderer::DepthBufferState());
  depth->function = Renderer::CompareFunction::Less;
  depth->testEnabled = 1;
  depth->writeEnabled = 0;
  pass->AddState(depth.Get());

  Core::SmartPointer<Renderer::AlphaBlendingState> blending(new ("Gui_ImageEffect", __LINE__)
                                                                Renderer::AlphaBlendingState());
  blending->enabled = 1;
  blending->source = Renderer::BlendFactor::SourceAlpha;
  blending->destination = Renderer::BlendFactor::OneMinusSourceAlpha;
  pass->AddState(blending.Get());

  Core::SmartPointer<Renderer::AlphaTestingState> alphaTest(new ("Gui_ImageEffect", __LINE__)
                                                                Renderer::AlphaTestingState());
  alphaTest->enabled = 1;
  alphaTest->function = Renderer::CompareFunction::NotEqual;
  alphaTest->reference = 0.0f;
  pass->AddState(alphaTest.Get());

  pass->AddState(new ("Gui_ImageEffect", __LINE__) Renderer::LightingState());

  technique->AddPass(pass);
  technique->BuildRestoreStates();
  AddTechnique(technique);
}

// A copy's techniques are clones, so its texture state is found again in the cloned pass.
ImageEffect::ImageEffect(const ImageEffect& other) : Renderer::Effect(other), modeValue(other.modeValue) {
  Core::SmartPointer<Renderer::Technique> technique = GetTechnique(0);
  Core::SmartPointer<Renderer::Pass> pass = technique ? technique->GetPass(0) : nullptr;
  if (!pass) return;
  for (uint32_t i = 0; i < pass->GetStateCount(); ++i) {
    if (auto* state = dynamic_cast<Renderer::TextureUnit0State*>(pass->GetState(i).Get())) textureState = state;
  }
}

Core::Object* ImageEffect::Clone() const { return new ("Gui_ImageEffect", __LINE__) ImageEffect(*this); }

void ImageEffect::UpdateStates() {
  if (textureState) textureState->filter = modeValue;
}

}  // namespace GUI
