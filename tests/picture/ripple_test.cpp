#include <gtest/gtest.h>

#include "tidewell/picture/picture.h"

namespace tidewell {
namespace {

// Each test on a fresh picture of its own.
struct FreshPicture : ::testing::Test, Picture {};
using RippleStep = FreshPicture;
using PlotTrack = FreshPicture;

// The wave step as written, one cell at a time, to check the fast one against.
void referenceStep(const IntensityMap& s, IntensityMap& t) {
  for (int x = 0; x < kPictureWidth; ++x) {
    for (int y = 0; y < kPictureHeight; ++y) {
      const int l = (x + kPictureWidth - 1) % kPictureWidth, r = (x + 1) % kPictureWidth;
      const int u = (y + kPictureHeight - 1) % kPictureHeight, d = (y + 1) % kPictureHeight;
      int v = (s.at(l, y) + s.at(r, y) + s.at(x, d) + s.at(x, u)) / 2 - t.at(x, y);
      t.at(x, y) = v > 255 ? 255 : v < 1 ? 0 : v;
    }
  }
}

TEST(Intensity, DoubleDivisionAndClamp) {
  EXPECT_EQ(intensityForVolume(0), 255);
  EXPECT_EQ(intensityForVolume(-2500), 127);
  EXPECT_EQ(intensityForVolume(-3999), 51);
  EXPECT_EQ(intensityForVolume(-4020), 49);
  EXPECT_EQ(intensityForVolume(-5000), 0);
  EXPECT_EQ(intensityForVolume(-10000), 0);
  EXPECT_EQ(intensityForVolume(300), 255);
  EXPECT_EQ(intensityForVolume(INT32_MIN), 0);
  EXPECT_EQ(intensityForVolume(INT32_MAX), 255);
}

TEST_F(PlotTrack, FullVolumeCrossThenFirstWaveBesideIt) {
  resetIntensityMaps();
  plotCross(intensityForVolume(0), 200, 150);
  IntensityMap& source = sourceMap();
  EXPECT_EQ(source.at(200, 1), 255);
  EXPECT_EQ(source.at(200, 298), 255);
  EXPECT_EQ(source.at(200, 0), 50);    // one cell short of the border
  EXPECT_EQ(source.at(200, 299), 50);
  EXPECT_EQ(source.at(1, 150), 255);
  EXPECT_EQ(source.at(398, 150), 255);
  EXPECT_EQ(source.at(0, 150), 50);
  EXPECT_EQ(source.at(399, 150), 50);
  rippleStep();
  EXPECT_EQ(sourceMap().at(199, 100), 152);  // (255 + 3 * 50) / 2 - 50
  EXPECT_EQ(sourceMap().at(201, 100), 152);
  EXPECT_EQ(sourceMap().at(100, 149), 152);
}

TEST_F(PlotTrack, LinesOnePastTheGridLandOnTheLastColumnAndRow) {
  resetIntensityMaps();
  plotCross(200, 400, 300);
  EXPECT_EQ(sourceMap().at(399, 10), 200);
  EXPECT_EQ(sourceMap().at(10, 299), 200);
  plotCross(100, -5, -7);
  EXPECT_EQ(sourceMap().at(0, 10), 100);
  EXPECT_EQ(sourceMap().at(10, 0), 100);
}

// Every cell of a rough field, the edges' neighbours across the picture and
// both clamps included.
TEST_F(RippleStep, MatchesTheCellByCellStepOnARoughField) {
  resetIntensityMaps();
  std::uint32_t seed = 12345;
  for (IntensityMap& map : maps) {
    for (int x = 0; x < kPictureWidth; ++x) {
      for (int y = 0; y < kPictureHeight; ++y) {
        seed = seed * 1103515245u + 12345u;
        map.at(x, y) = static_cast<int>((seed >> 16) & 0xFF);
      }
    }
  }
  static IntensityMap expectedTarget;
  for (int round = 0; round < 3; ++round) {
    expectedTarget = targetMap();
    referenceStep(sourceMap(), expectedTarget);
    rippleStep();
    for (int x = 0; x < kPictureWidth; ++x) {
      for (int y = 0; y < kPictureHeight; ++y) {
        ASSERT_EQ(sourceMap().at(x, y), expectedTarget.at(x, y)) << x << "," << y;
      }
    }
  }
}

TEST(CopyMapToPixels, TransposesIntoRowsWithPitch) {
  static IntensityMap map;
  for (int x = 0; x < kPictureWidth; ++x) {
    for (int y = 0; y < kPictureHeight; ++y) map.at(x, y) = (x * 7 + y * 13) & 0xFF;
  }
  constexpr int pitch = 416;
  std::vector<std::uint8_t> pixels(pitch * kPictureHeight + 16, 0xEE);
  copyMapToPixels(map, pixels.data(), pitch);
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      ASSERT_EQ(pixels[y * pitch + x], (x * 7 + y * 13) & 0xFF) << x << "," << y;
    }
    for (int x = kPictureWidth; x < pitch; ++x) ASSERT_EQ(pixels[y * pitch + x], 0xEE);
  }
}

}  // namespace
}  // namespace tidewell
