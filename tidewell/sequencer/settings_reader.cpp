#include "tidewell/sequencer/settings_reader.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "tidewell/sequencer/sequencer.h"

namespace tidewell {

namespace {

// Hands out the file's characters one at a time, skipping white space.
class CharacterSource {
 public:
  explicit CharacterSource(std::FILE* file) : file_(file) {}

  // False at the end of the file.
  bool take(char* c) {
    int next;
    do {
      next = file_ != nullptr ? std::fgetc(file_) : EOF;
    } while (next != EOF && std::isspace(next));
    if (next == EOF) return false;
    *c = static_cast<char>(next);
    return true;
  }

 private:
  std::FILE* file_;
};

// A field's table: the character '0' + i maps to values[i].
template <int N>
bool mapDigit(char c, const int (&values)[N], int* field) {
  const int index = c - '0';
  if (index < 0 || index >= N) return false;
  *field = values[index];
  return true;
}

constexpr int kInputSources[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
constexpr int kBeatsPerBar[] = {4, 5, 6, 7, 8};
constexpr int kMutationChances[] = {0, 15, 25, 50, 100};
constexpr int kOneToFive[] = {1, 2, 3, 4, 5};
constexpr int kTrackCounts[] = {1, 2, 3, 4, 5, 6, 7, 8};
constexpr int kTempos[] = {60, 250, 600, 700, 1000};

// Fields 1 to 9: the first stands alone, each later one follows a separator.
bool readNumberFields(CharacterSource& source, Sequencer& s) {
  char c;
  if (!source.take(&c)) return false;
  mapDigit(c, kInputSources, &s.inputFormat);

  int* const fields[] = {&s.beatsPerBar,     &s.timeSignatureMutation, &s.behaviour,
                         &s.behaviourMutation, &s.waveform,            &s.waveformMutation,
                         &s.activeTrackCount};
  const int* const tables[] = {kBeatsPerBar, kMutationChances, kOneToFive, kMutationChances,
                               kOneToFive,   kMutationChances, kTrackCounts};
  const int tableSizes[] = {5, 5, 5, 5, 5, 5, 8};
  for (int i = 0; i < 7; ++i) {
    if (!source.take(&c) || !source.take(&c)) return false;
    const int index = c - '0';
    if (index >= 0 && index < tableSizes[i]) *fields[i] = tables[i][index];
  }

  const bool tempoRead = source.take(&c) && source.take(&c);
  int tempo = 0;
  if (tempoRead && mapDigit(c, kTempos, &tempo)) s.tempo = static_cast<float>(tempo);
  // The interval always follows the tempo, matched or not.
  s.setTempo(s.tempo);
  return tempoRead;
}

// Field 10: everything up to the next ",", cut to fit, then "/" appended.
void readFolder(CharacterSource& source, Sequencer& s) {
  char c;
  if (!source.take(&c)) return;  // the separator after the tempo
  constexpr std::size_t kMaxNameLength = kFolderSize - 2;  // room for "/" and the end
  std::size_t length = 0;
  while (source.take(&c) && c != ',') {
    if (length < kMaxNameLength) s.folder[length++] = c;
  }
  s.folder[length++] = '/';
  s.folder[length] = '\0';
}

}  // namespace

void readSettings(const char* fileName, Sequencer& target) {
  std::FILE* file = std::fopen(fileName, "r");
  CharacterSource source(file);
  if (readNumberFields(source, target)) readFolder(source, target);
  if (file != nullptr) std::fclose(file);
}

}  // namespace tidewell
