#pragma once
// The settings line that the main program reads at start: eleven fields,
// each followed by ",", no line end.
#include <string>

namespace launcher {

constexpr int kRequestLocalFolder = 1;
constexpr int kRequestSoundCapture = 2;
constexpr int kRequestDemo = 10;
constexpr std::size_t kMaxSettingsText = 127;  // a 128-byte buffer with its terminator

// The dialog's choices as list indexes and texts.
struct SetupChoices {
  int timeSignature = 0;
  int timeSignatureMutation = 0;
  int behaviour = 0;
  int behaviourMutation = 0;
  int waveform = 0;
  int waveformMutation = 0;
  int channels = 2;
  int tempo = 2;
  std::string folder = "demo1";
  std::string keyword = "currently disabled";
  int demo = 0;
};

struct DemoPreset {
  int beatsPerBar, timeSignatureMutation, behaviour, behaviourMutation, waveform,
      waveformMutation, activeTrackCount, tempo;
  const char* folder;
  const char* keyword;
};

constexpr int kDemoCount = 4;
extern const DemoPreset kDemoPresets[kDemoCount];

// Request below 10: a run with inputFormat = request from the choices; 10 or
// more: the demo selected in choices.demo, whatever the other choices are.
std::string composeSettingsLine(int request, const SetupChoices& choices);

// Creates or empties the file and writes the line. false with a reason for
// the user when the file cannot be written.
bool writeSettingsFile(const char* path, const std::string& line, std::string* error);

}  // namespace launcher
