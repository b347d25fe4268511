#pragma once
// The mouse device: cursor position in client pixels (origin bottom-left), three buttons with
// per-frame records, snapshots and change lists for replays and network play.
#include <cstdint>
#include <vector>

#include "core/Core_Object.h"
#include "input/Internal_KeyRecord.h"
#include "math/Math_Vector2D.h"

namespace PAL {
class Window;
}

namespace Input {

class MouseImp;

// The 28-byte snapshot that replays and the network carry (little-endian).
struct MouseStateRecord {
  KeyRecord buttons[3];           // 0 left, 1 middle, 2 right
  std::uint8_t reserved0 = 0;     // always 0
  std::int32_t x = 0;             // as GetPositionXY answers
  std::int32_t y = 0;
  std::uint8_t inWindow = 0;
  std::uint8_t moved = 0;
  std::uint8_t cursorVisible = 0;
  std::uint8_t reserved1 = 0;     // always 0
};
static_assert(sizeof(MouseStateRecord) == 28, "MouseStateRecord is a 28-byte stored record");

// The 20-byte position part of a change list; positions in screen pixels.
struct MousePositionHeader {
  std::int32_t previousX = 0;
  std::int32_t previousY = 0;
  std::uint8_t moved = 0;
  std::uint8_t reserved[3] = {0, 0, 0};
  std::int32_t currentX = 0;
  std::int32_t currentY = 0;
};
static_assert(sizeof(MousePositionHeader) == 20, "MousePositionHeader is a 20-byte stored record");

// The mouse buttons as the device numbers them.
namespace Button {
constexpr std::uint32_t Left = 0;
constexpr std::uint32_t Middle = 1;
constexpr std::uint32_t Right = 2;
}  // namespace Button

using ButtonList = std::vector<std::uint8_t>;
using RecordList = std::vector<KeyRecord>;

class Mouse : public Core::Object {
 public:
  static constexpr std::uint32_t kButtonCount = 3;

  // The live mouse made by MouseImp::CreateInstance, or null.
  static MouseImp* GetInstance();

  virtual void Update() = 0;
  virtual void SetPosition(std::int32_t x, std::int32_t y) = 0;
  virtual Math::Vector2D GetPosition() = 0;
  virtual void GetPositionXY(std::int32_t& x, std::int32_t& y) = 0;
  virtual std::int32_t GetPositionX() = 0;
  virtual std::int32_t GetPositionY() = 0;
  virtual bool IsInWindow() = 0;
  virtual bool IsMoved() = 0;
  virtual bool IsPressed(std::uint32_t button) = 0;
  virtual bool IsTriggered(std::uint32_t button) = 0;
  virtual bool IsDown(std::uint32_t button) = 0;
  virtual bool IsUp(std::uint32_t button) = 0;
  virtual void ShowCursor(bool show) = 0;
  virtual bool IsCursorVisible() = 0;
  virtual void SetWindow(PAL::Window* window) = 0;
  virtual PAL::Window* GetWindow() = 0;
  virtual void Reset() = 0;
  virtual void SetState(const void* data, std::int32_t size) = 0;
  virtual void GetState(void*& data, std::int32_t& size) = 0;
  virtual bool GetChanges(MousePositionHeader& header, ButtonList& buttons, RecordList& records) = 0;
  virtual void SetChanges(const MousePositionHeader& header, const ButtonList& buttons,
                          const RecordList& records) = 0;
};

class MouseImp : public Mouse {
 public:
  // The live mouse, which becomes the global one.
  static Core::SmartPointer<Mouse> CreateInstance();
  // A playback mouse, fed through SetState or SetChanges; never global.
  static Core::SmartPointer<Mouse> Create();

  explicit MouseImp(bool playback);
  ~MouseImp() override;

  int PushToLua(lua_State* state) override;

  void Update() override;
  void SetPosition(std::int32_t x, std::int32_t y) override;
  Math::Vector2D GetPosition() override;
  void GetPositionXY(std::int32_t& x, std::int32_t& y) override;
  std::int32_t GetPositionX() override;
  std::int32_t GetPositionY() override;
  bool IsInWindow() override;
  bool IsMoved() override { return m_moved != 0; }
  bool IsPressed(std::uint32_t button) override;
  bool IsTriggered(std::uint32_t button) override;
  bool IsDown(std::uint32_t button) override;
  bool IsUp(std::uint32_t button) override;
  void ShowCursor(bool show) override;
  bool IsCursorVisible() override;
  void SetWindow(PAL::Window* window) override;
  PAL::Window* GetWindow() override;
  void Reset() override;
  void SetState(const void* data, std::int32_t size) override;
  void GetState(void*& data, std::int32_t& size) override;
  bool GetChanges(MousePositionHeader& header, ButtonList& buttons, RecordList& records) override;
  void SetChanges(const MousePositionHeader& header, const ButtonList& buttons, const RecordList& records) override;

  bool IsPlayback() const { return m_playback != 0; }
  bool IsGuardOn() const { return m_guard != 0; }

 private:
  // True while the held-input guard must keep the device quiet.
  bool GuardKeeps();
  void ReadCursor();

  MouseStateRecord m_state;
  KeyRecord m_buttons[kButtonCount];
  std::uint32_t m_playback;
  std::int32_t m_previousX = 0;
  std::int32_t m_previousY = 0;
  PAL::Window* m_window = nullptr;
  std::uint8_t m_guard = 1;
  std::uint8_t m_moved = 0;
  std::int32_t m_currentX = 0;
  std::int32_t m_currentY = 0;
  ButtonList m_changedButtons;
  RecordList m_changedRecords;
};

}  // namespace Input
