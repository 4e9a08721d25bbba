#include "platform/posix/posix_file_finder.h"

#include <dirent.h>

#include "platform/posix/path_kind.h"

namespace platform::posix {

bool PosixFileFinder::readFolder(const std::string& folder, std::vector<std::string>* names) {
  DIR* stream = opendir(folder.empty() ? "." : folder.c_str());
  if (stream == nullptr) return false;
  while (const dirent* entry = readdir(stream)) {
    if (pathKind(folder + entry->d_name) == PathKind::kFile) names->emplace_back(entry->d_name);
  }
  closedir(stream);
  return true;
}

}  // namespace platform::posix
