#pragma once
// How cleanly a renderer plays a sample at twice its rate. Sines of a 44.1 kHz
// sample, swept across its whole band, are played at 88.2 kHz into 48 kHz
// output. Whatever lands below 20 kHz other than the expected tone (twice the
// sine's frequency, when that is below 24 kHz) is an alias product or an
// image; the worst of them is reported in dB against the level at which the
// same renderer plays a 1 kHz sine. Any renderer can be probed: it is handed
// a mono float sample and returns the left channel it made of it.
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "tests/sound/signal_analysis.h"

namespace sound_test {

struct AliasReport {
  double worstDb = -400.0;  // the strongest product against the reference tone
  double toneHz = 0.0;      // the swept sine that made it
  double productHz = 0.0;   // where it landed in the output
};

class AliasProbe {
 public:
  static constexpr double kSampleRate = 44100.0;
  static constexpr double kPlayRate = 88200.0;
  static constexpr double kOutputRate = 48000.0;
  static constexpr double kAudibleTopHz = 20000.0;
  static constexpr std::size_t kWindow = 8192;
  static constexpr std::size_t kSettle = 2048;  // output frames skipped while the kernel fills
  static constexpr std::size_t kOutputFrames = kSettle + kWindow;
  static constexpr double kAmplitude = 0.5;

  // Renders kOutputFrames frames of the sample played at kPlayRate; returns
  // the left channel.
  using Renderer = std::function<std::vector<float>(const std::vector<float>& sample)>;

  // Enough of the sample for the whole output, and some to spare.
  static std::vector<float> tone(double hz, double playRate = kPlayRate) {
    const auto frames = static_cast<std::size_t>(kOutputFrames * playRate / kOutputRate) + 1024;
    return sine(hz, kSampleRate, frames, kAmplitude);
  }

  // Sines from 137 Hz in steps of 250 Hz to just below the sample's Nyquist
  // frequency: the steps do not line up with the analysis bins.
  static std::vector<double> sweep() {
    std::vector<double> tones;
    for (double hz = 137.0; hz < kSampleRate / 2 - 100.0; hz += 250.0) tones.push_back(hz);
    return tones;
  }

  // The renderer plays the sample at `playRate` (the sample's rate is kSampleRate).
  static AliasReport measure(const Renderer& render, double playRate = kPlayRate) {
    const double ratio = playRate / kSampleRate;
    const double reference = strongest(render(tone(1000.0, playRate)), 1000.0 * ratio).level;
    AliasReport report;
    for (double hz : sweep()) {
      const Component product = strongestOther(render(tone(hz, playRate)), ratio * hz);
      const double db = 20.0 * std::log10(std::max(product.level, 1e-20) / reference);
      if (db > report.worstDb) report = {db, hz, product.hz};
    }
    return report;
  }

  // The output frequency up to which every swept tone keeps its level within
  // 1 dB of the 1 kHz tone's: the -1 dB edge of the passband.
  static double passbandEdgeHz(const Renderer& render, double playRate = kPlayRate) {
    const double ratio = playRate / kSampleRate;
    const double reference = strongest(render(tone(1000.0, playRate)), 1000.0 * ratio).level;
    double edge = 0.0;
    for (double hz : sweep()) {
      const double out = ratio * hz;
      if (out + kGuardBins * kOutputRate / kWindow >= kOutputRate / 2) break;
      const double level = strongest(render(tone(hz, playRate)), out).level;
      if (20.0 * std::log10(std::max(level, 1e-20) / reference) < -1.0) break;
      edge = out;
    }
    return edge;
  }

 private:
  struct Component {
    double level = 0.0;
    double hz = 0.0;
  };
  static constexpr std::size_t kGuardBins = 8;  // the window's main lobe and some

  static std::size_t binOf(double hz) { return static_cast<std::size_t>(std::lround(hz * kWindow / kOutputRate)); }

  static std::vector<double> magnitudes(const std::vector<float>& left) {
    return spectrum(left.data() + kSettle, kWindow, 1);
  }

  static Component strongest(const std::vector<float>& left, double nearHz) {
    const auto mag = magnitudes(left);
    const std::size_t centre = binOf(nearHz);
    Component c;
    for (std::size_t i = centre - kGuardBins; i <= centre + kGuardBins; ++i)
      if (mag[i] > c.level) c = {mag[i], static_cast<double>(i) * kOutputRate / kWindow};
    return c;
  }

  static Component strongestOther(const std::vector<float>& left, double expectedHz) {
    const auto mag = magnitudes(left);
    const std::size_t expected = binOf(expectedHz);
    const bool audible = expectedHz < kOutputRate / 2;
    Component c;
    for (std::size_t i = kGuardBins; i <= binOf(kAudibleTopHz); ++i) {
      if (audible && i + kGuardBins >= expected && i <= expected + kGuardBins) continue;
      if (mag[i] > c.level) c = {mag[i], static_cast<double>(i) * kOutputRate / kWindow};
    }
    return c;
  }
};

}  // namespace sound_test
