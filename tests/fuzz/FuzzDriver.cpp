// A small mutation fuzzer for targets that define LLVMFuzzerTestOneInput,
// so that fuzzing needs nothing but g++ and the sanitizers.
//   target [--seconds=N] [--seed=N] [corpus-dir-or-file ...]
// Each seed input is run as is, then mutated (bit flips, byte changes,
// insertions, deletions, splices, interesting values) until the time is up.
// A crash is reported by the sanitizers; each input is written to
// crash-<hash> in the current folder before its run is attempted and removed
// after it, so the input that crashed or hung is the one left behind.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void LoadCorpus(const std::string& arg, std::vector<Bytes>& corpus) {
  std::filesystem::path path(arg);
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error)) {
      if (entry.is_regular_file()) corpus.push_back(ReadFile(entry.path()));
    }
  } else if (std::filesystem::is_regular_file(path, error)) {
    corpus.push_back(ReadFile(path));
  }
}

// The name a failing input is kept under: crash- and the input's 64-bit
// FNV-1a hash in hex.
std::string CrashName(const Bytes& input) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (std::uint8_t byte : input) {
    hash ^= byte;
    hash *= 0x100000001b3ull;
  }
  char name[32];
  std::snprintf(name, sizeof name, "crash-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

// Runs one input. It is written to crash-<hash> first and removed only after
// the target returned, so that a crash, or a hang that the time limit ends,
// leaves exactly the failing input behind.
void RunOne(const Bytes& input) {
  const std::string name = CrashName(input);
  {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(input.data()),
              static_cast<std::streamsize>(input.size()));
  }
  LLVMFuzzerTestOneInput(input.data(), input.size());
  std::remove(name.c_str());
}

void Mutate(Bytes& data, const std::vector<Bytes>& corpus, std::mt19937_64& rng) {
  auto pick = [&](std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(rng() % n); };
  int rounds = 1 + static_cast<int>(rng() % 4);
  for (int r = 0; r < rounds; ++r) {
    switch (rng() % 8) {
      case 0:
        if (!data.empty()) data[pick(data.size())] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
        break;
      case 1:
        if (!data.empty()) data[pick(data.size())] = static_cast<std::uint8_t>(rng());
        break;
      case 2:
        data.insert(data.begin() + static_cast<std::ptrdiff_t>(pick(data.size() + 1)),
                    static_cast<std::uint8_t>(rng()));
        break;
      case 3:
        if (!data.empty()) {
          std::size_t at = pick(data.size());
          std::size_t n = 1 + pick(std::min<std::size_t>(16, data.size() - at));
          data.erase(data.begin() + static_cast<std::ptrdiff_t>(at),
                     data.begin() + static_cast<std::ptrdiff_t>(std::min(data.size(), at + n)));
        }
        break;
      case 4: {  // splice from another input
        const Bytes& other = corpus[pick(corpus.size())];
        if (!other.empty()) {
          std::size_t from = pick(other.size());
          std::size_t n = 1 + pick(std::min<std::size_t>(64, other.size() - from));
          data.insert(data.begin() + static_cast<std::ptrdiff_t>(pick(data.size() + 1)),
                      other.begin() + static_cast<std::ptrdiff_t>(from),
                      other.begin() + static_cast<std::ptrdiff_t>(from + n));
        }
        break;
      }
      case 5: {  // interesting text: digits, signs, separators, big numbers
        static const char* const kTokens[] = {"-", "\"", "#", "\r\n", "\n", "0", "-1",
                                              "2147483648", "4294967295", "99999999999999999999",
                                              ":", "\\", " ", "\t", "\0", "\xff"};
        std::string token = kTokens[pick(sizeof kTokens / sizeof kTokens[0])];
        data.insert(data.begin() + static_cast<std::ptrdiff_t>(pick(data.size() + 1)),
                    token.begin(), token.end());
        break;
      }
      case 6:  // duplicate a run
        if (!data.empty() && data.size() < 1 << 16) {
          std::size_t at = pick(data.size());
          std::size_t n = 1 + pick(std::min<std::size_t>(32, data.size() - at));
          Bytes run(data.begin() + static_cast<std::ptrdiff_t>(at),
                    data.begin() + static_cast<std::ptrdiff_t>(at + n));
          data.insert(data.begin() + static_cast<std::ptrdiff_t>(at), run.begin(), run.end());
        }
        break;
      default:  // truncate
        if (!data.empty()) data.resize(pick(data.size()));
        break;
    }
  }
  if (data.size() > (1u << 20)) data.resize(1u << 20);
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 10;
  std::uint64_t seed = 0x5eed;
  std::vector<Bytes> corpus;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.rfind("--seconds=", 0) == 0) {
      seconds = std::atof(arg.c_str() + 10);
    } else if (arg.rfind("--seed=", 0) == 0) {
      seed = std::strtoull(arg.c_str() + 7, nullptr, 10);
    } else {
      LoadCorpus(arg, corpus);
    }
  }
  if (corpus.empty()) corpus.emplace_back();

  std::uint64_t runs = 0;
  for (const Bytes& input : corpus) {
    RunOne(input);
    ++runs;
  }
  std::mt19937_64 rng(seed);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    for (int batch = 0; batch < 64; ++batch) {
      Bytes input = corpus[static_cast<std::size_t>(rng() % corpus.size())];
      Mutate(input, corpus, rng);
      RunOne(input);
      ++runs;
      // Keep some mutants as new seeds so that the search wanders further.
      if (rng() % 64 == 0 && corpus.size() < 4096) corpus.push_back(std::move(input));
    }
  }
  std::cout << "fuzz: " << runs << " runs in " << seconds << " s, no failure\n";
  return 0;
}
