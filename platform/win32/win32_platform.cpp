// Win32Platform: the services of the real system, gathered into one Platform.
#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/win32_services.h"

namespace vantary::platform::win32 {

struct Win32Platform::Impl {
  // The loop goes last: windows of the window system may still hold timers' work.
  std::unique_ptr<EventLoop> loop = MakeEventLoop();
  std::unique_ptr<WindowSystem> windows = MakeWindowSystem();
  std::unique_ptr<Dialogs> dialogs = MakeDialogs();
  std::unique_ptr<Files> files = MakeFiles();
  std::unique_ptr<Sound> sound = MakeSound();
  std::unique_ptr<Tray> tray = MakeTray();
  std::unique_ptr<Shell> shell = MakeShell();
  std::unique_ptr<Screen> screen = MakeScreen();
  std::unique_ptr<Random> random = MakeRandom();
  Platform platform{*windows, *loop, *dialogs, *files, *sound, *tray, *shell, *screen, *random};
};

Win32Platform::Win32Platform() {
  // The track bar class lives in the common controls and exists only once they are set up.
  INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  impl_ = std::make_unique<Impl>();
}

Win32Platform::~Win32Platform() = default;

Platform& Win32Platform::platform() { return impl_->platform; }

}  // namespace vantary::platform::win32
