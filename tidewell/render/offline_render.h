#pragma once
// tidewell --render SECONDS OUT.wav: the music of data/settings.txt written
// to a WAV file faster than real time, with no window and no sound device.
//
// The engine runs its per-frame steps (the tick and the palette roll) on a
// virtual 60 Hz clock. Before each frame's tick the mixer has mixed exactly
// up to that frame's time (800 output frames a display frame, 48 a
// millisecond) and its frameNow() reads that frame, 48 x the milliseconds the
// clock has run, so hits scheduled from a tick land on their exact frames.
// The same settings, samples and seed give the same bytes.
#include <cstdio>
#include <string>

namespace tidewell::render {

struct RenderRequest {
  double seconds = 0;      // > 0 and at most a day
  std::string outputPath;  // the WAV file to write
};

// Writes the file through a temporary name beside it, renamed only once
// complete; on any failure nothing is left. Progress and errors go to
// `messages`. Returns the process exit code: 0 done, 1 failed, 2 a request
// no WAV file can hold.
int renderToFile(const RenderRequest& request, std::FILE* messages);

}  // namespace tidewell::render
