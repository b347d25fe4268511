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

// The refresh rate falls back to the highest offered, the resolution to the first at least as large
// (else the largest), the colour depth to the first at least as deep (else the deepest).
TEST(ClosestDisplayMode, RateResolutionAndDepthEachFallBackToTheNearestOffered) {
  const auto single = Table({{1280, 720, 32, 60}});
  EXPECT_EQ(ChooseClosestDisplayMode(single, {1280, 720, 32, 85}), (DisplayModeRecord{1280, 720, 32, 60}));
  const auto rates = Table({{1280, 720, 32, 60}, {1280, 720, 32, 75}, {1280, 720, 32, 100}});
  EXPECT_EQ(ChooseClosestDisplayMode(rates, {1280, 720, 32, 70}).refreshRate, 75u);
  EXPECT_EQ(ChooseClosestDisplayMode(rates, {1280, 720, 32, 60}).refreshRate, 60u);

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

  const auto depths = Table({{640, 480, 16, 60}, {640, 480, 32, 60}});
  EXPECT_EQ(ChooseClosestDisplayMode(depths, {640, 480, 24, 60}).colorBits, 32u);
  EXPECT_EQ(ChooseClosestDisplayMode(depths, {640, 480, 64, 60}).colorBits, 32u);
  EXPECT_EQ(ChooseClosestDisplayMode(depths, {640, 480, 8, 60}).colorBits, 16u);
  // No modes at all: the start record.
  EXPECT_EQ(ChooseClosestDisplayMode(DisplayModeTable(), {640, 480, 32, 60}), DisplayModeRecord());
}

namespace {
PixelFormatRecord Format(int32_t index, uint32_t colour, uint32_t depth, uint32_t stencil, uint32_t samples,
                         uint32_t swapMethod) {
  PixelFormatRecord format;
  format.index = index;
  format.colorBits = colour;
  format.depthBits = depth;
  format.stencilBits = stencil;
  format.samples = samples;
  format.multisampling = samples != 0;
  format.swapMethod = swapMethod;
  return format;
}

PixelFormatRecord Request(uint32_t colour, uint32_t depth, uint32_t stencil, uint32_t samples) {
  return Format(0, colour, depth, stencil, samples, 1);
}
}  // namespace

TEST(PixelFormatChoice, SwapMethodsAreTriedInOrderAndTheClosestFitWins) {
  const std::vector<PixelFormatRecord> formats = {Format(1, 16, 16, 0, 0, 1), Format(2, 32, 32, 8, 0, 2),
                                                  Format(3, 32, 24, 8, 0, 2), Format(4, 32, 24, 8, 0, 3)};
  EXPECT_EQ(ChoosePixelFormat(formats, Request(32, 24, 8, 0)), 3);  // no exchange: copy, the closest of those
  PixelFormatRecord undefined = Request(32, 24, 8, 0);
  undefined.swapMethod = 3;
  EXPECT_EQ(ChoosePixelFormat(formats, undefined), 4);
  EXPECT_EQ(ChoosePixelFormat(formats, Request(16, 16, 0, 0)), 1);  // fewest bits to spare
  EXPECT_EQ(ChoosePixelFormat(formats, Request(0, 0, 0, 0)), 1);    // 0 asks for any
  EXPECT_EQ(ChoosePixelFormat(formats, Request(32, 32, 0, 0)), 2);  // more depth than asked is fine
  EXPECT_EQ(ChoosePixelFormat(formats, Request(64, 24, 8, 0)), 0);  // nothing deep enough
  EXPECT_EQ(ChoosePixelFormat({}, Request(32, 24, 8, 0)), 0);
}

TEST(PixelFormatChoice, SamplesAreAtLeastTheAskedOrFewerWhenTheDisplayHasNone) {
  const std::vector<PixelFormatRecord> formats = {Format(1, 32, 24, 8, 0, 1), Format(2, 32, 24, 8, 2, 1),
                                                  Format(3, 32, 24, 8, 4, 1), Format(4, 32, 24, 0, 8, 1)};
  EXPECT_EQ(ChoosePixelFormat(formats, Request(32, 24, 8, 0)), 1);  // no samples asked: none given
  EXPECT_EQ(ChoosePixelFormat(formats, Request(32, 24, 8, 3)), 3);  // at least the asked count
  EXPECT_EQ(ChoosePixelFormat(formats, Request(32, 24, 8, 4)), 3);
  // Eight samples only without a stencil: the retry takes the next smaller count offered.
  EXPECT_EQ(ChoosePixelFormat(formats, Request(32, 24, 8, 8)), 3);
  EXPECT_EQ(ChoosePixelFormat(formats, Request(32, 24, 8, 16)), 3);
  EXPECT_EQ(ChoosePixelFormat({formats[0]}, Request(32, 24, 8, 4)), 1);  // none multisampled: a plain one
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
