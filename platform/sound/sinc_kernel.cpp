#include "platform/sound/sinc_kernel.h"

#include <cmath>

namespace platform::sound {
namespace {

double besselI0(double x) {
  double sum = 1.0, term = 1.0;
  for (int k = 1; k < 40; ++k) {
    term *= (x / (2.0 * k)) * (x / (2.0 * k));
    sum += term;
  }
  return sum;
}

KernelTable buildTable(double scale) {
  KernelTable table;
  table.scale = scale;
  const double halfWidth = KernelBank::kZeroCrossings * scale;
  const int half = static_cast<int>(std::ceil(halfWidth));
  table.lead = half - 1;
  table.taps = (2 * half + 3) / 4 * 4;  // zero taps on the right fill whole groups of four
  table.phases = KernelBank::kPhases;
  const double cutoff = 0.5 * KernelBank::kRolloff / scale;  // cycles per input frame
  const double windowNorm = besselI0(KernelBank::kKaiserBeta);

  std::vector<double> raw(static_cast<std::size_t>(table.phases + 1) * table.taps);
  for (int p = 0; p <= table.phases; ++p) {
    const double fraction = static_cast<double>(p) / table.phases;
    double sum = 0.0;
    for (int k = 0; k < table.taps; ++k) {
      const double t = (k - table.lead) - fraction;
      double value = 0.0;
      if (std::fabs(t) < halfWidth) {
        const double x = 2.0 * cutoff * t;
        const double sinc = x == 0.0 ? 1.0 : std::sin(M_PI * x) / (M_PI * x);
        const double r = t / halfWidth;
        value = 2.0 * cutoff * sinc * besselI0(KernelBank::kKaiserBeta * std::sqrt(1.0 - r * r)) / windowNorm;
      }
      raw[static_cast<std::size_t>(p) * table.taps + k] = value;
      sum += value;
    }
    // Unity gain at DC for every phase, so a steady level stays steady.
    for (int k = 0; k < table.taps; ++k) raw[static_cast<std::size_t>(p) * table.taps + k] /= sum;
  }

  table.coefficients.resize(static_cast<std::size_t>(table.phases + 1) * 2 * table.taps);
  for (int p = 0; p <= table.phases; ++p) {
    float* out = table.coefficients.data() + static_cast<std::size_t>(p) * 2 * table.taps;
    const int next = p < table.phases ? p + 1 : p;
    for (int k = 0; k < table.taps; ++k) {
      const double a = raw[static_cast<std::size_t>(p) * table.taps + k];
      const double b = raw[static_cast<std::size_t>(next) * table.taps + k];
      out[k] = static_cast<float>(a);
      out[table.taps + k] = static_cast<float>(b - a);
    }
  }
  return table;
}

int scaleIndex(double ratio) {
  if (ratio <= 1.0) return 0;
  return static_cast<int>(std::ceil((ratio - 1.0) * KernelBank::kScaleSteps - 1e-9));
}

}  // namespace

KernelBank::KernelBank() {
  const int last = scaleIndex(kMaxRatio);
  for (int i = 0; i <= last; ++i) tables_.push_back(buildTable(1.0 + static_cast<double>(i) / kScaleSteps));
}

const KernelTable& KernelBank::forRatio(double ratio) const {
  int index = scaleIndex(ratio);
  if (index >= static_cast<int>(tables_.size())) index = static_cast<int>(tables_.size()) - 1;
  return tables_[static_cast<std::size_t>(index)];
}

int KernelBank::padding() {
  const double widest = 1.0 + std::ceil((kMaxRatio - 1.0) * kScaleSteps) / kScaleSteps;
  return static_cast<int>(std::ceil(kZeroCrossings * widest)) + 6;
}

const KernelBank& kernelBank() {
  static const KernelBank bank;
  return bank;
}

}  // namespace platform::sound
