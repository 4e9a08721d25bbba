#pragma once
// An in-memory directory listing. A test says which names each folder holds;
// a pattern "folder/*.ext" then lists the folder's names that end in the
// extension (any letter case), sorted by name. The folder part of a pattern is
// everything up to and including its last '/' ("" for the working directory).
//
//   platform::fake::FakeFileFinder files;
//   files.setFolder("demo1/", {"b.wav", "a.WAV", "notes.txt"});
//   files.findFirstFile("demo1/*.wav", &data);   // "a.WAV", then "b.wav"
//
// A listing takes a snapshot of its folder when it starts, as a real one
// would for a folder that does not change while it is read.
#include <map>
#include <string>
#include <vector>

#include "platform/listing/name_listing_finder.h"

namespace platform::fake {

class FakeFileFinder : public NameListingFinder {
 public:
  void setFolder(const std::string& folder, std::vector<std::string> names);

  SearchHandle findFirstFile(const char* pattern, FindData* data) override;

  // Every pattern asked for, in order.
  const std::vector<std::string>& patterns() const { return patterns_; }

 protected:
  bool readFolder(const std::string& folder, std::vector<std::string>* names) override;

 private:
  std::map<std::string, std::vector<std::string>> folders_;
  std::vector<std::string> patterns_;
};

}  // namespace platform::fake
