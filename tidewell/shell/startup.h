#pragma once
// The main program's start-up: window, display, font picture, intensity maps,
// debug log, sequencer, settings, first samples and their placement.
#include <vector>

#include "platform/api/result_codes.h"
#include "platform/api/window_handle.h"

namespace tidewell {

constexpr const char* kWindowTitle = "Direct Draw Swirlgate Example";
constexpr const char* kWindowClassName = "Swirlgate";
constexpr int kMainIconResource = 101;

class HitSink;

// Sinks that start-up attaches to the new sequencer after the voices and the
// picture (MIDI out); set by the program's entry.
extern std::vector<HitSink*> extraHitSinks;

// True when the program may run its frame loop.
bool initApplication(int showCommand);

// The part of start-up that needs no display: intensity maps, debug log,
// sequencer over shellPlatform's services, settings, first samples and
// their placement, ending with the log's "loaded sounds up". Offline renders
// start with this alone.
void startEngine(platform::WindowHandle window);

// Shows a start-up failure (printf rules, at most 127 characters) in a
// message box after releasing the display, destroys the window and returns
// the code passed in.
platform::HResult reportStartupError(platform::WindowHandle window, platform::HResult code,
                                     const char* format, ...);

}  // namespace tidewell
