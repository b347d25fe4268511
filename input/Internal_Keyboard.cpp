#include "input/Internal_Keyboard.h"

#include <cstring>

#include "platform/PAL_Input.h"

namespace Input {

const std::uint8_t KeyTable[kKeyCodeCount] = {
    1, 2, 3, 4, 5, 6, 8, 9, 12, 13, 16, 17, 18, 19,
    20, 21, 21, 21, 23, 24, 25, 25, 27, 28, 29, 30, 31, 32,
    33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46,
    47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 65, 66, 67,
    68, 69, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81,
    82, 83, 84, 85, 86, 87, 88, 89, 90, 91, 92, 93, 95, 96,
    97, 98, 99, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110,
    111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 124,
    125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135, 144, 145, 146,
    146, 147, 148, 149, 150, 160, 161, 162, 163, 164, 165, 166, 167, 168,
    169, 170, 171, 172, 173, 174, 175, 176, 177, 178, 179, 180, 181, 182,
    183, 186, 187, 188, 189, 190, 191, 192, 219, 220, 221, 222, 223, 225,
    226, 227, 228, 229, 230, 231, 233, 234, 235, 236, 237, 238, 239, 240,
    241, 242, 243, 244, 245, 246, 247, 248, 249, 250, 251, 252, 253, 254,
};

namespace {

KeyboardImp* g_keyboard = nullptr;

// One snapshot buffer for every keyboard.
KeyStateEntry g_snapshot[Keyboard::kVirtualKeyCount];

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "stored records are little-endian");

bool IsEmpty(const KeyRecord& record) {
  return (record.held | record.wentDown | record.wasHeld | record.down | record.wentUp) == 0;
}

}  // namespace

KeyboardImp* Keyboard::GetInstance() { return g_keyboard; }

Core::SmartPointer<Keyboard> KeyboardImp::CreateInstance() {
  KeyboardImp* keyboard = new ("Internal_Keyboard", 707) KeyboardImp(false);
  g_keyboard = keyboard;
  return Core::SmartPointer<Keyboard>(keyboard);
}

Core::SmartPointer<Keyboard> KeyboardImp::Create() {
  return Core::SmartPointer<Keyboard>(new ("Internal_Keyboard", 718) KeyboardImp(true));
}

KeyboardImp::KeyboardImp(bool playback) : m_playback(playback ? 1 : 0) {}

KeyboardImp::~KeyboardImp() {
  // The global pointer must not outlive the object it names.
  if (g_keyboard == this) g_keyboard = nullptr;
}

int KeyboardImp::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, "KeyboardImp"); }

void KeyboardImp::Update() {
  if (m_playback) return;
  std::uint8_t state[kVirtualKeyCount] = {};
  PAL::GetInputBackend().GetKeyboardState(state);

  if (m_guard) {
    ++m_guardCounter;
    if (m_guardCounter <= kGuardFrameLimit) {
      // Mouse buttons count too: they are virtual keys 1, 2 and 4.
      for (std::uint32_t i = 0; i < kVirtualKeyCount - 1; ++i) {
        if (state[i] & PAL::kKeyHeldBit) return;
      }
    }
    m_guard = 0;
    m_guardCounter = 0;
  }

  m_changedKeys.clear();
  m_changedRecords.clear();
  // Record 255 is never updated: no key reaches it.
  for (std::uint32_t i = 0; i < kVirtualKeyCount - 1; ++i) {
    if (UpdateKeyRecord(m_records[i], (state[i] & PAL::kKeyHeldBit) != 0)) {
      m_changedKeys.push_back(static_cast<std::uint8_t>(i));
      m_changedRecords.push_back(m_records[i]);
    }
  }
}

const KeyRecord* KeyboardImp::Find(std::int32_t key) const {
  if (key < 0 || key >= kKeyCodeCount) return nullptr;
  return &m_records[KeyTable[key]];
}

bool KeyboardImp::IsPressed(std::int32_t key) {
  const KeyRecord* record = Find(key);
  return record != nullptr && record->held != 0;
}

bool KeyboardImp::IsTriggered(std::int32_t key) {
  const KeyRecord* record = Find(key);
  return record != nullptr && record->wentDown != 0;
}

bool KeyboardImp::IsDown(std::int32_t key) {
  const KeyRecord* record = Find(key);
  return record != nullptr && record->down != 0;
}

bool KeyboardImp::IsUp(std::int32_t key) {
  const KeyRecord* record = Find(key);
  return record != nullptr && record->wentUp != 0;
}

bool KeyboardImp::AnyKey() {
  for (std::uint32_t i = 6; i < kVirtualKeyCount; ++i) {
    if (m_records[i].held != 0) return true;
  }
  return false;
}

bool KeyboardImp::GetPressed(std::int32_t& key) {
  for (std::int32_t code = 6; code < kKeyCodeCount; ++code) {
    if (m_records[KeyTable[code]].held != 0) {
      key = code;
      return true;
    }
  }
  return false;
}

bool KeyboardImp::GetTriggered(std::int32_t& key) {
  for (std::int32_t code = 6; code < kKeyCodeCount; ++code) {
    if (m_records[KeyTable[code]].wentDown != 0) {
      key = code;
      return true;
    }
  }
  return false;
}

std::int8_t KeyboardImp::GetKeyAsChar(std::int32_t key) {
  if (key < 0 || key >= kKeyCodeCount) return 0;
  PAL::InputBackend& backend = PAL::GetInputBackend();
  const bool shift = IsPressed(Key::LeftShift) || IsPressed(Key::RightShift);
  const bool capsLock = backend.IsKeyToggled(PAL::VirtualKey::CapsLock);
  const bool numLock = backend.IsKeyToggled(PAL::VirtualKey::NumLock);
  const bool upper = capsLock != shift;

  static const char kDigits[] = "0123456789";
  static const char kShiftedDigits[] = ")!@#$%^&*(";
  static const char kPunctuation[] = ";=,-./`[\\]'";
  static const char kShiftedPunctuation[] = ":+<_>?~{|}\"";

  if (key == 7) return 9;
  if (key == 9) return 10;
  if (key == 27) return 32;
  if (key >= 43 && key <= 52) return static_cast<std::int8_t>((shift ? kShiftedDigits : kDigits)[key - 43]);
  if (key >= 53 && key <= 78) return static_cast<std::int8_t>((upper ? 'A' : 'a') + (key - 53));
  if (key >= 83 && key <= 92) return numLock ? static_cast<std::int8_t>('0' + (key - 83)) : 0;
  if (key == 93) return '*';
  if (key == 94) return '+';
  if (key == 96) return '-';
  if (key == 98) return '/';
  if (key == 97) return numLock ? '.' : 0;
  if (key >= 155 && key <= 165) {
    return static_cast<std::int8_t>((shift ? kShiftedPunctuation : kPunctuation)[key - 155]);
  }
  return 0;
}

void KeyboardImp::Reset() {
  for (KeyRecord& record : m_records) record = KeyRecord();
  m_guard = 1;
}

void KeyboardImp::ClearGuard() {
  m_guardCounter = 0;
  m_guard = 0;
}

void KeyboardImp::SetState(const void* data, std::int32_t size) {
  if (!m_playback) return;
  Reset();
  if (data == nullptr || size < static_cast<std::int32_t>(sizeof(KeyStateEntry))) return;
  const std::size_t count = static_cast<std::size_t>(size) / sizeof(KeyStateEntry);
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < count; ++i) {
    KeyStateEntry entry;
    std::memcpy(&entry, bytes + i * sizeof(KeyStateEntry), sizeof(KeyStateEntry));
    // Snapshots come from files and peers: an index past the table is ignored.
    if (entry.index < kVirtualKeyCount) m_records[entry.index] = entry.record;
  }
}

void KeyboardImp::GetState(void*& data, std::int32_t& size) {
  data = nullptr;
  size = 0;
  if (m_playback) return;
  std::uint32_t count = 0;
  for (KeyStateEntry& entry : g_snapshot) entry = KeyStateEntry();
  for (std::uint32_t i = 0; i < kVirtualKeyCount; ++i) {
    if (IsEmpty(m_records[i])) continue;
    g_snapshot[count].record = m_records[i];
    g_snapshot[count].index = i;
    ++count;
  }
  if (count == 0) return;
  data = g_snapshot;
  size = static_cast<std::int32_t>(count * sizeof(KeyStateEntry));
}

bool KeyboardImp::GetChanges(KeyList& keys, KeyRecordList& records) {
  if (m_changedKeys.empty()) return false;
  keys = m_changedKeys;
  records = m_changedRecords;
  return true;
}

void KeyboardImp::SetChanges(const KeyList& keys, const KeyRecordList& records) {
  for (KeyRecord& record : m_records) record = KeyRecord();
  // Indices are bytes, so every one names a record; a key without a record is skipped.
  const std::size_t count = keys.size() < records.size() ? keys.size() : records.size();
  for (std::size_t i = 0; i < count; ++i) m_records[keys[i]] = records[i];
}

}  // namespace Input
