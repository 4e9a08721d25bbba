#pragma once
// Real-time scheduling for the thread that feeds the sound device, as audio
// servers run theirs. At ordinary priority the thread waits behind the
// picture and the display server for several milliseconds at a time, and a
// callback that comes late moves every hit the device clock places after it.

namespace platform::sdl {

// Puts the calling thread under first-in-first-out real-time scheduling at a
// modest priority, below an audio server's, if the system allows it (root,
// or a real-time allowance in the user's limits). Returns false, leaving the
// thread as it was, if not.
bool raiseToRealTime();

}  // namespace platform::sdl
