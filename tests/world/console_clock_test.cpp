// The main timer and the idle clock: the minute's length, roll-overs on the main window
// and the face, the overall time on disk, scroll moments, the interval command and the
// report commands.
#include <gtest/gtest.h>

#include "tests/world/console_fixture.h"

namespace vantary::console::testing {
namespace {

TEST(ConsoleClock, MinuteLengthComesFromAWholeNumberOrFallsBack) {
  struct Case {
    const char* value;
    std::uint32_t ms;
  };
  const Case cases[] = {{nullptr, 60000},    {"", 60000},
                        {"1000", 1000},      {"1", 1},
                        {"0", 60000},        {"-5", 60000},
                        {"1000.5", 60000},   {" 1000", 60000},
                        {"1000ms", 60000},   {"86400000", 86400000},
                        {"86400001", 60000}, {"99999999999999999999", 60000}};
  for (const Case& k : cases) EXPECT_EQ(ParseMinuteMs(k.value), k.ms) << (k.value ? k.value : "(unset)");
}

TEST(ConsoleClock, CarryMovesWholeUnitsAndKeepsTheRest) {
  struct Case {
    const char* small;
    const char* large;
    long long base;
    Carry expected;
  };
  const Case cases[] = {
      {"59", "3", 60, {"59", "3", false}},
      {"60", "3", 60, {"0", "4", true}},
      {"75", "0", 60, {"15", "1", true}},
      {"150", "", 60, {"30", "2", true}},
      {"24", "6", 24, {"0", "7", true}},
      {"30", "1", 24, {"6", "2", true}},
      {"-4", "1", 60, {"-4", "1", false}},
      {"abc", "", 60, {"abc", "", false}},
      {"99999999999999999999", "999999999999", 60, {"39", "999999999999", true}},
  };
  for (const Case& k : cases) {
    const Carry c = CarryOver(k.small, k.large, k.base);
    EXPECT_EQ(c.small, k.expected.small) << k.small;
    EXPECT_EQ(c.large, k.expected.large) << k.small;
    EXPECT_EQ(c.rolled, k.expected.rolled) << k.small;
  }
  EXPECT_EQ(Advanced("99999999999999999999"), std::to_string(kCounterLimit));
  EXPECT_EQ(Advanced("-7"), "1");
}

// A session with immune scrolls, so that only the clock runs.
struct ClockWorld : ConsoleWorld {
  explicit ClockWorld(std::uint32_t minuteMs = kMinuteMs) {
    existingMachine();
    setConfig("immune", "1");
    setData("day2", "0");
    setData("hour2", "0");
    setData("minutes2", "0");
    signOnInRoom();
    start(minuteMs);
    click("idleon");
  }
  Text clock(toolkit::Form& f) {
    return f.text("d2") + "|" + f.text("d") + "|" + f.text("h2") + "|" + f.text("h") + "|" + f.text("m2") +
           "|" + f.text("m");
  }
};

TEST(ConsoleClock, TicksRollMinutesIntoHoursAndDaysOnTheMainWindowAndTheFace) {
  ClockWorld w(1000);
  toolkit::Form& main = w.console->form();
  struct Step {
    int minutes;  // total since idle on
    const char* main;
    const char* face;
  };
  const Step steps[] = {
      {1, "0|0|0|0|0|1", "0|0|0|0|0|1"},
      {9, "0|0|0|0|0|9", "0|0|0|0|0|9"},
      {10, "0|0|0|0|0|10", "0|0|0|0||10"},  // the face drops its leading zero at two digits
      {60, "0|0|0|1|0|0", "0|0|0|1|0|0"},
      {61, "0|0|0|1|0|1", "0|0|0|1|0|1"},
      {10 * 60, "0|0|0|10|0|0", "0|0|0|10|0|0"},
      {10 * 60 + 1, "0|0|0|10|0|1", "0|0||10|0|1"},  // and the hour's at the tick after
      {11 * 60, "0|0|0|11|0|0", "0|0||11|0|0"},
      {24 * 60 - 1, "0|0|0|23|0|59", "0|0||23||59"},
      {24 * 60, "0|1|0|0|0|0", "0|1|0|0|0|0"},
      {2 * 24 * 60 + 5, "0|2|0|0|0|5", "0|2|0|0|0|5"},
  };
  int done = 0;
  for (const Step& s : steps) {
    w.minutes(s.minutes - done);
    done = s.minutes;
    EXPECT_EQ(w.clock(main), s.main) << s.minutes;
    EXPECT_EQ(w.clock(*w.face), s.face) << s.minutes;
  }
  EXPECT_EQ(main.text("d1") + "d " + main.text("h1") + "h " + main.text("m1") + "m", "2d 0h 5m");
}

TEST(ConsoleClock, OverallTimeIsSavedEveryTickAndSurvivesARestart) {
  ClockWorld w;
  w.minutes(1);
  EXPECT_EQ(w.data("minutes2"), "1");
  w.minutes(61);
  EXPECT_EQ(w.data("minutes2"), "2");
  EXPECT_EQ(w.data("hour2"), "1");
  EXPECT_EQ(w.data("day2"), "0");
  w.stop();
  Console& again = w.start();
  EXPECT_EQ(again.form().text("h1"), "1");
  EXPECT_EQ(again.form().text("m1"), "2");
  // The session does not resume by itself; the current clock starts from zero.
  EXPECT_EQ(again.menu().caption("idleon"), "idle &on");
  EXPECT_EQ(again.form().text("m"), "0");
}

TEST(ConsoleClock, StoredOverallCountersAboveTheirRollOverStillRollOver) {
  ConsoleWorld w;
  w.existingMachine();
  w.setConfig("immune", "1");
  w.setData("day2", "3");
  w.setData("hour2", "30");
  w.setData("minutes2", "75");
  Console& c = w.start();
  w.click("idleon");
  w.minutes(1);
  // 3 days 30 hours 76 minutes are 4 days 7 hours 16 minutes.
  EXPECT_EQ(c.form().text("d1"), "4");
  EXPECT_EQ(c.form().text("h1"), "7");
  EXPECT_EQ(c.form().text("m1"), "16");
  EXPECT_EQ(w.data("day2"), "4");
  EXPECT_EQ(w.data("hour2"), "7");
  EXPECT_EQ(w.data("minutes2"), "16");
}

TEST(ConsoleClock, ClearOverallThenATickSavesOneMinute) {
  ClockWorld w;
  w.minutes(130);
  w.click("overallclear");
  EXPECT_EQ(w.data("hour2"), "2");  // saved by the next tick only
  w.minutes(1);
  EXPECT_EQ(w.data("minutes2"), "1");
  EXPECT_EQ(w.data("hour2"), "0");
  EXPECT_EQ(w.data("day2"), "0");
}

// The minutes of the session at which a time line went into the room.
std::vector<int> ScrollMinutes(ConsoleWorld& w, std::size_t mark) {
  std::vector<int> at;
  for (const Text& line : w.saidSince(mark)) {
    const std::size_t h = line.find("h . ");
    if (line.find("vantarý³ · 0d . "_ansi) != Text::npos && h != Text::npos) {
      at.push_back(static_cast<int>(text::NumericInt(line.substr(h + 4))));
    }
  }
  return at;
}

TEST(ConsoleClock, ScrollMomentsFollowTheInterval) {
  struct Case {
    const char* interval;
    int minutes;
    std::vector<int> scrolls;
  };
  const Case cases[] = {
      {"1", 4, {1, 2, 3, 4}},
      {"5", 11, {5, 10}},
      {"12", 25, {12, 24}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.interval);
    ConsoleWorld w(Generation::k5, std::string("-") + k.interval);
    w.existingMachine();
    w.setConfig("immune", "0");
    w.setConfig("reas", "0");
    w.setConfig("int", k.interval);
    w.signOnInRoom();
    w.start();
    w.click("idleon");
    const std::size_t said = w.markTranscript();
    w.minutes(k.minutes);
    EXPECT_EQ(ScrollMinutes(w, said), k.scrolls);
  }
}

TEST(ConsoleClock, ScrollsResumeAfterImmuneScrollsHeldThemPastTheInterval) {
  ConsoleWorld w;
  w.existingMachine();
  w.setConfig("immune", "0");
  w.setConfig("reas", "0");
  w.setConfig("int", "5");
  w.signOnInRoom();
  Console& c = w.start();
  w.click("idleon");
  const std::size_t said = w.markTranscript();
  c.menu().check("immune", true);
  w.minutes(7);
  EXPECT_EQ(c.form().text("scrolletr"), "7");
  c.menu().check("immune", false);
  w.minutes(6);
  // At once on the first free minute, then the interval again.
  EXPECT_EQ(ScrollMinutes(w, said), (std::vector<int>{8, 13}));
}

TEST(ConsoleClock, IntervalCommandAsksUntilItGetsANumberFromOneToTwelve) {
  struct Case {
    std::vector<std::optional<Text>> answers;
    const char* interval;
  };
  const Case cases[] = {
      {{Text("7 minutes")}, "7"},
      {{Text("1a2")}, "12"},
      {{Text("0"), Text("13"), std::nullopt, Text(""), Text("3")}, "3"},
      {{Text("99999999999999999999999"), Text("012")}, "12"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.interval);
    ConsoleWorld w(Generation::k5, std::string("-") + std::to_string(&k - cases));
    w.existingMachine();
    Console& c = w.start();
    c.form().setText("scrolletr", "4");
    // Each refused answer is followed by the error box, which the user closes.
    for (std::size_t i = 0; i < k.answers.size(); ++i) {
      const auto& a = k.answers[i];
      w.world.queueDialogAnswer(a ? DialogAnswer::Input(*a) : DialogAnswer::Cancel());
      if (i + 1 < k.answers.size()) w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdOk));
    }
    w.click("scrollint");
    EXPECT_EQ(c.form().text("scroll"), k.interval);
    EXPECT_EQ(c.menu().caption("scrollint"), std::string("scroll interval: ") + k.interval);
    EXPECT_EQ(w.config("int"), k.interval);
    EXPECT_EQ(c.form().text("scrolletr"), "0");
    int questions = 0;
    int errors = 0;
    for (const auto& d : w.world.dialogs()) {
      if (d.kind == platform::sim::DialogRecord::Kind::kInputBox) {
        ++questions;
        EXPECT_EQ(d.text, "scroll interval, enter a number between ( 1 - 12 )");
        EXPECT_EQ(d.title, "scroll interval");
      } else {
        ++errors;
        EXPECT_EQ(d.text, "enter a number between ( 1 - 12 )");
        EXPECT_EQ(d.title, "critical error");
      }
    }
    EXPECT_EQ(questions, static_cast<int>(k.answers.size()));
    EXPECT_EQ(errors, static_cast<int>(k.answers.size()) - 1);
  }
}

TEST(ConsoleClock, ReportCommandsSendTheirLinesAndStartTheClock) {
  ConsoleWorld w;
  w.existingMachine();
  w.setData("day2", "1");
  w.setData("hour2", "2");
  w.setData("minutes2", "3");
  w.setConfig("immune", "1");
  w.signOnInRoom("Lobby", RoomLayout::kPlain);
  Console& c = w.start();
  std::size_t taken = w.markTaken();
  w.click("curidle");
  EXPECT_EQ(w.takenSince(taken),
            (std::vector<Text>{Text("°› vantarý³ · cur. idle"_ansi), Text("‹° stats: 0d . 0h . 0m ·"_ansi)}));
  // Not idling, yet the report left the main timer running: the clock counts.
  EXPECT_TRUE(c.mainTimer().enabled());
  w.minutes(2);
  EXPECT_EQ(c.form().text("m"), "2");
  taken = w.markTaken();
  w.click("overall");
  EXPECT_EQ(w.takenSince(taken), (std::vector<Text>{Text("°› vantarý³ · cur. overall"_ansi),
                                                    Text("‹° stats: 1d . 2h . 5m ·"_ansi)}));
}

// The minutes each time line the host took says: "... · 1d . 2h . 3m ·".
std::vector<long long> TimeLineMinutes(const std::vector<Text>& taken) {
  std::vector<long long> at;
  for (const Text& line : taken) {
    const std::size_t head = line.find("vantarý³ · "_ansi);
    const std::size_t d = line.find("d . ", head);
    if (head == Text::npos || d == Text::npos) continue;
    const std::size_t h = line.find("h . ", d);
    const Text days = line.substr(head + Text("vantarý³ · "_ansi).size());
    at.push_back(text::NumericInt(days) * 1440 + text::NumericInt(line.substr(d + 4)) * 60 +
                 text::NumericInt(line.substr(h + 4)));
  }
  return at;
}

// The host takes one line per 20 s while a download and an upload run: a scroll of four
// lines takes over a minute, the ticks that fall inside it never come, and the reports
// hold the main timer for over a minute while their lines go out. At each tick, once its
// scroll has gone, the clock shows the whole minutes since idle on.
TEST(ConsoleClock, ClockShowsTheTimeAwayWhileFloodControlHoldsTheScrolls) {
  ConsoleWorld w;
  w.existingMachine();
  w.setConfig("int", "1");
  w.setConfig("reas", "1");
  w.setConfig("mm", "1");
  w.setConfig("dlul", "1");
  w.setConfig("immune", "0");
  w.setData("day2", "0");
  w.setData("hour2", "0");
  w.setData("minutes2", "0");
  w.signOnInRoom();
  w.host.setTranscriptLimit(200);
  Console& c = w.start();
  ASSERT_NE(w.host.startTransfer(hostsim::TransferKind::kDownload, "Song.MP3", 400 * 60'000), 0);
  ASSERT_NE(w.host.startTransfer(hostsim::TransferKind::kUpload, "Pic.JPG", 400 * 60'000), 0);
  w.host.setChatRateLimit(1, 20'000);
  w.click("idleon");
  auto& loop = w.program().loop;
  const std::uint64_t idleOn = c.mainTimer().period().startMs;
  const std::size_t taken = w.markTaken();
  toolkit::Form& f = c.form();
  const auto shown = [](ClockFace& face) {
    return CounterValue(face.label("d")) * 1440 + CounterValue(face.label("h")) * 60 +
           CounterValue(face.label("m"));
  };
  FormClockFace main(f);
  for (int hour = 1; hour <= 3; ++hour) {
    SCOPED_TRACE(hour);
    if (hour == 2) {
      w.click("curidle");
      w.click("overall");
    }
    // To the first tick from the hour on: the main timer's period began at idle on, or
    // anew with the reports.
    const std::uint64_t hourMark = idleOn + static_cast<std::uint64_t>(hour) * 3'600'000;
    const std::uint64_t periodStart = c.mainTimer().period().startMs;
    const std::uint64_t tick = periodStart + (hourMark - periodStart + 59'999) / 60'000 * 60'000;
    if (loop.nowMs() <= tick) w.world.runFor(tick + 1 - loop.nowMs());
    const long long away = static_cast<long long>((loop.nowMs() - idleOn) / 60'000);
    EXPECT_EQ(shown(main), away);
    EXPECT_EQ(shown(*w.clockFace), away);
    EXPECT_EQ(CounterValue(f.text("h1")) * 60 + CounterValue(f.text("m1")), away);
    EXPECT_EQ(CounterValue(w.data("hour2")) * 60 + CounterValue(w.data("minutes2")), away);
  }
  // A tick sends one scroll at most: the minutes the flood control held a scroll for are
  // counted without scrolls of their own, so each time line comes two minutes or more
  // after the one before it.
  const std::vector<long long> lines = TimeLineMinutes(w.takenSince(taken));
  EXPECT_GT(lines.size(), 50u);
  for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_GE(lines[i] - lines[i - 1], 2) << i;
  EXPECT_GT(w.host.chatLinesRefused(), 0);
}

}  // namespace
}  // namespace vantary::console::testing
