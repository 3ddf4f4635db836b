// The main of a fuzz target built without libFuzzer: replays the files
// given (a folder gives its files, sorted by name), then a fixed number of
// mutations of them made by a seeded generator, so every run tries the
// same inputs and a failure can be made again.
//
//   fuzz_TARGET [--mutations N] [--seed S] PATH...
//
// When a check fails or the program dies, the input is written to
// fuzz-failure-TARGET in the current folder and named on stderr.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Input = std::vector<std::uint8_t>;

// What the handler of a fatal signal needs, set before each input runs.
struct Current {
  const Input* input = nullptr;
  char description[512] = {};
  char failureFile[512] = {};
};
Current gCurrent;

// Only async-signal-safe calls: the heap may be what broke.
void saveCurrentInput() {
  if (gCurrent.input == nullptr) {
    return;
  }
  const char* lead = "\nfuzz replay: the failing input is ";
  ssize_t ignored = ::write(2, lead, std::strlen(lead));
  ignored = ::write(2, gCurrent.description, std::strlen(gCurrent.description));
  const int fd = ::open(gCurrent.failureFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd >= 0) {
    ignored = ::write(fd, gCurrent.input->data(), gCurrent.input->size());
    ::close(fd);
    const char* saved = ", saved as ";
    ignored = ::write(2, saved, std::strlen(saved));
    ignored = ::write(2, gCurrent.failureFile, std::strlen(gCurrent.failureFile));
  }
  ignored = ::write(2, "\n", 1);
  static_cast<void>(ignored);
  gCurrent.input = nullptr;
}

extern "C" void onFatalSignal(int signal) {
  saveCurrentInput();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// splitmix64: small, and the same numbers on every machine.
class Generator {
 public:
  explicit Generator(std::uint64_t seed) : mState(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (mState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 to bound - 1.
  std::size_t below(std::size_t bound) {
    return bound == 0 ? 0 : static_cast<std::size_t>(next() % bound);
  }

 private:
  std::uint64_t mState;
};

// Values that sit on the edges of the record fields: counts, 16-bit and
// 32-bit limits, whole amounts in ten-thousandths, float specials.
constexpr std::uint64_t kInteresting[] = {0,
                                          1,
                                          0x7F,
                                          0x80,
                                          0xFF,
                                          0x7FFF,
                                          0x8000,
                                          0xFFFF,
                                          999,
                                          1000,
                                          1001,
                                          2000,
                                          2001,
                                          3000,
                                          10000,
                                          20000000,
                                          0x7FFFFFFF,
                                          0x80000000,
                                          0xFFFFFFFF,
                                          0x7F800000,  // float infinity
                                          0x7FC00000,  // float NaN
                                          0x4B800000,  // float 16777216
                                          0x447A0000,  // float 1000
                                          0x7FFFFFFFFFFFFFFFull,
                                          0x8000000000000000ull,
                                          0xFFFFFFFFFFFFFFFFull};

void mutate(Input& input, const std::vector<Input>& seeds, Generator& random, std::size_t maxSize) {
  const std::size_t steps = 1 + random.below(4);
  for (std::size_t step = 0; step < steps; ++step) {
    const std::size_t size = input.size();
    switch (random.below(8)) {
      case 0:  // flip a bit
        if (size > 0) {
          input[random.below(size)] ^= static_cast<std::uint8_t>(1u << random.below(8));
        }
        break;
      case 1:  // a random byte
        if (size > 0) {
          input[random.below(size)] = static_cast<std::uint8_t>(random.next());
        }
        break;
      case 2: {  // an edge value, 1, 2, 4 or 8 bytes wide
        const std::size_t width = std::size_t{1} << random.below(4);
        if (size >= width) {
          const std::uint64_t value = kInteresting[random.below(std::size(kInteresting))];
          const std::size_t at = random.below(size - width + 1);
          for (std::size_t i = 0; i < width; ++i) {
            input[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
          }
        }
        break;
      }
      case 3: {  // insert random bytes
        const std::size_t count = 1 + random.below(16);
        const std::size_t at = random.below(size + 1);
        Input bytes(count);
        for (auto& b : bytes) {
          b = static_cast<std::uint8_t>(random.next());
        }
        input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin(), bytes.end());
        break;
      }
      case 4: {  // erase a run
        if (size > 0) {
          const std::size_t at = random.below(size);
          const std::size_t count = 1 + random.below(std::min<std::size_t>(size - at, 64));
          input.erase(input.begin() + static_cast<std::ptrdiff_t>(at),
                      input.begin() + static_cast<std::ptrdiff_t>(at + count));
        }
        break;
      }
      case 5: {  // repeat a run
        if (size > 0) {
          const std::size_t at = random.below(size);
          const std::size_t count = 1 + random.below(std::min<std::size_t>(size - at, 256));
          const Input run(input.begin() + static_cast<std::ptrdiff_t>(at),
                          input.begin() + static_cast<std::ptrdiff_t>(at + count));
          const std::size_t to = random.below(size + 1);
          input.insert(input.begin() + static_cast<std::ptrdiff_t>(to), run.begin(), run.end());
        }
        break;
      }
      case 6: {  // a run of another seed over this one
        const Input& other = seeds[random.below(seeds.size())];
        if (!other.empty() && size > 0) {
          const std::size_t from = random.below(other.size());
          const std::size_t to = random.below(size);
          const std::size_t count =
              1 + random.below(std::min({other.size() - from, size - to, std::size_t{512}}));
          std::copy_n(other.begin() + static_cast<std::ptrdiff_t>(from), count,
                      input.begin() + static_cast<std::ptrdiff_t>(to));
        }
        break;
      }
      default:  // cut the end off
        if (size > 0) {
          input.resize(random.below(size));
        }
        break;
    }
  }
  if (input.size() > maxSize) {
    input.resize(maxSize);
  }
}

Input readInput(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void run(const Input& input, const std::string& description) {
  gCurrent.input = &input;
  std::snprintf(gCurrent.description, sizeof gCurrent.description, "%s", description.c_str());
  LLVMFuzzerTestOneInput(input.data(), input.size());
  gCurrent.input = nullptr;
}

int usage(const char* program) {
  std::fprintf(stderr, "usage: %s [--mutations N] [--seed S] PATH...\n", program);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t mutations = 0;
  std::uint64_t seed = 1;
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--mutations" || arg == "--seed") && i + 1 < argc) {
      const auto value = std::strtoull(argv[++i], nullptr, 10);
      (arg == "--seed" ? seed : mutations) = value;
    } else if (arg.starts_with("--")) {
      return usage(argv[0]);
    } else if (std::filesystem::is_directory(arg)) {
      std::vector<std::filesystem::path> inFolder;
      for (const auto& entry : std::filesystem::directory_iterator(arg)) {
        if (entry.is_regular_file()) {
          inFolder.push_back(entry.path());
        }
      }
      std::sort(inFolder.begin(), inFolder.end());
      files.insert(files.end(), inFolder.begin(), inFolder.end());
    } else if (std::filesystem::is_regular_file(arg)) {
      files.emplace_back(arg);
    } else {
      std::fprintf(stderr, "%s: no file or folder %s\n", argv[0], arg.c_str());
      return 2;
    }
  }
  if (files.empty()) {
    return usage(argv[0]);
  }

  const std::string target = std::filesystem::path(argv[0]).filename().string();
  std::snprintf(gCurrent.failureFile, sizeof gCurrent.failureFile, "fuzz-failure-%s",
                target.c_str());
  for (const int signal : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) {
    std::signal(signal, onFatalSignal);
  }
#if defined(__SANITIZE_ADDRESS__)
  __sanitizer_set_death_callback(saveCurrentInput);
#endif

  std::vector<Input> seeds;
  std::size_t largest = 0;
  for (const auto& file : files) {
    seeds.push_back(readInput(file));
    largest = std::max(largest, seeds.back().size());
    run(seeds.back(), file.string());
  }
  Generator random(seed);
  const std::size_t maxSize = std::max<std::size_t>(2 * largest, 4096);
  for (std::size_t m = 1; m <= mutations; ++m) {
    const std::size_t from = random.below(seeds.size());
    Input input = seeds[from];
    mutate(input, seeds, random, maxSize);
    run(input, "mutation " + std::to_string(m) + " (--seed " + std::to_string(seed) + ") of " +
                   files[from].string());
  }
  std::printf("%s: %zu files and %zu mutations replayed\n", target.c_str(), files.size(),
              mutations);
  return 0;
}
