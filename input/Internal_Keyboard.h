#pragma once
// The keyboard device: one record per virtual key, questions asked by engine key code (0..195,
// mapped through the key table), snapshots and change lists for replays and network play.
#include <cstdint>
#include <vector>

#include "core/Core_Object.h"
#include "input/Internal_KeyRecord.h"

namespace Input {

class KeyboardImp;

using KeyList = std::vector<std::uint8_t>;
using KeyRecordList = std::vector<KeyRecord>;

// One entry of a keyboard snapshot: 12 bytes, little-endian.
struct KeyStateEntry {
  KeyRecord record;
  std::uint8_t reserved[3] = {0, 0, 0};
  std::uint32_t index = 0;  // virtual key
};
static_assert(sizeof(KeyStateEntry) == 12, "KeyStateEntry is a 12-byte stored record");

// Engine key codes that the engine itself names.
namespace Key {
constexpr std::int32_t Tab = 7;
constexpr std::int32_t Return = 9;
constexpr std::int32_t Escape = 22;
constexpr std::int32_t Space = 27;
constexpr std::int32_t Left = 32;
constexpr std::int32_t Up = 33;
constexpr std::int32_t Right = 34;
constexpr std::int32_t Down = 35;
constexpr std::int32_t Digit0 = 43;
constexpr std::int32_t A = 53;
constexpr std::int32_t D = 56;
constexpr std::int32_t P = 68;
constexpr std::int32_t S = 71;
constexpr std::int32_t Numpad0 = 83;
constexpr std::int32_t F1 = 99;
constexpr std::int32_t LeftShift = 131;
constexpr std::int32_t RightShift = 132;
}  // namespace Key

// Engine key code -> virtual key.
constexpr std::int32_t kKeyCodeCount = 196;
extern const std::uint8_t KeyTable[kKeyCodeCount];

class Keyboard : public Core::Object {
 public:
  static constexpr std::uint32_t kVirtualKeyCount = 256;

  // The live keyboard made by KeyboardImp::CreateInstance, or null.
  static KeyboardImp* GetInstance();

  virtual void Update() = 0;
  virtual bool IsPressed(std::int32_t key) = 0;
  virtual bool IsTriggered(std::int32_t key) = 0;
  virtual bool IsDown(std::int32_t key) = 0;
  virtual bool IsUp(std::int32_t key) = 0;
  virtual bool AnyKey() = 0;
  virtual bool GetPressed(std::int32_t& key) = 0;
  virtual bool GetTriggered(std::int32_t& key) = 0;
  virtual std::int8_t GetKeyAsChar(std::int32_t key) = 0;
  virtual void Reset() = 0;
  virtual void ClearGuard() = 0;
  virtual void SetState(const void* data, std::int32_t size) = 0;
  virtual void GetState(void*& data, std::int32_t& size) = 0;
  virtual bool GetChanges(KeyList& keys, KeyRecordList& records) = 0;
  virtual void SetChanges(const KeyList& keys, const KeyRecordList& records) = 0;
  virtual void SetStoredKey(std::int32_t key) = 0;
  virtual std::int32_t GetStoredKey() = 0;
};

class KeyboardImp : public Keyboard {
 public:
  // Frames the guard waits at most for every key to be released.
  static constexpr std::int32_t kGuardFrameLimit = 120;

  // The live keyboard, which becomes the global one.
  static Core::SmartPointer<Keyboard> CreateInstance();
  // A playback keyboard, fed through SetState or SetChanges; never global.
  static Core::SmartPointer<Keyboard> Create();

  explicit KeyboardImp(bool playback);
  ~KeyboardImp() override;

  int PushToLua(lua_State* state) override;

  void Update() override;
  // Codes outside 0..195 answer false (GetKeyAsChar: 0).
  bool IsPressed(std::int32_t key) override;
  bool IsTriggered(std::int32_t key) override;
  bool IsDown(std::int32_t key) override;
  bool IsUp(std::int32_t key) override;
  bool AnyKey() override;
  bool GetPressed(std::int32_t& key) override;
  bool GetTriggered(std::int32_t& key) override;
  std::int8_t GetKeyAsChar(std::int32_t key) override;
  void Reset() override;
  void ClearGuard() override;
  // Entries naming a virtual key of 256 or more are skipped.
  void SetState(const void* data, std::int32_t size) override;
  // The snapshot lives in one buffer shared by all keyboards, valid until the next GetState.
  void GetState(void*& data, std::int32_t& size) override;
  bool GetChanges(KeyList& keys, KeyRecordList& records) override;
  // Uses the first min(keys, records) pairs.
  void SetChanges(const KeyList& keys, const KeyRecordList& records) override;
  void SetStoredKey(std::int32_t key) override { m_storedKey = key; }
  std::int32_t GetStoredKey() override { return m_storedKey; }

  bool IsPlayback() const { return m_playback != 0; }
  bool IsGuardOn() const { return m_guard != 0; }
  const KeyRecord& GetRecord(std::uint8_t virtualKey) const { return m_records[virtualKey]; }

 private:
  // The record of an engine key code, or null outside 0..195.
  const KeyRecord* Find(std::int32_t key) const;

  KeyRecord m_records[kVirtualKeyCount];
  std::uint32_t m_playback;
  KeyList m_changedKeys;
  KeyRecordList m_changedRecords;
  std::int32_t m_storedKey = Key::Escape;
  std::int32_t m_guardCounter = 0;
  std::uint8_t m_guard = 1;
};

}  // namespace Input
