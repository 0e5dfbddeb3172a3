// The shell: starting programs, ending the Windows session, the one instance of a program
// on the user's desktop and the output of a program started from a command line.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace vantary::platform {

// A name held for the calling process on the user's desktop (see Shell::claimInstance).
// Given back when the object goes, and by the system when the process ends in any way.
class InstanceClaim {
 public:
  virtual ~InstanceClaim() = default;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Starts a program file with a ShowWindow command; false when it could not be started.
  virtual bool startProgram(std::string_view path, int showCommand) = 0;
  // ExitWindowsEx with the EWX_* flags; false when the system refused.
  virtual bool exitWindows(std::uint32_t flags) = 0;
  // Holds `name` for this process among the programs of the user's desktop: nullptr when a
  // live process holds it already. A process that died holds nothing: the real system
  // closes its handles, so a claim can never be left stale.
  virtual std::unique_ptr<InstanceClaim> claimInstance(std::string_view name) = 0;
  // Writes one line where the program was started from: its standard output when that
  // goes to a file or a pipe, else the console of the program that started it. False
  // where there is neither (started from the desktop).
  virtual bool writeOutputLine(std::string_view line) = 0;
};

// EWX_* flags.
inline constexpr std::uint32_t kEwxLogoff = 0;
inline constexpr std::uint32_t kEwxShutdown = 1;
inline constexpr std::uint32_t kEwxReboot = 2;
inline constexpr std::uint32_t kEwxPowerOff = 8;

}  // namespace vantary::platform
