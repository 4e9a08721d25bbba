#include "tidewell/shell/command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#ifndef TIDEWELL_VERSION
#define TIDEWELL_VERSION "0.0.0"
#endif

namespace tidewell {
namespace {

std::optional<std::uint32_t> parseSeed(const std::string& text) {
  if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value > UINT32_MAX) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::optional<double> parseSeconds(const std::string& text) {
  if (text.empty()) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

bool parseCommandLine(const std::vector<std::string>& args, CommandLine* parsed, std::string* error) {
  CommandLine options;
  auto fail = [error](std::string message) {
    if (error != nullptr) *error = std::move(message);
    return false;
  };
  std::string midiPath;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      options.showHelp = true;
    } else if (arg == "--version") {
      options.showVersion = true;
    } else if (arg == "--window") {
      options.windowed = true;
    } else if (arg == "--integer-scale") {
      options.integerScale = true;
    } else if (arg == "--midi-out") {
      options.midiOut = true;
    } else if (arg == "--midi") {
      if (!hasValue) return fail("--midi needs OUT.mid");
      midiPath = args[++i];
      if (midiPath.empty()) return fail("--midi: the output file name is empty");
    } else if (arg == "--link") {
      options.link = true;
    } else if (arg == "--seed") {
      if (!hasValue) return fail("--seed needs a number");
      options.seed = parseSeed(args[++i]);
      if (!options.seed) return fail("--seed takes a whole number from 0 to 4294967295, not '" + args[i] + "'");
    } else if (arg == "--render") {
      if (i + 2 >= args.size()) return fail("--render needs SECONDS and OUT.wav");
      const std::string& secondsText = args[++i];
      const std::optional<double> seconds = parseSeconds(secondsText);
      if (!seconds) return fail("--render: '" + secondsText + "' is not a number of seconds");
      if (*seconds <= 0) return fail("--render: the length must be more than 0 seconds");
      if (*seconds > kMaxRenderSeconds) return fail("--render: the length can be at most 86400 seconds (24 hours)");
      const std::string& out = args[++i];
      if (out.empty()) return fail("--render: the output file name is empty");
      options.render = render::RenderRequest{*seconds, out, ""};
    } else {
      return fail("unknown option '" + arg + "'");
    }
  }
  if (!midiPath.empty()) {
    if (!options.render) return fail("--midi writes a MIDI file beside a --render");
    options.render->midiPath = midiPath;
  }
  *parsed = std::move(options);
  return true;
}

std::string usageText(const std::string& program) {
  return "Usage: " + program + " [OPTION]...\n"
         "Plays the samples named by data/settings.txt in the working directory,\n"
         "full screen, until Escape is pressed. F10 starts and stops a recording\n"
         "of what is heard into recordings/tidewell-YYYYMMDD-HHMMSS.wav.\n"
         "\n"
         "  --window            play in an 800 x 600 window (Alt+Enter switches)\n"
         "  --integer-scale     scale the picture by whole factors only\n"
         "  --link              share tempo and beats with Ableton Link peers on the\n"
         "                      local network from the start (F11 switches)\n"
         "  --seed N            seed the random generator with N\n"
         "  --render SECONDS OUT.wav\n"
         "                      write SECONDS of the music to OUT.wav (48 kHz\n"
         "                      stereo, 32-bit float) without a window or a\n"
         "                      sound device, as fast as the machine allows\n"
         "  --midi OUT.mid      with --render, also write every hit as a note to\n"
         "                      OUT.mid (a Standard MIDI File)\n"
         "  --midi-out          start with MIDI out on: a port named Tidewell\n"
         "                      that synths and recorders connect to (M toggles)\n"
         "  --help              show this text and exit\n"
         "  --version           show the version and exit\n";
}

const char* versionText() { return TIDEWELL_VERSION; }

}  // namespace tidewell
