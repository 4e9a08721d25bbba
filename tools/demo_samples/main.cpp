// Writes the demo sample folders and the fallback tone into a working
// directory: demo_samples <working directory>.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/demo_samples/sets/sample_set.h"
#include "tools/demo_samples/wave_output.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <working directory>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root = argv[1];
  int failures = 0;
  for (const demos::SampleSet& set : demos::allSampleSets()) {
    const std::filesystem::path folder = set.folder.empty() ? root : root / set.folder;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const demos::NamedSample& sample : set.samples) {
      const std::string path = (folder / sample.fileName).string();
      const platform::HResult result = demos::writeMonoWave(path, sample.samples, set.sampleRate);
      if (result != 0) {
        std::fprintf(stderr, "could not write %s (result %d)\n", path.c_str(), static_cast<int>(result));
        ++failures;
      }
    }
  }
  return failures == 0 ? 0 : 1;
}
