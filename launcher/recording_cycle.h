#pragma once
// The recording rhythm: about two seconds into the next numbered file
// "autoaudio/<n>.wav" (n = 0..10, round and round), about two seconds of
// pause. The main program is started a second time when the fifth file is
// finished.
#include "launcher/launcher_state.h"

namespace launcher {

constexpr std::uint32_t kCycleHalfMs = 2000;
constexpr int kLastCaptureFileNumber = 10;
constexpr int kSecondLaunchAfterFile = 4;

// One pass, run on every turn of the main loop.
void recordingCycleStep(Launcher& launcher);

}  // namespace launcher
