// The least a full-screen SDL program does before its first frame: a window
// at the desktop's size, a renderer with vsync, then a plain frame loop until
// it is ended.
#include <SDL2/SDL.h>

int main() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("reference", 0, 0, mode.w, mode.h, SDL_WINDOW_FULLSCREEN_DESKTOP);
  if (window == nullptr) return 1;
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
  if (renderer == nullptr) return 1;
  // Frames until asked to end, as a program with a frame loop presents.
  SDL_SetRenderDrawColor(renderer, 40, 0, 60, 255);
  for (bool running = true; running;) {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
      if (event.type == SDL_QUIT) running = false;
    }
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
  }
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
