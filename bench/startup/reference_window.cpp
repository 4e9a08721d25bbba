// The least a full-screen SDL program does before its first frame: a window
// at the desktop's size, a renderer with vsync, one presented frame. It then
// waits to be ended.
#include <SDL2/SDL.h>

int main() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("reference", 0, 0, mode.w, mode.h, SDL_WINDOW_FULLSCREEN_DESKTOP);
  if (window == nullptr) return 1;
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
  if (renderer == nullptr) return 1;
  SDL_SetRenderDrawColor(renderer, 0, 50, 50, 255);
  SDL_RenderClear(renderer);
  SDL_RenderPresent(renderer);
  SDL_Event event;
  while (SDL_WaitEvent(&event) != 0) {
    if (event.type == SDL_QUIT) break;
  }
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
