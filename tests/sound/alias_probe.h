#pragma once
// How cleanly a renderer plays a sample at a given step ratio (playback rate
// over the 48 kHz output rate). Sines of a 44.1 kHz sample, swept across its
// whole band, are played at that rate. Whatever lands in the output's band
// other than the expected tone is an alias product (content above the
// output's Nyquist frequency folded back) or an image (the source's spectrum
// repeated above its own Nyquist frequency); the worst of them is reported in
// dB against the level at which the same renderer plays a 1 kHz sine (higher
// at the lowest ratios, so that it lands clear of DC). The tones the source
// holds below 16 kHz that land below 16 kHz must keep that level: the largest
// deviation is the passband's flatness; the reference tone itself is measured
// against the sample's own level. Any renderer can be probed: it is handed a
// mono float sample and a rate and returns the left channel it made of it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "tests/sound/signal_analysis.h"

namespace sound_test {

struct AliasReport {
  double worstDb = -400.0;  // the strongest product against the reference tone
  double toneHz = 0.0;      // the swept sine that made it
  double productHz = 0.0;   // where it landed in the output
  double passbandDb = 0.0;  // the passband tone furthest from the reference's level, signed
  double passbandToneHz = 0.0;
  double referenceDb = 0.0;  // the reference tone's level against the sample's own
};

class AliasProbe {
 public:
  static constexpr double kSampleRate = 44100.0;
  static constexpr double kOutputRate = 48000.0;
  static constexpr double kPassbandTopHz = 16000.0;
  static constexpr std::size_t kWindow = 8192;
  static constexpr std::size_t kSettle = 2048;  // output frames skipped while the kernel fills
  static constexpr std::size_t kOutputFrames = kSettle + kWindow;
  static constexpr double kAmplitude = 0.5;

  // Renders kOutputFrames frames of the sample played at `playRate` Hz;
  // returns the left channel.
  using Renderer = std::function<std::vector<float>(const std::vector<float>& sample, std::uint32_t playRate)>;

  static std::uint32_t playRateFor(double ratio) {
    return static_cast<std::uint32_t>(std::lround(ratio * kOutputRate));
  }

  // Enough of the sample for the whole output, and some to spare.
  static std::vector<float> tone(double hz, std::uint32_t playRate) {
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

  static AliasReport measure(const Renderer& render, double ratio) {
    const std::uint32_t playRate = playRateFor(ratio);
    const double scale = playRate / kSampleRate;  // a sample's hertz to the output's
    // 1 kHz, or higher where 1 kHz would land too near DC to be measured.
    const double referenceHz = std::max(1000.0, 2.0 * kGuardBins * kOutputRate / kWindow / scale);
    const double reference = toneLevel(magnitudes(render(tone(referenceHz, playRate), playRate)), referenceHz * scale);
    AliasReport report;
    const auto original = sine(referenceHz * scale, kOutputRate, kOutputFrames, kAmplitude);
    report.referenceDb = 20.0 * std::log10(reference / toneLevel(magnitudes(original), referenceHz * scale));
    for (double hz : sweep()) {
      const auto mag = magnitudes(render(tone(hz, playRate), playRate));
      const double out = hz * scale;
      const Component product = strongestOther(mag, out);
      const double db = 20.0 * std::log10(std::max(toneLevel(mag, product.hz), 1e-20) / reference);
      if (db > report.worstDb) {
        report.worstDb = db;
        report.toneHz = hz;
        report.productHz = product.hz;
      }
      if (hz <= kPassbandTopHz && out <= kPassbandTopHz && binOf(out) >= kGuardBins) {
        const double level = 20.0 * std::log10(std::max(toneLevel(mag, out), 1e-20) / reference);
        if (std::fabs(level) > std::fabs(report.passbandDb)) {
          report.passbandDb = level;
          report.passbandToneHz = hz;
        }
      }
    }
    return report;
  }

 private:
  struct Component {
    double level = 0.0;
    double hz = 0.0;
  };
  static constexpr std::size_t kGuardBins = 8;  // the window's main lobe and some
  static constexpr std::size_t kLobeBins = 4;   // the Blackman-Harris window's main lobe, each side

  static std::size_t binOf(double hz) { return static_cast<std::size_t>(std::lround(hz * kWindow / kOutputRate)); }

  static std::vector<double> magnitudes(const std::vector<float>& left) {
    return spectrum(left.data() + kSettle, kWindow, 1);
  }

  // A tone's level from all of its main lobe, so that where it falls
  // between two bins does not change it.
  static double toneLevel(const std::vector<double>& mag, double hz) {
    const std::size_t centre = binOf(hz);
    double energy = 0.0;
    for (std::size_t i = centre - std::min(centre, kLobeBins); i <= centre + kLobeBins && i < mag.size(); ++i)
      energy += mag[i] * mag[i];
    return std::sqrt(energy);
  }

  // The peak across the output's whole band, away from DC, Nyquist and the
  // expected tone.
  static Component strongestOther(const std::vector<double>& mag, double expectedHz) {
    const std::size_t expected = binOf(expectedHz);
    const bool inBand = expectedHz < kOutputRate / 2;
    Component c;
    for (std::size_t i = kGuardBins; i + kGuardBins < mag.size(); ++i) {
      if (inBand && i + kGuardBins >= expected && i <= expected + kGuardBins) continue;
      if (mag[i] > c.level) c = {mag[i], static_cast<double>(i) * kOutputRate / kWindow};
    }
    return c;
  }
};

}  // namespace sound_test
