#pragma once
// The bookkeeping of a directory listing by pattern ("folder/*.wav"): the
// pattern is split at its last '/', the folder's names are matched against
// the mask without regard to case and handed out sorted by name, one listing
// per handle. Where the names come from is left to the subclass.
#include <map>
#include <string>
#include <vector>

#include "platform/api/file_finder.h"

namespace platform {

class NameListingFinder : public FileFinder {
 public:
  SearchHandle findFirstFile(const char* pattern, FindData* data) override;
  bool findNextFile(SearchHandle handle, FindData* data) override;
  bool findClose(SearchHandle handle) override;
  std::uint32_t getLastError() override { return lastError_; }

  int openListings() const { return static_cast<int>(listings_.size()); }

 protected:
  // Every entry name of `folder` ("" is the working directory, otherwise it
  // ends in '/'); false when the folder cannot be read.
  virtual bool readFolder(const std::string& folder, std::vector<std::string>* names) = 0;

 private:
  struct Listing {
    std::vector<std::string> names;
    std::size_t next = 0;
  };

  std::map<SearchHandle, Listing> listings_;
  SearchHandle nextHandle_ = 1;
  std::uint32_t lastError_ = 0;
};

// Masks are "*" followed by a literal ending ("*.wav"); anything else must
// match the whole name. Letter case is ignored.
bool matchesMask(const std::string& name, const std::string& mask);

}  // namespace platform
