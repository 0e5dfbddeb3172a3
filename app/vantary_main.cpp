// vantary.exe: the idler on the real window system. Its command line's switches act on the
// vantary that runs on the desktop, or start one (see console/remote.h).
#include <string>
#include <vector>

#include "console/remote.h"
#include "platform/win32/win32_platform.h"

int main(int argc, char** argv) {
  vantary::platform::win32::Win32Platform system;
  vantary::platform::Platform& p = system.platform();
  vantary::console::ConsoleOptions options;
  options.minuteMs = vantary::console::MinuteMsFromEnvironment();
  std::vector<std::string> arguments(argv + 1, argv + argc);
  vantary::console::Launch launch(p, std::move(arguments), options, [&p](int code) { p.loop.quit(code); });
  return p.loop.run();
}
