// Piano notes of G major pentatonic, tuned as a chain of pure fifths
// (G D A E B... ratios of 3:2). A step of x1.5 or /1.5 in playback speed then
// moves every note exactly onto another note of the chain, so tracks that
// have wandered apart by fifths still share most of their notes.
#include <cmath>
#include <string>

#include "tools/demo_samples/sets/sample_set.h"
#include "tools/demo_samples/synth/finishing.h"
#include "tools/demo_samples/synth/struck_string.h"

namespace demos {
namespace {

constexpr float kRate = 48000.0f;
constexpr float kTonic = 196.0f;  // G3 at the demo's usual 50000 Hz (sounds 0.7 semitone sharp)

struct PentatonicNote {
  const char* name;
  float ratio;  // from the tonic
};

// G A B D E over two octaves, as fifths: G=1, D=3/2, A=9/8, E=27/16, B=81/64.
const PentatonicNote kNotes[] = {
    {"g3", 1.0f},          {"a3", 9.0f / 8.0f},  {"b3", 81.0f / 64.0f}, {"d4", 3.0f / 2.0f},
    {"e4", 27.0f / 16.0f}, {"g4", 2.0f},         {"a4", 9.0f / 4.0f},   {"b4", 81.0f / 32.0f},
    {"d5", 3.0f},          {"e5", 27.0f / 8.0f},
};

}  // namespace

SampleSet pentatonicPiano() {
  SampleSet set{"demo3", static_cast<std::uint32_t>(kRate), {}};
  std::uint32_t seed = 201;
  for (const PentatonicNote& note : kNotes) {
    StruckString string;
    string.fundamentalHz = kTonic * note.ratio;
    string.seconds = 2.6f;
    // Shorter, stiffer strings higher up: more stretch, quicker decay.
    const float octave = std::log2(note.ratio);
    string.inharmonicity = 0.00025f * std::pow(2.0f, octave);
    string.sustain = 2.4f - 0.5f * octave;
    string.hardnessHz = 2200.0f + 600.0f * octave;
    string.seed = seed++;
    Signal s = strikeString(string, kRate);
    FinishingOptions options;
    options.fadeIn = 0.001f;
    options.fadeOut = 0.3f;  // the damper comes down
    finishSample(s, kRate, options);
    set.samples.push_back({std::string("piano_") + note.name + ".wav", std::move(s)});
  }
  return set;
}

}  // namespace demos
