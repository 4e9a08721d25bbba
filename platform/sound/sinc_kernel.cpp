#include "platform/sound/sinc_kernel.h"

#include <algorithm>
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

// Kaiser's design rules: the window's shape for the stopband attenuation,
// and its length for the transition band (edges in cycles per input frame).
double kaiserBeta(double db) { return 0.1102 * (db - 8.7); }
double kaiserHalfWidth(double db, double passEdge, double stopEdge) {
  return (db - 7.95) / (2.0 * 14.36 * (stopEdge - passEdge));
}

KernelTable buildTable(double scale, double passEdge, double stopEdge) {
  const double db = KernelBank::kStopbandDb;
  const double beta = kaiserBeta(db);
  const double designPass = passEdge - KernelBank::kPassbandSlack * (stopEdge - passEdge);
  const double halfWidth = kaiserHalfWidth(db, designPass, stopEdge);
  const double cutoff = 0.5 * (designPass + stopEdge);
  const int half = static_cast<int>(std::ceil(halfWidth));

  KernelTable table;
  table.scale = scale;
  table.lead = half - 1;
  table.taps = (2 * half + 3) / 4 * 4;  // zero taps on the right fill whole groups of four
  table.phases = KernelBank::kPhases;
  const double windowNorm = besselI0(beta);

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
        value = sinc * besselI0(beta * std::sqrt(1.0 - r * r)) / windowNorm;
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

// Table 0 serves every ratio up to 1; table i the ratios above
// kScaleStep^(i-1) up to kScaleStep^i.
int tableIndex(double ratio) {
  if (ratio <= 1.0) return 0;
  return static_cast<int>(std::ceil(std::log(ratio) / std::log(KernelBank::kScaleStep) - 1e-9));
}

}  // namespace

KernelBank::KernelBank() {
  tables_.push_back(buildTable(1.0, kSourcePassband, 0.5));
  const int last = tableIndex(kMaxRatio);
  for (int i = 1; i <= last; ++i) {
    // In input frames: 16 kHz of the output at the slowest ratio served,
    // the output's Nyquist frequency at the fastest.
    const double slowest = std::pow(kScaleStep, i - 1);
    const double fastest = std::pow(kScaleStep, i);
    tables_.push_back(buildTable(fastest, kOutputPassband / slowest, 0.5 / fastest));
  }
}

const KernelTable& KernelBank::forRatio(double ratio) const {
  const int index = std::min(tableIndex(ratio), static_cast<int>(tables_.size()) - 1);
  return tables_[static_cast<std::size_t>(index)];
}

int KernelBank::padding() {
  int widest = 0;
  for (const KernelTable& table : kernelBank().tables()) widest = std::max(widest, table.taps);
  return widest + 4;
}

const KernelBank& kernelBank() {
  static const KernelBank bank;
  return bank;
}

}  // namespace platform::sound
