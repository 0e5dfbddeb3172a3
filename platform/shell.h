// The shell: starting programs and ending the Windows session.
#pragma once

#include <cstdint>
#include <string_view>

namespace vantary::platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // Starts a program file with a ShowWindow command; false when it could not be started.
  virtual bool startProgram(std::string_view path, int showCommand) = 0;
  // ExitWindowsEx with the EWX_* flags; false when the system refused.
  virtual bool exitWindows(std::uint32_t flags) = 0;
};

// EWX_* flags.
inline constexpr std::uint32_t kEwxLogoff = 0;
inline constexpr std::uint32_t kEwxShutdown = 1;
inline constexpr std::uint32_t kEwxReboot = 2;
inline constexpr std::uint32_t kEwxPowerOff = 8;

}  // namespace vantary::platform
