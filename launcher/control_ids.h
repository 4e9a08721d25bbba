#pragma once
// Control ids of the launcher's two dialogs.

namespace launcher {

// "Tidewell Setup"
constexpr int IDC_CAPTURE_OK = 1;
constexpr int IDC_QUIT = 2;  // also the dialog's cancel: Esc and the close box
constexpr int IDC_FOLDER_OK = 3;
constexpr int IDC_WEB_OK = 4;
constexpr int IDC_DEMO_OK = 5;
constexpr int IDC_FORMAT_LIST = 1011;
constexpr int IDC_FOLDER_NAME = 1028;
constexpr int IDC_SEARCH_KEYWORD = 1029;
constexpr int IDC_TIME_SIGNATURE = 1033;
constexpr int IDC_TEMPO = 1034;
constexpr int IDC_WAVEFORM = 1035;
constexpr int IDC_CHANNELS = 1036;
constexpr int IDC_TIME_SIGNATURE_MUTATION = 1037;
constexpr int IDC_BEHAVIOUR_MUTATION = 1038;
constexpr int IDC_WAVEFORM_MUTATION = 1039;
constexpr int IDC_BEHAVIOUR = 1040;
constexpr int IDC_DEMO = 1041;
constexpr int IDC_FORMAT_NOTE = 1042;  // "Input Format", or why there is none

// "Capturing Sound"
constexpr int IDC_CANCEL = 2;
constexpr int IDC_SOUND_FILE = 1011;
constexpr int IDC_FORMAT_TEXT = 1013;
constexpr int IDC_STATUS = 1015;
constexpr int IDC_RECORD = 1019;

constexpr int IDI_LAUNCHER = 128;

// Dialog end codes.
constexpr int kEndCaptureReady = 1;
constexpr int kEndQuit = 2;
constexpr int kEndError = 3;

constexpr const char* kMessageCaption = "DirectSound Sample";

}  // namespace launcher
