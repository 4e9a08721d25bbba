#include "platform/posix/posix_file_finder.h"

#include <dirent.h>
#include <sys/stat.h>

namespace platform::posix {

namespace {

bool isRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

bool PosixFileFinder::readFolder(const std::string& folder, std::vector<std::string>* names) {
  DIR* stream = opendir(folder.empty() ? "." : folder.c_str());
  if (stream == nullptr) return false;
  while (const dirent* entry = readdir(stream)) {
    if (isRegularFile(folder + entry->d_name)) names->emplace_back(entry->d_name);
  }
  closedir(stream);
  return true;
}

}  // namespace platform::posix
