#pragma once
// A rectangle of the window that shows what one camera sees, with a clear colour and an optional
// background image.
#include <cstdint>
#include <string>

#include "core/Core_Object.h"
#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "scene/Engine_Viewport.h"

namespace Quillon {

class Camera;

class Viewport : public Core::Object {
 public:
  static constexpr const char* ScriptClassName = "Viewport";

  // The registry's viewport: (0, 0, 800, 600).
  Viewport() : Viewport(0, 0, 800, 600) {}
  // Negative sizes become 0.
  Viewport(int32_t x, int32_t y, int32_t width, int32_t height);
  Viewport(const Viewport& other);
  VELKOR_DECLARE_CLASS(Viewport);
  int PushToLua(lua_State* state) override;
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

  // The camera is not owned: it must outlive its use here or be unset.
  // The viewport holds a reference: a camera destroyed elsewhere stays valid while it is shown.
  void SetCamera(Camera* camera);
  Camera* GetCamera() const { return m_camera; }
  void Set(int32_t x, int32_t y, int32_t width, int32_t height);
  void SetPosition(int32_t x, int32_t y) { Set(x, y, GetWidthSigned(), GetHeightSigned()); }
  void SetWidth(int32_t width) { Set(GetX(), GetY(), width, GetHeightSigned()); }
  void SetHeight(int32_t height) { Set(GetX(), GetY(), GetWidthSigned(), height); }
  int32_t GetX() const { return m_engineViewport->GetX(); }
  int32_t GetY() const { return m_engineViewport->GetY(); }
  uint32_t GetWidth() const { return static_cast<uint32_t>(m_engineViewport->GetWidth()); }
  uint32_t GetHeight() const { return static_cast<uint32_t>(m_engineViewport->GetHeight()); }
  Math::Vector2D GetPosition() const { return Math::Vector2D(static_cast<float>(GetX()), static_cast<float>(GetY())); }
  void SetClearColor(const Math::Color& color) { m_engineViewport->SetClearColor(color); }
  const Math::Color& GetClearColor() const { return m_engineViewport->GetClearColor(); }
  void SetName(const std::string& name) { m_name = name; }
  const std::string& GetName() const { return m_name; }
  // Stores the path and loads the image into the engine viewport as given.
  void SetBackground(const std::string& path);
  const std::string& GetBackground() const { return m_background; }
  const Core::SmartPointer<Engine::Viewport>& GetEngineViewport() const { return m_engineViewport; }

  // Draws the camera's view on the game's scene graph; nothing without a camera.
  void Render();

 private:
  int32_t GetWidthSigned() const { return m_engineViewport->GetWidth(); }
  int32_t GetHeightSigned() const { return m_engineViewport->GetHeight(); }
  void LoadBackgroundImage(const std::string& path);

  Core::SmartPointer<Engine::Viewport> m_engineViewport;
  std::string m_name;
  std::string m_background;
  Camera* m_camera = nullptr;
  Core::SmartPointer<Core::Object> m_cameraReference;
  // The image path the engine viewport was given last; a resized engine viewport is given it again.
  std::string m_loadedBackground;
};

}  // namespace Quillon
