/* Preloaded into the running program to count its frames: every call of
 * SDL_RenderPresent is passed on and counted; SIGUSR1 writes the count and
 * the monotonic time in nanoseconds to the file named by PRESENT_COUNT_FILE,
 * after a first line naming the renderer. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static atomic_ulong presents;

/* The head of SDL_RendererInfo; the rest is room for the fields after it. */
struct RendererInfo {
  const char* name;
  unsigned int flags;
  char rest[128];
};

static void note_renderer(void* renderer) {
  int (*info_of)(void*, struct RendererInfo*) =
      (int (*)(void*, struct RendererInfo*))dlsym(RTLD_DEFAULT, "SDL_GetRendererInfo");
  const char* path = getenv("PRESENT_COUNT_FILE");
  struct RendererInfo info;
  if (info_of == NULL || path == NULL || info_of(renderer, &info) != 0) return;
  FILE* out = fopen(path, "a");
  if (out == NULL) return;
  fprintf(out, "renderer %s vsync %d\n", info.name, (info.flags & 0x4) != 0); /* SDL_RENDERER_PRESENTVSYNC */
  fclose(out);
}

void SDL_RenderPresent(void* renderer) {
  static void (*real)(void*);
  if (real == NULL) real = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
  real(renderer);
  if (atomic_fetch_add(&presents, 1) == 0) note_renderer(renderer);
}

static void report(int signal_number) {
  (void)signal_number;
  const char* path = getenv("PRESENT_COUNT_FILE");
  if (path == NULL) return;
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  FILE* out = fopen(path, "a");
  if (out == NULL) return;
  fprintf(out, "%lu %lld\n", atomic_load(&presents), (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
  fclose(out);
}

__attribute__((constructor)) static void install(void) { signal(SIGUSR1, report); }
