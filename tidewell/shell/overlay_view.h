#pragma once
// The overlay's view of the program, gathered once a frame: the switches,
// the sequencer's values and the recorder's state.
#include "tidewell/picture/picture_context.h"

namespace tidewell {

PictureContext currentPictureContext();

}  // namespace tidewell
