// Writes the fuzzer's seed corpus: small WAVs of the kinds the sample
// folders hold, and a few of the odd layouts the reader must get through.
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/wav_image.h"

using namespace testing_support;

namespace {

void save(const std::string& folder, const char* name, const Bytes& bytes) {
  std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_wave_seeds FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const Bytes fact = chunk("fact", {0, 0, 0, 0});
  const Bytes list = chunk("LIST", {'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 3, 0, 0, 0, 'a', 'b', 'c'});
  save(folder, "pcm8_mono.wav", riffFile({pcmFmt(1, 8000, 8), fact, chunk("data", sampleBytes(64))}));
  save(folder, "pcm16_stereo.wav", riffFile({pcmFmt(2, 44100, 16), list, chunk("data", sampleBytes(96))}));
  save(folder, "data_first.wav", riffFile({chunk("data", sampleBytes(33)), pcmFmt(1, 22050, 8)}));
  save(folder, "float.wav",
       riffFile({chunk("fmt ", extendedFmtBody(3, 0, 1, 48000, 32)), fact, chunk("data", sampleBytes(40))}));
  save(folder, "extensible.wav", riffFile({chunk("fmt ", extendedFmtBody(0xFFFE, 22)), chunk("data", sampleBytes(48))}));
  save(folder, "odd_chunks.wav",
       riffFile({chunk("junk", {1, 2, 3}), pcmFmt(), chunk("data", sampleBytes(7)), chunk("tail", {9})}));
  save(folder, "long_data.wav", riffFile({pcmFmt(), chunk("data", sampleBytes(20), 0xFFFFFFFFu)}));
  return 0;
}
