#pragma once
// The main program's command line. Without arguments it plays full screen
// from the settings file, as the launcher starts it; the switches are for
// players who start it by hand and for offline rendering.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tidewell/render/offline_render.h"

namespace tidewell {

struct CommandLine {
  bool showHelp = false;
  bool showVersion = false;
  bool windowed = false;      // an 800 x 600 window instead of full screen
  bool integerScale = false;  // whole-factor scaling with black borders
  bool link = false;          // share tempo and beats on the local network from the start
  std::optional<std::uint32_t> seed;  // seeds the generator; none keeps its start state
  bool midiOut = false;       // start with live MIDI out on
  std::optional<render::RenderRequest> render;
};

// The longest render accepted, in seconds.
constexpr double kMaxRenderSeconds = 24.0 * 60 * 60;

// The options the arguments give into *parsed; false with *error saying
// which argument was not understood (*parsed then untouched).
bool parseCommandLine(const std::vector<std::string>& args, CommandLine* parsed, std::string* error);

// The text printed by --help; `program` is the name it was started as.
std::string usageText(const std::string& program);

// The program's version, as printed by --version.
const char* versionText();

}  // namespace tidewell
