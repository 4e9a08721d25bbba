#pragma once
// The file the two programs meet through: the launcher writes the settings
// line there, the main program reads it at start. Relative to the working
// directory both run in.
namespace tidewell {

constexpr const char* kSettingsPath = "data/settings.txt";

}  // namespace tidewell
