// post_command.exe: runs menu items of a running vantary.exe as an outside program does: it
// finds the hidden main window by its caption and posts a WM_COMMAND with each identifier
// given (README, "Menu command identifiers"). Exits 0 when every command was posted, 1 when
// the main window did not turn up within the wait, 2 on a wrong command line.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "text/ansi.h"

namespace {

using namespace vantary::platform;
using vantary::text::operator""_ansi;

// How long the main window may take to turn up when no --wait is given: vantary.exe loads
// its main window at the end of its intro, a few seconds after it starts under a cold Wine.
constexpr std::uint32_t kDefaultWaitMs = 30000;
constexpr std::uint32_t kLongestWaitMs = 600000;

bool ParseNumber(const char* s, unsigned long limit, unsigned long& out) {
  if (s == nullptr || *s == '\0') return false;
  char* end = nullptr;
  out = std::strtoul(s, &end, 10);
  return *end == '\0' && s[0] >= '0' && s[0] <= '9' && out >= 1 && out <= limit;
}

}  // namespace

int main(int argc, char** argv) {
  std::uint32_t waitMs = kDefaultWaitMs;
  std::vector<std::uint32_t> commands;
  for (int i = 1; i < argc; ++i) {
    unsigned long value = 0;
    if (std::string(argv[i]) == "--wait" && i + 1 < argc &&
        ParseNumber(argv[i + 1], kLongestWaitMs / 1000, value)) {
      waitMs = static_cast<std::uint32_t>(value * 1000);
      ++i;
    } else if (ParseNumber(argv[i], 0xFFFF, value)) {
      commands.push_back(static_cast<std::uint32_t>(value));
    } else {
      commands.clear();
      break;
    }
  }
  if (commands.empty()) {
    std::fprintf(stderr, "usage: post_command.exe [--wait SECONDS] COMMAND_ID...\n");
    return 2;
  }

  vantary::platform::win32::Win32Platform system;
  Platform& p = system.platform();
  const std::string_view caption = "vantary³ by kestro"_ansi;
  Window main;
  p.loop.waitUntil([&] { return static_cast<bool>(main = p.windows.findWindow("", caption)); }, waitMs);
  if (!main) {
    std::printf("post-command: vantary's main window did not turn up within %u s\n", waitMs / 1000);
    return 1;
  }
  int failed = 0;
  for (const std::uint32_t command : commands) {
    const bool posted = p.windows.post(main, msg::kCommand, static_cast<WParam>(command), 0);
    std::printf("post-command: %u %s\n", command, posted ? "posted" : "NOT posted (the window went away)");
    failed += posted ? 0 : 1;
  }
  std::fflush(stdout);
  return failed == 0 ? 0 : 1;
}
