#pragma once
// Band-limited interpolation kernels: Kaiser-windowed sinc, stored as
// polyphase tables. A voice played faster than the output rate uses a
// kernel widened by the rate ratio (its cut-off follows the output's
// Nyquist frequency), chosen from a few precomputed scales.
#include <cstdint>
#include <vector>

namespace platform::sound {

struct KernelTable {
  double scale = 1.0;   // the kernel is widened by this factor
  int taps = 0;         // a multiple of 4; tap k weighs input frame (i - lead + k)
  int lead = 0;         // frames the kernel reaches back from the current one
  int phases = 0;       // steps of the fractional position
  // For phase p: taps coefficients, then taps differences to phase p + 1,
  // so that c = coef[k] + fraction * delta[k] between phases.
  std::vector<float> coefficients;

  const float* phase(int p) const { return coefficients.data() + static_cast<std::size_t>(p) * 2 * taps; }
};

class KernelBank {
 public:
  static constexpr int kZeroCrossings = 12;  // per side, at scale 1
  static constexpr int kPhases = 256;
  static constexpr double kKaiserBeta = 7.5;
  static constexpr double kRolloff = 0.86;   // pass band edge as a share of the Nyquist frequency
  static constexpr int kScaleSteps = 8;      // scales 1, 1 + 1/8, 1 + 2/8 ...
  static constexpr double kMaxRatio = 100000.0 / 48000.0;

  KernelBank();
  // The table for a voice moving `ratio` input frames per output frame.
  const KernelTable& forRatio(double ratio) const;
  // Frames of silence needed before and after a sample for the widest kernel.
  static int padding();

 private:
  std::vector<KernelTable> tables_;
};

// One bank for the process, built on first use (outside the audio callback).
const KernelBank& kernelBank();

}  // namespace platform::sound
