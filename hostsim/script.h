// The host's command language: one command per line, run on a HostSim, so tests, the
// demo and other processes (through a script file or the control channel) can drive it.
//
// A line is a command word and its arguments; blank lines and lines starting with "#" do
// nothing. Texts (names, chat lines, captions, file names) take the rest of the line, and
// in them "\t", "\r", "\n" and "\\" stand for a TAB, CR, LF and one backslash, so crafted
// texts can be given; any other backslash is an error. Members' commands act on the
// current room (the newest one open).
//
//   encoding ansi|utf8               texts in commands and answers: the host's own
//                                    Windows-1252 bytes (the start) or UTF-8
//   sign-on NAME | sign-off
//   generation 5|4|95|25
//   open-room rich|plain NAME        opens a room; it becomes the current room
//   close-room                       closes the current room
//   private-rooms rich|plain         the layout of private rooms entered by keyword
//   join NAME | leave NAME
//   say NAME: TEXT                   NAME says TEXT in the current room
//   room-full NAME | room-not-full NAME
//   rate-limit LINES PER_MS          0 lines: no limit
//   transcript-limit LINES
//   start-transfer download|upload MS FILE      answers "transfer ID"
//   finish-transfer ID
//   browser-dialog CAPTION | close-browser-dialog
//   raise-idle
//   idle-limits IDLE_AFTER_MS STAND_MS
//   im-dialog on|off                 answer instant messages with the host dialog
//   chatter on [MS] | chatter off    members of the current room talk about every MS
//   wait MS                          lets the host run (events pumped) for MS
//   quit                             asks the program to end
// Queries answer with lines:
//   transcript                       the current room's lines, as its control holds them
//   transcript-since N               "room NAME", then each line numbered above N as
//                                    "NUMBER TEXT" (lines count from 1 since the room opened)
//   members                          the current room's people list, one name a line
//   state                            "key value" lines (see HostScript::state)
// Values in the answers of "members" and "state" are written with the escapes above, so
// each stays on one line; transcript lines never hold a line break.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "hostsim/host_sim.h"
#include "platform/event_loop.h"
#include "platform/platform.h"

namespace vantary::hostsim {

// How often, about, members talk when chatter is on and no period is given.
inline constexpr std::uint32_t kDefaultChatterMs = 2000;
// The longest "wait": a script that asks for more is wrong, not patient.
inline constexpr std::uint64_t kLongestWaitMs = 24ull * 60 * 60 * 1000;

// What one command line did: its answer lines (without line ends, in the script's
// encoding) or why it was not run.
struct ScriptResult {
  std::vector<Text> answer;
  std::optional<Text> error;
};

// A generation by its code ("5", "4", "95", "25") and a layout by its name ("rich",
// "plain"), as commands and the program's arguments give them.
std::optional<Generation> ParseGeneration(std::string_view code);
std::optional<RoomLayout> ParseLayout(std::string_view name);

// "\t", "\r", "\n" and "\\" decoded; nullopt for any other backslash.
std::optional<Text> DecodeEscapes(std::string_view text);
// The reverse, for answer values that must stay on one line.
Text EncodeEscapes(std::string_view text);

class HostScript {
 public:
  HostScript(HostSim& host, platform::Platform& platform);
  ~HostScript();
  HostScript(const HostScript&) = delete;
  HostScript& operator=(const HostScript&) = delete;

  // Runs one line. Never throws: whatever goes wrong is the result's error. A line the
  // language refuses is the script's fault and only that; an exception inside the host
  // while the line runs is also recorded as the host's fault (HostSim::noteFault).
  ScriptResult run(std::string_view line);
  // Runs a whole script, line by line, until its end or a "quit". Answer lines go to
  // `answers`, each ended by "\n"; every failed line is reported to `errors` as
  // "line N: message". Returns the number of failed lines.
  int runAll(std::string_view script, std::ostream& answers, std::ostream& errors);

  bool quitRequested() const { return quit_; }
  HostSim& host() { return host_; }
  // How each command of the language is written ("sign-on NAME"), as the failures of its
  // lines quote it.
  static std::vector<std::string_view> CommandUsages();
  bool chattering() const { return chatter_.enabled(); }
  // Members of the current room other than the user say a line from a built-in list now
  // and then: at random between half and one and a half times `everyMs` apart.
  void setChatter(bool on, std::uint32_t everyMs = kDefaultChatterMs);

  // The "state" query's lines: signed-on, screen-name, generation, room, instant-messages,
  // ghost, sign-offs, idle-windows, about-boxes, chat-lines-refused, then one line per
  // ignored member ("ignored NAME"), keyword run ("keyword TEXT"), host dialog shown
  // ("dialog MESSAGE") and transfer started here ("transfer ID KIND FILE PERCENT%" while
  // it runs, "transfer ID KIND FILE finished" after).
  std::vector<Text> state() const;

 private:
  struct TransferInfo {
    TransferKind kind = TransferKind::kDownload;
    Text file;
  };

  // One line as a command's handler sees it, and a command: name, usage (as its failures
  // quote it) and handler. The table is in script.cpp.
  struct Line;
  struct Command;
  static std::span<const Command> Commands();

  ScriptResult execute(std::string_view line);
  void chatterTick();

  HostSim& host_;
  platform::Platform& platform_;
  bool utf8_ = false;
  bool quit_ = false;
  std::uint32_t chatterEveryMs_ = kDefaultChatterMs;
  std::size_t chatterLine_ = 0;
  std::map<int, TransferInfo> transfers_;
  platform::Timer chatter_;
};

}  // namespace vantary::hostsim
