#include "framework/Quillon_Text.h"

#include "core/Core_File.h"
#include "core/Core_String.h"
#include "framework/Quillon_GameServices.h"
#include "renderer/Engine_RenderingApplication.h"

namespace Quillon {

VELKOR_IMPLEMENT_CLASS(Text, "Quillon::Text");

namespace {
// The engine's text node draws where its world matrix stands and never recomputes it; under a
// game object it must follow the object's node, as every other drawable does.
void FollowParent(Engine::Node* node, float) { node->SetWorldMatrix(node->GetParentWorld()); }
}  // namespace

Text::Text(const std::string& text, const std::string& fontPath)
    : m_engineText(new (__FILE__, __LINE__) Engine::Text(text, false)) {
  m_engineText->SetFont(Engine::GetFont(fontPath));
  m_engineText->SetUpdateHook(&FollowParent);
  m_node->AddChild(m_engineText);
}

Text::Text(const Text& other)
    : GameObject(other), m_engineText(static_cast<Engine::Text*>(other.m_engineText->Clone())) {
  m_engineText->SetUpdateHook(&FollowParent);
  m_node->AddChild(m_engineText);
}

int Text::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

void Text::UpdateAppearance(float dt) {
  (void)dt;
  m_engineText->SetColor(m_modulationColor);
  m_engineText->SetOpacity(m_opacity);
}

void Text::Save(Core::File& file) {
  GameObject::Save(file);
  file << GetText();
  const auto& font = m_engineText->GetFont();
  file << std::string(font ? Core::GetFileName(font->GetPath()) : Core::String());
  Core::WriteValue<uint8_t>(file, IsHUDObject() ? 1 : 0);
}

void Text::Load(Core::File& file) {
  LoadBase(file);
  std::string text;
  file >> text;
  m_engineText->SetText(text);
  std::string fontName;
  file >> fontName;
  // Only a bare font name is taken: a saved game must not point the reader outside the fonts folder.
  const bool bareName = fontName.find_first_of("\\/") == std::string::npos && fontName != ".." && fontName != ".";
  if (!fontName.empty() && bareName && !file.HasFailed()) {
    const std::string path =
        GetGameServices().GetDirectory() + "\\Resources\\Fonts\\" + fontName + "\\" + fontName;
    m_engineText->SetFont(Engine::GetFont(path));
  }
  SetVisible(IsVisible());
  SetHUDObject(Core::ReadValue<uint8_t>(file) != 0);
}

}  // namespace Quillon
