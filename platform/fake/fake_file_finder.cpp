#include "platform/fake/fake_file_finder.h"

namespace platform::fake {

void FakeFileFinder::setFolder(const std::string& folder, std::vector<std::string> names) {
  folders_[folder] = std::move(names);
}

SearchHandle FakeFileFinder::findFirstFile(const char* pattern, FindData* data) {
  patterns_.push_back(pattern != nullptr ? pattern : "");
  return NameListingFinder::findFirstFile(pattern, data);
}

bool FakeFileFinder::readFolder(const std::string& folder, std::vector<std::string>* names) {
  const auto found = folders_.find(folder);
  if (found == folders_.end()) return false;
  *names = found->second;
  return true;
}

}  // namespace platform::fake
