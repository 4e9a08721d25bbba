#include <gtest/gtest.h>

#include <algorithm>

#include "tidewell/common/random.h"
#include "tidewell/picture/picture.h"

namespace tidewell {
namespace {

// The steep ramp as the picture's colours are made of it: 3i - 512, not below
// 0 (0 up to entry 170, then 1, 4, 7, ... up to 253).
int steep(int i) { return std::max(0, 3 * i - 512); }

// Each test on a fresh picture of its own.
struct FreshPicture : ::testing::Test, Picture {};
using StartRamps = FreshPicture;
using FadePalette = FreshPicture;
using RandomisePalette = FreshPicture;

void expectEntry(const platform::PaletteEntry& e, int r, int g, int b) {
  EXPECT_EQ(e.red, r);
  EXPECT_EQ(e.green, g);
  EXPECT_EQ(e.blue, b);
  EXPECT_EQ(e.flags, 0);
}

TEST_F(StartRamps, EntriesAtTheBendsAndAgainAfterChanges) {
  for (int round = 0; round < 2; ++round) {
    initPalettes();
    expectEntry(currentPalette[0], 0, 0, 0);
    expectEntry(targetPalette[0], 0, 0, 0);
    expectEntry(currentPalette[170], 0, 170, 170);
    expectEntry(targetPalette[170], 170, 0, 0);
    expectEntry(currentPalette[171], 1, 171, 171);
    expectEntry(targetPalette[171], 171, 1, 0);
    expectEntry(currentPalette[255], 253, 255, 255);
    expectEntry(targetPalette[255], 255, 253, 0);
    currentPalette[170] = {9, 9, 9, 0};
    targetPalette[255] = {1, 2, 3, 0};
  }
}

TEST_F(FadePalette, MovesOneStepPerCallAndStops) {
  initPalettes();
  currentPalette[7] = {10, 200, 50, 0};
  targetPalette[7] = {13, 197, 50, 0};
  const int expectedRed[] = {11, 12, 13, 13};
  const int expectedGreen[] = {199, 198, 197, 197};
  for (int call = 0; call < 4; ++call) {
    fadePalette();
    EXPECT_EQ(currentPalette[7].red, expectedRed[call]);
    EXPECT_EQ(currentPalette[7].green, expectedGreen[call]);
    EXPECT_EQ(currentPalette[7].blue, 50);
  }
}

// Four draws: three channel selectors and the band's mode, in that order; only
// the target palette changes (the fade walks to it). Selectors in the band
// give black: BandEdgesForBothModes.
TEST_F(RandomisePalette, ChannelsFollowTheirSelectors) {
  randomGenerator().reset();
  RandomGenerator replay;
  const int s[3] = {replay.next() % 100, replay.next() % 100, replay.next() % 100};
  const int m = replay.next() % 100;
  const int low = m > 50 ? 30 : 50, high = m > 50 ? 70 : 60;
  initPalettes();
  const platform::PaletteEntry before = currentPalette[200];
  randomisePalette();
  expectEntry(currentPalette[200], before.red, before.green, before.blue);
  for (int i : {0, 100, 171, 255}) {
    const std::uint8_t got[3] = {targetPalette[i].red, targetPalette[i].green, targetPalette[i].blue};
    for (int c = 0; c < 3; ++c) {
      const int want = s[c] < low ? i : s[c] > high ? steep(i) : 0;
      EXPECT_EQ(got[c], want) << "entry " << i << " channel " << c;
    }
  }
}

// The band's bounds belong to it (black), one step outside picks a ramp; a
// mode of exactly 50 still gives the narrow band.
TEST_F(RandomisePalette, BandEdgesForBothModes) {
  struct Case {
    int mode, selector;
    char ramp;  // 'l' linear, 's' steep, '0' black
  } cases[] = {
      {50, 49, 'l'}, {50, 50, '0'}, {50, 60, '0'}, {50, 61, 's'},
      {0, 50, '0'},  {51, 29, 'l'}, {51, 30, '0'}, {51, 70, '0'},
      {51, 71, 's'}, {51, 50, '0'}, {99, 0, 'l'},  {99, 99, 's'},
  };
  for (const Case& c : cases) {
    targetPaletteFromDraws(c.selector, 0, 99, c.mode);
    for (int i : {0, 100, 170, 171, 255}) {
      const int want = c.ramp == 'l' ? i : c.ramp == 's' ? steep(i) : 0;
      EXPECT_EQ(targetPalette[i].red, want) << "mode " << c.mode << " selector " << c.selector;
      EXPECT_EQ(targetPalette[i].green, i);  // 0 is below every band
      EXPECT_EQ(targetPalette[i].blue, steep(i));  // 99 above every band
      EXPECT_EQ(targetPalette[i].flags, 0);
    }
  }
}

}  // namespace
}  // namespace tidewell
