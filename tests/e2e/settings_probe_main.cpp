// The end-to-end probe of vantary.exe on a machine where the user cannot write the Windows
// folder: the test script makes the Wine prefix's Windows folder unwritable and starts
// hostsim.exe (signed on, quiet, --control FILE) and vantary.exe for the first time. This
// probe answers vantary's one message about where it keeps its files, runs idle on and
// end by WM_COMMAND, and checks that the data and list files were written in the user's
// own folder, none in the Windows folder. Prints one line per check and ends with
// "settings-e2e: N passed, M failed".
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/win32_platform.h"
#include "tests/e2e/e2e_support.h"
#include "text/ansi.h"

namespace {

using vantary::console::MenuCommand;
using vantary::e2e::Channel;
using vantary::e2e::Checks;
using vantary::e2e::kExitLimitMs;
using vantary::e2e::kHostStartLimitMs;
using vantary::e2e::kLinesLimitMs;
using vantary::e2e::kProgramStartLimitMs;
using vantary::e2e::Quoted;
using vantary::e2e::RoomWatch;

using namespace vantary::platform;
using vantary::text::operator""_ansi;
using vantary::text::Text;

// The text of a message box: the static control that holds words (the first may be its icon).
Text MessageText(WindowSystem& ws, Window box) {
  for (int i = 1; i <= 4; ++i) {
    const Text t = ws.text(ws.nthChild(box, "Static", i));
    if (!t.empty()) return t;
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  char* end = nullptr;
  const unsigned long minuteArg = argc == 3 ? std::strtoul(argv[2], &end, 10) : 0;
  if (argc != 3 || *end != '\0' || minuteArg < 100 || minuteArg > 60000) {
    std::fprintf(stderr,
                 "usage: settings_probe.exe CONTROL_FILE MINUTE_MS (hostsim.exe runs with --control "
                 "CONTROL_FILE, vantary.exe with VANTARY_MINUTE_MS=MINUTE_MS, 100 to 60000)\n");
    return 2;
  }
  const auto minuteMs = static_cast<std::uint32_t>(minuteArg);
  vantary::platform::win32::Win32Platform system;
  Platform& p = system.platform();
  WindowSystem& ws = p.windows;
  Files& files = p.files;
  Checks c("settings-e2e");
  Channel channel(p, argv[1]);

  if (!c.check("hostsim's control channel answers", channel.hostListening(kHostStartLimitMs)))
    return c.finish();
  const Window room = vantary::e2e::WaitForRichRoom(p, kHostStartLimitMs);
  if (!c.check("finds the host's rich room", static_cast<bool>(room))) return c.finish();
  RoomWatch watch(p, ws.firstChild(room, "RICHCNTL"), channel.stateValue("screen-name"));

  const Text windows = files.windowsFolder();
  const Text own = files.userDataFolder() + "\\vantary";
  c.check("the Windows folder cannot be written", !files.folderWritable(windows), Quoted(windows));

  Window box;
  p.loop.waitUntil([&] { return static_cast<bool>(box = ws.findWindow("#32770", "vantary : settings")); },
                   kProgramStartLimitMs);
  const Text told = box ? MessageText(ws, box) : Text{};
  c.check("vantary says once where it keeps its files",
          told == "vantary cannot write its settings into " + windows + ", so it keeps them in " + own + ".",
          Quoted(told));
  if (box) ws.post(box, msg::kCommand, msg::kIdOk, 0);

  const Window main = vantary::e2e::WaitForMainWindow(p, kProgramStartLimitMs);
  if (!c.check("vantary's main window appears", static_cast<bool>(main))) return c.finish();
  c.check("the three in-stats lines reach the room", watch.waitForCount(3, kProgramStartLimitMs));

  // A minute idle: the tick writes the overall time to the data file.
  const std::size_t before = watch.lines().size();
  vantary::e2e::PostCommand(ws, main, MenuCommand::kIdleOn);
  c.check("idle on and a scroll moment reach the room",
          watch.waitForCount(before + 2, 3 * minuteMs + kLinesLimitMs));
  vantary::e2e::PostCommand(ws, main, MenuCommand::kEnd);
  c.check("vantary closes after end", vantary::e2e::WaitForMainWindowGone(p, main, kExitLimitMs));
  c.check("no second message about the files", !ws.findWindow("#32770", "vantary : settings"));

  const Text data = files.readFile(own + "\\vantari4583.dat").value_or("");
  c.check("the data file is in the user's folder with the minute counted",
          data.find("MINUTES2=1\r\n") != Text::npos, Quoted(data));
  c.check("the list files are in the user's folder",
          files.fileExists(own + "\\vantary12.ini") && files.fileExists(own + "\\vantary123.ini"));
  c.check("nothing was written into the Windows folder", !files.fileExists(windows + "\\vantari4583.dat") &&
                                                             !files.fileExists(windows + "\\vantary123.ini"));
  c.check("the host answers quit", channel.ask("quit").has_value());
  return c.finish();
}
