// Feeds every file of the folders (or the files) named on the command line to the fuzz target,
// in name order, so the kept corpus and every past crash run as an ordinary test. A broken
// property aborts the program.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsOf(const fs::path& path) {
  std::vector<fs::path> inputs;
  std::error_code error;
  if (fs::is_regular_file(path, error)) {
    inputs.push_back(path);
    return inputs;
  }
  if (!fs::is_directory(path, error)) {
    return inputs;
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(path, error)) {
    // Dot files keep empty folders in the repository; they are no inputs.
    if (entry.is_regular_file() && entry.path().filename().string().front() != '.') {
      inputs.push_back(entry.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    for (const fs::path& input : InputsOf(argv[i])) {
      std::ifstream in(input, std::ios::binary);
      if (!in) {
        std::fprintf(stderr, "cannot read %s\n", input.c_str());
        return 1;
      }
      const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  std::printf("replayed %d inputs\n", replayed);
  return 0;
}
