#pragma once
// The player's own choices that outlast a run (sharing the tempo on the
// network, a sound output, ...), kept beside the launcher's settings in a
// small file of "name=value" lines. The settings line stays the launcher's
// alone; this file is the main program's.
//
//   PlayerChoices choices = PlayerChoices::load(kPlayerChoicesPath);
//   bool on = choices.flag("link", false);
//   choices.setFlag("link", true);
//   choices.save(kPlayerChoicesPath);
//
// Reading never fails: a missing or unreadable file is an empty one, a line
// that is not "name=value" is skipped, and names this program does not know
// are kept and written back, so an older or newer build can share the file.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tidewell {

constexpr const char* kPlayerChoicesPath = "data/choices.txt";

class PlayerChoices {
 public:
  // The longest name and value taken; longer lines are skipped whole.
  static constexpr std::size_t kMaxNameLength = 64;
  static constexpr std::size_t kMaxValueLength = 1024;

  static PlayerChoices load(const std::string& path);
  // Reads "name=value" lines from text; the same rules as load.
  static PlayerChoices parse(std::string_view text);

  // The value stored under name, if any.
  std::optional<std::string> text(std::string_view name) const;
  // A yes/no choice: "1", "true", "yes", "on" and "0", "false", "no", "off"
  // (any case); anything else, or no value, gives the fallback.
  bool flag(std::string_view name, bool fallback) const;

  // False, changing nothing, for a name that is empty, too long or holds
  // anything but letters, digits, "_", "-" and "."; or a value that is too
  // long or holds a line break or another control character.
  bool setText(std::string_view name, std::string_view value);
  bool setFlag(std::string_view name, bool value);

  // Every line in the order first read or set.
  std::string serialise() const;
  // Writes a whole new file beside the old one and renames it over, so a
  // reader (or a crash) sees the old file or the new, never half of one.
  // False when the file could not be written; the old one then stays.
  bool save(const std::string& path) const;

 private:
  std::vector<std::pair<std::string, std::string>> entries_;
};

}  // namespace tidewell
