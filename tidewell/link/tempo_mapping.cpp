#include "tidewell/link/tempo_mapping.h"

#include <cmath>

namespace tidewell::link {

MappedTempo sequencerTempoFor(double sessionTempo) {
  MappedTempo mapped;
  const double wanted = sessionTempo * kSequencerBeatsPerSessionBeat;
  if (!std::isfinite(wanted) || wanted < kSlowestSequencerTempo) {
    mapped.sequencerTempo = kSlowestSequencerTempo;
    mapped.clamped = true;
  } else if (wanted > kFastestSequencerTempo) {
    mapped.sequencerTempo = kFastestSequencerTempo;
    mapped.clamped = true;
  } else {
    mapped.sequencerTempo = static_cast<float>(wanted);
  }
  return mapped;
}

}  // namespace tidewell::link
