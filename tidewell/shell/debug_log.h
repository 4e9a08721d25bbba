#pragma once
// The main program's debug log, "data/debug.txt": truncated at each start,
// then one line per event. Every write opens and closes the file, so the log
// is complete whenever the program stops; a log that cannot be opened is
// skipped silently.

namespace tidewell {

constexpr const char* kDebugLogPath = "data/debug.txt";

// Truncates the log and writes its header line.
void startDebugLog();
void appendDebugLog(const char* text);

}  // namespace tidewell
