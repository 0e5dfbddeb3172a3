// The Win32 backend's services, one factory each, and the handle conversions they share.
// It includes no system header (win32_handles.h, the owners of handles, is the one header
// of this folder that does).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/platform.h"

namespace vantary::platform::win32 {

// Window and menu handles are 32 bits significant; the system sign-extends them to the
// pointer width, and a handle passed through a 32-bit field must come back the same way.
constexpr std::intptr_t HandleBits(std::uint32_t value) {
  return static_cast<std::intptr_t>(static_cast<std::int32_t>(value));
}
constexpr std::uint32_t HandleValue(std::intptr_t bits) { return static_cast<std::uint32_t>(bits); }

// The longest text the backend reads from a window or a menu; a control that reports
// more is read up to this many bytes.
inline constexpr std::size_t kMaxTextBytes = 1u << 20;

std::unique_ptr<WindowSystem> MakeWindowSystem();
std::unique_ptr<EventLoop> MakeEventLoop();
std::unique_ptr<Dialogs> MakeDialogs();
std::unique_ptr<Files> MakeFiles();
std::unique_ptr<Sound> MakeSound();
std::unique_ptr<Tray> MakeTray();
std::unique_ptr<Shell> MakeShell();
std::unique_ptr<Screen> MakeScreen();
std::unique_ptr<Random> MakeRandom();

}  // namespace vantary::platform::win32
