// The command line's switches, their hand-over to the running vantary and the status line.
#include "console/command_line.h"

#include <algorithm>
#include <string>

#include "text/text_ops.h"

namespace vantary::console {
namespace {

struct SwitchName {
  std::string_view name;
  Switch what;
  bool takesArgument;
};

constexpr SwitchName kSwitches[] = {
    {"idleon", Switch::kIdleOn, false}, {"idleoff", Switch::kIdleOff, false},
    {"reason", Switch::kReason, true},  {"end", Switch::kEnd, false},
    {"status", Switch::kStatus, false},
};

constexpr std::string_view kValidSwitches =
    "valid switches: /idleon, /idleoff, /reason TEXT, /end, /status (or with - instead of /).";

const SwitchName* Find(std::string_view name) {
  const Text folded = text::ToLower(name);
  const auto found = std::find_if(std::begin(kSwitches), std::end(kSwitches),
                                  [&](const SwitchName& s) { return s.name == folded; });
  return found == std::end(kSwitches) ? nullptr : found;
}

const SwitchName& NameOf(Switch what) {
  return *std::find_if(std::begin(kSwitches), std::end(kSwitches),
                       [&](const SwitchName& s) { return s.what == what; });
}

// A TAB or a line break would end the encoded line or its name early.
Text OneLine(std::string_view text) {
  Text line(text);
  std::replace_if(
      line.begin(), line.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return line;
}

Text Duration(long long minutes) {
  return std::to_string(minutes / (24 * 60)) + "d " + std::to_string(minutes / 60 % 24) + "h " +
         std::to_string(minutes % 60) + "m";
}

}  // namespace

CommandLine ParseCommandLine(std::span<const Text> arguments) {
  CommandLine line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const Text& argument = arguments[i];
    const bool marked = argument.size() > 1 && (argument[0] == '/' || argument[0] == '-');
    const SwitchName* s = marked ? Find(std::string_view(argument).substr(1)) : nullptr;
    if (s == nullptr) {
      line.error = "vantary: unknown switch \"" + OneLine(argument) + "\". " + Text(kValidSwitches);
      line.switches.clear();
      return line;
    }
    SwitchCall call{s->what, {}};
    if (s->takesArgument) {
      if (i + 1 >= arguments.size() || text::Trim(arguments[i + 1]).empty()) {
        line.error = "vantary: /" + Text(s->name) + " needs a text. " + Text(kValidSwitches);
        line.switches.clear();
        return line;
      }
      call.argument = OneLine(arguments[++i]);
    }
    line.switches.push_back(std::move(call));
  }
  return line;
}

bool HasSwitch(const std::vector<SwitchCall>& switches, Switch what) {
  return std::any_of(switches.begin(), switches.end(), [&](const SwitchCall& s) { return s.what == what; });
}

Text EncodeSwitches(const std::vector<SwitchCall>& switches) {
  Text encoded;
  for (const SwitchCall& s : switches) {
    const SwitchName& name = NameOf(s.what);
    encoded += name.name;
    if (name.takesArgument) encoded += "\t" + OneLine(s.argument);
    encoded += "\n";
  }
  return encoded;
}

std::optional<std::vector<SwitchCall>> DecodeSwitches(std::string_view encoded) {
  std::vector<SwitchCall> switches;
  while (!encoded.empty()) {
    const std::size_t end = encoded.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view entry = encoded.substr(0, end);
    encoded.remove_prefix(end + 1);
    const std::size_t tab = entry.find('\t');
    const SwitchName* s = Find(entry.substr(0, tab));
    if (s == nullptr || s->takesArgument != (tab != std::string_view::npos)) return std::nullopt;
    SwitchCall call{s->what, {}};
    if (s->takesArgument) {
      call.argument = Text(entry.substr(tab + 1));
      if (text::Trim(call.argument).empty()) return std::nullopt;
    }
    switches.push_back(std::move(call));
  }
  return switches;
}

Text StatusReport(const IdleState& state) {
  if (!state.running) return "vantary: not running";
  const Text overall = ", overall idle time " + Duration(state.overallMinutes);
  if (!state.engaged) return "vantary: not engaged" + overall;
  return "vantary: engaged, " + std::to_string(state.minutesAway) + " minutes away" + overall;
}

int ExitCodeOf(const IdleState& state) {
  if (!state.running) return kExitNotRunning;
  return state.engaged ? kExitEngaged : kExitNotEngaged;
}

}  // namespace vantary::console
