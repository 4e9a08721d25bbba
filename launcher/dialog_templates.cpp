#include "launcher/dialog_templates.h"

#include "launcher/control_ids.h"

namespace launcher {

using platform::ControlKind;

const platform::DialogTemplate& setupDialogTemplate() {
  static const platform::DialogTemplate dialog{
      "Tidewell Setup", 294, 202, "MS Sans Serif", 8,
      {
          {IDC_CAPTURE_OK, ControlKind::kDefPushButton, "OK", 231, 70, 50, 14},
          {IDC_QUIT, ControlKind::kPushButton, "Quit", 11, 176, 50, 14},
          {IDC_FORMAT_LIST, ControlKind::kListBox, "", 129, 58, 92, 42},
          {IDC_FORMAT_NOTE, ControlKind::kStatic, "Input Format", 130, 104, 150, 8},
          {-1, ControlKind::kStatic, "Time Signature", 12, 15, 50, 9},
          {-1, ControlKind::kStatic, "Mutation", 13, 29, 31, 9},
          {IDC_FOLDER_NAME, ControlKind::kEdit, "", 129, 18, 92, 12},
          {IDC_FOLDER_OK, ControlKind::kDefPushButton, "OK", 231, 17, 50, 14},
          {IDC_SEARCH_KEYWORD, ControlKind::kEdit, "", 128, 131, 95, 12},
          {-1, ControlKind::kGroupBox, "Run From Local Folder", 123, 2, 165, 43},
          {-1, ControlKind::kGroupBox, "Run From Sound Capture", 123, 47, 165, 68},
          {-1, ControlKind::kGroupBox, "Run From Web", 123, 119, 165, 40},
          {-1, ControlKind::kStatic, "Folder name", 130, 32, 43, 8},
          {IDC_WEB_OK, ControlKind::kDefPushButton, "OK", 231, 132, 50, 14},
          {-1, ControlKind::kStatic, "Search Keyword", 129, 147, 55, 8},
          {-1, ControlKind::kGroupBox, "Parameters", 7, 2, 110, 192},
          {-1, ControlKind::kStatic, "Behaviour", 13, 50, 34, 9},
          {-1, ControlKind::kStatic, "Waveform", 14, 83, 34, 9},
          {-1, ControlKind::kStatic, "Number of Channels", 13, 121, 66, 9},
          {IDC_TIME_SIGNATURE, ControlKind::kDropDownList, "", 64, 14, 49, 50},
          {IDC_TEMPO, ControlKind::kDropDownList, "", 53, 140, 60, 80},
          {IDC_WAVEFORM, ControlKind::kDropDownList, "", 63, 82, 50, 73},
          {IDC_CHANNELS, ControlKind::kDropDownList, "", 81, 118, 31, 76},
          {IDC_TIME_SIGNATURE_MUTATION, ControlKind::kDropDownList, "", 64, 29, 49, 59},
          {-1, ControlKind::kStatic, "Mutation", 13, 66, 31, 9},
          {IDC_BEHAVIOUR_MUTATION, ControlKind::kDropDownList, "", 63, 63, 50, 73},
          {-1, ControlKind::kStatic, "Mutation", 13, 99, 31, 9},
          {IDC_WAVEFORM_MUTATION, ControlKind::kDropDownList, "", 63, 97, 50, 67},
          {-1, ControlKind::kStatic, "Tempo", 13, 142, 35, 9},
          {IDC_BEHAVIOUR, ControlKind::kDropDownList, "", 63, 48, 50, 68},
          {IDC_DEMO, ControlKind::kDropDownList, "", 128, 176, 91, 63},
          {-1, ControlKind::kGroupBox, "Run a Demo", 123, 163, 165, 31},
          {IDC_DEMO_OK, ControlKind::kDefPushButton, "OK", 231, 175, 50, 14},
      }};
  return dialog;
}

const platform::DialogTemplate& captureWindowTemplate() {
  static const platform::DialogTemplate dialog{
      "Capturing Sound", 259, 46, "MS Sans Serif", 8,
      {
          {-1, ControlKind::kStatic, "Input Format:", 7, 28, 50, 8},
          {IDC_FORMAT_TEXT, ControlKind::kStatic, "", 60, 28, 127, 8},
          {IDC_RECORD, ControlKind::kToggleButton, "&Record", 202, 25, 50, 14},
          {IDC_SOUND_FILE, ControlKind::kPushButton, "Sound &file...", 7, 7, 46, 13},
          {IDC_STATUS, ControlKind::kStaticSunken, "Static", 60, 7, 192, 13},
      }};
  return dialog;
}

}  // namespace launcher
