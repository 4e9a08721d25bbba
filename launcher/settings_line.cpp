#include "launcher/settings_line.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace launcher {

const DemoPreset kDemoPresets[kDemoCount] = {
    {7, 0, 2, 0, 0, 0, 3, 3, "demo1", "none"},  // Percussive
    {0, 1, 0, 0, 0, 0, 2, 0, "demo2", "none"},  // Ambient
    {5, 0, 2, 0, 0, 0, 5, 3, "demo3", "none"},  // L-Piano
    {5, 1, 0, 1, 0, 0, 3, 3, "demo4", "none"},  // Instagib
};

namespace {

void addNumber(std::string* line, int value) {
  *line += std::to_string(value);
  *line += ',';
}

void addText(std::string* line, const std::string& text) {
  *line += text.substr(0, kMaxSettingsText);
  *line += ',';
}

}  // namespace

std::string composeSettingsLine(int request, const SetupChoices& c) {
  std::string line;
  if (request < kRequestDemo) {
    addNumber(&line, request);
    for (int value : {c.timeSignature, c.timeSignatureMutation, c.behaviour, c.behaviourMutation,
                      c.waveform, c.waveformMutation, c.channels, c.tempo})
      addNumber(&line, value);
    addText(&line, c.folder);
    addText(&line, c.keyword);
    return line;
  }
  addNumber(&line, kRequestLocalFolder);
  if (c.demo < 0 || c.demo >= kDemoCount) return line;
  const DemoPreset& d = kDemoPresets[c.demo];
  for (int value : {d.beatsPerBar, d.timeSignatureMutation, d.behaviour, d.behaviourMutation,
                    d.waveform, d.waveformMutation, d.activeTrackCount, d.tempo})
    addNumber(&line, value);
  addText(&line, d.folder);
  addText(&line, d.keyword);
  return line;
}

bool writeSettingsFile(const char* path, const std::string& line, std::string* error) {
  errno = 0;
  std::ofstream file(path, std::ios::out | std::ios::trunc);
  if (file) file << line;
  if (file) file.close();
  if (file) return true;
  if (error) *error = std::string("Can not write ") + path + (errno ? std::string(": ") + std::strerror(errno) : "");
  return false;
}

}  // namespace launcher
