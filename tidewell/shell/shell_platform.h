#pragma once
// The platform services the main program's shell runs on: real ones in the
// program, fakes in tests.
#include "platform/api/clock.h"
#include "platform/api/file_finder.h"
#include "platform/api/shared_timeline.h"
#include "platform/api/sound.h"
#include "platform/api/window_system.h"

namespace platform {
class DisplaySystem;
}

namespace tidewell {

struct ShellPlatform {
  platform::WindowSystem* windows = nullptr;
  platform::DisplaySystem* display = nullptr;
  platform::SoundSystem* sound = nullptr;
  platform::Clock* clock = nullptr;
  platform::FileFinder* files = nullptr;
  platform::SharedTimeline* timeline = nullptr;  // none: the tempo is never shared
};

// Set once by the program's entry before start-up.
extern ShellPlatform shellPlatform;

}  // namespace tidewell
