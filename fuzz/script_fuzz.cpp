// Fuzz target for the stand-in host's command language: any script text runs line by line
// on a fresh host without a fault of the host's own code; every line returns, having let at
// most the longest wait pass, a wait over it being refused; every answer and error is one
// line. One input in four runs through the control channel instead, as numbered lines,
// where every command's block must end with its "done". The waits of an input are kept to
// half a minute of virtual time together: a wait the language takes beyond that is skipped,
// so that an input stays quick however busy its host is.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "hostsim/control_channel.h"
#include "hostsim/host_sim.h"
#include "hostsim/script.h"
#include "platform/sim/sim_world.h"
#include "text/text_ops.h"

namespace {

using vantary::fuzz::Require;
using vantary::hostsim::kLongestWaitMs;
using vantary::text::Text;
namespace text = vantary::text;

// The virtual time the waits of one input may take together.
constexpr std::uint64_t kWaitBudgetMs = 30000;

// The milliseconds a line asks to wait, when it is a "wait" with a number (the number
// saturated at the largest value); nullopt for any other line.
std::optional<std::uint64_t> WaitAsked(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  line = text::TrimLeft(line);
  const std::size_t end = std::min(line.find_first_of(text::kBlanks), line.size());
  if (text::ToLower(line.substr(0, end)) != "wait") return std::nullopt;
  const std::string_view number = text::TrimLeft(line.substr(end));
  if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  std::uint64_t ms = 0;
  for (char c : number) {
    const auto digit = static_cast<std::uint64_t>(c - '0');
    ms = ms > (UINT64_MAX - digit) / 10 ? UINT64_MAX : ms * 10 + digit;
  }
  return ms;
}

bool OneLine(std::string_view s) { return s.find_first_of("\r\n") == std::string_view::npos; }

struct Host {
  Host()
      : world(vantary::fuzz::FuzzRoot() / "script"),
        process(world.addProcess("host", "aol")),
        host(process.platform()),
        script(host, process.platform()) {}
  std::uint64_t now() { return process.platform().loop.nowMs(); }

  vantary::platform::sim::SimWorld world;
  vantary::platform::sim::SimProcess& process;
  vantary::hostsim::HostSim host;
  vantary::hostsim::HostScript script;
};

// The script's lines as the language reads them, without the waits over the budget.
std::vector<std::string_view> LinesToRun(std::string_view script) {
  std::vector<std::string_view> lines;
  std::uint64_t budget = kWaitBudgetMs;
  text::LineReader reader(script, text::LineBreak::kLf, text::FinalBreak::kEndsLine);
  while (const std::optional<std::string_view> line = reader.next()) {
    const std::optional<std::uint64_t> wait = WaitAsked(*line);
    if (wait && *wait <= kLongestWaitMs) {
      if (*wait > budget) continue;
      budget -= *wait;
    }
    lines.push_back(*line);
  }
  return lines;
}

void RunLines(std::string_view script) {
  Host h;
  for (const std::string_view line : LinesToRun(script)) {
    const std::optional<std::uint64_t> wait = WaitAsked(line);
    const std::uint64_t before = h.now();
    const vantary::hostsim::ScriptResult r = h.script.run(line);
    const std::uint64_t took = h.now() - before;
    Require(took <= kLongestWaitMs, "a line let more than the longest wait pass");
    if (wait && *wait > kLongestWaitMs) Require(r.error && took == 0, "a wait over the longest was taken");
    // A wait of MS lets the host run that long; seconds computed from it may round up
    // by one.
    if (wait && !r.error) Require(took >= *wait && took <= *wait + 1, "a wait took another time than asked");
    for (const Text& a : r.answer) Require(OneLine(a), "an answer line holds a line break");
    Require(!r.error || OneLine(*r.error), "an error holds a line break");
    if (h.script.quitRequested()) break;
  }
  Require(h.host.faultCount() == 0, "the host's own code faulted");
}

// The control channel's answers: for each command, in order, its lines "N TEXT", at most one
// "error N MESSAGE", and "done N".
void CheckAnswers(std::string_view answers, std::size_t commands) {
  text::LineReader reader(answers, text::LineBreak::kLf, text::FinalBreak::kEndsLine);
  std::size_t number = 1;
  bool failed = false;
  while (const std::optional<std::string_view> line = reader.next()) {
    Require(reader.lineEnded(), "the answers end in the middle of a line");
    Require(number <= commands, "answers for a command that was not given");
    const std::string tag = std::to_string(number);
    if (*line == "done " + tag) {
      ++number;
      failed = false;
    } else if (line->starts_with("error " + tag + " ")) {
      Require(!failed, "a command failed twice");
      failed = true;
    } else {
      Require(line->starts_with(tag + " ") && !failed, "an answer line outside its command's block");
    }
  }
  Require(number == commands + 1, "a command's block did not end with its done");
}

void RunThroughChannel(std::string_view script) {
  Host h;
  auto& files = h.process.platform().files;
  const Text path = files.programFolder() + "\\control.txt";
  vantary::hostsim::ControlChannel channel(h.script, h.process.platform(), path);
  Text numbered;
  std::size_t commands = 0;
  for (const std::string_view line : LinesToRun(script)) {
    numbered += std::to_string(++commands) + " " + Text(line) + "\n";
  }
  Require(files.writeFileAtomic(path, numbered), "the channel file could be written");
  const std::uint64_t before = h.now();
  channel.poll();
  Require(h.now() - before <= kWaitBudgetMs + 1 * commands, "the lines let more time pass than they asked");
  Require(channel.answersWritten(), "the answers were written");
  Require(channel.commandsRun() == static_cast<int>(commands), "every line ran once");
  const std::optional<std::string> answers = files.readFile(channel.answersPath());
  Require(answers.has_value(), "the answers file is there");
  CheckAnswers(*answers, commands);
  Require(h.host.faultCount() == 0, "the host's own code faulted");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Long inputs add nothing a shorter one cannot do, only time.
  if (size > 8192) return 0;
  const std::string_view script(reinterpret_cast<const char*>(data), size);
  if (size % 4 == 3) {
    RunThroughChannel(script);
  } else {
    RunLines(script);
  }
  return 0;
}
