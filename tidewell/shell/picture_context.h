#pragma once
// The overlay's view of the program, gathered once a frame: the switches,
// the sequencer's values and the recording state.
#include "tidewell/picture/picture_context.h"

namespace tidewell {

// Set by the recorder; the overlay shows it whatever layers are on.
extern RecordingState recordingState;

PictureContext currentPictureContext();

}  // namespace tidewell
