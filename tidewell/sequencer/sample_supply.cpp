// The sample supply: which file a track plays next. Capture runs take the
// numbered recording the capture-file clock shows; folder runs deal out the
// folder's .wav files one listing for all tracks, starting again after the
// last; "C.wav" stands in when nothing is found.
#include <cstdio>
#include <cstring>

#include "tidewell/sequencer/sequencer.h"

namespace tidewell {
namespace {

constexpr char kFallbackSample[] = "C.wav";

void setName(Track& track, const char* folder, const char* file) {
  // The field holds any folder plus any file name; should a platform hand out
  // a longer one, it is cut rather than written past the field.
  const std::size_t capacity = sizeof track.sampleName - 1;
  std::size_t used = 0;
  for (const char* part : {folder, file}) {
    const std::size_t length = strnlen(part, capacity - used);
    std::memcpy(track.sampleName + used, part, length);
    used += length;
  }
  track.sampleName[used] = '\0';
}

}  // namespace

void Sequencer::pickSample(int trackIndex) {
  if (trackIndex < 0 || trackIndex >= kTrackCount) return;
  Track& track = tracks[trackIndex];

  if (inputFormat == 2) {
    std::snprintf(track.sampleName, sizeof track.sampleName, "autoaudio/%d.wav", captureFileIndex);
  }
  // 2 keeps its capture name; 0, 3 and 4 keep whatever the track had.
  if (inputFormat != 1 && inputFormat <= 4) return;

  // The folder field is terminated by its writer; bound the read all the same.
  char folderText[kFolderSize];
  std::snprintf(folderText, sizeof folderText, "%.*s",
                static_cast<int>(strnlen(folder, kFolderSize - 1)), folder);

  if (files_ == nullptr) {
    setName(track, "", kFallbackSample);
    return;
  }
  // At most two rounds: an exhausted listing is closed and started afresh
  // for the same track, and a fresh start either gives a name or fails.
  for (int round = 0; round < 2; ++round) {
    platform::FindData found{};
    if (searchHandle == platform::kNoSearch) {
      char pattern[kFolderSize + 8];
      std::snprintf(pattern, sizeof pattern, "%s*.wav", folderText);
      searchHandle = files_->findFirstFile(pattern, &found);
      // A listing that could not start stays "open" as kInvalidSearch: every
      // later pick then fails on it and no new listing is tried this run.
      if (searchHandle == platform::kInvalidSearch) {
        setName(track, "", kFallbackSample);
      } else {
        setName(track, folderText, found.fileName);
      }
      return;
    }
    if (files_->findNextFile(searchHandle, &found)) {
      setName(track, folderText, found.fileName);
      return;
    }
    setName(track, "", kFallbackSample);
    if (files_->getLastError() != platform::ERROR_NO_MORE_FILES) return;
    files_->findClose(searchHandle);
    searchHandle = platform::kNoSearch;
  }
}

void Sequencer::loadAllSamples() {
  for (int i = 0; i < activeTracks(); ++i) {
    pickSample(i);
    tracks[i].loadSample(audioDevice.get(), 3);
  }
}

}  // namespace tidewell
