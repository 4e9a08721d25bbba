#include "platform/posix/posix_file_finder.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace platform::posix {
namespace {

// Splits "dir/mask" at the last '/'. The directory keeps its '/' so that
// "dir/" + name is a usable path; no '/' means the working directory.
void splitPattern(const std::string& pattern, std::string* dir, std::string* mask) {
  const auto slash = pattern.rfind('/');
  if (slash == std::string::npos) {
    dir->clear();
    *mask = pattern;
  } else {
    *dir = pattern.substr(0, slash + 1);
    *mask = pattern.substr(slash + 1);
  }
}

// Masks are "*" followed by a literal ending ("*.wav"); "*" alone matches all.
bool matchesMask(const char* name, const std::string& mask) {
  if (mask.empty() || mask[0] != '*') return strcasecmp(name, mask.c_str()) == 0;
  const std::size_t endingLength = mask.size() - 1;
  const std::size_t nameLength = std::strlen(name);
  if (nameLength < endingLength) return false;
  return strcasecmp(name + nameLength - endingLength, mask.c_str() + 1) == 0;
}

bool isRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void fillFindData(const std::string& name, FindData* data) {
  if (data != nullptr) std::snprintf(data->fileName, sizeof data->fileName, "%s", name.c_str());
}

}  // namespace

SearchHandle PosixFileFinder::findFirstFile(const char* pattern, FindData* data) {
  std::string dir, mask;
  splitPattern(pattern != nullptr ? pattern : "", &dir, &mask);

  DIR* stream = opendir(dir.empty() ? "." : dir.c_str());
  if (stream == nullptr) {
    lastError_ = ERROR_PATH_NOT_FOUND;
    return kInvalidSearch;
  }
  Listing listing;
  while (const dirent* entry = readdir(stream)) {
    if (matchesMask(entry->d_name, mask) && isRegularFile(dir + entry->d_name)) {
      listing.names.emplace_back(entry->d_name);
    }
  }
  closedir(stream);

  if (listing.names.empty()) {
    lastError_ = ERROR_FILE_NOT_FOUND;
    return kInvalidSearch;
  }
  std::sort(listing.names.begin(), listing.names.end());
  fillFindData(listing.names[0], data);
  listing.next = 1;

  const SearchHandle handle = nextHandle_++;
  listings_.emplace(handle, std::move(listing));
  lastError_ = 0;
  return handle;
}

bool PosixFileFinder::findNextFile(SearchHandle handle, FindData* data) {
  const auto found = listings_.find(handle);
  if (found == listings_.end()) {
    lastError_ = ERROR_INVALID_HANDLE;
    return false;
  }
  Listing& listing = found->second;
  if (listing.next >= listing.names.size()) {
    lastError_ = ERROR_NO_MORE_FILES;
    return false;
  }
  fillFindData(listing.names[listing.next++], data);
  lastError_ = 0;
  return true;
}

bool PosixFileFinder::findClose(SearchHandle handle) {
  if (listings_.erase(handle) == 0) {
    lastError_ = ERROR_INVALID_HANDLE;
    return false;
  }
  return true;
}

}  // namespace platform::posix
