#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "tests/input/FakeInputBackend.h"

using Input::Key::A;
using Input::KeyboardImp;
using TestInput::FakeInputBackend;

namespace {

constexpr std::uint8_t kVirtualA = 0x41;
constexpr std::uint8_t kVirtualLeftShift = 0xA0;

// A live keyboard whose guard has already lifted.
Core::SmartPointer<Input::Keyboard> MakeLiveKeyboard() {
  Core::SmartPointer<Input::Keyboard> keyboard = KeyboardImp::CreateInstance();
  keyboard->Update();
  return keyboard;
}

std::vector<unsigned char> Snapshot(Input::Keyboard& keyboard) {
  void* data = nullptr;
  std::int32_t size = -1;
  keyboard.GetState(data, size);
  if (data == nullptr) return {};
  const auto* bytes = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(bytes, bytes + size);
}

bool SameRecord(const Input::KeyRecord& a, const Input::KeyRecord& b) { return std::memcmp(&a, &b, 5) == 0; }

void ExpectSameKeys(Input::Keyboard& replayed, Input::Keyboard& original) {
  for (int key = 0; key < 256; ++key) {
    EXPECT_TRUE(SameRecord(static_cast<KeyboardImp&>(replayed).GetRecord(static_cast<std::uint8_t>(key)),
                           static_cast<KeyboardImp&>(original).GetRecord(static_cast<std::uint8_t>(key))))
        << key;
  }
}

}  // namespace

TEST(KeyboardTest, KeyKeepsItsPressTriggerAndReleaseAcrossFrames) {
  FakeInputBackend backend;
  auto keyboard = MakeLiveKeyboard();

  backend.HoldAndUpdate(kVirtualA, true, *keyboard);
  EXPECT_TRUE(keyboard->IsPressed(A));
  EXPECT_TRUE(keyboard->IsTriggered(A));
  EXPECT_TRUE(keyboard->IsDown(A));
  EXPECT_FALSE(keyboard->IsUp(A));

  keyboard->Update();  // still held: no second trigger
  EXPECT_TRUE(keyboard->IsPressed(A));
  EXPECT_FALSE(keyboard->IsTriggered(A));
  EXPECT_FALSE(keyboard->IsDown(A));

  backend.HoldAndUpdate(kVirtualA, false, *keyboard);
  EXPECT_FALSE(keyboard->IsPressed(A));
  EXPECT_TRUE(keyboard->IsUp(A));

  // Pressed again at once: the release showed in its own update, the new press in the next.
  backend.HoldAndUpdate(kVirtualA, true, *keyboard);
  EXPECT_FALSE(keyboard->IsUp(A));
  EXPECT_TRUE(keyboard->IsTriggered(A));

  backend.HoldAndUpdate(kVirtualA, false, *keyboard);
  keyboard->Update();
  EXPECT_FALSE(keyboard->IsUp(A));
  EXPECT_FALSE(keyboard->IsPressed(A));
}

TEST(KeyboardTest, GuardIgnoresKeysHeldThroughResetUntilAllAreUp) {
  FakeInputBackend backend;
  auto keyboard = MakeLiveKeyboard();
  backend.HoldAndUpdate(kVirtualA, true, *keyboard);
  keyboard->Reset();  // as on a level switch, with A still down
  for (int i = 0; i < 10; ++i) {
    keyboard->Update();
    EXPECT_FALSE(keyboard->IsPressed(A));
    EXPECT_FALSE(keyboard->IsTriggered(A));
  }
  // A held mouse button (virtual key 1) holds the keyboard guard as well.
  backend.Hold(kVirtualA, false);
  backend.HoldAndUpdate(PAL::VirtualKey::LeftButton, true, *keyboard);
  EXPECT_TRUE(static_cast<KeyboardImp*>(keyboard.Get())->IsGuardOn());
  backend.HoldAndUpdate(PAL::VirtualKey::LeftButton, false, *keyboard);
  EXPECT_FALSE(static_cast<KeyboardImp*>(keyboard.Get())->IsGuardOn());
  EXPECT_FALSE(keyboard->IsUp(A));  // the release of a key the guard hid is no event

  backend.HoldAndUpdate(kVirtualA, true, *keyboard);
  EXPECT_TRUE(keyboard->IsTriggered(A));
}

TEST(KeyboardTest, GuardGivesUpOnTheHundredAndTwentyFirstUpdate) {
  FakeInputBackend backend;
  backend.Hold(kVirtualA, true);
  auto keyboard = KeyboardImp::CreateInstance();
  for (int i = 0; i < KeyboardImp::kGuardFrameLimit; ++i) keyboard->Update();
  EXPECT_FALSE(keyboard->IsPressed(A));
  keyboard->Update();
  EXPECT_TRUE(keyboard->IsPressed(A));
  EXPECT_TRUE(keyboard->IsTriggered(A));

  // ClearGuard lifts it at once.
  keyboard->Reset();
  keyboard->ClearGuard();
  keyboard->Update();
  EXPECT_TRUE(keyboard->IsTriggered(A));
}

TEST(KeyboardTest, LowestCodeWinsAndAnyKeySkipsMouseButtons) {
  FakeInputBackend backend;
  auto keyboard = MakeLiveKeyboard();
  std::int32_t key = -7;
  EXPECT_FALSE(keyboard->GetPressed(key));
  EXPECT_EQ(key, -7);

  backend.HoldAndUpdate(PAL::VirtualKey::LeftButton, true, *keyboard);
  EXPECT_FALSE(keyboard->AnyKey());
  EXPECT_FALSE(keyboard->GetPressed(key));

  backend.Hold(kVirtualLeftShift, true);
  backend.HoldAndUpdate(kVirtualA, true, *keyboard);
  EXPECT_TRUE(keyboard->AnyKey());
  ASSERT_TRUE(keyboard->GetPressed(key));
  EXPECT_EQ(key, A);
  ASSERT_TRUE(keyboard->GetTriggered(key));
  EXPECT_EQ(key, A);
  keyboard->Update();
  EXPECT_FALSE(keyboard->GetTriggered(key));
  EXPECT_EQ(keyboard->GetStoredKey(), Input::Key::Escape);
}

TEST(KeyboardTest, CodesOutsideTheTableAnswerNothing) {
  FakeInputBackend backend;
  for (int i = 0; i < 256; ++i) backend.Hold(static_cast<std::uint8_t>(i), true);
  auto keyboard = KeyboardImp::CreateInstance();
  keyboard->ClearGuard();
  keyboard->Update();
  for (std::int32_t code : {-1, 196, 255, 256, INT_MAX, INT_MIN}) {
    EXPECT_FALSE(keyboard->IsPressed(code)) << code;
    EXPECT_FALSE(keyboard->IsTriggered(code)) << code;
    EXPECT_FALSE(keyboard->IsDown(code)) << code;
    EXPECT_FALSE(keyboard->IsUp(code)) << code;
    EXPECT_EQ(keyboard->GetKeyAsChar(code), 0) << code;
  }
  EXPECT_TRUE(keyboard->IsPressed(195));
  EXPECT_TRUE(keyboard->IsPressed(0));
}

TEST(KeyboardTest, KeyAsCharFollowsShiftCapsLockAndNumLock) {
  FakeInputBackend backend;
  auto keyboard = MakeLiveKeyboard();
  auto charOf = [&](std::int32_t key) { return keyboard->GetKeyAsChar(key); };

  EXPECT_EQ(charOf(A), 'a');
  EXPECT_EQ(charOf(Input::Key::Digit0 + 2), '2');
  EXPECT_EQ(charOf(155), ';');
  EXPECT_EQ(charOf(161), '`');
  EXPECT_EQ(charOf(163), '\\');
  EXPECT_EQ(charOf(Input::Key::Tab), 9);
  EXPECT_EQ(charOf(Input::Key::Return), 10);
  EXPECT_EQ(charOf(Input::Key::Space), 32);
  EXPECT_EQ(charOf(83), 0);  // number pad with Num Lock off
  EXPECT_EQ(charOf(97), 0);
  EXPECT_EQ(charOf(93), '*');
  EXPECT_EQ(charOf(95), 0);
  EXPECT_EQ(charOf(6), 0);
  EXPECT_EQ(charOf(166), 0);

  backend.Toggle(PAL::VirtualKey::CapsLock, true);
  EXPECT_EQ(charOf(A), 'A');
  EXPECT_EQ(charOf(Input::Key::Digit0 + 2), '2');  // Caps Lock leaves digits alone

  // Shift comes from the records of the last update.
  backend.Hold(kVirtualLeftShift, true);
  EXPECT_EQ(charOf(A), 'A');
  keyboard->Update();
  EXPECT_EQ(charOf(A), 'a');  // Shift and Caps Lock cancel out
  EXPECT_EQ(charOf(A + 25), 'z');
  EXPECT_EQ(charOf(Input::Key::Digit0 + 2), '@');
  EXPECT_EQ(charOf(Input::Key::Digit0), ')');
  EXPECT_EQ(charOf(165), '"');

  backend.Toggle(PAL::VirtualKey::CapsLock, false);
  EXPECT_EQ(charOf(A), 'A');

  backend.Toggle(PAL::VirtualKey::NumLock, true);
  EXPECT_EQ(charOf(83), '0');
  EXPECT_EQ(charOf(92), '9');
  EXPECT_EQ(charOf(97), '.');
}

TEST(KeyboardTest, SnapshotRoundTripsThroughAPlaybackKeyboard) {
  FakeInputBackend backend;
  auto live = MakeLiveKeyboard();
  EXPECT_TRUE(Snapshot(*live).empty());  // nothing down: null and 0

  backend.Hold(kVirtualLeftShift, true);
  backend.HoldAndUpdate(0x20, true, *live);
  backend.Hold(0x20, false);
  backend.HoldAndUpdate(kVirtualA, true, *live);  // shift held, space released, A went down

  const std::vector<unsigned char> bytes = Snapshot(*live);
  ASSERT_EQ(bytes.size(), 3u * 12u);
  // Ascending virtual keys, each entry: record, three zero bytes, little-endian index.
  const std::uint32_t expectedIndices[] = {0x20, kVirtualA, kVirtualLeftShift};
  for (int i = 0; i < 3; ++i) {
    const unsigned char* entry = &bytes[i * 12];
    EXPECT_EQ(entry[5] | entry[6] | entry[7], 0);
    EXPECT_EQ(entry[8] | entry[9] << 8 | entry[10] << 16 | entry[11] << 24, static_cast<int>(expectedIndices[i]));
  }
  EXPECT_EQ(bytes[4], 1);   // space: went up
  EXPECT_EQ(bytes[12], 1);  // A: held
  EXPECT_EQ(bytes[13], 1);  // A: went down

  auto playback = KeyboardImp::Create();
  playback->SetState(bytes.data(), static_cast<std::int32_t>(bytes.size()));
  ExpectSameKeys(*playback, *live);
  EXPECT_TRUE(playback->IsTriggered(A));
  EXPECT_TRUE(playback->IsUp(Input::Key::Space));

  // Playback keyboards ignore the system and report no snapshot of their own.
  playback->Update();
  EXPECT_TRUE(playback->IsTriggered(A));
  EXPECT_TRUE(Snapshot(*playback).empty());
  // A live keyboard is not fed from outside.
  live->SetState(nullptr, 0);
  EXPECT_TRUE(live->IsPressed(A));
}

TEST(KeyboardTest, HostileSnapshotsNeverReachPastTheTable) {
  auto playback = KeyboardImp::Create();
  auto* keyboard = static_cast<KeyboardImp*>(playback.Get());

  Input::KeyStateEntry entries[4];
  entries[0].record.held = 1;
  entries[0].index = 256;
  entries[1].record.held = 1;
  entries[1].index = 0xFFFFFFFFu;
  entries[2].record.held = 1;
  entries[2].index = kVirtualA;
  entries[3].record.held = 1;
  entries[3].index = 0x42;
  // Three whole entries and a partial fourth: the partial one is not read.
  playback->SetState(entries, static_cast<std::int32_t>(3 * sizeof(Input::KeyStateEntry) + 11));
  EXPECT_TRUE(playback->IsPressed(A));
  EXPECT_FALSE(playback->IsPressed(A + 1));
  EXPECT_EQ(keyboard->GetRecord(255).held, 0);

  // A snapshot always starts from a clean keyboard, also when it is unusable.
  for (std::int32_t size : {-12, 0, 11}) {
    playback->SetState(entries, size);
    EXPECT_FALSE(playback->IsPressed(A)) << size;
    playback->SetState(&entries[2], 12);
    EXPECT_TRUE(playback->IsPressed(A));
  }
  playback->SetState(nullptr, 12);
  EXPECT_FALSE(playback->IsPressed(A));
}

TEST(KeyboardTest, ChangeListsRoundTripAndToleratePartialLists) {
  FakeInputBackend backend;
  auto live = MakeLiveKeyboard();
  Input::KeyList keys;
  Input::KeyRecordList records;
  EXPECT_FALSE(live->GetChanges(keys, records));

  backend.Hold(kVirtualA, true);
  backend.HoldAndUpdate(0xFE, true, *live);
  ASSERT_TRUE(live->GetChanges(keys, records));
  ASSERT_EQ(keys, (Input::KeyList{kVirtualA, 0xFE}));
  ASSERT_EQ(records.size(), 2u);

  auto playback = KeyboardImp::Create();
  playback->SetChanges(keys, records);
  auto* replayed = static_cast<KeyboardImp*>(playback.Get());
  ExpectSameKeys(*playback, *live);

  // More indices than records (a damaged packet): the extra indices are skipped.
  Input::KeyList moreKeys{0x42, kVirtualA, 0xFF};
  Input::KeyRecordList oneRecord(1);
  oneRecord[0].held = 1;
  playback->SetChanges(moreKeys, oneRecord);
  EXPECT_TRUE(playback->IsPressed(A + 1));
  EXPECT_FALSE(playback->IsPressed(A));
  EXPECT_EQ(replayed->GetRecord(0xFF).held, 0);

  playback->SetChanges({}, records);
  EXPECT_FALSE(playback->IsPressed(A + 1));
}

TEST(KeyboardTest, TheGlobalKeyboardAndMouseAreTheLiveOnesWhileTheyLive) {
  FakeInputBackend backend;
  {
    auto live = KeyboardImp::CreateInstance();
    auto playback = KeyboardImp::Create();
    auto liveMouse = Input::MouseImp::CreateInstance();
    auto playbackMouse = Input::MouseImp::Create();
    EXPECT_EQ(Input::Keyboard::GetInstance(), live.Get());
    EXPECT_EQ(Input::Mouse::GetInstance(), liveMouse.Get());
  }
  EXPECT_EQ(Input::Keyboard::GetInstance(), nullptr);
  EXPECT_EQ(Input::Mouse::GetInstance(), nullptr);
}

// The engine codes follow the virtual keys in order, and the keys the game names reach the
// platform's keys of those names.
TEST(KeyboardTest, KeyTableMapsEngineCodesToVirtualKeys) {
  for (int code = 1; code < Input::kKeyCodeCount; ++code) EXPECT_LE(Input::KeyTable[code - 1], Input::KeyTable[code]);
  EXPECT_EQ(Input::KeyTable[0], PAL::VirtualKey::LeftButton);
  EXPECT_EQ(Input::KeyTable[Input::Key::Tab], PAL::VirtualKey::Tab);
  EXPECT_EQ(Input::KeyTable[Input::Key::Return], PAL::VirtualKey::Return);
  EXPECT_EQ(Input::KeyTable[Input::Key::Escape], PAL::VirtualKey::Escape);
  EXPECT_EQ(Input::KeyTable[Input::Key::Space], PAL::VirtualKey::Space);
  EXPECT_EQ(Input::KeyTable[Input::Key::Digit0], PAL::VirtualKey::Key0);
  EXPECT_EQ(Input::KeyTable[A], PAL::VirtualKey::KeyA);
  EXPECT_EQ(Input::KeyTable[Input::kKeyCodeCount - 1], 254);
}
