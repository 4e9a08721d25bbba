#pragma once
// A piano-like struck string: a sum of slightly stretched (inharmonic)
// partials, each of two detuned strings, with higher partials dying sooner,
// plus the felt thump of the hammer.
#include <cstdint>

#include "tools/demo_samples/synth/signal.h"

namespace demos {

struct StruckString {
  float fundamentalHz = 220.0f;
  float seconds = 2.5f;
  float inharmonicity = 0.0004f;   // B in f_n = n f0 sqrt(1 + B n^2)
  float strikePoint = 1.0f / 7.0f; // fraction of the string length; partials with a node there are weak
  float hardnessHz = 2500.0f;      // the hammer's brightness: partials above it roll off
  float sustain = 2.2f;            // decay time constant of the fundamental, seconds
  float detuneHz = 0.35f;          // between the two strings of a note: a slow beat
  float hammerLevel = 0.08f;       // felt-and-wood transient, relative to the strings
  float highestPartialHz = 9000.0f;
  std::uint32_t seed = 1;
};

// Frequency of partial n (1 = fundamental) of a stiff string.
float partialFrequency(float fundamentalHz, int n, float inharmonicity);

Signal strikeString(const StruckString& string, float rate);

}  // namespace demos
