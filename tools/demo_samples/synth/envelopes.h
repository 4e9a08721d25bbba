#pragma once
// Amplitude envelopes, 0..1, one value per frame. Every envelope starts at 0,
// rises to 1 and is back at exactly 0 on its last frame, so a sound shaped by
// one never starts or stops with a jump.
#include "tools/demo_samples/synth/signal.h"

namespace demos {

// Smooth (raised-cosine) rise over `attack` seconds, then an exponential fall
// with time constant `decay`, bent so that it lands on 0 at the last frame.
Signal attackDecay(std::size_t frames, float attack, float decay, float rate);

// Smooth rise over `attack`, held at 1, then an exponential-like release over
// the last `release` seconds that ends at 0.
Signal attackHoldRelease(std::size_t frames, float attack, float release, float rate);

// Shapes `signal` in place; frames beyond the envelope are silenced.
void applyEnvelope(Signal& signal, const Signal& envelope);

}  // namespace demos
