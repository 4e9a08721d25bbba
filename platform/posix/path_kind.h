#pragma once
// What a path names, asked of the file system in one place.
#include <string>

namespace platform::posix {

enum class PathKind { kMissing, kFile, kFolder, kOther };

PathKind pathKind(const std::string& path);

}  // namespace platform::posix
