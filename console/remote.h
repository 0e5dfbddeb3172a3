// One vantary on the user's desktop, driven from outside. The first start holds the
// desktop's instance name and opens a door: a hidden window that takes the switches of
// every later start. A later start hands its switches through the door, waits for the
// state they leave, writes what it was asked to and ends with that state's exit code.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "console/command_line.h"
#include "console/program.h"
#include "platform/platform.h"
#include "toolkit/form.h"

namespace vantary::console {

inline constexpr std::string_view kInstanceName = "vantary.instance";
// The door's caption, which a later start finds it by.
inline constexpr std::string_view kDoorCaption = "vantary : door";
// What WM_COPYDATA carries: switches for the door, or the door's answer.
inline constexpr std::uintptr_t kSwitchesTag = 0x76616E31;
inline constexpr std::uintptr_t kAnswerTag = 0x76616E32;
// How long a later start looks for the door: a first start opens it at once, so only a
// vantary that hangs or is ending keeps it away this long.
inline constexpr std::uint32_t kDoorWaitMs = 10000;
inline constexpr std::uint32_t kDoorLookMs = 50;
// How long a later start waits for the answer: switches run in their turn, after a
// command that runs and while the host takes the lines they send.
inline constexpr std::uint32_t kAnswerWaitMs = 30000;

// A start of vantary.exe with its command line.
class Launch {
 public:
  // `done` gets the exit code once this start has nothing left to do. A start that runs the
  // program ends with the program (through the event loop) and never calls it.
  Launch(Platform& platform, std::vector<Text> arguments, ConsoleOptions options,
         std::function<void(int)> done);
  ~Launch();
  Launch(const Launch&) = delete;
  Launch& operator=(const Launch&) = delete;

  // The program when it runs in this start, else nullptr.
  Program* program() { return program_.get(); }

 private:
  void runHere(std::vector<SwitchCall> switches);
  void handOver();
  void lookForDoor();
  void finish(int code, std::string_view line);
  // A request that came through the door, with the window the answer goes to.
  void request(std::vector<SwitchCall> switches, platform::Window answerTo);

  Platform& p_;
  ConsoleOptions options_;
  std::function<void(int)> done_;
  std::vector<SwitchCall> switches_;
  std::unique_ptr<platform::InstanceClaim> claim_;
  std::unique_ptr<Program> program_;
  // The door (the first start) or the window the answer comes to (a later start).
  std::unique_ptr<toolkit::Form> window_;
  std::unique_ptr<platform::Timer> timer_;
  std::uint64_t lookingSinceMs_ = 0;
  bool handedOver_ = false;
  bool finished_ = false;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vantary::console
