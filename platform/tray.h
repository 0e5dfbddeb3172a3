// The notification-area (tray) icon.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace vantary::platform {

// The fields of the system's notify-icon record that the program fills.
struct TrayIcon {
  Window owner;  // receives the callback message
  std::uint32_t id = 1;
  std::uint32_t flags = 7;  // message, icon and tip present
  std::uint32_t callbackMessage = 0;
  Text tip;  // at most 63 characters are kept
  friend bool operator==(const TrayIcon&, const TrayIcon&) = default;
};

class Tray {
 public:
  virtual ~Tray() = default;
  // False when the shell did not take the icon (no task bar yet at log-on, a busy shell).
  virtual bool addIcon(const TrayIcon& icon) = 0;     // NIM_ADD
  virtual bool deleteIcon(const TrayIcon& icon) = 0;  // NIM_DELETE
  // The message the shell sends every top-level window when its task bar is made afresh
  // (RegisterWindowMessage("TaskbarCreated")): the icons it held are gone.
  virtual std::uint32_t taskbarCreatedMessage() = 0;
};

}  // namespace vantary::platform
