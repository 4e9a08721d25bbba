/* growth_watch FILE: prints "wall_seconds file_bytes" each time FILE grows,
 * woken by inotify, until it is killed. With SDL's disk driver each line is
 * one block handed over by the audio callback, so the lines map every frame
 * of the stream to the wall-clock moment it was written. */
#include <stdio.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static double now_seconds(void) {
  struct timespec t;
  clock_gettime(CLOCK_REALTIME, &t);
  return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  struct stat st;
  while (stat(argv[1], &st) != 0) usleep(1000);
  int fd = inotify_init();
  if (fd < 0 || inotify_add_watch(fd, argv[1], IN_MODIFY) < 0) return 1;
  setvbuf(stdout, NULL, _IOLBF, 0);
  long long last = -1;
  char events[4096];
  for (;;) {
    if (read(fd, events, sizeof events) <= 0) return 1;
    const double when = now_seconds();
    if (stat(argv[1], &st) != 0) continue;
    if ((long long)st.st_size != last) printf("%.6f %lld\n", when, (long long)st.st_size);
    last = (long long)st.st_size;
  }
}
