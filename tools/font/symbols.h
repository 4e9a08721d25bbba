#pragma once
// The info line's pictograms, one per meaning and value, each in its own
// 8 x 8 cell of the font picture: time signatures and input sources in row
// 7, waveforms, behaviours and the recording marks in row 8. Each shape
// keeps its last column and row dark, so it cannot run into the cell beside
// or below it; the checks at the bottom hold that, and that no two
// pictograms share a cell or a look.
namespace tools {

enum class SymbolKind { timeSignature, inputSource, behaviour, waveform, recording };

constexpr int kSymbolSize = 8;

struct Pictogram {
  SymbolKind kind;
  int value;  // for recording: 1 recording, 2 failed
  int column;
  int row;
  const char* rows[kSymbolSize];
};

// Row 7: beats as ticks in bars of four, the downbeat taller.
#define TW_BEATS(a, b) {a, a, a, "........", b, b, "........", "........"}
// Row 7: where samples come from, with dots to tell apart the values that
// mean the same.
#define TW_FOLDER(dots) \
  {"........", "###.....", "#..####.", "#.....#.", "#.....#.", "#######.", dots, "........"}
#define TW_LOCK(dots) \
  {"..###...", ".#...#..", ".#...#..", "#######.", "###.###.", "#######.", dots, "........"}

inline constexpr Pictogram kPictograms[] = {
    {SymbolKind::timeSignature, 1, 1, 7,
     {"#.......", "#.......", "#.......", "........", "........", "........", "........", "........"}},
    {SymbolKind::timeSignature, 2, 2, 7, TW_BEATS("#.#.....", "........")},
    {SymbolKind::timeSignature, 3, 3, 7, TW_BEATS("#.#.#...", "........")},
    {SymbolKind::timeSignature, 4, 4, 7, TW_BEATS("#.#.#.#.", "........")},
    {SymbolKind::timeSignature, 5, 5, 7, TW_BEATS("#.#.#.#.", "#.......")},
    {SymbolKind::timeSignature, 6, 6, 7, TW_BEATS("#.#.#.#.", "#.#.....")},
    {SymbolKind::timeSignature, 7, 7, 7, TW_BEATS("#.#.#.#.", "#.#.#...")},
    {SymbolKind::timeSignature, 8, 8, 7, TW_BEATS("#.#.#.#.", "#.#.#.#.")},

    // 0, 3 and 4: every track keeps the sample it has (a lock).
    {SymbolKind::inputSource, 0, 18, 7, TW_LOCK("........")},
    {SymbolKind::inputSource, 3, 11, 7, TW_LOCK("#.......")},
    {SymbolKind::inputSource, 4, 12, 7, TW_LOCK("#.#.....")},
    // 1 and 5..9: a folder's .wav files.
    {SymbolKind::inputSource, 1, 9, 7, TW_FOLDER("........")},
    {SymbolKind::inputSource, 5, 13, 7, TW_FOLDER("#.......")},
    {SymbolKind::inputSource, 6, 14, 7, TW_FOLDER("#.#.....")},
    {SymbolKind::inputSource, 7, 15, 7, TW_FOLDER("#.#.#...")},
    {SymbolKind::inputSource, 8, 16, 7, TW_FOLDER("#.#.#.#.")},
    {SymbolKind::inputSource, 9, 17, 7, TW_FOLDER("#######.")},
    // 2: recordings from the capture device (a microphone).
    {SymbolKind::inputSource, 2, 10, 7,
     {"..###...", "..###...", "#.###.#.", ".#...#..", "..###...", "...#....", ".#####..", "........"}},

    // Saw down: a falling ramp and the jump back up.
    {SymbolKind::waveform, 1, 1, 8,
     {"#.....#.", ".#....#.", "..#...#.", "...#..#.", "....#.#.", ".....##.", "......#.", "........"}},
    // Saw up: the jump down and a rising ramp.
    {SymbolKind::waveform, 2, 2, 8,
     {"#.....#.", "#....#..", "#...#...", "#..#....", "#.#.....", "##......", "#.......", "........"}},
    {SymbolKind::waveform, 3, 3, 8,
     {"........", ".#......", "#.#.....", "...#....", "....#.#.", ".....#..", "........", "........"}},
    // 4 and 5 leave the volume alone: a level line, whole or dashed.
    {SymbolKind::waveform, 4, 4, 8,
     {"........", "........", "........", "#######.", "........", "........", "........", "........"}},
    {SymbolKind::waveform, 5, 10, 8,
     {"........", "........", "........", "#.#.#.#.", "........", "........", "........", "........"}},

    // Random: a die.
    {SymbolKind::behaviour, 1, 5, 8,
     {"#######.", "#.....#.", "#.#.#.#.", "#..#..#.", "#.#.#.#.", "#.....#.", "#######.", "........"}},
    // Sliding: a double arrow, pan and pitch gliding to and fro.
    {SymbolKind::behaviour, 2, 6, 8,
     {"........", ".#...#..", "##...##.", "#######.", "##...##.", ".#...#..", "........", "........"}},
    // Tonal: a note.
    {SymbolKind::behaviour, 3, 7, 8,
     {"...##...", "...#.#..", "...#..#.", "...#....", ".###....", "####....", ".##.....", "........"}},
    // 4 and 5 run no pattern: a crossed-out circle, either way.
    {SymbolKind::behaviour, 4, 8, 8,
     {".#####..", "#....##.", "#...#.#.", "#..#..#.", "#.#...#.", "##....#.", ".#####..", "........"}},
    {SymbolKind::behaviour, 5, 9, 8,
     {".#####..", "##....#.", "#.#...#.", "#..#..#.", "#...#.#.", "#....##.", ".#####..", "........"}},

    // Recording: a red-dot-like disc; failed: a cross.
    {SymbolKind::recording, 1, 11, 8,
     {"........", ".###....", "#####...", "#####...", "#####...", ".###....", "........", "........"}},
    {SymbolKind::recording, 2, 12, 8,
     {"#.....#.", ".#...#..", "..#.#...", "...#....", "..#.#...", ".#...#..", "#.....#.", "........"}},
};

#undef TW_BEATS
#undef TW_FOLDER
#undef TW_LOCK

constexpr bool symbolRowIsWellFormed(const char* row) {
  int length = 0;
  for (; row[length] != '\0'; ++length) {
    if (row[length] != '.' && row[length] != '#') return false;
  }
  return length == kSymbolSize && row[kSymbolSize - 1] == '.';
}

constexpr bool symbolRowIsDark(const char* row) {
  for (int i = 0; i < kSymbolSize; ++i) {
    if (row[i] != '.') return false;
  }
  return true;
}

constexpr bool sameText(const char* a, const char* b) {
  int i = 0;
  for (; a[i] != '\0' && a[i] == b[i]; ++i) {
  }
  return a[i] == b[i];
}

constexpr bool sameLook(const Pictogram& a, const Pictogram& b) {
  for (int r = 0; r < kSymbolSize; ++r) {
    if (!sameText(a.rows[r], b.rows[r])) return false;
  }
  return true;
}

constexpr bool pictogramsStayInTheirCells() {
  for (const Pictogram& p : kPictograms) {
    for (const char* row : p.rows) {
      if (row == nullptr || !symbolRowIsWellFormed(row)) return false;
    }
    if (!symbolRowIsDark(p.rows[kSymbolSize - 1])) return false;
    // Inside the 256 x 256 picture, below the text rows 0..6 or right of
    // their fifteen columns.
    if (p.column < 0 || p.column >= 32 || p.row < 0 || p.row >= 32) return false;
    if (p.row < 7 && p.column < 15) return false;
  }
  return true;
}

constexpr bool pictogramsAreDistinct() {
  constexpr int count = sizeof kPictograms / sizeof kPictograms[0];
  for (int i = 0; i < count; ++i) {
    for (int j = i + 1; j < count; ++j) {
      const Pictogram& a = kPictograms[i];
      const Pictogram& b = kPictograms[j];
      if (a.column == b.column && a.row == b.row) return false;
      if (a.kind == b.kind && a.value == b.value) return false;
      if (sameLook(a, b)) return false;
    }
  }
  return true;
}

static_assert(pictogramsStayInTheirCells(),
              "every pictogram is 8 rows of 8 cells, its last row and column dark");
static_assert(pictogramsAreDistinct(), "no two pictograms share a cell, a meaning or a look");

}  // namespace tools
