#include "tools/demo_samples/synth/signal.h"

#include <algorithm>
#include <cmath>

namespace demos {

void mixInto(Signal& target, const Signal& source, float gain, std::size_t offset) {
  if (target.size() < offset + source.size()) target.resize(offset + source.size(), 0.0f);
  for (std::size_t i = 0; i < source.size(); ++i) target[offset + i] += gain * source[i];
}

Signal multiply(const Signal& a, const Signal& b) {
  Signal out(std::min(a.size(), b.size()));
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = a[i] * b[i];
  return out;
}

float peakOf(const Signal& signal) {
  float peak = 0.0f;
  for (float x : signal) peak = std::max(peak, std::fabs(x));
  return peak;
}

float rmsOf(const Signal& signal) {
  if (signal.empty()) return 0.0f;
  double sum = 0.0;
  for (float x : signal) sum += double(x) * x;
  return static_cast<float>(std::sqrt(sum / signal.size()));
}

float meanOf(const Signal& signal) {
  if (signal.empty()) return 0.0f;
  double sum = 0.0;
  for (float x : signal) sum += x;
  return static_cast<float>(sum / signal.size());
}

}  // namespace demos
