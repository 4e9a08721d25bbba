#pragma once
// Reads "data/settings.txt", the launcher's one line of comma-terminated
// fields, into the sequencer. Each field is one character wide; white space
// anywhere in the file is invisible; a character outside a field's table
// leaves that field as it was.

namespace tidewell {

class Sequencer;

constexpr const char* kSettingsPath = "data/settings.txt";

// Stops quietly at the end of the file: fields not reached keep their values.
void readSettings(const char* fileName, Sequencer& target);

}  // namespace tidewell
