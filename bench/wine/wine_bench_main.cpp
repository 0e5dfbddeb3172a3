// wine_bench.exe: the program's own paths against the bare system calls they stand on,
// measured in one run against a running hostsim.exe, sample by sample in turn, so both
// sides see the same machine. Prints a table of medians and their ratios.
//
//   wine_bench.exe paths CONTROL_FILE [SAMPLES]   the status line, the watcher's tick, the
//                                                 scanner's look and the member scan
//   wine_bench.exe startup VANTARY_EXE            starts vantary.exe and waits for its first
//                                                 in-stats line in the host's rich room
//   wine_bench.exe upchat CONTROL_FILE [UPLOADS]  starts uploads one after another while
//                                                 vantary.exe watches with auto upchat on:
//                                                 the time from each upload modal's coming
//                                                 to its being put out of the way
//   wine_bench.exe timers SECONDS INTERVAL...     idles for SECONDS with a timer of each
//                                                 INTERVAL (ms) whose tick does nothing: the
//                                                 bare cost of the wakes a program idling
//                                                 with those timers cannot go below
//
// hostsim.exe runs with --control CONTROL_FILE, quiet, in a rich room of 500 members.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "host/auto_upchat.h"
#include "host/chat_scanner.h"
#include "host/host.h"
#include "host/host_windows.h"
#include "platform/win32/win32_platform.h"
#include "tests/e2e/e2e_support.h"
#include "text/ansi.h"

namespace {

using namespace vantary;
using platform::Window;
using text::operator""_ansi;
using text::Text;
using Clock = std::chrono::steady_clock;

// How long the host and the program may take to come up under a cold Wine.
constexpr std::uint32_t kStartLimitMs = 60000;
// Lines the host keeps in its room, so the transcript read stays the size of a busy room's.
constexpr int kTranscriptLines = 100;

HWND Hwnd(Window w) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(w.value)); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

double Mean(const std::vector<double>& v) {
  double sum = 0;
  for (const double x : v) sum += x;
  return v.empty() ? 0 : sum / static_cast<double>(v.size());
}

// The medians, and the means: a path whose looks differ (the scanner's quick and whole
// looks) costs its mean over a day.
struct Row {
  const char* path;
  const char* anchor;
  double pathUs;
  double anchorUs;
  double pathMeanUs;
  double anchorMeanUs;
};

// Times `path` and `anchor` in turn, `samples` times each, in microseconds.
Row Measure(const char* pathName, const char* anchorName, int samples, const std::function<void()>& path,
            const std::function<void()>& anchor) {
  std::vector<double> p;
  std::vector<double> a;
  const auto time = [](const std::function<void()>& f) {
    const auto start = Clock::now();
    f();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
  };
  path();  // warm both up once
  anchor();
  for (int i = 0; i < samples; ++i) {
    a.push_back(time(anchor));
    p.push_back(time(path));
  }
  return Row{pathName, anchorName, Median(p), Median(a), Mean(p), Mean(a)};
}

int Paths(const char* control, int samples) {
  platform::win32::Win32Platform system;
  platform::Platform& p = system.platform();
  auto& ws = p.windows;
  e2e::Channel channel(p, control);
  if (!channel.hostListening(kStartLimitMs)) {
    std::fprintf(stderr, "wine_bench: hostsim.exe does not answer on %s\n", control);
    return 1;
  }
  channel.ask("transcript-limit " + std::to_string(kTranscriptLines));
  for (int i = 0; i < kTranscriptLines; ++i)
    channel.ask("say Ann: a line of chat of a usual length, " + std::to_string(i));
  const Window room = e2e::WaitForRichRoom(p, kStartLimitMs);
  if (!room) {
    std::fprintf(stderr, "wine_bench: no rich room\n");
    return 1;
  }
  const Window transcript = ws.firstChild(room, host::kRichTextClass);
  const Window input = ws.nthChild(room, host::kRichTextClass, 2);
  const Window list = ws.firstChild(room, host::kListBoxClass);
  host::Host lib(p, nullptr);
  std::vector<Row> rows;

  // ---- a status line against setting the input box and pressing Enter ----
  const Text status("</u></s></i></b><font color=#336699>‹°<font color=#000000> vantarý³ · 12m . idle"_ansi);
  rows.push_back(Measure(
      "status line", "WM_SETTEXT + WM_CHAR 13", samples, [&] { lib.SendChatLine(status); },
      [&] {
        SendMessageA(Hwnd(input), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(status.c_str()));
        SendMessageA(Hwnd(input), WM_CHAR, 13, 0);
      }));

  // ---- the watcher's tick against five lookups of a top-level window ----
  host::AutoUpchat watcher(
      lib, [] { return true; }, [] {});
  rows.push_back(Measure(
      "watcher tick", "5 FindWindowEx", samples, [&] { watcher.watchTick(); },
      [&] {
        for (int i = 0; i < 5; ++i) FindWindowExA(nullptr, nullptr, "_AOL_Modal", nullptr);
      }));

  // ---- the scanner's look at a quiet room against one read of the transcript ----
  host::ChatScanner scanner(lib, nullptr);
  scanner.start();
  scanner.stop();  // looked at by hand below, not by its timer
  std::vector<char> buffer(static_cast<std::size_t>(1) << 16);
  const host::ChatScanner::Stats before = scanner.stats();
  rows.push_back(Measure(
      "scanner poll", "1 WM_GETTEXT of the transcript", samples * 4, [&] { scanner.poll(); },
      [&] {
        SendMessageA(Hwnd(transcript), WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
      }));
  const host::ChatScanner::Stats& after = scanner.stats();
  char looks[160];
  std::snprintf(looks, sizeof looks, "scanner: %llu looks, %llu quick, %llu reads, %llu whole",
                static_cast<unsigned long long>(after.looks - before.looks),
                static_cast<unsigned long long>(after.quick - before.quick),
                static_cast<unsigned long long>(after.reads - before.reads),
                static_cast<unsigned long long>(after.wholeLooks - before.wholeLooks));

  // ---- the member scan of the whole room against two reads per member ----
  const LRESULT count = SendMessageA(Hwnd(list), LB_GETCOUNT, 0, 0);
  std::vector<DWORD> records;
  for (LRESULT row = 0; row < count; ++row)
    records.push_back(static_cast<DWORD>(SendMessageA(Hwnd(list), LB_GETITEMDATA, row, 0)));
  DWORD pid = 0;
  GetWindowThreadProcessId(Hwnd(list), &pid);
  HANDLE process = OpenProcess(PROCESS_VM_READ | PROCESS_QUERY_INFORMATION, FALSE, pid);
  const std::string members = std::to_string(count) + " members";
  const std::string reads = std::to_string(2 * count) + " ReadProcessMemory";
  const auto readRecords = [&] {
    for (const DWORD record : records) {
      std::uint8_t bytes[16];
      SIZE_T got = 0;
      ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(record) + 24),
                        bytes, 4, &got);
      ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<std::uintptr_t>(record)), bytes,
                        16, &got);
    }
  };
  const int scans = std::max(5, samples / 10);
  const auto scan = [&] { lib.FindRoomMember("nobody of that name"); };
  rows.push_back(Measure("member scan", "ReadProcessMemory x2 per member", scans, scan, readRecords));
  // The scan asks the list for each row's record (LB_GETITEMDATA, a send to the host): the
  // floor of any scan through the list.
  rows.push_back(Measure("member scan", "LB_GETITEMDATA + ReadProcessMemory x2 per member", scans, scan, [&] {
    for (LRESULT row = 0; row < count; ++row) SendMessageA(Hwnd(list), LB_GETITEMDATA, row, 0);
    readRecords();
  }));
  CloseHandle(process);

  std::printf("| path | anchor | path (median) | anchor (median) | ratio | ratio of means |\n");
  std::printf("| --- | --- | ---: | ---: | ---: | ---: |\n");
  for (const Row& r : rows) {
    std::printf("| %s | %s | %.0f us | %.0f us | %.2fx | %.2fx |\n", r.path, r.anchor, r.pathUs, r.anchorUs,
                r.anchorUs > 0 ? r.pathUs / r.anchorUs : 0.0,
                r.anchorMeanUs > 0 ? r.pathMeanUs / r.anchorMeanUs : 0.0);
  }
  std::printf("(member scan: %s, %s; samples: %d, scanner %d; %s)\n", members.c_str(), reads.c_str(), samples,
              samples * 4, looks);
  std::fflush(stdout);
  channel.ask("transcript-limit 1000");
  return 0;
}

// Starts vantary.exe and waits for its first in-stats line in the rich room.
int Startup(const char* program) {
  platform::win32::Win32Platform system;
  platform::Platform& p = system.platform();
  const Window room = e2e::WaitForRichRoom(p, kStartLimitMs);
  if (!room) return 1;
  const Window transcript = p.windows.firstChild(room, host::kRichTextClass);
  const Text inStats = "in stats: ";
  const auto started = Clock::now();
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string commandLine = std::string("\"") + program + "\"";
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "wine_bench: cannot start %s\n", program);
    return 1;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  const bool seen =
      p.loop.waitUntil([&] { return p.windows.text(transcript).find(inStats) != Text::npos; }, kStartLimitMs);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
  if (!seen) return 1;
  std::printf("| start-up to the first in-stats line | %.0f ms |\n", ms);
  std::fflush(stdout);
  return 0;
}

// The watcher puts a modal out of the way by moving it off the screen and disabling it
// first; that is the moment taken. The modal is looked for as fast as the system answers.
int Upchat(const char* control, int uploads) {
  platform::win32::Win32Platform system;
  platform::Platform& p = system.platform();
  e2e::Channel channel(p, control);
  if (!channel.hostListening(kStartLimitMs)) return 1;
  const std::string modalClass(host::kModalClass);
  std::vector<double> ms;
  for (int i = 0; i < uploads; ++i) {
    if (!channel.ask("start-transfer upload 300 upload" + std::to_string(i) + ".zip")) return 1;
    const auto asked = Clock::now();
    const auto within = [&](double limitMs) {
      return std::chrono::duration<double, std::milli>(Clock::now() - asked).count() < limitMs;
    };
    HWND modal = nullptr;
    while (within(5000) && (modal = FindWindowA(modalClass.c_str(), nullptr)) == nullptr) Sleep(0);
    const auto came = Clock::now();
    while (modal != nullptr && within(5000) && IsWindow(modal) && IsWindowEnabled(modal)) Sleep(0);
    if (modal == nullptr || !IsWindow(modal) || IsWindowEnabled(modal)) return 1;
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - came).count());
    // The watcher looks for the next upload only once this one has ended.
    while (within(10000) && IsWindow(modal)) Sleep(10);
    Sleep(300);
  }
  std::sort(ms.begin(), ms.end());
  std::printf("| upload modal, from its coming to out of the way (median of %d) | %.1f ms |\n", uploads,
              ms[ms.size() / 2]);
  std::printf("(fastest %.1f ms, slowest %.1f ms)\n", ms.front(), ms.back());
  std::fflush(stdout);
  return 0;
}

}  // namespace

// A message loop with empty timers, on a hidden window as the program's loop has them.
int Timers(int seconds, const std::vector<UINT>& intervals) {
  HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!window) return 1;
  UINT_PTR id = 1;
  for (const UINT interval : intervals) SetTimer(window, id++, interval, nullptr);
  const DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  MSG m;
  while (static_cast<LONG>(end - GetTickCount()) > 0 && GetMessageA(&m, nullptr, 0, 0) > 0) {
    DispatchMessageA(&m);
  }
  DestroyWindow(window);
  return 0;
}

int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "timers") == 0) {
    std::vector<UINT> intervals;
    for (int i = 3; i < argc; ++i) intervals.push_back(static_cast<UINT>(std::max(1, std::atoi(argv[i]))));
    return Timers(std::max(1, std::atoi(argv[2])), intervals);
  }
  if (argc >= 3 && std::strcmp(argv[1], "paths") == 0) {
    const int samples = argc >= 4 ? std::max(10, std::atoi(argv[3])) : 200;
    return Paths(argv[2], samples);
  }
  if (argc == 3 && std::strcmp(argv[1], "startup") == 0) return Startup(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "upchat") == 0) {
    return Upchat(argv[2], argc >= 4 ? std::max(1, std::atoi(argv[3])) : 20);
  }
  std::fprintf(stderr,
               "usage: wine_bench.exe paths CONTROL_FILE [SAMPLES] | startup VANTARY_EXE |"
               " upchat CONTROL_FILE [UPLOADS] | timers SECONDS INTERVAL...\n");
  return 2;
}
