#pragma once
// Second-order filters after the well-known audio cookbook formulas, and a
// one-pole smoother. Each processes one sample at a time and keeps its state.
#include "tools/demo_samples/synth/signal.h"

namespace demos {

class Biquad {
 public:
  static Biquad lowpass(float cutoffHz, float q, float rate);
  static Biquad highpass(float cutoffHz, float q, float rate);
  // Unity gain at the centre frequency.
  static Biquad bandpass(float centreHz, float q, float rate);

  float process(float x);
  // Moves the corner while keeping the state: for sweeps. Same kind, same q.
  void retune(float hz, float rate);

 private:
  enum class Kind { Lowpass, Highpass, Bandpass };
  Biquad(Kind kind, float hz, float q, float rate);
  void design(float hz, float rate);

  Kind kind_;
  float q_;
  float b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  float x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Runs a whole signal through a fresh copy of `filter`.
Signal filtered(const Signal& input, Biquad filter);

// Filters `input` with a corner that follows `cornerHz` frame by frame.
Signal sweptFilter(const Signal& input, Biquad filter, const Signal& cornerHz, float rate);

}  // namespace demos
