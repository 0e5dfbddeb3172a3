// hostsim.exe: the stand-in host as a Windows program of its own, for the end-to-end
// tests and the demo. Started without arguments it is a generation-5 host signed on as a
// demo screen name, in a rich chat room where a few members talk now and then; its
// arguments change that, run a script at the start and open the control channel through
// which another process drives it.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "hostsim/control_channel.h"
#include "hostsim/host_sim.h"
#include "hostsim/script.h"
#include "platform/win32/win32_platform.h"
#include "text/ansi.h"
#include "text/text_ops.h"

namespace {

using namespace vantary;
using hostsim::Generation;
using hostsim::RoomLayout;
using text::Text;

constexpr const char* kUsage =
    "usage: hostsim.exe [--generation 5|4|95|25] [--screen-name NAME] [--layout rich|plain]\n"
    "                   [--room NAME] [--members A,B,C] [--quiet] [--script FILE]\n"
    "                   [--control FILE] [--log FILE] [--exit-after SECONDS]\n";

// How often the program looks whether it should end: a quit asked for, the frame gone, or
// the time of a bounded demo up.
constexpr std::uint32_t kWatchMs = 100;
// After "quit" the program waits this long at most for the answers file to take the
// last answer (another process may hold it open); then it ends anyway.
constexpr std::uint64_t kQuitAnswerLimitMs = 5000;
// The longest bounded demo: a day.
constexpr std::uint64_t kLongestExitAfterSeconds = 24ull * 60 * 60;

struct Options {
  Generation generation = Generation::k5;
  Text screenName = "DemoUser";
  RoomLayout layout = RoomLayout::kRich;
  Text room = "Lobby";
  std::vector<Text> members = {"Skyler", "MapleLeaf", "River Stone", "JoJo77"};
  bool quiet = false;
  Text script;
  Text control;
  Text log;
  std::optional<std::uint64_t> exitAfterSeconds;
};

std::vector<Text> SplitMembers(const Text& list) {
  std::vector<Text> names;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(',', start);
    if (end == Text::npos) end = list.size();
    const std::string_view name = text::Trim(std::string_view(list).substr(start, end - start), " ");
    if (!name.empty()) names.emplace_back(name);
    start = end + 1;
  }
  return names;
}

// Nullopt and a message in `error` when the arguments are not understood.
std::optional<Options> ParseArguments(int argc, char** argv, Text& error) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const Text arg = argv[i];
    const auto value = [&]() -> std::optional<Text> {
      if (i + 1 >= argc) return std::nullopt;
      return Text(argv[++i]);
    };
    if (arg == "--quiet") {
      o.quiet = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      error = "";
      return std::nullopt;
    }
    static constexpr std::string_view kWithValue[] = {"--generation", "--screen-name", "--layout",
                                                      "--room",       "--members",     "--script",
                                                      "--control",    "--log",         "--exit-after"};
    if (std::find(std::begin(kWithValue), std::end(kWithValue), arg) == std::end(kWithValue)) {
      error = "unknown argument " + arg;
      return std::nullopt;
    }
    const std::optional<Text> v = value();
    if (!v) {
      error = arg + " needs a value";
      return std::nullopt;
    }
    if (arg == "--generation") {
      const std::optional<Generation> g = hostsim::ParseGeneration(*v);
      if (!g) {
        error = "--generation 5|4|95|25";
        return std::nullopt;
      }
      o.generation = *g;
    } else if (arg == "--screen-name") {
      if (v->empty()) {
        error = "--screen-name needs a name";
        return std::nullopt;
      }
      o.screenName = *v;
    } else if (arg == "--layout") {
      const std::optional<RoomLayout> layout = hostsim::ParseLayout(*v);
      if (!layout) {
        error = "--layout rich|plain";
        return std::nullopt;
      }
      o.layout = *layout;
    } else if (arg == "--room") {
      if (v->empty()) {
        error = "--room needs a name";
        return std::nullopt;
      }
      o.room = *v;
    } else if (arg == "--members") {
      o.members = SplitMembers(*v);
    } else if (arg == "--script") {
      o.script = *v;
    } else if (arg == "--control") {
      o.control = *v;
    } else if (arg == "--log") {
      o.log = *v;
    } else if (arg == "--exit-after") {
      const bool digits = !v->empty() && v->size() <= 6 && v->find_first_not_of("0123456789") == Text::npos;
      const std::uint64_t seconds = digits ? std::stoull(*v) : 0;
      if (!digits || seconds == 0 || seconds > kLongestExitAfterSeconds) {
        error = "--exit-after SECONDS (1 to " + std::to_string(kLongestExitAfterSeconds) + ")";
        return std::nullopt;
      }
      o.exitAfterSeconds = seconds;
    }
  }
  return o;
}

// The program's log: a file written whole at every line (the lines are few: the start,
// script errors, the end), or the standard error stream when there is no file.
class Log {
 public:
  Log(platform::Files& files, Text path) : files_(files), path_(std::move(path)) {
    if (!path_.empty()) files_.writeFileAtomic(path_, "");
  }
  void line(const Text& l) {
    if (path_.empty()) {
      std::fprintf(stderr, "hostsim: %s\n", text::ToUtf8(l).c_str());
      std::fflush(stderr);
      return;
    }
    contents_ += l + "\r\n";
    files_.writeFileAtomic(path_, contents_);
  }

 private:
  platform::Files& files_;
  Text path_;
  Text contents_;
};

}  // namespace

int main(int argc, char** argv) {
  Text error;
  const std::optional<Options> parsed = ParseArguments(argc, argv, error);
  if (!parsed) {
    if (!error.empty()) std::fprintf(stderr, "hostsim: %s\n", error.c_str());
    std::fputs(kUsage, error.empty() ? stdout : stderr);
    return error.empty() ? 0 : 2;
  }
  const Options& o = *parsed;

  platform::win32::Win32Platform system;
  platform::Platform& p = system.platform();
  Log log(p.files, o.log);
  log.line("hostsim: generation " + hostsim::GenerationText(o.generation) + ", signed on as " + o.screenName +
           ", room " + o.room);

  hostsim::HostSim host(p, o.generation);
  // A fault of the host's own code leaves one act undone; the log tells of each.
  host.setFaultListener([&log](const Text& fault) { log.line("hostsim: fault in " + fault); });
  hostsim::HostScript script(host, p);
  host.signOn(o.screenName);
  const platform::Window room = host.openRoom(o.room, o.layout);
  for (const Text& m : o.members) host.join(room, m);
  if (!o.quiet) script.setChatter(true);

  if (!o.script.empty()) {
    const std::optional<std::string> contents = p.files.readFile(o.script);
    if (!contents) {
      log.line("hostsim: cannot read the script " + o.script);
      return 1;
    }
    std::ostringstream answers;
    std::ostringstream errors;
    const int failed = script.runAll(*contents, answers, errors);
    const std::string answered = answers.str();
    for (std::string_view l : text::SplitLines(answered, text::LineBreak::kLf)) log.line(Text(l));
    const std::string failures = errors.str();
    for (std::string_view l : text::SplitLines(failures, text::LineBreak::kLf)) {
      log.line("script " + o.script + " " + Text(l));
    }
    log.line("hostsim: script " + o.script + " ran, " + std::to_string(failed) + " line(s) failed");
  }

  std::optional<hostsim::ControlChannel> channel;
  if (!o.control.empty()) {
    channel.emplace(script, p, o.control);
    if (!channel->answersWritten()) {
      log.line("hostsim: cannot write the answers file " + channel->answersPath());
      return 1;
    }
    log.line("hostsim: control channel " + o.control + ", answers in " + channel->answersPath());
  }

  const std::uint64_t started = p.loop.nowMs();
  std::optional<std::uint64_t> quitAsked;
  platform::Timer watch(p.loop, kWatchMs, [&] {
    const std::uint64_t now = p.loop.nowMs();
    if (!p.windows.exists(host.frame())) {
      log.line("hostsim: the frame is gone");
      p.loop.quit(0);
    } else if (o.exitAfterSeconds && now - started >= *o.exitAfterSeconds * 1000) {
      log.line("hostsim: the demo's time is up");
      p.loop.quit(0);
    } else if (script.quitRequested()) {
      if (!quitAsked) quitAsked = now;
      if (!channel || channel->answersWritten() || now - *quitAsked >= kQuitAnswerLimitMs) {
        log.line("hostsim: quit");
        p.loop.quit(0);
      }
    }
  });
  watch.setEnabled(true);
  return p.loop.run();
}
