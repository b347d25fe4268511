#pragma once
// The GUI's mouse cursor: an image drawn 32 x 32 at the mouse position in front of everything, and
// the manager that holds the cursor to show now.
#include <string>

#include "core/Core_Object.h"
#include "math/Math_Vector2D.h"
#include "scene/Engine_ScreenObject.h"

namespace Renderer {
class ITexture;
}

namespace GUI {

class Cursor : public Core::Object {
 public:
  // An empty path makes the shell that Load fills.
  explicit Cursor(const std::string& path = std::string());
  Cursor(const Cursor& other);
  ~Cursor() override;
  VELKOR_DECLARE_CLASS(Cursor);

  void SetHotSpot(const Math::Vector2D& hotSpot) { m_hotSpot = hotSpot; }
  const Math::Vector2D& GetHotSpot() const { return m_hotSpot; }
  const std::string& GetPath() const { return m_path; }
  const Core::SmartPointer<Engine::TextRenderContext>& GetContext() const { return m_context; }
  void Draw(const Math::Vector2D& mousePosition);

  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

 private:
  Math::Vector2D m_hotSpot;
  std::string m_path;
  Core::SmartPointer<Renderer::ITexture> m_texture;
  Core::SmartPointer<Engine::TextRenderContext> m_context;
};

class CursorManager : public Core::Object {
 public:
  CursorManager();
  CursorManager(const CursorManager& other);
  ~CursorManager() override;
  VELKOR_DECLARE_CLASS(CursorManager);

  // The manager made last (null once it is gone).
  static CursorManager* GetInstance();

  void SetCursor(const Core::SmartPointer<Cursor>& cursor) { m_cursor = cursor; }
  const Core::SmartPointer<Cursor>& GetCursor() const { return m_cursor; }
  // Draws the current cursor at the mouse position.
  void Draw(float deltaTime);

  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

 private:
  Core::SmartPointer<Cursor> m_cursor;
};

// The mouse device's position (origin bottom-left), (0, 0) without a mouse.
Math::Vector2D GetMousePosition();
// A new cursor from "Arrow.png" in the cursor folder with its tip (0, 32) on the mouse.
Core::SmartPointer<Cursor> MakeArrowCursor();

}  // namespace GUI
