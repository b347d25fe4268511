#include "input/Internal_Mouse.h"

#include <cstdint>
#include <cstring>

#include "platform/PAL_Input.h"

namespace Input {
namespace {

MouseImp* g_mouse = nullptr;

// The guard's remembered cursor position is one value for the whole program.
bool g_guardPositionTaken = false;
std::int32_t g_guardX = 0;
std::int32_t g_guardY = 0;

constexpr std::uint8_t kButtonKeys[Mouse::kButtonCount] = {PAL::VirtualKey::LeftButton, PAL::VirtualKey::MiddleButton,
                                                            PAL::VirtualKey::RightButton};

bool AnyButtonHeld(PAL::InputBackend& backend) {
  for (std::uint8_t key : kButtonKeys) {
    if (backend.IsKeyHeld(key)) return true;
  }
  return false;
}

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "stored records are little-endian");

}  // namespace

MouseImp* Mouse::GetInstance() { return g_mouse; }

Core::SmartPointer<Mouse> MouseImp::CreateInstance() {
  MouseImp* mouse = new ("Internal_Mouse", 17) MouseImp(false);
  g_mouse = mouse;
  return Core::SmartPointer<Mouse>(mouse);
}

Core::SmartPointer<Mouse> MouseImp::Create() {
  return Core::SmartPointer<Mouse>(new ("Internal_Mouse", 28) MouseImp(true));
}

MouseImp::MouseImp(bool playback) : m_playback(playback ? 1 : 0) {
  ReadCursor();
  m_previousX = m_currentX;
  m_previousY = m_currentY;
}

MouseImp::~MouseImp() {
  // The global pointer must not outlive the object it names.
  if (g_mouse == this) g_mouse = nullptr;
}

int MouseImp::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "MouseImp"); }

void MouseImp::ReadCursor() { PAL::GetInputBackend().GetCursorPosition(m_currentX, m_currentY); }

bool MouseImp::GuardKeeps() {
  if (!g_guardPositionTaken) {
    g_guardPositionTaken = true;
    g_guardX = m_currentX;
    g_guardY = m_currentY;
  }
  if (m_currentX != g_guardX || m_currentY != g_guardY) {
    g_guardX = m_currentX;
    g_guardY = m_currentY;
    return true;
  }
  return AnyButtonHeld(PAL::GetInputBackend());
}

void MouseImp::Update() {
  if (m_playback) return;
  if (m_guard) {
    if (GuardKeeps()) return;
    m_guard = 0;
  }
  m_changedButtons.clear();
  m_changedRecords.clear();

  ReadCursor();
  m_moved = (m_currentX != m_previousX || m_currentY != m_previousY) ? 1 : 0;
  m_previousX = m_currentX;
  m_previousY = m_currentY;

  PAL::InputBackend& backend = PAL::GetInputBackend();
  bool held[kButtonCount];
  for (std::uint32_t i = 0; i < kButtonCount; ++i) held[i] = backend.IsKeyHeld(kButtonKeys[i]);
  for (std::uint32_t i = 0; i < kButtonCount; ++i) {
    if (UpdateKeyRecord(m_buttons[i], held[i])) {
      m_changedButtons.push_back(static_cast<std::uint8_t>(i));
      m_changedRecords.push_back(m_buttons[i]);
    }
  }
}

void MouseImp::SetPosition(std::int32_t x, std::int32_t y) {
  if (m_window == nullptr) return;
  std::int32_t left, top, width, height;
  PAL::InputBackend& backend = PAL::GetInputBackend();
  if (!backend.GetClientArea(m_window, left, top, width, height)) return;
  // Any int may come in (scripts, saves): the screen point is worked out wide and must fit.
  const std::int64_t wideX = static_cast<std::int64_t>(left) + x;
  const std::int64_t wideY = static_cast<std::int64_t>(top) + height - y - 1;
  if (wideX < INT32_MIN || wideX > INT32_MAX || wideY < INT32_MIN || wideY > INT32_MAX) return;
  const auto screenX = static_cast<std::int32_t>(wideX);
  const auto screenY = static_cast<std::int32_t>(wideY);
  backend.SetCursorPosition(screenX, screenY);
  m_currentX = screenX;
  m_currentY = screenY;
}

Math::Vector2D MouseImp::GetPosition() {
  std::int32_t x, y;
  GetPositionXY(x, y);
  return Math::Vector2D(static_cast<float>(x), static_cast<float>(y));
}

void MouseImp::GetPositionXY(std::int32_t& x, std::int32_t& y) {
  if (m_playback) {
    x = m_state.x;
    y = m_state.y;
    return;
  }
  x = y = 0;
  std::int32_t left, top, width, height;
  if (m_window == nullptr || !PAL::GetInputBackend().GetClientArea(m_window, left, top, width, height)) return;
  // In 64 bits: a position from a replay or a peer may lie near the int limits.
  std::int64_t clientX = std::int64_t{m_currentX} - left;
  std::int64_t clientY = std::int64_t{height} - 1 - (std::int64_t{m_currentY} - top);
  // Clamp with the upper bound first, so that an empty client area gives 0 rather than -1.
  if (clientX > std::int64_t{width} - 1) clientX = std::int64_t{width} - 1;
  if (clientX < 0) clientX = 0;
  if (clientY > std::int64_t{height} - 1) clientY = std::int64_t{height} - 1;
  if (clientY < 0) clientY = 0;
  x = static_cast<std::int32_t>(clientX);
  y = static_cast<std::int32_t>(clientY);
}

std::int32_t MouseImp::GetPositionX() {
  std::int32_t x, y;
  GetPositionXY(x, y);
  return x;
}

std::int32_t MouseImp::GetPositionY() {
  std::int32_t x, y;
  GetPositionXY(x, y);
  return y;
}

bool MouseImp::IsInWindow() {
  if (m_playback) return m_state.inWindow != 0;
  std::int32_t left, top, width, height;
  if (m_window == nullptr || !PAL::GetInputBackend().GetClientArea(m_window, left, top, width, height)) return false;
  const std::int64_t x = std::int64_t{m_currentX} - left;
  const std::int64_t y = std::int64_t{m_currentY} - top;
  return x >= 0 && y >= 0 && x < width && y < height;
}

bool MouseImp::IsPressed(std::uint32_t button) { return button < kButtonCount && m_buttons[button].held != 0; }
bool MouseImp::IsTriggered(std::uint32_t button) { return button < kButtonCount && m_buttons[button].wentDown != 0; }
bool MouseImp::IsDown(std::uint32_t button) { return button < kButtonCount && m_buttons[button].down != 0; }
bool MouseImp::IsUp(std::uint32_t button) { return button < kButtonCount && m_buttons[button].wentUp != 0; }

void MouseImp::ShowCursor(bool show) {
  if (m_playback) return;
  PAL::InputBackend& backend = PAL::GetInputBackend();
  if (show) {
    while (backend.ShowCursor(true) < 0) {
    }
  } else {
    while (backend.ShowCursor(false) >= 0) {
    }
  }
}

bool MouseImp::IsCursorVisible() {
  if (m_playback) return m_state.cursorVisible != 0;
  return PAL::GetInputBackend().IsCursorShowing();
}

void MouseImp::SetWindow(PAL::Window* window) {
  if (!m_playback) m_window = window;
}

PAL::Window* MouseImp::GetWindow() { return m_playback ? nullptr : m_window; }

void MouseImp::Reset() {
  if (m_playback) return;
  m_moved = 0;
  ReadCursor();
  m_previousX = m_currentX;
  m_previousY = m_currentY;
  for (KeyRecord& record : m_buttons) record = KeyRecord();
  m_guard = 1;
}

void MouseImp::SetState(const void* data, std::int32_t size) {
  if (!m_playback || data == nullptr || size != static_cast<std::int32_t>(sizeof(MouseStateRecord))) return;
  std::memcpy(&m_state, data, sizeof(MouseStateRecord));
  // The padding bytes are not part of the state, whatever the sender put there.
  m_state.reserved0 = 0;
  m_state.reserved1 = 0;
  m_moved = m_state.moved;
  std::memcpy(m_buttons, m_state.buttons, sizeof(m_buttons));
}

void MouseImp::GetState(void*& data, std::int32_t& size) {
  data = nullptr;
  size = 0;
  if (m_playback) return;
  std::memcpy(m_state.buttons, m_buttons, sizeof(m_buttons));
  m_state.reserved0 = 0;
  GetPositionXY(m_state.x, m_state.y);
  m_state.inWindow = IsInWindow() ? 1 : 0;
  m_state.moved = m_moved;
  m_state.cursorVisible = IsCursorVisible() ? 1 : 0;
  m_state.reserved1 = 0;
  data = &m_state;
  size = static_cast<std::int32_t>(sizeof(MouseStateRecord));
}

bool MouseImp::GetChanges(MousePositionHeader& header, ButtonList& buttons, RecordList& records) {
  header.previousX = m_previousX;
  header.previousY = m_previousY;
  header.moved = m_moved;
  header.reserved[0] = header.reserved[1] = header.reserved[2] = 0;
  header.currentX = m_currentX;
  header.currentY = m_currentY;
  if (m_changedButtons.empty()) return m_moved != 0;
  buttons = m_changedButtons;
  records = m_changedRecords;
  return true;
}

void MouseImp::SetChanges(const MousePositionHeader& header, const ButtonList& buttons, const RecordList& records) {
  m_currentX = header.currentX;
  m_currentY = header.currentY;
  m_moved = (m_currentX != m_previousX || m_currentY != m_previousY) ? 1 : 0;
  m_previousX = m_currentX;
  m_previousY = m_currentY;
  for (KeyRecord& record : m_buttons) record = KeyRecord();
  // Lists come from files and peers: unknown buttons and indices without a record are skipped.
  const std::size_t count = buttons.size() < records.size() ? buttons.size() : records.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (buttons[i] < kButtonCount) m_buttons[buttons[i]] = records[i];
  }
}

}  // namespace Input
