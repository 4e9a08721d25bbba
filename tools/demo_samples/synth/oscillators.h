#pragma once
// Oscillators driven by a frequency curve (one value in Hz per frame), so that
// sweeps and vibrato need no special cases. Saw and square are built from
// harmonics below the Nyquist limit, so they do not alias.
#include "tools/demo_samples/synth/signal.h"

namespace demos {

// Frequency curves.
Signal constantCurve(float value, std::size_t frames);
// Glides from `from` towards `to` with the given time constant in seconds.
Signal glideCurve(float from, float to, float timeConstant, std::size_t frames, float rate);
// `centre` modulated by a sine of `depth` (a fraction of centre) at `speedHz`.
Signal vibratoCurve(float centre, float depth, float speedHz, std::size_t frames, float rate);

Signal sineWave(const Signal& hz, float rate, float startPhase = 0.0f);
Signal sawWave(const Signal& hz, float rate);
Signal squareWave(const Signal& hz, float rate);
// Phase modulation: a sine carrier whose phase is pushed by a sine modulator at
// `ratio` times the carrier, `index` (per frame) radians deep, but never so
// deep that the sidebands pass the Nyquist limit.
Signal fmWave(const Signal& hz, float ratio, const Signal& index, float rate);

// Plain sine at a fixed frequency.
Signal sineTone(float hz, std::size_t frames, float rate, float startPhase = 0.0f);

}  // namespace demos
