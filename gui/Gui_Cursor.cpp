#include "gui/Gui_Cursor.h"

#include <cfloat>

#include "core/Core_File.h"
#include "gui/Gui_Graphics.h"
#include "gui/Gui_Paths.h"
#include "input/Internal_Mouse.h"
#include "renderer/Renderer_ITexture.h"
#include "scene/Engine_TextureSource.h"

namespace GUI {

VELKOR_IMPLEMENT_CLASS(Cursor, "GUI::Cursor");
VELKOR_IMPLEMENT_CLASS(CursorManager, "GUI::CursorManager");

namespace {
CursorManager* g_cursorManager = nullptr;
}  // namespace

Math::Vector2D GetMousePosition() {
  Input::MouseImp* mouse = Input::Mouse::GetInstance();
  if (mouse == nullptr) return Math::Vector2D();
  int32_t x = 0, y = 0;
  mouse->GetPositionXY(x, y);
  return Math::Vector2D(static_cast<float>(x), static_cast<float>(y));
}

Core::SmartPointer<Cursor> MakeArrowCursor() {
  Core::SmartPointer<Cursor> cursor(new ("Gui_Cursor", __LINE__) Cursor(GetCursorPath("Arrow.png")));
  cursor->SetHotSpot(Math::Vector2D(0.0f, 32.0f));
  return cursor;
}

Cursor::Cursor(const std::string& path)
    : m_path(path), m_context(new ("Gui_Cursor", __LINE__) Engine::TextRenderContext()) {
  if (!m_path.empty()) m_texture = Engine::LoadTexture(m_path, true);
}

Cursor::Cursor(const Cursor& other)
    : Core::Object(other),
      m_hotSpot(other.m_hotSpot),
      m_path(other.m_path),
      m_texture(other.m_texture),
      m_context(new ("Gui_Cursor", __LINE__) Engine::TextRenderContext()) {}

Cursor::~Cursor() = default;

void Cursor::Draw(const Math::Vector2D& p) {
  Graphics* graphics = Graphics::GetInstance();
  if (graphics == nullptr) return;
  graphics->Reset();
  // The largest depth: the cursor sorts after every other screen object.
  graphics->SetDepth(FLT_MAX);
  const TRectangle target(p.x - m_hotSpot.x, p.y - m_hotSpot.y, 32.0f, 32.0f);
  graphics->PrepareImage(m_context, target, m_texture);
  graphics->DrawImage(m_context);
}

void Cursor::Save(Core::File& file) {
  Core::WriteValue(file, m_hotSpot.x);
  Core::WriteValue(file, m_hotSpot.y);
  file << m_path;
}

void Cursor::Load(Core::File& file) {
  Core::ReadValue(file, m_hotSpot.x);
  Core::ReadValue(file, m_hotSpot.y);
  file >> m_path;
  m_texture = m_path.empty() ? nullptr : Engine::LoadTexture(m_path, true);
  m_context = new ("Gui_Cursor", __LINE__) Engine::TextRenderContext();
}

CursorManager::CursorManager() { g_cursorManager = this; }

CursorManager::CursorManager(const CursorManager& other) : Core::Object(other), m_cursor(other.m_cursor) {
  g_cursorManager = this;
}

CursorManager::~CursorManager() {
  if (g_cursorManager == this) g_cursorManager = nullptr;
}

CursorManager* CursorManager::GetInstance() { return g_cursorManager; }

void CursorManager::Draw(float) {
  const Math::Vector2D position = GetMousePosition();
  if (m_cursor) m_cursor->Draw(position);
}

void CursorManager::Save(Core::File& file) { file.WriteObject(m_cursor.Get()); }

void CursorManager::Load(Core::File& file) { Core::ReadObjectPointer(file, m_cursor); }

}  // namespace GUI
