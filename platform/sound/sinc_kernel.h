#pragma once
// Band-limited interpolation kernels: Kaiser-windowed sinc, stored as
// polyphase tables built once. Every table keeps the band to 16 kHz flat
// within 0.1 dB and leaves no image or alias product above -80 dB:
// - a voice played at or below the output rate (step ratio <= 1) is
//   upsampled: the kernel passes 16 kHz of a 44.1 kHz recording (0.363 of a
//   source frame's cycle, wherever the pitch puts it) and stops everything
//   from the source's own Nyquist frequency on, where the images begin;
// - a voice played faster is decimated: the kernel is widened by the ratio,
//   so it passes 16 kHz of the output and stops everything from the output's
//   Nyquist frequency on before it can fold back. The ratios share a few
//   tables, each a little wider than the fastest ratio it serves.
#include <cstdint>
#include <vector>

namespace platform::sound {

struct KernelTable {
  double scale = 1.0;  // the fastest step ratio this table serves (1 for every slower one)
  int taps = 0;        // a multiple of 4; tap k weighs input frame (i - lead + k)
  int lead = 0;        // frames the kernel reaches back from the current one
  int phases = 0;      // steps of the fractional position
  // For phase p: taps coefficients, then taps differences to phase p + 1,
  // so that c = coef[k] + fraction * delta[k] between phases.
  std::vector<float> coefficients;

  const float* phase(int p) const { return coefficients.data() + static_cast<std::size_t>(p) * 2 * taps; }
};

class KernelBank {
 public:
  // Coefficients between two phases are interpolated on the fly, which
  // keeps the error of 128 phases near -95 dB.
  static constexpr int kPhases = 128;
  // Design attenuation: 5 dB under the -80 dB every product must stay
  // below, for the phase interpolation and float coefficients.
  static constexpr double kStopbandDb = 85.0;
  // Kaiser's pass edge is where the ripple is as small as the stopband's;
  // the 0.1 dB allowed is reached further on. The design's pass edge sits
  // this share of the transition band below the one promised (which then
  // loses about 0.05 dB), and the kernel is that much shorter.
  static constexpr double kPassbandSlack = 0.12;
  static constexpr double kSourcePassband = 16000.0 / 44100.0;  // cycles per source frame, upsampling
  static constexpr double kOutputPassband = 16000.0 / 48000.0;  // cycles per output frame, decimating
  static constexpr double kScaleStep = 1.04;  // the scales of the decimating tables: 1.04, 1.04^2 ...
  static constexpr double kMaxRatio = 100000.0 / 48000.0;

  KernelBank();
  // The table for a voice moving `ratio` input frames per output frame.
  const KernelTable& forRatio(double ratio) const;
  const std::vector<KernelTable>& tables() const { return tables_; }
  // Frames of silence needed before and after a sample for the widest kernel.
  static int padding();

 private:
  std::vector<KernelTable> tables_;
};

// One bank for the process, built on first use (outside the audio callback).
const KernelBank& kernelBank();

}  // namespace platform::sound
