#pragma once
// Runs a test inside a fresh temporary working directory with data/ and,
// unless told otherwise, autoaudio/.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempWorkDir {
 public:
  explicit TempWorkDir(bool withAutoaudio = true) {
    char pattern[] = "/tmp/launcher-test-XXXXXX";
    path_ = mkdtemp(pattern);
    std::filesystem::create_directory(path_ + "/data");
    if (withAutoaudio) std::filesystem::create_directory(path_ + "/autoaudio");
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~TempWorkDir() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(path_);
  }
  static std::string read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::string path_;
  std::filesystem::path previous_;
};
