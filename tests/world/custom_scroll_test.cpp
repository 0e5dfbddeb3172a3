// The custom scroll: the custom lines' macros as the room sees them, the heads of the view
// button's and the main timer's lines in both room layouts, and the scroll moments of the
// custom message mode.
#include <gtest/gtest.h>

#include <functional>

#include "tests/world/console_fixture.h"

namespace vantary::console::testing {

namespace {

using hostsim::TransferKind;

const Text kTag(" vantarý³ · "_ansi);
const Text kCloseStyles("</u></s></i></b>");

// The view button's first rich line up to the expanded text, with the default colours.
Text ViewHead(const Text& ascii1) {
  return kCloseStyles + "<font color=#336699>" + ascii1 + "<font color=#000000>" + kTag;
}

// An existing machine in the custom message mode, signed on in a rich room, every minute
// a scroll moment.
struct CustomWorld : ConsoleWorld {
  explicit CustomWorld(const std::string& suffix = "") : ConsoleWorld(Generation::k5, suffix) {
    existingMachine();
    setConfig("mm", "3");
    setConfig("int", "1");
    setConfig("reas", "0");
    setConfig("dlul", "0");
    setConfig("immune", "0");
  }
  void setLines(const std::vector<Text>& lines) {
    for (std::size_t i = 0; i < 4; ++i) {
      console->editors().customs->setText("Text" + std::to_string(i + 1), i < lines.size() ? lines[i] : "");
    }
  }
};

TEST(CustomScroll, MacrosExpandInOrderAndInLowerCase) {
  struct Case {
    const char* name;
    Text line;
    Text reason;
    Text ascii1;
    Text browser;   // the web browser's download dialog's caption, "" for none
    Text expected;  // the view button's first line in the rich room
  };
  const Text a1("‹°·"_ansi);
  const Case cases[] = {
      {"the worked example", "Away R$ for m1$ MINS", "Lunch", a1, "",
       Text(
           "</u></s></i></b><font color=#336699>‹°·<font color=#000000> vantarý³ · away lunch for 12 mins"_ansi)},
      {"a reason holding t$ shows the time", "r$", "brb t$", a1, "", ViewHead(a1) + "brb 9:05:07 pm"},
      {"a decoration line holding r$ keeps it", "as1$!", "Lunch", "x R$", "", ViewHead("x R$") + "x r$!"},
      {"tokens match inside longer words", "asc$", "", a1, "", ViewHead(a1) + "askestro"},
      {"capitals and small letters alike, every occurrence", "R$ r$", "Lunch", a1, "",
       ViewHead(a1) + "lunch lunch"},
      {"the line itself in lower case", "Hello WORLD", "", a1, "", ViewHead(a1) + "hello world"},
      {"no download: its file is nothing", "[dlf$]", "", a1, "", ViewHead(a1) + "[]"},
      {"the browser's dialog without its ending", "ie$", "", a1, "45% of setup.exe Completed",
       ViewHead(a1) + "45% of setup.exe"},
      {"the host's generation, the version", "a$ V$", "", a1, "",
       ViewHead(a1) + "5 version 2.1 beta 4 release"},
  };
  CustomWorld w;
  w.signOnInRoom();
  ASSERT_TRUE(w.program().files.writeFileAtomic(w.program().files.programFolder() + "\\click.wav", "RIFF"));
  Console& c = w.start();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    w.setLines({k.line});
    c.form().setText("gook", k.reason);
    c.form().setText("m", "12");
    c.editors().ascii->setText("Combo1", k.ascii1);
    if (!k.browser.empty()) w.host.openBrowserDownload(k.browser);
    w.world.setTimeOfDay({21, 5, 7});
    const std::size_t taken = w.markTaken();
    const std::size_t sounds = w.world.sounds().size();
    c.customScroll().sendView();
    const std::vector<Text> sent = w.takenSince(taken);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), k.expected) << U(sent.front());
    ASSERT_EQ(w.world.sounds().size(), sounds + 1);
    EXPECT_EQ(w.world.sounds().back().text, w.program().files.programFolder() + "\\click.wav");
    w.host.closeBrowserDownload();
  }
  // Values that hold each other's tokens grow a line at every step, within a bound.
  const auto repeated = [](std::string_view token) {
    Text t;
    for (int i = 0; i < 32; ++i) t += token;
    return t;
  };
  const Text grown = editors::ExpandCustomLine(repeated("as1$"), [&](editors::Macro m) {
    return m == editors::Macro::kAscii1   ? repeated("as2$")
           : m == editors::Macro::kAscii2 ? repeated("as3$")
                                          : repeated("z");
  });
  EXPECT_EQ(grown.size(), editors::kExpansionLimit);
  // "t$" around noon and midnight, on the 12-hour clock.
  EXPECT_EQ(editors::TimeOfDayText({12, 30, 0}), "12:30:00 pm");
  EXPECT_EQ(editors::TimeOfDayText({0, 5, 7}), "12:05:07 am");
}

TEST(CustomScroll, HeadsPerCallerAndPassInBothRooms) {
  const Text a1("‹°·"_ansi);
  const Text timerHead = "<font color=#336699>" + a1 + "<font color=#000000>" + kTag;
  struct Case {
    const char* name;
    bool view;
    std::vector<Text> lines;
    std::vector<Text> rich;   // what the rich room took
    std::vector<Text> plain;  // what the plain room took
  };
  const Case cases[] = {
      {"view button",
       true,
       {"One", "Two", "", "Four"},
       {ViewHead(a1) + "one", kCloseStyles + "two", kCloseStyles, kCloseStyles + "four"},
       {a1 + kTag + "one", kCloseStyles + "two", kCloseStyles, kCloseStyles + "four"}},
      // Eight sends: the rich pass's first line carries only the head, and every other
      // line its closing tags.
      {"view button, no custom lines",
       true,
       {},
       {ViewHead(a1), kCloseStyles, kCloseStyles, kCloseStyles},
       {a1 + kTag, kCloseStyles, kCloseStyles, kCloseStyles}},
      {"main timer",
       false,
       {"One", "Two", "", "Four"},
       {timerHead + "one", "two", "four"},
       {a1 + kTag + "one", "two", "four"}},
      // The lines after the first are empty, and an empty line reaches neither room.
      {"main timer, no custom lines", false, {}, {timerHead}, {a1 + kTag}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    CustomWorld w(k.view ? "-view" : "-timer");
    w.setData("autoascii1", a1);
    w.host.signOn(Text(kUser));
    // The plain room first: the rich one opens in front of it and is the room the rich
    // sender finds, while the plain sender finds the plain one.
    const Window plain = w.host.openRoom("Plain", RoomLayout::kPlain);
    const Window rich = w.host.openRoom("Rich", RoomLayout::kRich);
    Console& c = w.start();
    w.setLines(k.lines);
    if (!k.view) w.click("idleon");
    const std::uint64_t richMark = w.host.transcriptLineCount(rich);
    const std::uint64_t plainMark = w.host.transcriptLineCount(plain);
    const std::size_t taken = w.markTaken();
    if (k.view) {
      c.customScroll().sendView();
    } else {
      w.minutes(1);
    }
    std::vector<Text> expected = k.rich;
    expected.insert(expected.end(), k.plain.begin(), k.plain.end());
    EXPECT_EQ(w.takenSince(taken), expected);
    EXPECT_EQ(w.host.transcriptLineCount(rich) - richMark, k.rich.size());
    EXPECT_EQ(w.host.transcriptLineCount(plain) - plainMark, k.plain.size());
  }
}

TEST(CustomScroll, ScrollMomentsSendTheCustomLinesInsteadOfTheStandardScroll) {
  CustomWorld w;
  w.setConfig("dlul", "1");
  w.setConfig("reas", "1");
  w.setConfig("reason", "Lunch");
  w.setData("autoascii1", "‹°·"_ansi);
  w.setData("cus1", "away r$ for m1$ mins");
  w.setData("cus2", "dlf$ dlpe$ dlml$ / ulf$ ulpe$ ulml$ / ie$");
  w.signOnInRoom();
  Console& c = w.start();
  ASSERT_TRUE(c.menu().checked("custom"));
  // 4030 s: after a minute 1% is done and 67 minutes are left.
  ASSERT_NE(w.host.startTransfer(TransferKind::kDownload, "Song.MP3", 4'030'000), 0);
  ASSERT_NE(w.host.startTransfer(TransferKind::kUpload, "Pic.JPG", 4'030'000), 0);
  w.host.openBrowserDownload("45% of Setup.EXE Completed");
  w.click("idleon");
  const std::size_t taken = w.markTaken();
  w.minutes(1);
  // Neither the time line nor the reason or transfer lines: only the custom lines, with the
  // upload labels the moment read.
  const Text first = Text("<font color=#336699>‹°·<font color=#000000> vantarý³ · away lunch for "_ansi);
  const Text second = "song.mp3 1 67 / pic.jpg 1 67 / 45% of setup.exe";
  EXPECT_EQ(w.takenSince(taken), (std::vector<Text>{first + "1 mins", second}));
}

TEST(CustomScroll, IdleOffInTheMiddleOfACustomScrollEndsIt) {
  CustomWorld w;
  w.setData("cus1", "one");
  w.setData("cus2", "two");
  w.signOnInRoom();
  w.start(1000);
  // A flooded host keeps each line in the box for a while; the user ends the session
  // while the scroll's first line waits there.
  w.host.setChatRateLimit(1, 1500);
  w.click("idleon");
  platform::Timer idleOff(w.program().loop, 1100, [&] {
    idleOff.setEnabled(false);
    w.click("idleon");
  });
  idleOff.setEnabled(true);
  const std::size_t mark = w.markTranscript();
  w.minutes(5);
  // The line in the box when idle off came still goes out (the dis-engaged line passes
  // it); the next line and every later scroll do not.
  const std::vector<Text> said = w.saidSince(mark);
  bool disengaged = false;
  for (const Text& line : said) {
    EXPECT_EQ(line.find("two"), Text::npos) << U(line);
    disengaged = disengaged || line.find("dis-engaged") != Text::npos;
  }
  EXPECT_TRUE(disengaged);
}

}  // namespace

}  // namespace vantary::console::testing
