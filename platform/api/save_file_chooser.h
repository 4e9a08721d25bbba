#pragma once
// The save-file chooser: filter pairs, a title, a default extension, and a
// file name and folder remembered by the caller between runs.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace platform {

constexpr std::uint32_t OFN_OVERWRITEPROMPT = 0x2;
constexpr std::uint32_t OFN_HIDEREADONLY = 0x4;
constexpr std::uint32_t OFN_PATHMUSTEXIST = 0x800;

struct SaveFileRequest {
  std::vector<std::pair<std::string, std::string>> filters;  // caption, pattern
  int filterIndex = 1;
  std::string fileName;       // in: offered name; out: the chosen path
  std::string initialFolder;
  std::string title;
  std::uint32_t flags = 0;
  std::string defaultExtension;  // without the dot
};

class SaveFileChooser {
 public:
  virtual ~SaveFileChooser() = default;
  // true when the user confirmed a file name.
  virtual bool getSaveFileName(SaveFileRequest* request) = 0;
};

}  // namespace platform
