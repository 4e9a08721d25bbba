#include "platform/listing/name_listing_finder.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>

namespace platform {

namespace {

void fillFindData(const std::string& name, FindData* data) {
  if (data != nullptr) std::snprintf(data->fileName, sizeof data->fileName, "%s", name.c_str());
}

}  // namespace

bool matchesMask(const std::string& name, const std::string& mask) {
  if (mask.empty() || mask[0] != '*') return strcasecmp(name.c_str(), mask.c_str()) == 0;
  const std::size_t endingLength = mask.size() - 1;
  if (name.size() < endingLength) return false;
  return strcasecmp(name.c_str() + name.size() - endingLength, mask.c_str() + 1) == 0;
}

SearchHandle NameListingFinder::findFirstFile(const char* pattern, FindData* data) {
  const std::string text = pattern != nullptr ? pattern : "";
  // The folder keeps its '/' so that folder + name is a usable path.
  const auto slash = text.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : text.substr(0, slash + 1);
  const std::string mask = slash == std::string::npos ? text : text.substr(slash + 1);

  std::vector<std::string> names;
  if (!readFolder(folder, &names)) {
    lastError_ = ERROR_PATH_NOT_FOUND;
    return kInvalidSearch;
  }
  Listing listing;
  for (const std::string& name : names) {
    if (matchesMask(name, mask)) listing.names.push_back(name);
  }
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

bool NameListingFinder::findNextFile(SearchHandle handle, FindData* data) {
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

bool NameListingFinder::findClose(SearchHandle handle) {
  if (listings_.erase(handle) == 0) {
    lastError_ = ERROR_INVALID_HANDLE;
    return false;
  }
  return true;
}

}  // namespace platform
