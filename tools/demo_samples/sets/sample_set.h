#pragma once
// The sample content the build puts into the working directory: four demo
// folders and the fallback tone.
//
// A track plays a file at its own frequency in Hz, whatever rate the file
// says, so each set is synthesised at the rate its demo mostly plays at: a
// sample then sounds at its written pitch most of the time.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/demo_samples/synth/signal.h"

namespace demos {

struct NamedSample {
  std::string fileName;  // e.g. "kick_deep.wav"
  Signal samples;        // finished: faded, DC-free, peak-normalised
};

struct SampleSet {
  std::string folder;    // under the working directory; empty for the fallback
  std::uint32_t sampleRate = 0;
  std::vector<NamedSample> samples;
};

// "Percussive": Tonal at 700 bpm, tracks start at 20000 Hz and return to
// 50000 Hz after each new sample, then move in fifths; 48000 Hz.
SampleSet percussiveKit();
// "Ambient": Random at 60 bpm, 1000..33767 Hz (log-centre near 14 kHz); 16000 Hz.
SampleSet ambientTextures();
// "L-Piano": Tonal at 700 bpm like the kit; 48000 Hz, notes a fifth-chain
// pentatonic so that steps of 3:2 land on other notes of the set.
SampleSet pentatonicPiano();
// "Instagib": behaviour mutating between all three, mostly Random, with
// stretches at 50000 Hz; 22050 Hz.
SampleSet arenaSounds();
// "C.wav" in the working directory, heard at any of the above; 32000 Hz.
SampleSet fallbackTone();

std::vector<SampleSet> allSampleSets();

}  // namespace demos
