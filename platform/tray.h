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
  virtual bool addIcon(const TrayIcon& icon) = 0;     // NIM_ADD
  virtual bool deleteIcon(const TrayIcon& icon) = 0;  // NIM_DELETE
};

}  // namespace vantary::platform
