// Replays inputs through the fuzz targets without libFuzzer: the ordinary test run uses it to
// run every input that once failed (tests/fuzz_regressions/<target>/) and the seeds
// (fuzz/seeds/<target>/) through their target, under the same sanitizers as the other tests.
//
//   fuzz_replay TARGET PATH...     every file of each PATH (a file or a folder) through TARGET
//   fuzz_replay --list             the names of the targets
//
// A target is a fuzz_<name>.cpp of this folder; the build compiles it with its libFuzzer entry
// points renamed to HarvsimFuzzOne_<name> and HarvsimFuzzInit_<name> and lists it in
// replay_targets.inc. Exit status 0 when every input ran, 2 on a usage error; a fault in a
// target ends the program as it would end the fuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Target {
  const char* name;
  int (*one)(const uint8_t*, size_t);
  int (*init)(int*, char***);
};

}  // namespace

#define HARVSIM_FUZZ_TARGET(name)                                                       \
  extern "C" int HarvsimFuzzOne_##name(const uint8_t*, size_t);                         \
  extern "C" int HarvsimFuzzInit_##name(int*, char***) __attribute__((weak));
#include "replay_targets.inc"
#undef HARVSIM_FUZZ_TARGET

namespace {

const Target kTargets[] = {
#define HARVSIM_FUZZ_TARGET(name) {#name, HarvsimFuzzOne_##name, HarvsimFuzzInit_##name},
#include "replay_targets.inc"
#undef HARVSIM_FUZZ_TARGET
};

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& path) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    for (const auto& e : std::filesystem::directory_iterator(path, ec))
      if (e.is_regular_file() && e.path().filename().string()[0] != '.') files.push_back(e.path());
    std::sort(files.begin(), files.end());
  } else if (std::filesystem::is_regular_file(path, ec)) {
    files.push_back(path);
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
    for (const Target& t : kTargets) std::printf("%s\n", t.name);
    return 0;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s TARGET PATH... | --list\n", argv[0]);
    return 2;
  }
  const Target* target = nullptr;
  for (const Target& t : kTargets)
    if (std::strcmp(t.name, argv[1]) == 0) target = &t;
  if (!target) {
    std::fprintf(stderr, "%s: no target %s\n", argv[0], argv[1]);
    return 2;
  }
  if (target->init) target->init(&argc, &argv);
  int count = 0;
  for (int a = 2; a < argc; ++a) {
    for (const auto& file : InputsOf(argv[a])) {
      std::ifstream in(file, std::ios::binary);
      const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      std::printf("%s: %s (%zu bytes)\n", target->name, file.filename().c_str(), bytes.size());
      std::fflush(stdout);
      static const uint8_t empty = 0;  // an empty input still comes with a valid pointer, as from the fuzzer
      target->one(bytes.empty() ? &empty : bytes.data(), bytes.size());
      ++count;
    }
  }
  std::printf("%s: %d inputs replayed\n", target->name, count);
  return 0;
}
