// CPU per frame by stage of the picture's way to the screen: ripple, map
// copy, HUD, palette conversion, upload, render, present. Runs full screen on
// the current X display with the renderer SDL_RENDER_DRIVER names (vsync
// off, so presents do not wait), first the presentation as it was (SDL's
// logical size: the largest whole factor, letterboxed, one copy) as the
// reference, then ours (sharp scaling, or with --integer-scale the whole
// factor), side by side in the same run.
//   picture_stages_bench [--frames N] [--integer-scale]
// CPU is the process's (CLOCK_PROCESS_CPUTIME_ID), so a renderer's worker
// threads count too.
#include <SDL2/SDL.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "platform/api/memory_surface.h"
#include "platform/sdl/palette_conversion.h"
#include "platform/sdl/picture_placement.h"
#include "platform/sdl/sdl_frame_presenter.h"
#include "tidewell/picture/picture.h"
#include "tidewell/picture/text_hud.h"

namespace {

// The one picture the bench draws (a megabyte: not on the stack).
tidewell::Picture& thePicture() {
  static auto* picture = new tidewell::Picture();
  return *picture;
}

enum Stage { kRipple, kMapCopy, kHud, kConversion, kUpload, kRender, kPresent, kStages };
const char* const kStageNames[kStages] = {"ripple", "map copy", "HUD", "palette conversion",
                                          "upload", "render", "present"};

double cpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

struct Totals {
  double cpu[kStages] = {};
  double wall = 0;
  int frames = 0;
};

// Times one stage: the CPU since the last mark goes to `stage`.
class StageClock {
 public:
  explicit StageClock(Totals& totals) : totals_(totals), last_(cpuSeconds()) {}
  void mark(Stage stage) {
    const double now = cpuSeconds();
    totals_.cpu[stage] += now - last_;
    last_ = now;
  }

 private:
  Totals& totals_;
  double last_;
};

tidewell::PictureContext infoLineContext() {
  tidewell::PictureContext context;
  context.showSequencerInfo = true;
  context.behaviour = 3;
  context.beatsPerBar = 8;
  context.tempo = 900;
  context.waveform = 1;
  context.inputFormat = 1;
  context.activeTrackCount = 4;
  return context;
}

// The frame's picture work, the same for both ways of presenting.
void drawPicture(int frame, StageClock& clock) {
  if (frame % 8 == 0) {
    thePicture().plotCross(255, (frame * 37) % tidewell::kPictureWidth,
                        (frame * 53) % tidewell::kPictureHeight);
  }
  thePicture().rippleStep();
  clock.mark(kRipple);
  thePicture().drawIntensityMap();
  clock.mark(kMapCopy);
  thePicture().drawHud(infoLineContext());
  clock.mark(kHud);
  thePicture().fadePalette();
  if (frame % 200 == 0) thePicture().randomisePalette();
}

const platform::MemorySurface& backPixels() {
  return static_cast<const platform::MemorySurface&>(*thePicture().backBuffer);
}

// Times `frames` frames: the picture's stages, then the four presentation
// steps, each given the frame's palette lookup where it needs it.
template <typename Convert, typename Upload, typename Render, typename Present>
Totals timeFrames(int frames, Convert convert, Upload upload, Render render, Present present) {
  Totals totals;
  std::uint32_t lookup[256];
  const double started = SDL_GetTicks64() / 1000.0;
  StageClock clock(totals);
  for (int frame = 0; frame < frames; ++frame) {
    drawPicture(frame, clock);
    platform::buildArgbLookup(thePicture().currentPalette, lookup);
    convert(lookup);
    clock.mark(kConversion);
    upload();
    clock.mark(kUpload);
    render();
    clock.mark(kRender);
    present();
    clock.mark(kPresent);
    SDL_PumpEvents();
  }
  totals.wall = SDL_GetTicks64() / 1000.0 - started;
  totals.frames = frames;
  return totals;
}

// The presentation as it was: a streaming texture drawn by SDL's logical
// size, whole factor and letterbox, over a cleared screen.
Totals runReference(SDL_Renderer* renderer, int frames) {
  SDL_RenderSetLogicalSize(renderer, tidewell::kPictureWidth, tidewell::kPictureHeight);
  SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
  SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_STREAMING, tidewell::kPictureWidth,
                                           tidewell::kPictureHeight);
  SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
  const Totals totals = timeFrames(
      frames,
      [&](const std::uint32_t* lookup) {
        void* pixels = nullptr;
        int pitch = 0;
        SDL_LockTexture(texture, nullptr, &pixels, &pitch);
        platform::convertIndexedToArgb(backPixels().pixels(), backPixels().pitch(),
                                       tidewell::kPictureWidth, tidewell::kPictureHeight, lookup,
                                       static_cast<std::uint32_t*>(pixels), pitch);
      },
      [&] { SDL_UnlockTexture(texture); },
      [&] {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
      },
      [&] { SDL_RenderPresent(renderer); });
  SDL_DestroyTexture(texture);
  SDL_RenderSetLogicalSize(renderer, 0, 0);
  SDL_RenderSetIntegerScale(renderer, SDL_FALSE);
  return totals;
}

Totals runOurs(SDL_Renderer* renderer, int frames, bool wholeFactorOnly) {
  platform::SdlFramePresenter presenter(renderer, tidewell::kPictureWidth,
                                        tidewell::kPictureHeight);
  if (!presenter.createTextures()) return {};
  int width = 0, height = 0;
  SDL_GetRendererOutputSize(renderer, &width, &height);
  const platform::PicturePlacement placement = platform::placePicture(
      width, height, tidewell::kPictureWidth, tidewell::kPictureHeight, wholeFactorOnly);
  return timeFrames(
      frames,
      [&](const std::uint32_t* lookup) {
        presenter.convert(backPixels().pixels(), backPixels().pitch(), lookup, placement);
      },
      [&] { presenter.upload(); }, [&] { presenter.render(placement); },
      [&] { presenter.present(); });
}

void report(const char* renderer, int width, int height, const Totals& reference,
            const Totals& ours, const char* oursName) {
  std::printf("renderer %s, screen %dx%d, %d frames each\n", renderer, width, height,
              reference.frames);
  std::printf("%-20s %14s %14s\n", "stage (CPU ms/frame)", "reference", oursName);
  double sumReference = 0, sumOurs = 0;
  for (int s = 0; s < kStages; ++s) {
    const double r = 1000 * reference.cpu[s] / reference.frames;
    const double o = 1000 * ours.cpu[s] / ours.frames;
    sumReference += r;
    sumOurs += o;
    std::printf("%-20s %14.3f %14.3f\n", kStageNames[s], r, o);
  }
  std::printf("%-20s %14.3f %14.3f\n", "total", sumReference, sumOurs);
  std::printf("%-20s %14.3f %14.3f\n", "wall ms/frame", 1000 * reference.wall / reference.frames,
              1000 * ours.wall / ours.frames);
  std::printf("%-20s %13.0f%% %13.0f%%\n", "CPU at 60 frames/s", 6 * sumReference, 6 * sumOurs);
}

}  // namespace

int main(int argc, char** argv) {
  int frames = 600;
  bool wholeFactorOnly = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
      frames = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--integer-scale") == 0) {
      wholeFactorOnly = true;
    } else {
      std::fprintf(stderr, "usage: %s [--frames N] [--integer-scale]\n", argv[0]);
      return 2;
    }
  }
  if (frames <= 0 || SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  SDL_DisplayMode desktop;
  SDL_GetDesktopDisplayMode(0, &desktop);
  SDL_Window* window = SDL_CreateWindow("picture stages", 0, 0, desktop.w, desktop.h,
                                        SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  if (renderer == nullptr) {
    std::fprintf(stderr, "no renderer: %s\n", SDL_GetError());
    return 1;
  }
  SDL_RendererInfo info;
  SDL_GetRendererInfo(renderer, &info);

  thePicture().backBuffer = std::make_shared<platform::MemorySurface>(tidewell::kPictureWidth,
                                                                  tidewell::kPictureHeight);
  auto font = std::make_shared<platform::MemorySurface>(256, 256);
  for (int i = 0; i < 256 * 256; ++i) font->pixels()[i] = static_cast<std::uint8_t>(i * 7);
  thePicture().fontSurface = font;
  thePicture().displayPalette = std::make_shared<platform::MemoryPalette>(thePicture().currentPalette);
  thePicture().resetIntensityMaps();
  thePicture().initPalettes();

  // A short warm-up of each, then the measured runs.
  runReference(renderer, 30);
  const Totals reference = runReference(renderer, frames);
  runOurs(renderer, 30, wholeFactorOnly);
  const Totals ours = runOurs(renderer, frames, wholeFactorOnly);
  int width = 0, height = 0;
  SDL_GetRendererOutputSize(renderer, &width, &height);
  report(info.name, width, height, reference, ours, wholeFactorOnly ? "whole factor" : "sharp");

  thePicture().backBuffer.reset();
  thePicture().fontSurface.reset();
  thePicture().displayPalette.reset();
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return ours.frames == frames ? 0 : 1;
}
