#include "platform/posix/path_kind.h"

#include <sys/stat.h>

namespace platform::posix {

PathKind pathKind(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return PathKind::kMissing;
  if (S_ISREG(info.st_mode)) return PathKind::kFile;
  return S_ISDIR(info.st_mode) ? PathKind::kFolder : PathKind::kOther;
}

}  // namespace platform::posix
