#include "platform/sdl/audio_identity.h"

#include <SDL.h>

#include <cctype>
#include <cstdlib>
#include <string>

namespace platform::sdl {

namespace {

constexpr const char* kApplicationName = "Tidewell";
// The name the icon is installed under in the desktop's icon theme.
constexpr const char* kIconName = "tidewell";

}  // namespace

void announceAudioIdentity(const AudioIdentity& identity) {
  SDL_SetHint(SDL_HINT_APP_NAME, kApplicationName);
  SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, kApplicationName);
  SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, identity.streamName);
  // SDL's PipeWire driver passes the role on as PipeWire spells it ("Music").
  std::string pipeWireRole = identity.mediaRole;
  if (!pipeWireRole.empty()) pipeWireRole[0] = static_cast<char>(std::toupper(pipeWireRole[0]));
  SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE, pipeWireRole.c_str());
  // Later SDL versions take the icon from a hint.
  SDL_SetHint("SDL_AUDIO_DEVICE_APP_ICON_NAME", kIconName);
  // SDL 2.26's PulseAudio driver passes on neither role nor icon, but the
  // sound server's client library adds PULSE_PROP_* variables to the
  // connection's properties, and the server gives them to every stream.
  // They are overwritten: the launcher's would otherwise reach the main
  // program it starts.
  setenv("PULSE_PROP_media.role", identity.mediaRole, 1);
  setenv("PULSE_PROP_application.icon_name", kIconName, 1);
}

}  // namespace platform::sdl
