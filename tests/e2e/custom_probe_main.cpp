// The end-to-end probe of vantary.exe's custom scroll against hostsim.exe: the test script
// starts hostsim.exe (signed on, quiet, --control FILE) and vantary.exe in the custom
// message mode, with a shortened minute, the reason "Lunch" in its options and the custom
// line "Away r$ for M1$ mins at t$" in its data file. This probe runs idle on by WM_COMMAND
// and reads what reaches the host's rich room: at the scroll moment the expanded custom
// line, instead of the time line. Prints one line per check and ends with
// "custom-e2e: N passed, M failed".
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

// The first scroll moment comes a minute after idle on; it may come this late.
constexpr double kLatestTick = 3.0;
// The time of day in the line is read when the line is built, a moment before the probe
// sees it; the two clocks are the same machine's.
constexpr int kTimeSlackSeconds = 30;

// The time of day as the custom line shows it: 12-hour clock, "9:05:07 pm".
Text ShownTime(int secondsOfDay) {
  const int hour = secondsOfDay / 3600;
  const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d %s", hour12, secondsOfDay / 60 % 60, secondsOfDay % 60,
                hour < 12 ? "am" : "pm");
  return buffer;
}

}  // namespace

int main(int argc, char** argv) {
  char* end = nullptr;
  const unsigned long minuteArg = argc == 3 ? std::strtoul(argv[2], &end, 10) : 0;
  if (argc != 3 || *end != '\0' || minuteArg < 100 || minuteArg > 60000) {
    std::fprintf(
        stderr,
        "usage: custom_probe.exe CONTROL_FILE MINUTE_MS (hostsim.exe runs with --control CONTROL_FILE, "
        "vantary.exe with VANTARY_MINUTE_MS=MINUTE_MS, 100 to 60000)\n");
    return 2;
  }
  const auto minuteMs = static_cast<std::uint32_t>(minuteArg);
  vantary::platform::win32::Win32Platform system;
  Platform& p = system.platform();
  WindowSystem& ws = p.windows;
  Checks c("custom-e2e");
  Channel channel(p, argv[1]);

  if (!c.check("hostsim's control channel answers file appears", channel.hostListening(kHostStartLimitMs)))
    return c.finish();
  const Text screenName = channel.stateValue("screen-name");
  channel.ask("transcript-limit 1000");
  const Window room = vantary::e2e::WaitForRichRoom(p, kHostStartLimitMs);
  if (!c.check("finds the host's rich room", static_cast<bool>(room))) return c.finish();
  RoomWatch watch(p, ws.firstChild(room, "RICHCNTL"), screenName);

  const Window main = vantary::e2e::WaitForMainWindow(p, kProgramStartLimitMs);
  if (!c.check("vantary's main window appears", static_cast<bool>(main))) return c.finish();
  const bool announced = watch.waitForCount(3, kProgramStartLimitMs);
  c.check("the three in-stats lines reach the room", announced,
          QuotedAll(watch.texts(0, watch.lines().size())));

  const std::size_t engagedAt = watch.lines().size();
  vantary::e2e::PostCommand(ws, main, MenuCommand::kIdleOn);
  const bool engaged = watch.waitForCount(engagedAt + 1, kLinesLimitMs) &&
                       watch.lines()[engagedAt].text == Text("°› vantarý³ · engaged"_ansi);
  c.check("idle on sends the engaged line", engaged, QuotedAll(watch.texts(engagedAt, engagedAt + 1)));

  // The scroll moment: line 1 with its head (the colours' tags are markup the room does not
  // show); lines 2 to 4 are empty and reach the room not at all. The minutes are those
  // counted when the line is made: 1, or more where a stalled machine made minutes up.
  const Text head("°› vantarý³ · away lunch for "_ansi);
  const bool scrolled =
      watch.waitForCount(engagedAt + 2, static_cast<std::uint32_t>(kLatestTick * minuteMs) + kLinesLimitMs);
  const TimeOfDay seen = p.loop.timeOfDay();
  const Text line = scrolled ? watch.lines()[engagedAt + 1].text : Text{};
  const std::size_t minutesEnd = line.find(" mins at ", head.size());
  const bool minutesShown =
      line.rfind(head, 0) == 0 && minutesEnd != Text::npos && minutesEnd > head.size() &&
      line.find_first_not_of("0123456789", head.size()) == minutesEnd && line[head.size()] != '0';
  bool timeMatches = false;
  const int now = (seen.hour * 60 + seen.minute) * 60 + seen.second;
  for (int back = 0; back <= kTimeSlackSeconds && !timeMatches && minutesShown; ++back) {
    timeMatches = line.substr(minutesEnd) == " mins at " + ShownTime((now - back + 86400) % 86400);
  }
  c.check("the scroll moment sends the custom line with the reason, the minutes and the time of day",
          timeMatches, Quoted(line) + " seen at " + Quoted(ShownTime(now)));
  // Another minute: still the custom line alone, never the standard time line.
  watch.waitForCount(engagedAt + 3, static_cast<std::uint32_t>(kLatestTick * minuteMs) + kLinesLimitMs);
  const std::vector<Text> after = watch.texts(engagedAt + 1, watch.lines().size());
  bool onlyCustom = after.size() >= 2;
  for (const Text& l : after)
    onlyCustom = onlyCustom && l.rfind("°› vantarý³ · away lunch for "_ansi, 0) == 0;
  c.check("each scroll moment sends the custom line and nothing else", onlyCustom, QuotedAll(after));

  vantary::e2e::PostCommand(ws, main, MenuCommand::kEnd);
  c.check("vantary closes after end", vantary::e2e::WaitForMainWindowGone(p, main, kExitLimitMs));
  c.check("the host answers quit", channel.ask("quit").has_value());
  return c.finish();
}
