#include <gtest/gtest.h>

#include "platform/sdl/PAL_SDLKeyMap.h"

// Scancodes are USB usage numbers; the answers are the virtual keys that replays carry.
TEST(KeyMapTest, ScancodesMapToFixedVirtualKeys) {
  struct Pair {
    int scancode;
    int virtualKey;
  } pairs[] = {
      {4, 'A'},    {29, 'Z'},   {30, '1'},   {38, '9'},   {39, '0'},   {40, 0x0D},  {41, 0x1B},
      {42, 0x08},  {43, 0x09},  {44, 0x20},  {45, 0xBD},  {51, 0xBA},  {53, 0xC0},  {56, 0xBF},
      {57, 0x14},  {58, 0x70},  {69, 0x7B},  {104, 0x7C}, {115, 0x87}, {71, 0x91},  {83, 0x90},
      {79, 0x27},  {80, 0x25},  {81, 0x28},  {82, 0x26},  {74, 0x24},  {77, 0x23},  {75, 0x21},
      {78, 0x22},  {73, 0x2D},  {76, 0x2E},  {98, 0x60},  {89, 0x61},  {97, 0x69},  {99, 0x6E},
      {84, 0x6F},  {85, 0x6A},  {86, 0x6D},  {87, 0x6B},  {88, 0x0D},  {224, 0xA2}, {225, 0xA0},
      {226, 0xA4}, {228, 0xA3}, {229, 0xA1}, {230, 0xA5},
  };
  for (const Pair& pair : pairs) {
    EXPECT_EQ(PAL::MapScancodeToVirtualKey(pair.scancode), pair.virtualKey) << pair.scancode;
  }
  // Unknown and out-of-range scancodes name no key.
  for (int scancode : {-1, 0, 1, 3, 511, 512, 100000}) {
    EXPECT_EQ(PAL::MapScancodeToVirtualKey(scancode), 0) << scancode;
  }
}
