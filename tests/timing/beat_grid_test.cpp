// The measuring tool of the timing tests finds clicks to the frame and fits
// their grid, also where beats are silent and onsets are off the grid.
#include "tools/beat_grid/beat_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(BeatGrid, OnsetsAreTheFirstLoudFrameAfterQuiet) {
  std::vector<float> stereo(2 * 4000, 0.0f);
  for (const int at : {100, 1500, 1530, 3000}) {
    for (int f = at; f < at + 10; ++f) stereo[2 * f + 1] = (f % 2 == 0) ? 0.5f : -0.5f;  // right channel only
  }
  // 1530 follows 1500 within the quiet span: the same sound.
  EXPECT_EQ(beat_grid::findOnsets(stereo, 2, 0.1f, 960), (std::vector<std::int64_t>{100, 1500, 3000}));
}

TEST(BeatGrid, FitsPeriodAndJitterAcrossSilentBeats) {
  const double period = 85.714;
  std::vector<double> onsets;
  const int beats[] = {0, 1, 2, 4, 5, 8, 9, 10, 12, 13};  // some beats silent
  for (int i = 0; i < 10; ++i) onsets.push_back(1000.0 + beats[i] * period + (i % 2 == 0 ? 0.5 : -0.5));
  const beat_grid::GridFit fit = beat_grid::fitGrid(onsets, 85.0);
  EXPECT_EQ(fit.beats, 13);
  EXPECT_EQ(fit.unexplained, 0);
  EXPECT_NEAR(fit.periodMs, period, 0.05);
  EXPECT_NEAR(fit.rmsMs, 0.5, 0.05);
  EXPECT_LE(fit.worstMs, 0.7);
  EXPECT_NEAR(beat_grid::localRmsMs(onsets, 85.0, 12), 0.5, 0.1);
}

TEST(BeatGrid, AWholeFrameGridIsTellingApartFromTheTempo) {
  // The old rule's beats at 700 a minute: six frames of 60 Hz each.
  std::vector<double> onsets;
  for (int i = 0; i < 100; ++i) onsets.push_back(i * 100.0);
  const beat_grid::GridFit fit = beat_grid::fitGrid(onsets, 85.714);
  EXPECT_NEAR(fit.periodMs / 85.714 - 1.0, 0.1667, 0.001);
}

// Frames are timed over the span since the write before, at the writes' own
// pace; a write seen in two pieces is one write, and the frames before the
// device started are no write at all.
TEST(BeatGrid, TheGrowthLogTimesFramesByTheWritesAroundThem) {
  beat_grid::GrowthLog growth;
  growth.add(0.990, 0);       // before the first frame
  growth.add(1.000, 1024);
  growth.add(1.020, 1536);    // a write seen half copied...
  growth.add(1.0202, 2048);   // ...and done
  growth.add(1.040, 3072);    // 1024 frames in 20 ms: faster than 48 kHz
  ASSERT_EQ(growth.wall.size(), 3u);
  const struct {
    double frame, wantMs;
  } cases[] = {
      {1024, 1000.0},                  // the first write's end
      {1536, 1000.0 + 0.5 * 20.2},     // halfway through the merged write
      {2560, 1020.2 + 0.5 * 19.8},     // halfway through the last, at its pace
      {3072, 1040.0},
  };
  for (const auto& c : cases) EXPECT_NEAR(growth.wallMsOfFrame(c.frame), c.wantMs, 1e-6) << c.frame;
  EXPECT_NEAR(growth.intervalSpreadMs(), 0.2, 1e-6);  // writes 20.2 and 19.8 ms apart
}

}  // namespace
