// The end-to-end probe of vantary.exe's own windows against hostsim.exe, as other programs
// treat them: the test script starts hostsim.exe (signed on, --control FILE) and
// vantary.exe. This probe runs "h&elp", "ab&out" and "&greets" by WM_COMMAND and finds
// each window by its caption: the help window with its greeting, the about window with the
// signed-on screen name, the credits window. Then, by its last argument:
//   face     WM_CLOSE posted to help, to the credits in the middle of their run, to an
//            editor and to the command list, after which their items (or ".cmds") show them
//            again with what they held; then to the console face, which ends vantary with
//            its out-stats lines;
//   main     WM_CLOSE posted to the hidden main window ends vantary with its out-stats lines;
//   session  while idling, Windows' session ends (wineboot --end-session): vantary ends
//            with the overall minutes stored. (Wine ends a process that is still there once
//            it has answered WM_ENDSESSION, so that vantary's own answer stores the time and
//            switches the instant messages on is shown on the sim.)
// Prints one line per check and ends with "view-e2e: N passed, M failed" (close-e2e,
// session-e2e for the other two).
#include <windows.h>

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
using vantary::e2e::QuotedAll;
using vantary::e2e::RoomWatch;

using namespace vantary::platform;
using vantary::text::operator""_ansi;
using vantary::text::Text;

// How long a window may take to show after its item.
constexpr std::uint32_t kShowLimitMs = 10000;
// How long Wine's end of the session may take: it waits up to 5 s for each program's
// answers before it offers to end that program, and then on until the answers come, which
// a loaded machine delays.
constexpr std::uint32_t kSessionEndLimitMs = 30000;

// The first line of the out-stats announcement as a rich room shows it.
bool IsOutStats(const Text& line) { return line.rfind("‹° out stats: "_ansi, 0) == 0; }

// The minutes of a time line "°› vantarý³ · 0d . 0h . <M>m ·", or -1.
int TimeLineMinute(const Text& line) {
  const Text head("°› vantarý³ · 0d . 0h . "_ansi);
  if (line.rfind(head, 0) != 0 || line.size() < head.size() + 4) return -1;
  return std::atoi(line.c_str() + head.size());
}

// Runs Wine's end of the user's session, which sends every top-level window
// WM_QUERYENDSESSION and WM_ENDSESSION; false when it did not run or end within the limit.
bool EndWindowsSession(std::uint32_t limitMs) {
  char command[] = "wineboot.exe --end-session";
  STARTUPINFOA start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process))
    return false;
  const bool ended = WaitForSingleObject(process.hProcess, limitMs) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ended;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc >= 4 ? argv[3] : "face";
  if (argc < 3 || (mode != "face" && mode != "main" && mode != "session")) {
    std::fprintf(stderr,
                 "usage: view_probe.exe CONTROL_FILE MINUTE_MS [face|main|session] (hostsim.exe runs with "
                 "--control)\n");
    return 2;
  }
  const unsigned long minuteMs = std::strtoul(argv[2], nullptr, 10);
  vantary::platform::win32::Win32Platform system;
  Platform& p = system.platform();
  WindowSystem& ws = p.windows;
  Checks c(mode == "face" ? "view-e2e" : mode == "main" ? "close-e2e" : "session-e2e");
  Channel channel(p, argv[1]);
  if (!c.check("hostsim's control channel answers file appears", channel.hostListening(kHostStartLimitMs)))
    return c.finish();
  const Text screenName = channel.stateValue("screen-name");
  const Window room = vantary::e2e::WaitForRichRoom(p, kHostStartLimitMs);
  if (!c.check("finds the host's rich room", static_cast<bool>(room))) return c.finish();
  RoomWatch watch(p, ws.firstChild(room, "RICHCNTL"), screenName);

  const Window main = vantary::e2e::WaitForMainWindow(p, kProgramStartLimitMs);
  if (!c.check("vantary's main window appears", static_cast<bool>(main))) return c.finish();
  c.check("the three in-stats lines reach the room", watch.waitForCount(3, kProgramStartLimitMs));

  // A shown top-level window of that caption, found after `open` ran, and a child of it
  // showing `text`: "" when so, else what was wrong.
  const auto shownBy = [&](const std::function<void()>& open, std::string_view title, std::string_view text) {
    open();
    Window w;
    p.loop.waitUntil([&] { return (w = ws.findWindow("", title)) && ws.isVisible(w); }, kShowLimitMs);
    if (!w) return std::string("no window ") + Quoted(Text(title));
    if (!ws.isVisible(w)) return std::string("hidden");
    // The text a control holds, as it answers for it: an edit's text is not its caption.
    bool found = false;
    for (Window child = ws.findChild(w, {}, ""); child && !found; child = ws.findChild(w, child, "")) {
      found = ws.text(child) == text;
    }
    if (!found) return std::string("no child showing ") + Quoted(Text(text));
    return std::string();
  };
  const auto shown = [&](MenuCommand item, std::string_view title, std::string_view text) {
    return shownBy([&] { vantary::e2e::PostCommand(ws, main, item); }, title, text);
  };
  // Posts WM_CLOSE to the shown window of that caption, as another program does, and waits
  // until it is hidden or gone.
  const auto closeFromOutside = [&](std::string_view title) {
    const Window w = ws.findWindow("", title);
    if (!w || !ws.post(w, msg::kClose)) return false;
    return p.loop.waitUntil([&] { return !ws.exists(w) || !ws.isVisible(w); }, kShowLimitMs);
  };
  // Waits for the out-stats lines from `from` on, and for the main window to go.
  const auto endedWithOutStats = [&](std::size_t from) {
    const bool said = watch.waitFor(
        [&](const auto& lines) {
          for (std::size_t i = from; i < lines.size(); ++i) {
            if (IsOutStats(lines[i].text)) return true;
          }
          return false;
        },
        kLinesLimitMs);
    return said && vantary::e2e::WaitForMainWindowGone(p, main, kExitLimitMs);
  };

  std::string why = shown(MenuCommand::kHelps, "vantary : help", "vantary help file");
  c.check("help opens, showing its greeting", why.empty(), why);
  why = shown(MenuCommand::kAbout, "vantary : about", screenName);
  c.check("about opens, showing the signed-on screen name", why.empty(), why);
  why = shown(MenuCommand::kGreets, "vantary : greets", "greetz");
  c.check("greets opens the credits", why.empty(), why);

  if (mode == "face") {
    why = closeFromOutside("vantary : help")
              ? shown(MenuCommand::kHelps, "vantary : help", "vantary help file")
              : "not closed";
    c.check("help closed by another program opens again from its item", why.empty(), why);

    // The credits' run is started by their "start" button and closed while it runs.
    const Window credits = ws.findWindow("", "vantary : greets");
    Window start;
    for (Window child = ws.findChild(credits, {}, ""); child && !start;
         child = ws.findChild(credits, child, ""))
      start = ws.text(child) == "start" ? child : Window{};
    const bool started = start && ws.postClick(start);
    watch.waitFor([](const auto&) { return false; }, 1500);
    why = started && closeFromOutside("vantary : greets")
              ? shown(MenuCommand::kGreets, "vantary : greets", "greetz")
              : "not started or not closed";
    c.check("the credits closed by another program in their run open again from their item", why.empty(),
            why);

    why = shown(MenuCommand::kSdaf, "color", "336699");
    c.check("the colour window opens with the stored colour", why.empty(), why);
    why = closeFromOutside("color") ? shown(MenuCommand::kSdaf, "color", "336699") : "not closed";
    c.check("the colour window closed by another program opens again holding its colour", why.empty(), why);

    const auto commands = [&] {
      const std::size_t from = watch.lines().size();
      channel.ask("say " + screenName + ": .cmds");
      watch.waitFor(
          [&](const auto& lines) {
            for (std::size_t i = from; i < lines.size(); ++i) {
              if (lines[i].text.find("view'n commands.") != Text::npos) return true;
            }
            return false;
          },
          kLinesLimitMs);
    };
    why = shownBy(commands, "coms", "coms");
    c.check("the user's .cmds shows the command list", why.empty(), why);
    why = closeFromOutside("coms") ? shownBy(commands, "coms", "coms") : "not closed";
    c.check("the command list closed by another program shows again at .cmds", why.empty(), why);

    const std::size_t before = watch.lines().size();
    c.check("the face closed by another program ends vantary with its out-stats lines",
            ws.post(ws.findWindow("", "vantary"), msg::kClose) && endedWithOutStats(before),
            QuotedAll(watch.texts(before, watch.lines().size())));
  } else if (mode == "main") {
    const std::size_t before = watch.lines().size();
    c.check("the hidden main window closed by another program ends vantary with its out-stats lines",
            ws.post(main, msg::kClose) && endedWithOutStats(before),
            QuotedAll(watch.texts(before, watch.lines().size())));
  } else {
    // Idle on, and two minutes shown; then Windows ends the session.
    const std::size_t engagedAt = watch.lines().size();
    vantary::e2e::PostCommand(ws, main, MenuCommand::kIdleOn);
    int shownMinutes = 0;
    watch.waitFor(
        [&](const auto& lines) {
          for (std::size_t i = engagedAt; i < lines.size(); ++i)
            shownMinutes = std::max(shownMinutes, TimeLineMinute(lines[i].text));
          return shownMinutes >= 2;
        },
        static_cast<std::uint32_t>(4 * minuteMs) + kLinesLimitMs);
    c.check("idling shows two minutes", shownMinutes >= 2);
    const bool ended = EndWindowsSession(kSessionEndLimitMs);
    c.check("Windows' end of the session runs", ended);
    c.check("vantary ends by itself with the session",
            vantary::e2e::WaitForMainWindowGone(p, main, kExitLimitMs));
    const Text data = p.files.readFile(p.files.windowsFolder() + "\\vantari4583.dat").value_or("");
    const std::size_t at = data.find("MINUTES2=");
    const int stored = at == Text::npos ? -1 : std::atoi(data.c_str() + at + 9);
    c.check("the overall minutes counted are stored", stored >= shownMinutes && stored <= shownMinutes + 2,
            std::to_string(shownMinutes) + " minutes shown, stored " + Quoted(data));
    // The host ends with the session too: there is nobody left to ask to quit.
    return c.finish();
  }
  c.check("the host answers quit", channel.ask("quit").has_value());
  return c.finish();
}
