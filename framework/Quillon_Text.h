#pragma once
// A game object that shows a string in a bitmap font; the engine text hangs under the object's node.
#include <string>

#include "framework/Quillon_GameObject.h"
#include "scene/Engine_Text.h"

namespace Quillon {

class Text : public GameObject {
 public:
  static constexpr const char* ScriptClassName = "Text";

  // The registry's text: no text, the font of an empty path.
  Text() : Text("", "") {}
  Text(const std::string& text, const std::string& fontPath);
  Text(const Text& other);
  VELKOR_DECLARE_CLASS(Text);
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;
  void UpdateAppearance(float dt) override;
  // After the game object's records: the text (and, when synchronising, the HUD flag).
  void NetworkSave(NetworkFile& file) override;
  void NetworkLoad(NetworkFile& file) override;
  void NetworkSyncSend(NetworkFile& file) override;
  void NetworkSyncReceive(NetworkFile& file) override;

  void SetText(const std::string& text) { m_engineText->SetText(text); }
  const std::string& GetText() const { return m_engineText->GetText(); }
  // A HUD text is drawn in screen coordinates and does not follow the camera.
  void SetHUDObject(bool hud) { m_engineText->SetScreenSpace(hud); }
  bool IsHUDObject() const { return m_engineText->GetScreenSpace(); }
  const Core::SmartPointer<Engine::Text>& GetEngineText() const { return m_engineText; }

 private:
  Core::SmartPointer<Engine::Text> m_engineText;
};

}  // namespace Quillon
