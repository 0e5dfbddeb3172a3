// The program's command line: the switches a script or a scheduler gives vantary.exe, the
// exit codes it reads back, and the form in which a second start hands its switches to
// the vantary that runs.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "text/ansi.h"

namespace vantary::console {

using text::Text;

enum class Switch { kIdleOn, kIdleOff, kReason, kEnd, kStatus };

struct SwitchCall {
  Switch what = Switch::kStatus;
  Text argument;  // /reason's text
  friend bool operator==(const SwitchCall&, const SwitchCall&) = default;
};

// What a start of vantary.exe ends with, for the script that started it: the state of the
// running vantary once the switches have run.
inline constexpr int kExitEngaged = 0;     // a session runs
inline constexpr int kExitNotEngaged = 1;  // vantary runs, no session
inline constexpr int kExitNotRunning = 2;  // no vantary runs (or /end ended it)
inline constexpr int kExitUsage = 3;       // the command line was not understood; nothing changed
inline constexpr int kExitNoAnswer = 4;    // a vantary runs but did not answer in time

// The switches of a command line in their order, or the message that says why it is not
// understood (then nothing may run). Switches start with "/" or "-" and are matched without
// regard to case; /reason takes the argument after it, which may not be empty.
struct CommandLine {
  std::vector<SwitchCall> switches;
  std::optional<Text> error;
};
CommandLine ParseCommandLine(std::span<const Text> arguments);

bool HasSwitch(const std::vector<SwitchCall>& switches, Switch what);

// The hand-over: one line a switch, its name and, for /reason, a TAB and the text (a TAB or
// line break inside the text is a blank). Decoding refuses anything else.
Text EncodeSwitches(const std::vector<SwitchCall>& switches);
std::optional<std::vector<SwitchCall>> DecodeSwitches(std::string_view encoded);

// The line /status writes: the state and the time counted, in plain ASCII for any console.
struct IdleState {
  bool running = true;
  bool engaged = false;
  long long minutesAway = 0;
  long long overallMinutes = 0;
};
Text StatusReport(const IdleState& state);
int ExitCodeOf(const IdleState& state);

}  // namespace vantary::console
