#pragma once
// Directory listing by wildcard pattern ("folder/*.wav"): first entry, next
// entry, close. Entries come in a stable order so that runs repeat.
#include <cstdint>

namespace platform {

using SearchHandle = std::intptr_t;
constexpr SearchHandle kNoSearch = 0;             // no listing open
constexpr SearchHandle kInvalidSearch = -1;       // a listing that could not start

constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr std::uint32_t ERROR_PATH_NOT_FOUND = 3;
constexpr std::uint32_t ERROR_INVALID_HANDLE = 6;
constexpr std::uint32_t ERROR_NO_MORE_FILES = 18;

struct FindData {
  char fileName[260];  // the entry's name, without its folder
};

class FileFinder {
 public:
  virtual ~FileFinder() = default;
  // Returns kInvalidSearch when nothing matches or the folder does not exist.
  virtual SearchHandle findFirstFile(const char* pattern, FindData* data) = 0;
  // False at the end of the listing (getLastError() == ERROR_NO_MORE_FILES)
  // or on a bad handle (ERROR_INVALID_HANDLE).
  virtual bool findNextFile(SearchHandle handle, FindData* data) = 0;
  virtual bool findClose(SearchHandle handle) = 0;
  virtual std::uint32_t getLastError() = 0;
};

}  // namespace platform
