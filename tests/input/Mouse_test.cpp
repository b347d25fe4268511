#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "input/Internal_Mouse.h"
#include "tests/input/FakeInputBackend.h"

using Input::MouseImp;
using TestInput::FakeInputBackend;
using TestInput::FakeWindow;

namespace {

constexpr std::uint8_t kLeft = PAL::VirtualKey::LeftButton;
constexpr std::uint8_t kRight = PAL::VirtualKey::RightButton;
constexpr std::uint8_t kMiddle = PAL::VirtualKey::MiddleButton;

// A live mouse on the fake window whose guard has lifted (the guard's remembered position is
// program-wide, so it may take one extra update when another test left the cursor elsewhere).
Core::SmartPointer<Input::Mouse> MakeLiveMouse() {
  Core::SmartPointer<Input::Mouse> mouse = MouseImp::CreateInstance();
  mouse->SetWindow(FakeWindow());
  for (int i = 0; i < 3 && static_cast<MouseImp*>(mouse.Get())->IsGuardOn(); ++i) mouse->Update();
  EXPECT_FALSE(static_cast<MouseImp*>(mouse.Get())->IsGuardOn());
  return mouse;
}

}  // namespace

TEST(MouseTest, PositionIsClientPixelsFromTheBottomLeftClampedToTheWindow) {
  FakeInputBackend backend;  // client area at (100, 50), 640 x 480
  auto mouse = MakeLiveMouse();
  struct Case {
    std::int32_t screenX, screenY, x, y;
    bool inWindow;
  } cases[] = {
      {100, 50, 0, 479, true},     // top-left pixel
      {739, 529, 639, 0, true},    // bottom-right pixel
      {740, 530, 639, 0, false},   // just outside: clamped
      {0, 0, 0, 479, false},
      {5000, -300, 639, 479, false},
      {420, 290, 320, 239, true},
  };
  for (const Case& c : cases) {
    backend.cursorX = c.screenX;
    backend.cursorY = c.screenY;
    mouse->Update();
    std::int32_t x = -1, y = -1;
    mouse->GetPositionXY(x, y);
    EXPECT_EQ(x, c.x) << c.screenX << "," << c.screenY;
    EXPECT_EQ(y, c.y) << c.screenX << "," << c.screenY;
    EXPECT_EQ(mouse->IsInWindow(), c.inWindow) << c.screenX << "," << c.screenY;
    EXPECT_EQ(mouse->GetPosition(), Math::Vector2D(static_cast<float>(c.x), static_cast<float>(c.y)));
  }

  // Without a window there is no position.
  mouse->SetWindow(nullptr);
  EXPECT_EQ(mouse->GetPositionX(), 0);
  EXPECT_EQ(mouse->GetPositionY(), 0);
  EXPECT_FALSE(mouse->IsInWindow());
  mouse->SetPosition(5, 5);
  EXPECT_EQ(backend.cursorX, 420);
}

TEST(MouseTest, ReplayedPositionsNearTheIntLimitsClampToTheWindow) {
  FakeInputBackend backend;  // client area at (100, 50), 640 x 480
  auto mouse = MakeLiveMouse();
  struct Case {
    std::int32_t screenX, screenY, x, y;
  } cases[] = {
      {INT32_MIN, INT32_MIN, 0, 479},
      {INT32_MAX, INT32_MAX, 639, 0},
      {INT32_MIN, INT32_MAX, 0, 0},
      {INT32_MAX, INT32_MIN, 639, 479},
  };
  for (const Case& c : cases) {
    Input::MousePositionHeader header;
    header.currentX = c.screenX;
    header.currentY = c.screenY;
    mouse->SetChanges(header, {}, {});
    std::int32_t x = -1, y = -1;
    mouse->GetPositionXY(x, y);
    EXPECT_EQ(x, c.x) << c.screenX << "," << c.screenY;
    EXPECT_EQ(y, c.y) << c.screenX << "," << c.screenY;
    EXPECT_FALSE(mouse->IsInWindow()) << c.screenX << "," << c.screenY;
  }
}

TEST(MouseTest, SetPositionWarpsTheCursorWithoutCountingAMove) {
  FakeInputBackend backend;
  auto mouse = MakeLiveMouse();
  mouse->Update();
  EXPECT_FALSE(mouse->IsMoved());
  mouse->SetPosition(10, 0);
  EXPECT_EQ(backend.cursorX, 110);
  EXPECT_EQ(backend.cursorY, 529);
  EXPECT_EQ(mouse->GetPositionX(), 10);
  EXPECT_EQ(mouse->GetPositionY(), 0);
  EXPECT_FALSE(mouse->IsMoved());
  mouse->Update();
  EXPECT_TRUE(mouse->IsMoved());  // against the previous update's position
  mouse->Update();
  EXPECT_FALSE(mouse->IsMoved());
}

TEST(MouseTest, ButtonsKeepPressTriggerAndReleaseAcrossFrames) {
  FakeInputBackend backend;
  auto mouse = MakeLiveMouse();
  backend.HoldAndUpdate(kLeft, true, *mouse);
  EXPECT_TRUE(mouse->IsPressed(0));
  EXPECT_TRUE(mouse->IsTriggered(0));
  EXPECT_TRUE(mouse->IsDown(0));
  mouse->Update();
  EXPECT_TRUE(mouse->IsPressed(0));
  EXPECT_FALSE(mouse->IsTriggered(0));
  backend.HoldAndUpdate(kLeft, false, *mouse);
  EXPECT_TRUE(mouse->IsUp(0));
  backend.HoldAndUpdate(kLeft, true, *mouse);
  EXPECT_FALSE(mouse->IsUp(0));
  EXPECT_TRUE(mouse->IsTriggered(0));

  // A click that starts and ends between two updates is not seen.
  backend.HoldAndUpdate(kLeft, false, *mouse);
  backend.Hold(kMiddle, true);
  backend.HoldAndUpdate(kMiddle, false, *mouse);
  EXPECT_FALSE(mouse->IsTriggered(1));

  backend.HoldAndUpdate(kMiddle, true, *mouse);
  EXPECT_TRUE(mouse->IsPressed(1));  // button 1 is the middle one
  EXPECT_FALSE(mouse->IsPressed(2));
  for (std::uint32_t button : {3u, 4u, 0xFFFFFFFFu}) {
    EXPECT_FALSE(mouse->IsPressed(button));
    EXPECT_FALSE(mouse->IsTriggered(button));
    EXPECT_FALSE(mouse->IsDown(button));
    EXPECT_FALSE(mouse->IsUp(button));
  }
}

TEST(MouseTest, GuardHidesAButtonHeldThroughResetUntilReleased) {
  FakeInputBackend backend;
  backend.cursorX = 300;
  backend.cursorY = 200;
  auto mouse = MakeLiveMouse();
  backend.HoldAndUpdate(kRight, true, *mouse);
  mouse->Reset();
  for (int i = 0; i < 5; ++i) {
    mouse->Update();
    EXPECT_FALSE(mouse->IsPressed(2));
  }
  backend.HoldAndUpdate(kRight, false, *mouse);
  EXPECT_FALSE(static_cast<MouseImp*>(mouse.Get())->IsGuardOn());
  EXPECT_FALSE(mouse->IsUp(2));
  backend.HoldAndUpdate(kRight, true, *mouse);
  EXPECT_TRUE(mouse->IsTriggered(2));
  mouse->Update();
  EXPECT_FALSE(mouse->IsTriggered(2));

  // A moving cursor keeps the guard on for as long as it moves.
  mouse->Reset();
  backend.Hold(kRight, false);
  backend.cursorX = 301;
  mouse->Reset();  // takes the new position
  mouse->Update();
  EXPECT_TRUE(static_cast<MouseImp*>(mouse.Get())->IsGuardOn());
  mouse->Update();
  EXPECT_FALSE(static_cast<MouseImp*>(mouse.Get())->IsGuardOn());
}

TEST(MouseTest, ChangeListsNameHeldAndReleasedButtonsOnly) {
  FakeInputBackend backend;
  auto mouse = MakeLiveMouse();
  mouse->Update();
  Input::MousePositionHeader header;
  header.moved = 9;
  Input::ButtonList buttons{7};
  Input::RecordList records;
  EXPECT_FALSE(mouse->GetChanges(header, buttons, records));
  EXPECT_EQ(header.moved, 0);  // the header is filled even with nothing to report
  EXPECT_EQ(header.currentX, backend.cursorX);
  EXPECT_EQ(buttons, Input::ButtonList{7});  // lists untouched

  backend.cursorX += 3;
  mouse->Update();
  EXPECT_TRUE(mouse->GetChanges(header, buttons, records));  // moved, no button
  EXPECT_EQ(header.currentX - header.previousX, 0);          // previous is taken after the move

  backend.HoldAndUpdate(kRight, true, *mouse);
  ASSERT_TRUE(mouse->GetChanges(header, buttons, records));
  EXPECT_EQ(buttons, Input::ButtonList{2});
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].held, 1);
  EXPECT_EQ(records[0].wentDown, 1);
  EXPECT_EQ(header.reserved[0] | header.reserved[1] | header.reserved[2], 0);
}

TEST(MouseTest, SnapshotRoundTripsByteForByte) {
  FakeInputBackend backend;
  backend.cursorX = 420;
  backend.cursorY = 290;
  auto live = MakeLiveMouse();
  backend.Hold(kLeft, true);
  backend.HoldAndUpdate(kRight, true, *live);
  backend.Hold(kRight, false);
  backend.cursorX = 421;
  live->Update();
  live->ShowCursor(false);

  void* data = nullptr;
  std::int32_t size = 0;
  live->GetState(data, size);
  ASSERT_EQ(size, 28);
  ASSERT_NE(data, nullptr);
  std::vector<unsigned char> bytes(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
  EXPECT_EQ(bytes[0], 1);   // left held
  EXPECT_EQ(bytes[14], 1);  // right went up
  EXPECT_EQ(bytes[15], 0);
  EXPECT_EQ(bytes[16] | bytes[17] << 8, 321);
  EXPECT_EQ(bytes[20] | bytes[21] << 8, 239);
  EXPECT_EQ(bytes[24], 1);  // in window
  EXPECT_EQ(bytes[25], 1);  // moved
  EXPECT_EQ(bytes[26], 0);  // cursor hidden
  EXPECT_EQ(bytes[27], 0);

  auto playback = MouseImp::Create();
  playback->SetState(bytes.data(), 28);
  for (std::uint32_t button = 0; button < 3; ++button) {
    EXPECT_EQ(playback->IsPressed(button), live->IsPressed(button));
    EXPECT_EQ(playback->IsUp(button), live->IsUp(button));
    EXPECT_EQ(playback->IsTriggered(button), live->IsTriggered(button));
  }
  EXPECT_EQ(playback->GetPositionX(), 321);
  EXPECT_EQ(playback->GetPositionY(), 239);
  EXPECT_TRUE(playback->IsInWindow());
  EXPECT_TRUE(playback->IsMoved());
  EXPECT_FALSE(playback->IsCursorVisible());

  // The playback record holds exactly what was sent (its own snapshot is private, so compare
  // by feeding it to a second playback mouse through the same bytes).
  void* playbackData = nullptr;
  std::int32_t playbackSize = 5;
  playback->GetState(playbackData, playbackSize);
  EXPECT_EQ(playbackData, nullptr);
  EXPECT_EQ(playbackSize, 0);

  // Wrong sizes and null are ignored.
  auto other = MouseImp::Create();
  other->SetState(bytes.data(), 27);
  other->SetState(bytes.data(), 29);
  other->SetState(nullptr, 28);
  EXPECT_FALSE(other->IsPressed(0));
  live->SetState(bytes.data(), 28);  // live mice are not fed
  EXPECT_FALSE(live->IsCursorVisible());
  live->ShowCursor(true);
}

TEST(MouseTest, HostileChangeListsNeverIndexPastTheButtons) {
  auto playback = MouseImp::Create();
  Input::MousePositionHeader header;
  header.currentX = 40;
  header.currentY = 60;
  Input::KeyRecord held;
  held.held = 1;
  playback->SetChanges(header, Input::ButtonList{3, 255, 1, 0}, Input::RecordList{held, held, held});
  EXPECT_TRUE(playback->IsPressed(1));
  EXPECT_FALSE(playback->IsPressed(0));  // its record is missing
  EXPECT_FALSE(playback->IsPressed(2));
  EXPECT_TRUE(playback->IsMoved());

  // Empty lists clear every button and move only the position.
  playback->SetChanges(header, {}, {});
  EXPECT_FALSE(playback->IsPressed(1));
  EXPECT_FALSE(playback->IsMoved());  // same position as before

  // A live mouse's change list replays onto a playback mouse.
  FakeInputBackend backend;
  auto live = MakeLiveMouse();
  backend.HoldAndUpdate(kLeft, true, *live);
  Input::ButtonList buttons;
  Input::RecordList records;
  ASSERT_TRUE(live->GetChanges(header, buttons, records));
  playback->SetChanges(header, buttons, records);
  EXPECT_TRUE(playback->IsTriggered(0));
  EXPECT_TRUE(playback->IsPressed(0));
}

TEST(MouseTest, CursorDisplayCountIsDrivenAcrossZero) {
  FakeInputBackend backend;
  auto mouse = MakeLiveMouse();
  backend.cursorCount = 3;  // shown three times over by other code
  mouse->ShowCursor(false);
  EXPECT_EQ(backend.cursorCount, -1);
  EXPECT_FALSE(mouse->IsCursorVisible());
  mouse->ShowCursor(false);  // hiding again goes one further, like the system count
  EXPECT_EQ(backend.cursorCount, -2);
  mouse->ShowCursor(true);
  EXPECT_EQ(backend.cursorCount, 0);
  EXPECT_TRUE(mouse->IsCursorVisible());

  auto playback = MouseImp::Create();
  const int calls = backend.showCursorCalls;
  playback->ShowCursor(false);
  EXPECT_EQ(backend.showCursorCalls, calls);
  playback->SetWindow(FakeWindow());
  EXPECT_EQ(playback->GetWindow(), nullptr);
}
