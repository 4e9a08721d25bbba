#pragma once
// Directory listing over opendir/readdir for patterns of the shape
// "folder/*.ext". The folder part is everything up to the last '/'; an empty
// folder part is the working directory, "/" the root. Only regular files whose
// names end in the extension (in any letter case) are listed, sorted by name
// in byte order, so that the same folder always deals out the same sequence.
#include <map>
#include <string>
#include <vector>

#include "platform/api/file_finder.h"

namespace platform::posix {

class PosixFileFinder : public FileFinder {
 public:
  SearchHandle findFirstFile(const char* pattern, FindData* data) override;
  bool findNextFile(SearchHandle handle, FindData* data) override;
  bool findClose(SearchHandle handle) override;
  std::uint32_t getLastError() override { return lastError_; }

 private:
  struct Listing {
    std::vector<std::string> names;
    std::size_t next = 0;
  };

  std::map<SearchHandle, Listing> listings_;
  SearchHandle nextHandle_ = 1;
  std::uint32_t lastError_ = 0;
};

}  // namespace platform::posix
