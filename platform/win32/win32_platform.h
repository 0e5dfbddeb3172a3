// The platform services on the real Windows system (user32, gdi32, kernel32, shell32,
// winmm). This header includes no system header; only the .cpp files of this folder do.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace vantary::platform::win32 {

class Win32Platform {
 public:
  Win32Platform();
  ~Win32Platform();
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Platform& platform();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace vantary::platform::win32
