#include "platform/posix/working_directory.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/posix/path_kind.h"

namespace platform::posix {

namespace fs = std::filesystem;

namespace {

// What a working directory holds besides the user's own files.
constexpr const char* kSampleData[] = {"data", "demo1", "demo2", "demo3", "demo4", "C.wav"};

bool isDirectory(const fs::path& path) { return pathKind(path.string()) == PathKind::kFolder; }

std::string lookup(const EnvironmentLookup& environment, const char* name) {
  const char* value = environment ? environment(name) : nullptr;
  return value ? value : "";
}

// A copy goes to a temporary name first, so that an interrupted first start
// never leaves a half-copied file that later starts would keep.
bool copyMissingFile(const fs::path& from, const fs::path& to, std::error_code& failure) {
  if (fs::exists(to, failure) || failure) return !failure;
  fs::path partial = to;
  partial += ".part";
  if (!fs::copy_file(from, partial, fs::copy_options::overwrite_existing, failure)) return false;
  fs::rename(partial, to, failure);
  return !failure;
}

bool copyMissing(const fs::path& from, const fs::path& to, std::error_code& failure) {
  if (!isDirectory(from)) return copyMissingFile(from, to, failure);
  fs::create_directories(to, failure);
  if (failure) return false;
  for (const fs::directory_entry& entry : fs::directory_iterator(from, failure)) {
    if (!copyMissing(entry.path(), to / entry.path().filename(), failure)) return false;
  }
  return !failure;
}

}  // namespace

WorkingDirectoryChoice chooseWorkingDirectory(const std::string& executablePath,
                                              const EnvironmentLookup& environment,
                                              const std::string& currentDirectory) {
  const fs::path programFolder = fs::path(executablePath).parent_path();
  const fs::path installedData = (programFolder.parent_path() / "share" / "tidewell").lexically_normal();
  const bool installed = !programFolder.empty() && isDirectory(installedData);
  const bool runFolder = !programFolder.empty() && isDirectory(programFolder / "data");
  const std::string source = installed ? installedData.string() : runFolder ? programFolder.string() : "";

  // Made absolute here: the main program inherits TIDEWELL_HOME but starts
  // inside the folder, and must arrive at the same one.
  const std::string home = lookup(environment, "TIDEWELL_HOME");
  if (!home.empty()) return {(fs::path(currentDirectory) / home).lexically_normal().string(), source, true};
  if (installed) {
    // Only an absolute XDG_DATA_HOME counts; a relative one is to be ignored.
    const std::string dataHome = lookup(environment, "XDG_DATA_HOME");
    if (!dataHome.empty() && dataHome[0] == '/') return {(fs::path(dataHome) / "tidewell").string(), source, true};
    const std::string userHome = lookup(environment, "HOME");
    if (userHome.empty()) return {"", source, true};
    return {(fs::path(userHome) / ".local" / "share" / "tidewell").string(), source, true};
  }
  // A run folder or the current directory is used as it is, as before.
  if (runFolder) return {programFolder.string(), "", false};
  return {currentDirectory, "", false};
}

bool fillWorkingDirectory(const std::string& directory, const std::string& source, std::string* error) {
  const fs::path target(directory);
  std::error_code failure;
  fs::create_directories(target / "data", failure);
  if (!failure) fs::create_directories(target / "autoaudio", failure);
  if (!failure && !source.empty() && fs::path(source).lexically_normal() != target.lexically_normal()) {
    for (const char* name : kSampleData) {
      const fs::path from = fs::path(source) / name;
      if (pathKind(from.string()) != PathKind::kMissing && !copyMissing(from, target / name, failure)) break;
    }
  }
  if (failure && error) *error = "cannot prepare " + directory + ": " + failure.message();
  return !failure;
}

std::string executablePath() {
  std::error_code failure;
  const fs::path self = fs::read_symlink("/proc/self/exe", failure);
  return failure ? std::string() : self.string();
}

bool enterWorkingDirectory(std::string* error) {
  std::error_code failure;
  const std::string current = fs::current_path(failure).string();
  const WorkingDirectoryChoice choice =
      chooseWorkingDirectory(executablePath(), [](const char* name) { return std::getenv(name); }, current);
  if (choice.directory.empty()) {
    if (error) *error = "cannot find a working directory: neither TIDEWELL_HOME nor HOME is set";
    return false;
  }
  if (choice.prepare && !fillWorkingDirectory(choice.directory, choice.dataSource, error)) return false;
  if (::chdir(choice.directory.c_str()) != 0) {
    if (error) *error = "cannot enter " + choice.directory;
    return false;
  }
  return true;
}

}  // namespace platform::posix
