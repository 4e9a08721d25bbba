#include "tools/demo_samples/synth/filters.h"

#include <algorithm>
#include <cmath>

namespace demos {

Biquad::Biquad(Kind kind, float hz, float q, float rate) : kind_(kind), q_(q) { design(hz, rate); }

Biquad Biquad::lowpass(float cutoffHz, float q, float rate) { return Biquad(Kind::Lowpass, cutoffHz, q, rate); }
Biquad Biquad::highpass(float cutoffHz, float q, float rate) { return Biquad(Kind::Highpass, cutoffHz, q, rate); }
Biquad Biquad::bandpass(float centreHz, float q, float rate) { return Biquad(Kind::Bandpass, centreHz, q, rate); }

void Biquad::design(float hz, float rate) {
  // Keep the corner inside the usable band so sweeps cannot blow the filter up.
  hz = std::clamp(hz, 5.0f, 0.49f * rate);
  const float w = kTwoPi * hz / rate;
  const float cosw = std::cos(w);
  const float alpha = std::sin(w) / (2.0f * q_);
  const float a0 = 1.0f + alpha;
  float b0 = 0, b1 = 0, b2 = 0;
  switch (kind_) {
    case Kind::Lowpass:
      b0 = (1.0f - cosw) / 2.0f; b1 = 1.0f - cosw; b2 = b0;
      break;
    case Kind::Highpass:
      b0 = (1.0f + cosw) / 2.0f; b1 = -(1.0f + cosw); b2 = b0;
      break;
    case Kind::Bandpass:
      b0 = alpha; b1 = 0.0f; b2 = -alpha;
      break;
  }
  b0_ = b0 / a0; b1_ = b1 / a0; b2_ = b2 / a0;
  a1_ = -2.0f * cosw / a0;
  a2_ = (1.0f - alpha) / a0;
}

void Biquad::retune(float hz, float rate) { design(hz, rate); }

float Biquad::process(float x) {
  const float y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
  x2_ = x1_; x1_ = x;
  y2_ = y1_; y1_ = y;
  return y;
}

Signal filtered(const Signal& input, Biquad filter) {
  Signal out(input.size());
  for (std::size_t i = 0; i < input.size(); ++i) out[i] = filter.process(input[i]);
  return out;
}

Signal sweptFilter(const Signal& input, Biquad filter, const Signal& cornerHz, float rate) {
  Signal out(input.size());
  for (std::size_t i = 0; i < input.size(); ++i) {
    // Redesigning every 16 frames is smooth enough and keeps the cost down.
    if (i % 16 == 0 && i < cornerHz.size()) filter.retune(cornerHz[i], rate);
    out[i] = filter.process(input[i]);
  }
  return out;
}

}  // namespace demos
