#include "tidewell/shell/shell_platform.h"

namespace tidewell {

ShellPlatform shellPlatform;

}  // namespace tidewell
