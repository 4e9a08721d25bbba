// The tone a track plays when no sample was found: short, soft, unmistakably
// a placeholder but not an alarm.
#include "tools/demo_samples/sets/sample_set.h"
#include "tools/demo_samples/synth/envelopes.h"
#include "tools/demo_samples/synth/finishing.h"
#include "tools/demo_samples/synth/oscillators.h"

namespace demos {

// 32000 Hz sits between the 20000 Hz and 50000 Hz that tracks mostly play at,
// so the tone is never more than about an octave from its written pitch.
SampleSet fallbackTone() {
  constexpr float kRate = 32000.0f;
  const std::size_t frames = framesFor(0.7f, kRate);
  Signal tone = sineTone(330.0f, frames, kRate);
  mixInto(tone, sineTone(660.0f, frames, kRate), 0.18f);
  mixInto(tone, sineTone(990.0f, frames, kRate), 0.05f);
  applyEnvelope(tone, attackDecay(frames, 0.015f, 0.18f, kRate));
  FinishingOptions options;
  options.fadeOut = 0.02f;
  finishSample(tone, kRate, options);
  SampleSet set{"", static_cast<std::uint32_t>(kRate), {}};
  set.samples.push_back({"C.wav", std::move(tone)});
  return set;
}

}  // namespace demos
