/* Preloaded into the running program: notes the monotonic time of every
 * SDL_RenderPresent (the frame loop's pace, so the spacing of its ticks) and
 * writes them, one per line in milliseconds, to PRESENT_TIMES_FILE on SIGUSR1. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#define CAPACITY 200000
static double times[CAPACITY];
static atomic_int count;

void SDL_RenderPresent(void* renderer) {
  static void (*real)(void*);
  if (real == NULL) real = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
  real(renderer);
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  const int n = atomic_load(&count);
  if (n < CAPACITY) {
    times[n] = (double)now.tv_sec * 1000.0 + (double)now.tv_nsec / 1e6;
    atomic_store(&count, n + 1);
  }
}

static void dump(int signal_number) {
  (void)signal_number;
  const char* path = getenv("PRESENT_TIMES_FILE");
  FILE* out = path != NULL ? fopen(path, "w") : NULL;
  if (out == NULL) return;
  const int n = atomic_load(&count);
  for (int i = 0; i < n; ++i) fprintf(out, "%.4f\n", times[i]);
  fclose(out);
}

__attribute__((constructor)) static void install(void) { signal(SIGUSR1, dump); }
