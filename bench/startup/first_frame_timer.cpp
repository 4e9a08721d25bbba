// Starts a program and reports how long it takes until the pixel in the
// middle of the screen changes: the first frame it presents.
//
//   first_frame_timer WORKDIR PROGRAM [ARGS...]
//
// Prints "first_frame_ms=N" (or "first_frame_ms=timeout") and ends the
// program with SIGTERM.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

unsigned long centrePixel(Display* display) {
  const int screen = DefaultScreen(display);
  const int x = DisplayWidth(display, screen) / 2;
  const int y = DisplayHeight(display, screen) / 2;
  XImage* image = XGetImage(display, RootWindow(display, screen), x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return 0;
  const unsigned long pixel = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return pixel;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s WORKDIR PROGRAM [ARGS...]\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no display\n");
    return 2;
  }
  // A black screen to start from, whatever an earlier run left behind.
  const Window root = DefaultRootWindow(display);
  XSetWindowBackground(display, root, BlackPixel(display, DefaultScreen(display)));
  XClearWindow(display, root);
  XSync(display, False);
  const unsigned long before = centrePixel(display);

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(argv[1]) != 0) _exit(127);
    execv(argv[2], argv + 2);
    _exit(127);
  }

  long elapsedMs = -1;
  while (true) {
    const auto now = std::chrono::steady_clock::now();
    const long ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - start).count();
    if (ms > 10000) break;
    if (centrePixel(display) != before) {
      elapsedMs = ms;
      break;
    }
    if (waitpid(child, nullptr, WNOHANG) == child) break;
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  if (elapsedMs >= 0) {
    std::printf("first_frame_ms=%ld\n", elapsedMs);
  } else {
    std::printf("first_frame_ms=timeout\n");
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  XCloseDisplay(display);
  return elapsedMs >= 0 ? 0 : 1;
}
