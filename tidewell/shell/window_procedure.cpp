// The main window's messages: activation, the cursor, the end of the window
// and the keyboard commands.
#include "tidewell/shell/main_program.h"

namespace tidewell {

namespace {

constexpr float kSlowestTempo = 10.0f;
constexpr float kFastestTempo = 2000.0f;

void stepBehaviour(Sequencer& s) {
  s.behaviour += 1;
  if (s.behaviour > 3) s.behaviour = 1;
}

void stepTimeSignature(Sequencer& s) {
  s.beatsPerBar += 1;
  if (s.beatsPerBar > 8) s.beatsPerBar = 4;
}

// Through the beat source, which holds the tempo the beats follow.
void nudgeTempo(Sequencer& s, float step) {
  float tempo = s.beatSource().tempo() + step;
  if (tempo < kSlowestTempo) tempo = kSlowestTempo;
  if (tempo > kFastestTempo) tempo = kFastestTempo;
  s.setTempo(tempo);
}

}  // namespace

void MainProgram::handleKey(platform::WindowHandle window, std::uint32_t virtualKey) {
  Sequencer* sequencer = this->sequencer();
  switch (virtualKey) {
    case platform::VK_ESCAPE:
    case platform::VK_F12:
      shellPlatform.windows->postMessage(window, platform::WM_CLOSE, 0, 0);
      break;
    case platform::VK_F1:
      toggle(showHelp);
      break;
    case platform::VK_F2:
      if (sequencer != nullptr) stepBehaviour(*sequencer);
      break;
    case platform::VK_F3:
      if (sequencer != nullptr) stepTimeSignature(*sequencer);
      break;
    case platform::VK_F5:
      picture->randomisePalette();
      break;
    case platform::VK_F6:
      toggle(showWavNames);
      break;
    case platform::VK_F7:
      if (sequencer != nullptr) nudgeTempo(*sequencer, -1.0f);
      break;
    case platform::VK_F8:
      if (sequencer != nullptr) nudgeTempo(*sequencer, 1.0f);
      break;
    case platform::VK_F9:
      toggle(showSequencerInfo);
      break;
    case platform::VK_F10:
      if (recordingControl != nullptr) recordingControl->toggleRecording();
      break;
    case 'M':
      if (midiControl != nullptr) midiControl->toggleMidiOut();
      break;
    case platform::VK_F11:
      if (sequencer != nullptr) link.toggle(*sequencer);
      break;
    default:  // F4 and every other key: no command
      break;
  }
}

platform::LResult MainProgram::windowMessage(platform::WindowHandle window, std::uint32_t message,
                                            platform::WParam wParam, platform::LParam lParam) {
  switch (message) {
    case platform::WM_ACTIVATE:
      // The low word says active or not; a minimised window (the high word)
      // pauses the frames like an inactive one and shows nothing.
      windowMinimised = (wParam & platform::kMinimisedFlag) != 0 ? 1 : 0;
      windowActive = windowMinimised != 0 ? 0 : static_cast<int>(wParam & 0xFFFF);
      break;
    case platform::WM_SETCURSOR:
      shellPlatform.windows->hideCursor();
      // While frames run the next one presents within a frame anyway; a
      // present here as well would make every mouse move hold the loop back
      // by a wait for the display.
      if (soundsReady != 0 && windowActive == 0 && windowMinimised == 0) {
        picture->present();
        picture->readDisplayPaletteBack();
      }
      break;
    case platform::WM_DESTROY:
      picture->releaseDisplayObjects();
      shellPlatform.windows->postQuitMessage(0);
      break;
    case platform::WM_KEYDOWN:
      handleKey(window, static_cast<std::uint32_t>(wParam));
      break;
    default:
      break;
  }
  return shellPlatform.windows->defWindowProc(window, message, wParam, lParam);
}

}  // namespace tidewell
