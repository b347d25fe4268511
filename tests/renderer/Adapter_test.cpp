#include <gtest/gtest.h>

#include "renderer/opengl/Renderer_Adapter.h"
#include "renderer/opengl/Renderer_OGLRenderer.h"

using namespace Renderer;

namespace {
DisplayModeTable Table(std::initializer_list<DisplayModeRecord> modes) {
  DisplayModeTable table;
  for (const auto& mode : modes) AddDisplayMode(table, mode);
  return table;
}
}  // namespace

TEST(ClosestDisplayMode, RefreshRateFallsBackToTheHighestOffered) {
  const auto table = Table({{1280, 720, 32, 60}});
  EXPECT_EQ(ChooseClosestDisplayMode(table, {1280, 720, 32, 85}), (DisplayModeRecord{1280, 720, 32, 60}));
  const auto rates = Table({{1280, 720, 32, 60}, {1280, 720, 32, 75}, {1280, 720, 32, 100}});
  EXPECT_EQ(ChooseClosestDisplayMode(rates, {1280, 720, 32, 70}).refreshRate, 75u);
  EXPECT_EQ(ChooseClosestDisplayMode(rates, {1280, 720, 32, 60}).refreshRate, 60u);
}

TEST(ClosestDisplayMode, ResolutionIsTheFirstThatIsAtLeastAsLarge) {
  const auto table = Table({{800, 600, 32, 60}, {1024, 768, 32, 60}, {1280, 720, 32, 60}});
  auto chosen = ChooseClosestDisplayMode(table, {1000, 700, 32, 60});
  EXPECT_EQ(chosen.width, 1024u);
  EXPECT_EQ(chosen.height, 768u);
  const auto sameWidth = Table({{1024, 600, 32, 60}, {1024, 768, 32, 60}});
  chosen = ChooseClosestDisplayMode(sameWidth, {1024, 700, 32, 60});
  EXPECT_EQ(chosen.height, 768u);
  chosen = ChooseClosestDisplayMode(table, {4000, 3000, 32, 60});
  EXPECT_EQ(chosen.width, 1280u);  // larger than every mode: the largest
  EXPECT_EQ(chosen.height, 720u);
  chosen = ChooseClosestDisplayMode(table, {800, 600, 32, 60});
  EXPECT_EQ(chosen.width, 800u);
}

TEST(ClosestDisplayMode, ColourDepthIsTheFirstAtLeastAsDeepOrTheDeepest) {
  const auto table = Table({{640, 480, 16, 60}, {640, 480, 32, 60}});
  EXPECT_EQ(ChooseClosestDisplayMode(table, {640, 480, 24, 60}).colorBits, 32u);
  EXPECT_EQ(ChooseClosestDisplayMode(table, {640, 480, 64, 60}).colorBits, 32u);
  EXPECT_EQ(ChooseClosestDisplayMode(table, {640, 480, 8, 60}).colorBits, 16u);
  // No modes at all: the start record.
  EXPECT_EQ(ChooseClosestDisplayMode(DisplayModeTable(), {640, 480, 32, 60}), DisplayModeRecord());
}

TEST(PixelFormatChoice, SwapMethodsAreTriedInOrderThenAnyFormatOfTheDepth) {
  std::vector<PixelFormatRecord> formats(3);
  formats[0].index = 1;
  formats[0].colorBits = 16;
  formats[0].depthBits = 16;
  formats[0].swapMethod = 1;
  formats[1].index = 2;
  formats[1].colorBits = 32;
  formats[1].depthBits = 24;
  formats[1].stencilBits = 8;
  formats[1].swapMethod = 2;
  formats[2].index = 3;
  formats[2].colorBits = 32;
  formats[2].depthBits = 24;
  formats[2].stencilBits = 8;
  formats[2].swapMethod = 3;
  PixelFormatRecord request;
  request.colorBits = 32;
  request.depthBits = 24;
  request.stencilBits = 8;
  request.swapMethod = 1;
  EXPECT_EQ(ChoosePixelFormat(formats, request), 2);  // no exchange format: copy comes next
  request.swapMethod = 3;
  EXPECT_EQ(ChoosePixelFormat(formats, request), 3);
  request.multisampling = true;
  request.samples = 4;
  EXPECT_EQ(ChoosePixelFormat(formats, request), 2);  // nothing multisampled: first of the depth
  EXPECT_EQ(ChoosePixelFormat({}, request), 0);
}

TEST(SurfaceCopyClipping, SourceIsClippedToTheSurfaceAndHiddenEdgesSkipped) {
  // Wholly inside.
  SurfaceCopy copy = ClipSurfaceCopy(64, 32, 10, 20, 0, 0, 64, 32, 640, 480);
  EXPECT_TRUE(copy.visible);
  EXPECT_EQ(copy.width, 64);
  EXPECT_EQ(copy.height, 32);
  EXPECT_EQ(copy.sourceColumn, 0);
  // Hanging over the left and bottom edges: the hidden columns and rows are skipped.
  copy = ClipSurfaceCopy(64, 32, -10, -5, 0, 0, 64, 32, 640, 480);
  EXPECT_EQ(copy.destinationLeft, 0);
  EXPECT_EQ(copy.width, 54);
  EXPECT_EQ(copy.height, 27);
  EXPECT_EQ(copy.sourceColumn, 10);
  EXPECT_EQ(copy.sourceRow, 5);
  // Over both the left and the right edge: only the ten columns on the left are hidden.
  copy = ClipSurfaceCopy(100, 10, -10, 0, 0, 0, 100, 10, 50, 480);
  EXPECT_EQ(copy.width, 50);
  EXPECT_EQ(copy.sourceColumn, 10);
  // A source rectangle larger than the surface or starting outside it stays inside it.
  copy = ClipSurfaceCopy(16, 16, 0, 0, -20, -20, 500, 500, 640, 480);
  EXPECT_EQ(copy.width, 16);
  EXPECT_EQ(copy.height, 16);
  EXPECT_EQ(copy.sourceColumn, 0);
  copy = ClipSurfaceCopy(16, 16, 0, 0, 12, 4, 500, 8, 640, 480);
  EXPECT_EQ(copy.sourceColumn, 12);
  EXPECT_EQ(copy.sourceRow, 4);
  EXPECT_EQ(copy.width, 4);
  EXPECT_EQ(copy.height, 4);
  EXPECT_LE(copy.sourceColumn + copy.width, 16);
  // Wholly outside, or empty.
  EXPECT_FALSE(ClipSurfaceCopy(16, 16, 700, 0, 0, 0, 16, 16, 640, 480).visible);
  EXPECT_FALSE(ClipSurfaceCopy(16, 16, -16, 0, 0, 0, 16, 16, 640, 480).visible);
  EXPECT_FALSE(ClipSurfaceCopy(16, 16, 0, 0, 8, 0, 4, 16, 640, 480).visible);
  EXPECT_FALSE(ClipSurfaceCopy(16, 16, 0, 0, 0, 0, 16, 16, 0, 0).visible);
}
