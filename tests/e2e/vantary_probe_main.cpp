// The end-to-end probe of vantary.exe against hostsim.exe: a separate process that runs
// vantary's menu items as an outside program does (WM_COMMAND posted to its hidden main
// window) and reads what reaches the host's rich room through the real window system
// (WM_GETTEXT of the room's transcript). The test script starts hostsim.exe (signed on,
// quiet, --control FILE) and then vantary.exe on a first start with a shortened minute and
// with the instant-message switches of idling off (its program folder's etr.cfj says so);
// this probe gets FILE and that minute. Prints one line per check and ends with
// "vantary-e2e: N passed, M failed".
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "console/idle_clock.h"
#include "host/host_windows.h"
#include "platform/win32/win32_platform.h"
#include "tests/e2e/e2e_support.h"
#include "text/ansi.h"

namespace {

using vantary::console::MenuCommand;
using vantary::e2e::Channel;
using vantary::e2e::Checks;
using vantary::e2e::kAnswerLimitMs;
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

// The minute ticks are watched for this many minutes. The time line of minute k cannot come
// before k minutes less the clock's early allowance have passed since idle on was posted;
// how late it comes depends on the machine's load alone, so the wait for it is long and
// only bounds the test.
constexpr int kMinutesWatched = 3;
using vantary::console::kTickEarlyMs;
constexpr double kLatestTick = 3.0;
// How long the probe waits to be sure that a line of another member ran nothing: several
// of the chat scanner's looks.
constexpr std::uint32_t kChatQuietMs = 2000;
// After idle off no time line may come for this many minutes.
constexpr double kQuietMinutes = 2.5;
// Lines each room keeps while the probe runs: far more than the session sends, so no line
// is dropped under the probe's eyes.
constexpr int kTranscriptLines = 1000;

// The minute of a time line "°› vantarý³ · 0d . 0h . <M>m ·" of the first hour, or -1.
int TimeLineMinute(const Text& line) {
  const std::string_view head = "°› vantarý³ · 0d . 0h . "_ansi;
  const std::string_view tail = "m ·"_ansi;
  if (line.size() <= head.size() + tail.size() || line.compare(0, head.size(), head) != 0 ||
      line.compare(line.size() - tail.size(), tail.size(), tail) != 0)
    return -1;
  const Text digits = line.substr(head.size(), line.size() - head.size() - tail.size());
  if (digits.empty() || digits.size() > 2 || digits.find_first_not_of("0123456789") != Text::npos) return -1;
  return std::atoi(digits.c_str());
}

bool IsReasonLine(const Text& line) { return line.rfind("‹° re: "_ansi, 0) == 0; }

// The three announcement lines as a rich room shows them (the plain twins go to a plain
// room only), with the overall counters `d`, `h`, `m`.
std::vector<Text> Announcement(bool starting, const Text& d, const Text& h, const Text& m) {
  return {Text("°› vantarý³ · by kestro · "_ansi),
          Text(starting ? "‹° in stats: "_ansi : "‹° out stats: "_ansi) + d + "d . " + h + "h . " + m +
              Text("m ·"_ansi),
          Text(" °`·–› kestro.example/vantary ·"_ansi)};
}

}  // namespace

int main(int argc, char** argv) {
  char* end = nullptr;
  const unsigned long minuteArg = argc == 4 ? std::strtoul(argv[2], &end, 10) : 0;
  if (argc != 4 || *end != '\0' || minuteArg < 100 || minuteArg > 60000) {
    std::fprintf(stderr,
                 "usage: vantary_probe.exe CONTROL_FILE MINUTE_MS PROGRAM_FOLDER (hostsim.exe runs with "
                 "--control CONTROL_FILE, vantary.exe from PROGRAM_FOLDER with VANTARY_MINUTE_MS=MINUTE_MS, "
                 "100 to 60000)\n");
    return 2;
  }
  const auto minuteMs = static_cast<std::uint32_t>(minuteArg);
  const Text options = Text(argv[3]) + "\\etr.cfj";
  vantary::platform::win32::Win32Platform system;
  Platform& p = system.platform();
  WindowSystem& ws = p.windows;
  Checks c("vantary-e2e");
  Channel channel(p, argv[1]);

  // ---- the host ----
  if (!c.check("hostsim's control channel answers file appears", channel.hostListening(kHostStartLimitMs)))
    return c.finish();
  const Text screenName = channel.stateValue("screen-name");
  c.check("the host is signed on, in a room",
          channel.stateValue("signed-on") == "yes" && !channel.stateValue("room").empty(),
          Quoted(screenName));
  c.check("the host keeps every line of the session",
          channel.ask("transcript-limit " + std::to_string(kTranscriptLines)).has_value());
  const Window room = vantary::e2e::WaitForRichRoom(p, kHostStartLimitMs);
  if (!c.check("finds the host's rich room", static_cast<bool>(room))) return c.finish();
  RoomWatch watch(p, ws.firstChild(room, "RICHCNTL"), screenName);

  // ---- start-up: the main window, the in-stats lines, the files of a first start ----
  const Window main = vantary::e2e::WaitForMainWindow(p, kProgramStartLimitMs);
  if (!c.check("vantary's main window appears, found by its caption", static_cast<bool>(main)))
    return c.finish();
  c.check("the main window is another process's", ws.processOf(main) != ws.currentProcess(),
          "class " + Quoted(ws.className(main)));
  // A first start has no overall counters yet: they read as empty texts when they were
  // never written, or as 0.
  watch.waitForCount(3, kProgramStartLimitMs);
  const std::vector<Text> inStats = watch.texts(0, 3);
  c.check("the three in-stats lines reach the rich room, byte for byte",
          inStats == Announcement(true, "", "", "") || inStats == Announcement(true, "0", "0", "0"),
          QuotedAll(inStats));
  c.check("the main window stays hidden once the program has started",
          ws.exists(main) && !ws.isVisible(main));

  const Text windowsFolder = p.files.windowsFolder();
  std::vector<Text> missing;
  for (const char* name : {"vantary12.ini", "vantary122.ini", "vantary123.ini", "vantari4583.dat"}) {
    if (!p.files.fileExists(windowsFolder + "\\" + name)) missing.push_back(name);
  }
  c.check("the first start creates the list files and the data file in the Windows folder", missing.empty(),
          "missing in " + Quoted(windowsFolder) + ": " + QuotedAll(missing));

  // ---- idle on ----
  const Text engaged("°› vantarý³ · engaged"_ansi);
  const std::size_t engagedAt = watch.lines().size();
  const std::uint64_t idleOnMs = p.loop.nowMs();
  vantary::e2e::PostCommand(ws, main, MenuCommand::kIdleOn);
  c.check("idleon posted to the main window sends the engaged line",
          watch.waitFor([&](const auto& lines) { return lines.size() > engagedAt; }, kLinesLimitMs) &&
              watch.lines()[engagedAt].text == engaged,
          QuotedAll(watch.texts(engagedAt, engagedAt + 1)));
  if (watch.lines().size() > engagedAt) {
    std::printf("measure: the engaged line %llu ms after idleon was posted\n",
                static_cast<unsigned long long>(watch.lines()[engagedAt].seenMs - idleOnMs));
  }
  // A plain twin or a repeat of the engaged line would be a stray among the time lines
  // (checked at idle off).
  c.check("the room had nothing else from the user before", engagedAt == 3,
          QuotedAll(watch.texts(0, watch.lines().size())));

  // ---- the minutes ----
  std::vector<std::uint64_t> ticks;
  std::vector<int> minutes;
  std::vector<Text> strays;
  const auto scan = [&](std::size_t from, std::size_t to) {
    ticks.clear();
    minutes.clear();
    strays.clear();
    for (std::size_t i = from; i < to && i < watch.lines().size(); ++i) {
      const RoomWatch::Line& line = watch.lines()[i];
      if (const int minute = TimeLineMinute(line.text); minute >= 0) {
        minutes.push_back(minute);
        ticks.push_back(line.seenMs);
      } else if (!IsReasonLine(line.text)) {
        strays.push_back(line.text);
      }
    }
  };
  watch.waitFor(
      [&](const auto& lines) {
        scan(engagedAt + 1, lines.size());
        return minutes.size() >= kMinutesWatched;
      },
      static_cast<std::uint32_t>(kMinutesWatched * kLatestTick * minuteMs) + kLinesLimitMs);
  // A machine that stalls vantary for more than a minute makes the minutes up in one line,
  // so the minutes rise, each line showing those counted so far.
  std::string seen;
  bool rising = minutes.size() >= kMinutesWatched && minutes[0] >= 1;
  bool neverEarly = rising;
  for (std::size_t i = 0; i < minutes.size(); ++i) {
    seen += std::to_string(minutes[i]) + "m at " + std::to_string(ticks[i] - idleOnMs) + " ms, ";
    rising = rising && (i == 0 || minutes[i] > minutes[i - 1]);
    neverEarly =
        neverEarly && ticks[i] - idleOnMs + kTickEarlyMs >= static_cast<std::uint64_t>(minutes[i]) * minuteMs;
  }
  std::printf("measure: time lines %s(minute %u ms)\n", seen.c_str(), minuteMs);
  c.check("time lines count the minutes up: 1m, then more at each line", rising, "saw " + seen);
  c.check("no time line comes before its minute has passed", neverEarly, seen);

  // ---- idle off ----
  // Half a minute after a tick, as a user's click would come: a command that comes while a
  // tick is still sending its lines runs inside the tick's wait for the host, and the
  // tick's last lines then follow the command's.
  if (!ticks.empty()) {
    const std::uint64_t midMinute = ticks.back() + minuteMs / 2;
    watch.waitFor([&](const auto&) { return p.loop.nowMs() >= midMinute; }, minuteMs);
  }
  const Text disengaged("°› vantarý³ · dis-engaged"_ansi);
  vantary::e2e::PostCommand(ws, main, MenuCommand::kIdleOn);
  std::size_t disengagedAt = 0;
  const bool disengagedSent = watch.waitFor(
      [&](const auto& lines) {
        for (std::size_t i = engagedAt + 1; i < lines.size() && disengagedAt == 0; ++i) {
          if (lines[i].text == disengaged) disengagedAt = i;
        }
        return disengagedAt != 0;
      },
      kLinesLimitMs);
  c.check("idleon again sends the dis-engaged line", disengagedSent);
  if (disengagedAt == 0) disengagedAt = watch.lines().size();
  scan(engagedAt + 1, disengagedAt);
  const int lastMinute = minutes.empty() ? 0 : minutes.back();
  bool rose = true;
  for (std::size_t i = 1; i < minutes.size(); ++i) rose = rose && minutes[i] > minutes[i - 1];
  c.check("while idling the user sent only time lines, counting up, and reason lines", rose && strays.empty(),
          "strays " + QuotedAll(strays));
  const std::size_t afterOff = watch.lines().size();
  watch.waitFor([](const auto&) { return false; }, static_cast<std::uint32_t>(kQuietMinutes * minuteMs));
  c.check("after idle off the clock stands: no more lines", watch.lines().size() == afterOff,
          QuotedAll(watch.texts(afterOff, watch.lines().size())));

  // ---- chat commands ----
  // Another member's lines of the same form run nothing; the user's, said in the room,
  // are answered there. Lines go through the host's control channel, as if typed.
  const std::size_t chatAt = watch.lines().size();
  channel.ask("say Zed: .idleon");
  channel.ask("say Zed: .rea hacked");
  watch.waitFor([](const auto&) { return false; }, kChatQuietMs);
  c.check("another member's .idleon and .rea run nothing", watch.lines().size() == chatAt,
          QuotedAll(watch.texts(chatAt, watch.lines().size())));
  const auto sayAndAwait = [&](const Text& line, const Text& answer) {
    const std::size_t from = watch.lines().size();
    const std::uint64_t saidMs = p.loop.nowMs();
    channel.ask("say " + screenName + ": " + line);
    std::size_t at = 0;
    const bool answered = watch.waitFor(
        [&](const auto& lines) {
          for (std::size_t i = from; i < lines.size() && at == 0; ++i) {
            if (lines[i].text == answer) at = i;
          }
          return at != 0;
        },
        kLinesLimitMs);
    if (answered) {
      std::printf("measure: %s answered %llu ms after it was said\n", line.c_str(),
                  static_cast<unsigned long long>(watch.lines()[at].seenMs - saidMs));
    }
    return answered;
  };
  const std::size_t chatSessionAt = watch.lines().size();
  c.check("the user's .idleon answers with the engaged line", sayAndAwait(".idleon", engaged));
  c.check("the user's .rea lunch answers with the reason",
          sayAndAwait(".rea lunch", Text("°› vantarý³ · rea: lunch"_ansi)));
  c.check("the user's .idleoff answers with the dis-engaged line", sayAndAwait(".idleoff", disengaged));
  const std::optional<std::string> stored = p.files.readFile(options);
  c.check("the reason is stored in etr.cfj, the other member's is not",
          stored && stored->find("REASON=lunch\r\n") != std::string::npos &&
              stored->find("hacked") == std::string::npos,
          Quoted(stored.value_or("(no file)")));
  // Minutes that ticked during the chat's session count in the overall time too.
  scan(chatSessionAt, watch.lines().size());
  const int chatMinutes = minutes.empty() ? 0 : minutes.back();

  // A box of vantary's left standing ("&chat enter" asks for a room) holds up no chat
  // command; cancelled, it enters nothing.
  vantary::e2e::PostCommand(ws, main, MenuCommand::kEnterPr);
  const Window box = p.loop.waitForWindow(
      [&] { return ws.findWindow("#32770", std::string_view("vantary : room enter")); }, kLinesLimitMs);
  c.check("the user's .status is answered while the chat enter box stands",
          box && sayAndAwait(".status", Text("°› vantarý³ · not ul'n or dl'n."_ansi)) && ws.exists(box));
  c.check("the box, cancelled, goes", box && ws.post(box, msg::kCommand, msg::kIdCancel, 0) &&
                                          p.loop.waitUntil([&] { return !ws.exists(box); }, kLinesLimitMs));

  // ---- auto upchat ----
  // With the watcher on, an upload's modal, made by the host after the watcher last looked,
  // is announced once and put out of the user's way. The watcher detaches the modal (moved
  // off the screen and disabled, the host's frame enabled), announces it, then hides and
  // minimizes it, and minimizing shows it again as an icon: what is checked is the state
  // the user is left with, which holds from the announcement on, whenever it is looked at.
  vantary::e2e::PostCommand(ws, main, MenuCommand::kAutoUp);
  watch.waitFor([](const auto&) { return false; }, kChatQuietMs);
  const std::size_t uploadAt = watch.lines().size();
  const std::uint64_t uploadStartedMs = p.loop.nowMs();
  const std::optional<std::vector<Text>> transfer = channel.ask("start-transfer upload 600000 pictures.zip");
  const auto announced = [&](std::size_t from) {
    int count = 0;
    for (const Text& line : watch.texts(from, watch.lines().size()))
      count += line.find("u.win found/auto upchat") != Text::npos ? 1 : 0;
    return count;
  };
  const Window modal = p.loop.waitForWindow(
      [&] { return ws.findWindow(vantary::host::kModalClass, std::nullopt); }, kLinesLimitMs);
  const bool announcedSoon =
      watch.waitFor([&](const auto&) { return announced(uploadAt) > 0; }, kLinesLimitMs);
  if (announcedSoon) {
    std::printf("measure: the upload was announced %llu ms after it began\n",
                static_cast<unsigned long long>(watch.lines().back().seenMs - uploadStartedMs));
  }
  const Window frame = ws.findWindow(vantary::host::kFrameClass, std::nullopt);
  const auto outOfTheWay = [&] {
    return ws.exists(modal) && (!ws.isVisible(modal) || ws.isMinimized(modal)) && !ws.isEnabled(modal) &&
           ws.isEnabled(frame);
  };
  c.check("auto upchat puts the upload's modal out of the way and gives the host's frame back",
          transfer.has_value() && modal && announcedSoon && p.loop.waitUntil(outOfTheWay, kLinesLimitMs),
          std::string("modal visible ") + (ws.isVisible(modal) ? "yes" : "no") + ", minimized " +
              (ws.isMinimized(modal) ? "yes" : "no") + ", enabled " + (ws.isEnabled(modal) ? "yes" : "no") +
              "; frame enabled " + (ws.isEnabled(frame) ? "yes" : "no"));
  watch.waitFor([](const auto&) { return false; }, kChatQuietMs);
  c.check("auto upchat announces the upload once", announced(uploadAt) == 1,
          QuotedAll(watch.texts(uploadAt, watch.lines().size())));
  c.check("the modal stays out of the way while the upload runs", outOfTheWay());
  vantary::e2e::PostCommand(ws, main, MenuCommand::kAutoUp);
  if (transfer && !transfer->empty() && transfer->front().rfind("transfer ", 0) == 0)
    channel.ask("finish-transfer " + transfer->front().substr(9));

  // ---- end ----
  const std::size_t endAt = watch.lines().size();
  vantary::e2e::PostCommand(ws, main, MenuCommand::kEnd);
  watch.waitForCount(endAt + 3, kLinesLimitMs);
  // Every minute counted went into the overall counters; their hours and days may read as
  // empty texts (never written yet) or as 0. A session's last minute may have been counted
  // without a line of its own: a tick whose lines took the host longer than a minute counts
  // the minutes that passed meanwhile at its end, and the session ended before the next.
  const std::vector<Text> outStats = watch.texts(endAt, endAt + 3);
  const int shown = lastMinute + chatMinutes;
  bool outMatches = false;
  for (int overall = shown; overall <= shown + 2; ++overall) {
    for (const char* d : {"", "0"}) {
      for (const char* h : {"", "0"})
        outMatches = outMatches || outStats == Announcement(false, d, h, std::to_string(overall));
    }
  }
  c.check("end sends the three out-stats lines with the overall minutes", outMatches,
          std::to_string(shown) + " minutes shown; " + QuotedAll(outStats));
  c.check("vantary closes its main window by itself after end",
          vantary::e2e::WaitForMainWindowGone(p, main, kExitLimitMs));
  c.check("the room never lost a line under the probe", !watch.shrank());

  // ---- the host after the session ----
  c.check("the host kept the user signed on",
          channel.stateValue("signed-on") == "yes" && channel.stateValue("sign-offs") == "0");
  c.check("the host answers quit", channel.ask("quit").has_value());
  return c.finish();
}
