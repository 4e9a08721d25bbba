#pragma once
// Where the launcher writes the settings line and the main program reads it,
// relative to the working directory both run in.
namespace tidewell {

constexpr const char* kSettingsPath = "data/settings.txt";

}  // namespace tidewell
