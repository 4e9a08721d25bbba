#pragma once
// Where both programs work, so that they always agree on it:
// - TIDEWELL_HOME, when set, names the folder outright;
// - an installed program (share/tidewell beside its bin/) works in
//   $XDG_DATA_HOME/tidewell, by default ~/.local/share/tidewell;
// - a program in a build's run folder (data/ beside the executable) works
//   there;
// - anything else works in the current directory.
// A per-user folder is created on first start and filled with whatever it
// lacks of the installed data; the user's own files are never overwritten.
#include <functional>
#include <string>

namespace platform::posix {

// getenv-shaped, so that a test can hand in its own environment.
using EnvironmentLookup = std::function<const char*(const char*)>;

struct WorkingDirectoryChoice {
  std::string directory;   // where to work
  std::string dataSource;  // the folder to fill it from; empty: nothing to copy
  bool prepare = false;    // a per-user folder: created and filled at start
};

WorkingDirectoryChoice chooseWorkingDirectory(const std::string& executablePath,
                                              const EnvironmentLookup& environment,
                                              const std::string& currentDirectory);

// Makes `directory` with data/ and autoaudio/, and copies into it every file
// of the sample data (data/, demo1..demo4, C.wav) that `source` has and it
// lacks. false with a reason when the folder cannot be made or filled.
bool fillWorkingDirectory(const std::string& directory, const std::string& source,
                          std::string* error);

// The running program's own executable.
std::string executablePath();

// Chooses, fills and enters the working directory of this process. false
// with a message for the user when it cannot.
bool enterWorkingDirectory(std::string* error);

}  // namespace platform::posix
