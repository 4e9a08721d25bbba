#pragma once
// The main program's single thread: start-up, then a message loop that runs
// one frame whenever no message waits and the window is active.

namespace tidewell {

// One frame: tick, picture, palette, overlay, presentation.
void runFrame();

// The frame's per-mille roll for a new target palette (one draw, and four
// more when it fires). Offline renders run it after each tick too, so their
// draws match a live run's.
void rollPaletteChange();

// Start-up and the loop; returns the exit code of the quit message, or 0
// when start-up fails.
int winMain(int showCommand);

}  // namespace tidewell
