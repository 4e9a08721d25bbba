#include "tidewell/shell/player_choices.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace tidewell {
namespace {

// More than any real choices file; the rest of a huge file is not read.
constexpr std::size_t kMaxFileBytes = 64 * 1024;

std::string_view trimmed(std::string_view s) {
  const char* space = " \t\r\v\f";
  const std::size_t first = s.find_first_not_of(space);
  if (first == std::string_view::npos) return {};
  const std::size_t last = s.find_last_not_of(space);
  return s.substr(first, last - first + 1);
}

bool validName(std::string_view name) {
  if (name.empty() || name.size() > PlayerChoices::kMaxNameLength) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
  });
}

bool validValue(std::string_view value) {
  if (value.size() > PlayerChoices::kMaxValueLength) return false;
  return std::none_of(value.begin(), value.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
  });
}

bool equalsIgnoringCase(std::string_view a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
  }
  return true;
}

std::string temporaryNameBeside(const std::string& path) {
  // Two programs saving at once each write their own file.
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  return path + ".new" + std::to_string(stamp);
}

}  // namespace

PlayerChoices PlayerChoices::load(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return {};
  std::string text(kMaxFileBytes, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), file));
  std::fclose(file);
  return parse(text);
}

PlayerChoices PlayerChoices::parse(std::string_view text) {
  PlayerChoices choices;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = trimmed(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    choices.setText(trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)));
  }
  return choices;
}

std::optional<std::string> PlayerChoices::text(std::string_view name) const {
  for (const auto& [key, value] : entries_) {
    if (key == name) return value;
  }
  return std::nullopt;
}

bool PlayerChoices::flag(std::string_view name, bool fallback) const {
  const std::optional<std::string> value = text(name);
  if (!value) return fallback;
  for (const char* yes : {"1", "true", "yes", "on"}) {
    if (equalsIgnoringCase(*value, yes)) return true;
  }
  for (const char* no : {"0", "false", "no", "off"}) {
    if (equalsIgnoringCase(*value, no)) return false;
  }
  return fallback;
}

bool PlayerChoices::setText(std::string_view name, std::string_view value) {
  if (!validName(name) || !validValue(value)) return false;
  for (auto& entry : entries_) {
    if (entry.first == name) {
      entry.second = value;
      return true;
    }
  }
  entries_.emplace_back(name, value);
  return true;
}

bool PlayerChoices::setFlag(std::string_view name, bool value) {
  return setText(name, value ? "1" : "0");
}

std::string PlayerChoices::serialise() const {
  std::string text;
  for (const auto& [key, value] : entries_) text += key + "=" + value + "\n";
  return text;
}

bool PlayerChoices::save(const std::string& path) const {
  const std::string temporary = temporaryNameBeside(path);
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  const std::string text = serialise();
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace tidewell
