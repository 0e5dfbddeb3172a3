// The host's control channel: another process appends numbered command lines to a file
// and reads the host's answers from the file's companion, so it can drive a host that
// runs as a program of its own.
//
// The channel file holds one command a line, each starting with its number: "7 say Ann:
// hi". The host reads the file every kControlPollMs and runs each complete line (one that
// ends with LF; a CR before it is dropped) once, in order. The answers file, the channel
// file's path with ".out" added, holds for each command its answer lines as "7 TEXT",
// its failure as "error 7 MESSAGE", and last "done 7". The host writes the answers file
// whole (write beside, then rename), so a reader never sees half a block: once "done 7"
// is there, everything command 7 answered is there too. A line without a number is
// answered under number 0.
//
// Start with a fresh channel file: the host runs every line it finds, from the first,
// and begins a fresh answers file. A channel file that becomes shorter than what the
// host has read was started over; the host starts over with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "hostsim/script.h"
#include "platform/event_loop.h"
#include "platform/platform.h"

namespace vantary::hostsim {

inline constexpr std::uint32_t kControlPollMs = 100;

class ControlChannel {
 public:
  ControlChannel(HostScript& script, platform::Platform& platform, Text path);
  ~ControlChannel();
  ControlChannel(const ControlChannel&) = delete;
  ControlChannel& operator=(const ControlChannel&) = delete;

  // Runs the complete lines appended since the last poll; the timer calls it.
  void poll();
  // True when the answers file holds every answer given so far. A failed write (another
  // process holding the file) is tried again at every poll.
  bool answersWritten() const { return !dirty_; }
  const Text& answersPath() const { return outPath_; }
  // Commands run since the channel started (or started over).
  int commandsRun() const { return commands_; }

 private:
  void runLine(std::string_view line);
  void writeAnswers();

  HostScript& script_;
  platform::Platform& platform_;
  Text path_;
  Text outPath_;
  std::size_t consumed_ = 0;
  Text answers_;
  bool dirty_ = true;
  bool polling_ = false;
  int commands_ = 0;
  platform::Timer timer_;
};

}  // namespace vantary::hostsim
