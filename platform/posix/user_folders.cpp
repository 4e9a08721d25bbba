#include "platform/posix/user_folders.h"

#include <filesystem>
#include <fstream>

namespace platform::posix {

namespace {

std::string lookup(const EnvironmentLookup& environment, const char* name) {
  const char* value = environment ? environment(name) : nullptr;
  return value ? value : "";
}

// XDG_MUSIC_DIR="$HOME/Music": a quoted path, absolute or under $HOME.
std::string musicEntry(const std::string& configFile, const std::string& home) {
  std::ifstream in(configFile);
  const std::string key = "XDG_MUSIC_DIR=\"";
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key, 0) != 0) continue;
    const std::size_t end = line.find('"', key.size());
    if (end == std::string::npos) return {};
    std::string value = line.substr(key.size(), end - key.size());
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    return value.empty() || value[0] != '/' ? std::string() : value;
  }
  return {};
}

}  // namespace

std::string musicFolder(const EnvironmentLookup& environment) {
  const std::string home = lookup(environment, "HOME");
  std::string config = lookup(environment, "XDG_CONFIG_HOME");
  if (config.empty() || config[0] != '/') config = home + "/.config";
  const std::string music = musicEntry(config + "/user-dirs.dirs", home);
  std::error_code ignored;
  if (!music.empty() && std::filesystem::is_directory(music, ignored)) return music;
  return home;
}

}  // namespace platform::posix
