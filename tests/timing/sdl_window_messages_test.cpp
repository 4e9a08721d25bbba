// SDL's events as window messages: a flood of mouse moves leaves one cursor
// message at a time, so keys and frames are never queued behind it, and a
// minimised window says so in every activation word until it is restored.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/sdl/sdl_window_system.h"

namespace {

using namespace platform;

LResult recordingProc(WindowHandle, std::uint32_t, WParam, LParam) { return 0; }

class SdlWindowMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);  // events are pushed by the test
    WindowClass windowClass;
    windowClass.className = "test";
    windowClass.procedure = recordingProc;
    ASSERT_TRUE(windows.registerClass(windowClass));
    window = windows.createWindow("test", "test", 0, 0, 64, 48);
    ASSERT_NE(window, nullptr);
    drain();
  }
  void TearDown() override { windows.destroyWindow(window); }

  // Every message now waiting, in order.
  std::vector<Message> drain() {
    std::vector<Message> taken;
    Message message;
    while (windows.peekMessage(&message)) {
      windows.getMessage(&message);
      taken.push_back(message);
    }
    return taken;
  }
  static void push(Uint32 type, Uint8 windowEvent = 0, SDL_Keycode key = 0) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_WINDOWEVENT) event.window.event = windowEvent;
    if (type == SDL_KEYDOWN) event.key.keysym.sym = key;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }

  SdlWindowSystem windows;
  WindowHandle window = nullptr;
};

TEST_F(SdlWindowMessages, AFloodOfMovesQueuesOneCursorMessageAheadOfTheKey) {
  for (int i = 0; i < 500; ++i) push(SDL_MOUSEMOTION);
  push(SDL_KEYDOWN, 0, SDLK_ESCAPE);
  for (int i = 0; i < 500; ++i) push(SDL_MOUSEMOTION);
  const auto taken = drain();
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[0].message, WM_SETCURSOR);
  EXPECT_EQ(taken[1].message, WM_KEYDOWN);
  EXPECT_EQ(taken[1].wParam, VK_ESCAPE);
  // Once taken, the next move queues a cursor message again.
  push(SDL_MOUSEMOTION);
  push(SDL_MOUSEMOTION);
  EXPECT_EQ(drain().size(), 1u);
}

TEST_F(SdlWindowMessages, EveryActivationWordWhileMinimisedCarriesTheFlag) {
  push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_MINIMIZED);
  push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST);
  push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED);
  push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_RESTORED);
  push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST);
  std::vector<WParam> words;
  for (const auto& m : drain()) {
    if (m.message == WM_ACTIVATE) words.push_back(m.wParam);
  }
  EXPECT_EQ(words, (std::vector<WParam>{WA_INACTIVE | kMinimisedFlag, WA_INACTIVE | kMinimisedFlag,
                                         WA_ACTIVE | kMinimisedFlag, WA_ACTIVE, WA_INACTIVE}));
}

}  // namespace
