#pragma once
// The directory listing over POSIX: regular files of a folder, matched and
// sorted by name so that runs repeat.
#include "platform/listing/name_listing_finder.h"

namespace platform::posix {

class PosixFileFinder : public NameListingFinder {
 protected:
  bool readFolder(const std::string& folder, std::vector<std::string>* names) override;
};

}  // namespace platform::posix
