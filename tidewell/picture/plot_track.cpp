// The track's part in the picture: its cross, as bright as it is loud.
#include "tidewell/picture/intensity_maps.h"
#include "tidewell/sequencer/track.h"

namespace tidewell {

void Track::plotTrack() { plotCross(intensityForVolume(volume), plotX, plotY); }

}  // namespace tidewell
