#pragma once
// A fresh folder under /tmp for one test, removed with everything in it.
// Byte helpers for the files a test writes and reads back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testing_support {

constexpr bool kWorkInside = true;

class ScratchFolder {
 public:
  // kWorkInside makes the folder the working directory for the test, as the
  // programs name their files relative to it, with the subfolders given.
  explicit ScratchFolder(bool workInside = false, const std::vector<std::string>& subfolders = {}) {
    char pattern[] = "/tmp/tidewell-test-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    path_ = made ? made : "";
    for (const auto& name : subfolders) std::filesystem::create_directory(file(name));
    if (!workInside || path_.empty()) return;
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!previous_.empty()) std::filesystem::current_path(previous_, ignored);
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::filesystem::path previous_;
};

inline std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeAll(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
         static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

inline std::uint16_t u16At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

inline std::string idAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return std::string(bytes.begin() + offset, bytes.begin() + offset + 4);
}

}  // namespace testing_support
