#pragma once
// How the desktop's sound server and its volume mixers name our streams: the
// application "Tidewell" with its installed icon, each stream with its own
// name and media role.

namespace platform::sdl {

struct AudioIdentity {
  const char* streamName;
  const char* mediaRole;  // as PulseAudio names roles: "music", "production", ...
};

// The main program's output.
constexpr AudioIdentity kPlaybackIdentity{"Music", "music"};
// The launcher's recording of samples.
constexpr AudioIdentity kCaptureIdentity{"Sample recording", "production"};

// Call before SDL's audio starts: the server connection takes the
// application's name and icon when it is made, a stream its name and role
// when it is opened. A user's own SDL_* variables still win.
void announceAudioIdentity(const AudioIdentity& identity);

}  // namespace platform::sdl
