#include "tools/demo_samples/sets/sample_set.h"

namespace demos {

std::vector<SampleSet> allSampleSets() {
  std::vector<SampleSet> sets;
  sets.push_back(percussiveKit());
  sets.push_back(ambientTextures());
  sets.push_back(pentatonicPiano());
  sets.push_back(arenaSounds());
  sets.push_back(fallbackTone());
  return sets;
}

}  // namespace demos
