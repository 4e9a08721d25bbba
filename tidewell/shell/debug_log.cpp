#include "tidewell/shell/debug_log.h"

#include <cstdio>

namespace tidewell {

void startDebugLog() {
  std::FILE* log = std::fopen(kDebugLogPath, "w");
  if (log == nullptr) return;
  std::fputs("DEBUG LOG\n", log);
  std::fclose(log);
}

void appendDebugLog(const char* text) {
  std::FILE* log = std::fopen(kDebugLogPath, "a");
  if (log == nullptr) return;
  std::fputs(text, log);
  std::fputc('\n', log);
  std::fclose(log);
}

}  // namespace tidewell
