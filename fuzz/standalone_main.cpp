// The fuzz targets' own driver where libFuzzer is not at hand (GCC): runs the corpus, then
// a bounded number of inputs made by mutating it or drawn at random. It takes libFuzzer's
// flags so that one command line serves both builds:
//   vantary_fuzz_X [-runs=N] [-max_total_time=SECONDS] [-seed=S] [-dict=FILE]
//                  [-timeout=SECONDS] [folder or file ...]
// An input that fails a check (or runs over the timeout) is written to crash-<target> (or
// timeout-<target>) in the working folder; give that file back as the only argument with
// -runs=0 to run it again.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

#if defined(__SANITIZE_ADDRESS__)
extern "C" void __sanitizer_set_death_callback(void (*callback)());
#endif

namespace {

// The input being run, for the handlers that save it when the run dies. Set before each
// run; the handlers only read it.
const char* gInput = nullptr;
std::size_t gInputSize = 0;
char gCrashPath[512];
char gTimeoutPath[512];

// Async-signal-safe: open, write and close only.
void SaveInput(const char* path) {
  if (gInput == nullptr) return;
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return;
  std::size_t done = 0;
  while (done < gInputSize) {
    const ssize_t n = ::write(fd, gInput + done, gInputSize - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  const char note[] = "fuzz: the input is saved in ";
  (void)!::write(2, note, sizeof note - 1);
  (void)!::write(2, path, std::strlen(path));
  (void)!::write(2, "\n", 1);
}

void OnDeath() { SaveInput(gCrashPath); }

void OnAbort(int) {
  SaveInput(gCrashPath);
  ::signal(SIGABRT, SIG_DFL);
  ::raise(SIGABRT);
}

void OnTimeout(int) {
  const char note[] = "fuzz: an input ran over the timeout\n";
  (void)!::write(2, note, sizeof note - 1);
  SaveInput(gTimeoutPath);
  ::_exit(70);
}

// libFuzzer's dictionary format: one token a line in double quotes, optionally named
// (name="token"), with \\, \" and \xNN escapes; "#" starts a comment.
std::vector<std::string> ReadDictionary(const std::filesystem::path& file) {
  std::vector<std::string> tokens;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t open = line.find('"');
    const std::size_t close = line.rfind('"');
    if (line.starts_with('#') || open == std::string::npos || close <= open) continue;
    std::string token;
    for (std::size_t i = open + 1; i < close; ++i) {
      if (line[i] != '\\' || i + 1 >= close) {
        token.push_back(line[i]);
      } else if (line[i + 1] == 'x' && i + 3 < close) {
        token.push_back(static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16)));
        i += 3;
      } else {
        token.push_back(line[++i]);
      }
    }
    if (!token.empty()) tokens.push_back(token);
  }
  return tokens;
}

void Run(const std::string& input) {
  gInput = input.data();
  gInputSize = input.size();
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

std::string Mutate(std::string s, const std::vector<std::string>& corpus,
                   const std::vector<std::string>& tokens, std::mt19937_64& rng) {
  auto pick = [&rng](std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(rng() % n); };
  const int steps = 1 + static_cast<int>(rng() % 4);
  for (int i = 0; i < steps; ++i) {
    switch (rng() % 7) {
      case 0:
        if (!s.empty()) s[pick(s.size())] = static_cast<char>(rng());
        break;
      case 1:
      case 2:
        if (!tokens.empty()) s.insert(pick(s.size() + 1), tokens[pick(tokens.size())]);
        break;
      case 3:
        if (!s.empty()) {
          const std::size_t at = pick(s.size());
          s.erase(at, pick(s.size() - at) + 1);
        }
        break;
      case 4:
        if (!s.empty() && s.size() < 4096) {
          const std::size_t at = pick(s.size());
          s.insert(pick(s.size() + 1), s.substr(at, pick(s.size() - at) + 1));
        }
        break;
      case 5:
        // A piece of another input spliced in.
        if (!corpus.empty() && s.size() < 4096) {
          const std::string& other = corpus[pick(corpus.size())];
          const std::size_t at = pick(other.size());
          s.insert(pick(s.size() + 1), other.substr(at, pick(other.size() - at) + 1));
        }
        break;
      default:
        s.insert(pick(s.size() + 1), 1, static_cast<char>(rng()));
        break;
    }
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  long long runs = 200000;
  std::uint64_t seed = 1;
  unsigned timeout = 60;
  double maxSeconds = 0;  // no bound but the runs
  std::optional<std::filesystem::path> dictionary;
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.starts_with("-runs=")) {
      runs = std::atoll(argv[i] + 6);
    } else if (arg.starts_with("-seed=")) {
      seed = static_cast<std::uint64_t>(std::atoll(argv[i] + 6));
    } else if (arg.starts_with("-dict=")) {
      dictionary = argv[i] + 6;
    } else if (arg.starts_with("-max_total_time=")) {
      maxSeconds = std::atof(argv[i] + 16);
    } else if (arg.starts_with("-timeout=")) {
      timeout = static_cast<unsigned>(std::atoi(argv[i] + 9));
    } else if (!arg.starts_with("-")) {
      inputs.emplace_back(arg);
    }
  }
#ifdef VANTARY_FUZZ_CORPUS
  if (inputs.empty()) inputs.emplace_back(VANTARY_FUZZ_CORPUS);
#endif
#ifdef VANTARY_FUZZ_DICT
  if (!dictionary) dictionary = VANTARY_FUZZ_DICT;
#endif
  const std::string name = std::filesystem::path(argv[0]).filename().string();
  std::snprintf(gCrashPath, sizeof gCrashPath, "crash-%s", name.c_str());
  std::snprintf(gTimeoutPath, sizeof gTimeoutPath, "timeout-%s", name.c_str());
#if defined(__SANITIZE_ADDRESS__)
  __sanitizer_set_death_callback(OnDeath);
#endif
  ::signal(SIGABRT, OnAbort);
  ::signal(SIGALRM, OnTimeout);
  (void)OnDeath;

  const std::vector<std::string> tokens =
      dictionary ? ReadDictionary(*dictionary) : std::vector<std::string>{};
  std::vector<std::string> corpus;
  auto load = [&](const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    ::alarm(timeout);
    Run(corpus.back());
  };
  for (const auto& path : inputs) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
      for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
        if (entry.is_regular_file()) load(entry.path());
      }
    } else if (std::filesystem::is_regular_file(path, error)) {
      load(path);
    }
  }
  const std::size_t loaded = corpus.size();

  const auto started = std::chrono::steady_clock::now();
  const auto elapsed = [&started] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  };
  std::mt19937_64 rng(seed);
  long long done = 0;
  for (; done < runs && (maxSeconds <= 0 || done % 256 != 0 || elapsed() < maxSeconds); ++done) {
    std::string input;
    if (!corpus.empty() && rng() % 4 != 0) {
      input = Mutate(corpus[rng() % corpus.size()], corpus, tokens, rng);
    } else {
      input.resize(rng() % 300);
      for (char& c : input) c = static_cast<char>(rng());
    }
    ::alarm(timeout);
    Run(input);
    // Some inputs stay in the pool, so mutations build on each other.
    if (rng() % 16 == 0 && corpus.size() < 4096 && input.size() < 4096) corpus.push_back(input);
    if ((done + 1) % 100000 == 0) {
      std::printf("%s: %lld inputs in %.0f s\n", name.c_str(), done + 1, elapsed());
      std::fflush(stdout);
    }
  }
  ::alarm(0);
  std::printf("%s: %zu corpus inputs, %lld generated inputs in %.1f s, no failure\n", name.c_str(), loaded,
              done, elapsed());
  return 0;
}
