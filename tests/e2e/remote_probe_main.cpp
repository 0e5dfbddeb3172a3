// The end-to-end probe of vantary.exe driven from outside, against hostsim.exe: the test
// script starts hostsim.exe (signed on, --control FILE) and vantary.exe from a fresh
// program folder. By its last argument:
//   switches  later starts of vantary.exe with switches, each run as a script runs it (its
//             output a pipe, its exit code read): /idleon twice, /reason, /status, /idleoff,
//             an unknown switch, a plain start, /end; then /status with none running, and
//             /idleon starting vantary anew;
//   crash     idle on, vantary's process ended hard in the middle of the session (Wine ends
//             it with SIGKILL); its next start finds the journal, tells the user and keeps
//             the minutes it counted.
// Prints one line per check and ends with "remote-e2e: N passed, M failed" (crash-e2e).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/win32_platform.h"
#include "tests/e2e/e2e_support.h"
#include "text/ansi.h"
#include "text/text_ops.h"

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

// How long a start of vantary.exe with switches may take to end: it waits for the running
// one's answer (at most 30 s by its own bound) and Wine may be slow to start a process.
constexpr DWORD kSwitchRunLimitMs = 60000;

struct Ran {
  int code = -1;  // -1: did not start or end in time
  std::string output;
};

// Starts `program` with `arguments` in `folder`; when `wait`, waits for it to end and gives
// its exit code and what it wrote to its standard output (a pipe, as a script's capture).
Ran Start(const std::string& program, const std::string& arguments, const std::string& folder, bool wait) {
  Ran ran;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 1 << 16)) return ran;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  start.hStdOutput = writeEnd;
  start.hStdError = writeEnd;
  std::string command = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
  PROCESS_INFORMATION process{};
  const bool started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      folder.c_str(), &start, &process);
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    return ran;
  }
  if (wait && WaitForSingleObject(process.hProcess, kSwitchRunLimitMs) == WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    ran.code = static_cast<int>(code);
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0) ran.output.append(buffer, n);
    while (!ran.output.empty() && (ran.output.back() == '\n' || ran.output.back() == '\r'))
      ran.output.pop_back();
  } else if (wait) {
    TerminateProcess(process.hProcess, 1);
  } else {
    ran.code = 0;
  }
  CloseHandle(readEnd);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ran;
}

BOOL CALLBACK CountMainWindow(HWND w, LPARAM counted) {
  char caption[64] = {};
  GetWindowTextA(w, caption, sizeof caption);
  if (Text(caption) == vantary::e2e::kMainCaption) ++*reinterpret_cast<int*>(counted);
  return TRUE;
}

// Top-level windows with vantary's main caption: one per running vantary.
int MainWindows() {
  int count = 0;
  EnumWindows(CountMainWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

// The number after "key=" in a settings text, or -1.
long long NumberAfter(const std::string& contents, const std::string& key) {
  const std::size_t at = contents.find(key + "=");
  return at == std::string::npos ? -1 : std::atoll(contents.c_str() + at + key.size() + 1);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc >= 5 ? argv[4] : "";
  if (argc < 5 || (mode != "switches" && mode != "crash")) {
    std::fprintf(stderr, "usage: remote_probe.exe CONTROL_FILE MINUTE_MS PROGRAM_FOLDER switches|crash\n");
    return 2;
  }
  const unsigned long minuteMs = std::strtoul(argv[2], nullptr, 10);
  const std::string folder = argv[3];
  const std::string vantary = folder + "\\vantary.exe";
  vantary::platform::win32::Win32Platform system;
  Platform& p = system.platform();
  WindowSystem& ws = p.windows;
  Checks c(mode == "switches" ? "remote-e2e" : "crash-e2e");
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

  const auto lines = [&](std::string_view part) {
    std::size_t n = 0;
    for (const RoomWatch::Line& line : watch.lines()) n += line.text.find(part) != Text::npos ? 1 : 0;
    return n;
  };
  const auto waitForLines = [&](std::string_view part, std::size_t count, std::uint32_t limitMs) {
    return watch.waitFor([&](const auto&) { return lines(part) >= count; }, limitMs);
  };
  const Text engaged("vantarý³ · engaged"_ansi);
  const auto run = [&](const std::string& arguments) { return Start(vantary, arguments, folder, true); };
  const auto ran = [&](const char* what, const Ran& r, int code, const std::string& output) {
    c.check(what, r.code == code && r.output.rfind(output, 0) == 0,
            "exit " + std::to_string(r.code) + ", wrote " + Quoted(r.output));
  };

  if (mode == "switches") {
    ran("/idleon engages and exits 0", run("/idleon"), 0, "");
    c.check("the engaged line reaches the room", waitForLines(engaged, 1, kLinesLimitMs));
    ran("a second /idleon exits 0", run("/idleon"), 0, "");
    ran("/reason lunch exits 0", run("/reason lunch"), 0, "");
    c.check("the next reason line is \"re: lunch\"",
            waitForLines(" re: lunch", 1, static_cast<std::uint32_t>(2 * minuteMs) + kLinesLimitMs));
    const std::string options = p.files.readFile(folder + "\\etr.cfj").value_or("");
    c.check("the reason is stored", vantary::text::ToLower(options).find("reason=lunch") != std::string::npos,
            Quoted(options));
    ran("/status while engaged writes the state and exits 0", run("/status"), 0, "vantary: engaged, ");
    c.check("the second /idleon sent nothing more", lines(engaged) == 1, std::to_string(lines(engaged)));
    ran("/idleoff exits 1", run("/idleoff"), 1, "");
    ran("-STATUS after idle off exits 1", run("-STATUS"), 1, "vantary: not engaged, overall idle time ");
    ran("/bogus names the valid switches and exits 3", run("/bogus"), 3,
        "vantary: unknown switch \"/bogus\"");
    ran("nothing changed: /status still exits 1", run("/status"), 1, "vantary: not engaged");
    ran("a plain second start exits 1", run(""), 1, "");
    c.check("one vantary runs, its face shown",
            MainWindows() == 1 && ws.isVisible(ws.findWindow("", "vantary")),
            std::to_string(MainWindows()) + " main windows");
    const std::size_t before = watch.lines().size();
    ran("/end exits 2", run("/end"), 2, "");
    c.check("/end sends the out-stats lines and vantary ends",
            waitForLines("out stats: ", 1, kLinesLimitMs) &&
                vantary::e2e::WaitForMainWindowGone(p, main, kExitLimitMs),
            QuotedAll(watch.texts(before, watch.lines().size())));
    ran("/status with none running exits 2", run("/status"), 2, "vantary: not running");

    c.check("/idleon with none running starts vantary", Start(vantary, "/idleon", folder, false).code == 0);
    const Window again = vantary::e2e::WaitForMainWindow(p, kProgramStartLimitMs);
    c.check("... which engages once it has started", again && waitForLines(engaged, 2, kProgramStartLimitMs));
    ran("/status of the started vantary exits 0", run("/status"), 0, "vantary: engaged, ");
    ran("/end ends it", run("/end"), 2, "");
    c.check("the started vantary ends", vantary::e2e::WaitForMainWindowGone(p, again, kExitLimitMs));
  } else {
    vantary::e2e::PostCommand(ws, main, MenuCommand::kIdleOn);
    const Text minuteLine("°› vantarý³ · 0d . 0h . "_ansi);
    c.check("idling shows two minutes",
            waitForLines(minuteLine, 2, static_cast<std::uint32_t>(4 * minuteMs) + kLinesLimitMs));
    // The minutes the room showed were counted, and kept, before the end.
    long long shown = 0;
    for (const RoomWatch::Line& line : watch.lines()) {
      if (line.text.rfind(minuteLine, 0) == 0) shown = std::atoll(line.text.c_str() + minuteLine.size());
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(main.value)), &pid);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    const bool killed = process != nullptr && TerminateProcess(process, 9) &&
                        WaitForSingleObject(process, kExitLimitMs) == WAIT_OBJECT_0;
    if (process != nullptr) CloseHandle(process);
    c.check("vantary's process is ended hard in the middle of the session", killed);
    const std::string windows = p.files.windowsFolder();
    const std::string journal = p.files.readFile(windows + "\\vantari4583.jnl").value_or("");
    const long long journalled = NumberAfter(journal, "overall");
    c.check("its journal holds the minutes shown", journalled >= shown,
            std::to_string(shown) + " shown, journal " + Quoted(journal));

    c.check("vantary starts again", Start(vantary, "", folder, false).code == 0);
    Window told;
    p.loop.waitUntil([&] { return static_cast<bool>(told = ws.findWindow("", "vantary : last session")); },
                     kProgramStartLimitMs);
    Text text;
    Text seen = told ? "" : "no box";
    for (Window child = ws.findChild(told, {}, ""); child; child = ws.findChild(told, child, "")) {
      const Text held = ws.text(child);
      seen += Quoted(held) + " ";
      if (held.find("did not end normally") != Text::npos) text = held;
    }
    c.check("the next start tells the user the last session did not end", !text.empty(), seen);
    const std::string data = p.files.readFile(windows + "\\vantari4583.dat").value_or("");
    const long long stored = NumberAfter(data, "MINUTES2");
    c.check("the overall minutes counted are kept (at most one lost)",
            stored == journalled || stored == journalled + 1,
            "journal " + std::to_string(journalled) + ", stored " + Quoted(data));
    c.check("the journal is gone", !p.files.fileExists(windows + "\\vantari4583.jnl"));
    // The box answered, the restarted vantary ends by its end command.
    ws.post(told, msg::kCommand, msg::kIdOk, 0);
    const Window again = vantary::e2e::WaitForMainWindow(p, kProgramStartLimitMs);
    if (again) vantary::e2e::PostCommand(ws, again, MenuCommand::kEnd);
    c.check("the restarted vantary ends",
            again && vantary::e2e::WaitForMainWindowGone(p, again, kExitLimitMs));
  }
  c.check("the host answers quit", channel.ask("quit").has_value());
  return c.finish();
}
