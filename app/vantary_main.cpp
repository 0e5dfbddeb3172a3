// vantary.exe: the idler on the real window system.
#include "console/program.h"
#include "platform/win32/win32_platform.h"

int main() {
  vantary::platform::win32::Win32Platform system;
  vantary::platform::Platform& p = system.platform();
  vantary::console::ConsoleOptions options;
  options.minuteMs = vantary::console::MinuteMsFromEnvironment();
  vantary::console::Program program(p, options);
  program.Start();
  return p.loop.run();
}
