// The status scrolls: the standard scroll's lines, the reason and the rotating multiple
// messages, the periodic transfer lines, the scroll-transfer command and the dlul option.
#include <gtest/gtest.h>

#include "tests/world/console_fixture.h"

namespace vantary::console::testing {
namespace {

using hostsim::TransferKind;

// The status prefixes P(A1), P(A2), P(A3) with the design decorations and colours.
const Text kP1("</u></s></i></b><font color=#336699>°›<font color=#000000"_ansi);
const Text kP2("</u></s></i></b><font color=#336699>‹°<font color=#000000"_ansi);
const Text kP3("</u></s></i></b><font color=#336699>°`·–›<font color=#000000"_ansi);

// A session on an existing machine, signed on in a room, every minute a scroll moment.
struct ScrollWorld : ConsoleWorld {
  explicit ScrollWorld(RoomLayout layout = RoomLayout::kRich, const std::string& suffix = "")
      : ConsoleWorld(Generation::k5, suffix) {
    existingMachine();
    setConfig("int", "1");
    setConfig("reas", "0");
    setConfig("dlul", "0");
    setConfig("immune", "0");
    signOnInRoom("Lobby", layout);
  }
};

TEST(ConsoleScroll, StandardScrollTimeLineByteForByteInEitherLayout) {
  for (RoomLayout layout : {RoomLayout::kRich, RoomLayout::kPlain}) {
    const bool rich = layout == RoomLayout::kRich;
    SCOPED_TRACE(rich ? "rich" : "plain");
    ScrollWorld w(layout, rich ? "-rich" : "-plain");
    w.setData("autoascii1", "");
    // A short minute: the clock counts ticks, and a day of them passes quicker.
    Console& c = w.start(1000);
    w.click("idleon");
    // A day, two hours and two minutes held back by immune scrolls; the next minute,
    // with immune off, is a scroll moment.
    c.menu().check("immune", true);
    w.minutes(24 * 60 + 2 * 60 + 2);
    c.menu().check("immune", false);
    const std::size_t taken = w.markTaken();
    const std::size_t said = w.markTranscript();
    w.minutes(1);
    const Text expected(
        rich ? "</u></s></i></b><font color=#336699><font color=#000000> vantarý³ · 1d . 2h . 3m ·"_ansi
             : " vantarý³ · 1d . 2h . 3m ·"_ansi);
    EXPECT_EQ(w.takenSince(taken), std::vector<Text>{expected});
    EXPECT_EQ(w.saidSince(said), std::vector<Text>{Text(" vantarý³ · 1d . 2h . 3m ·"_ansi)});
  }
}

TEST(ConsoleScroll, ReasonLineFollowsTheTimeLineWhenChosen) {
  ScrollWorld w;
  w.setConfig("reas", "1");
  w.setConfig("mm", "1");
  w.setConfig("reason", "Gone Fishing");
  w.start();
  w.click("idleon");
  const std::size_t taken = w.markTaken();
  w.minutes(1);
  EXPECT_EQ(w.takenSince(taken),
            (std::vector<Text>{kP1 + Text("> vantarý³ · 0d . 0h . 1m ·"_ansi), kP2 + "> re: Gone Fishing"}));
}

TEST(ConsoleScroll, MultipleMessagesRotateOnePerScrollMoment) {
  struct Case {
    const char* file;
    std::vector<Text> sent;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", {"a", "b", "a"}},
      {"only\r\n", {"only", "only"}},
      {"x\r\ny\r\nz\r\n", {"x", "y", "z", "x"}},
      // An empty list falls back on the program's own message, which joins the list.
      {"", {editors::DefaultMultipleMessage(), editors::DefaultMultipleMessage()}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.file);
    ScrollWorld w(RoomLayout::kRich, "-" + std::to_string(&k - cases));
    w.setConfig("reas", "1");
    w.setConfig("mm", "0");
    if (*k.file != 0) {
      ASSERT_TRUE(w.program().files.writeFileAtomic(w.path("messages"), k.file));
    }
    w.start();
    w.click("idleon");
    const std::size_t taken = w.markTaken();
    w.minutes(static_cast<int>(k.sent.size()));
    std::vector<Text> reasons;
    for (const Text& line : w.takenSince(taken)) {
      if (line.rfind(kP2 + "> re: ", 0) == 0) reasons.push_back(line.substr(kP2.size() + 6));
    }
    EXPECT_EQ(reasons, k.sent);
  }
}

TEST(ConsoleScroll, RotationWaitsWhileTheReasonLineIsOff) {
  ScrollWorld w;
  w.setConfig("mm", "0");
  ASSERT_TRUE(w.program().files.writeFileAtomic(w.path("messages"), "a\r\nb\r\n"));
  Console& c = w.start();
  w.click("idleon");
  w.minutes(3);
  EXPECT_EQ(c.editors().messages->selectedIndex("rnd"), -1);
}

TEST(ConsoleScroll, PeriodicTransferLinesForDownloadUploadAndBrowser) {
  ScrollWorld w;
  w.setConfig("dlul", "1");
  w.start();
  // 4030 s: after a minute 1% is done and 67 minutes are left.
  ASSERT_NE(w.host.startTransfer(TransferKind::kDownload, "Song.MP3", 4'030'000), 0);
  ASSERT_NE(w.host.startTransfer(TransferKind::kUpload, "Pic.JPG", 4'030'000), 0);
  w.host.openBrowserDownload("45% of Setup.EXE Completed");
  w.click("idleon");
  const std::size_t taken = w.markTaken();
  w.minutes(1);
  EXPECT_EQ(w.takenSince(taken), (std::vector<Text>{
                                     kP1 + Text("> vantarý³ · 0d . 0h . 1m ·"_ansi),
                                     kP3 + Text("> d.file: song.mp3\r\n. 1p .\r\n67m ·"_ansi),
                                     kP3 + Text("> u.file: pic.jpg . 1p . 67m ·"_ansi),
                                     kP3 + "> ie.file: 45% of setup.exe",
                                 }));
  EXPECT_EQ(w.console->form().text("lblfile"), "pic.jpg");
  EXPECT_EQ(w.console->form().text("lblper"), "File Transfer - 1%");
}

TEST(ConsoleScroll, PeriodicUploadLineGoesPlainFirstInThePlainRoom) {
  ScrollWorld w(RoomLayout::kPlain);
  w.setConfig("dlul", "1");
  w.start();
  ASSERT_NE(w.host.startTransfer(TransferKind::kUpload, "Pic.JPG", 4'030'000), 0);
  w.click("idleon");
  const std::size_t taken = w.markTaken();
  w.minutes(1);
  EXPECT_EQ(w.takenSince(taken), (std::vector<Text>{
                                     Text("°› vantarý³ · 0d . 0h . 1m ·"_ansi),
                                     Text("°`·–› u.file: pic.jpg . 1p . 67m ·"_ansi),
                                 }));
}

TEST(ConsoleScroll, NoTransferLinesWithoutTransfersOrWithDlulOff) {
  for (const char* dlul : {"0", "1"}) {
    SCOPED_TRACE(dlul);
    ScrollWorld w(RoomLayout::kRich, std::string("-") + dlul);
    w.setConfig("dlul", dlul);
    w.start();
    if (*dlul == '0') w.host.startTransfer(TransferKind::kDownload, "Song.MP3", 4'030'000);
    w.click("idleon");
    const std::size_t taken = w.markTaken();
    w.minutes(1);
    EXPECT_EQ(w.takenSince(taken).size(), 1u);
  }
}

TEST(ConsoleScroll, ScrollTransferCommandBragsAboutTheRunningTransfer) {
  struct Case {
    const char* name;
    bool download;
    bool upload;
    std::vector<Text> sent;
  };
  const Case cases[] = {
      {"download",
       true,
       true,  // the download wins
       {kP1 + Text("> vantarý³ · brag dlstats ·"_ansi),
        kP2 + Text("> d.file: song.mp3\r\n. 1p . \r\n67m ·"_ansi)}},
      {"upload",
       false,
       true,
       {kP1 + Text("> vantarý³ · brag ulstats ·"_ansi),
        kP2 + Text("></u></b></s></i> u.file: pic.jpg . 1p . 67m ·"_ansi)}},
      {"none", false, false, {kP1 + Text("> vantarý³ · not currently ul'n / dl'n ·"_ansi)}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ScrollWorld w(RoomLayout::kRich, std::string("-") + k.name);
    w.start();
    if (k.download) w.host.startTransfer(TransferKind::kDownload, "Song.MP3", 4'030'000);
    if (k.upload) w.host.startTransfer(TransferKind::kUpload, "Pic.JPG", 4'030'000);
    w.world.runFor(60'000);
    const std::size_t taken = w.markTaken();
    w.click("scroltrans");
    EXPECT_EQ(w.takenSince(taken), k.sent);
  }
}

TEST(ConsoleScroll, ScrollTransferCommandDoesNothingWhenSignedOff) {
  ScrollWorld w;
  w.start();
  w.host.signOff();
  const std::size_t taken = w.markTaken();
  w.click("scroltrans");
  EXPECT_TRUE(w.takenSince(taken).empty());
}

TEST(ConsoleScroll, DlulToggleIsStoredAndCheckingItEndsImmuneScrolls) {
  ScrollWorld w;
  w.setConfig("immune", "1");
  w.setConfig("dlul", "0");
  Console& c = w.start();
  // Immune greys the item; a user cannot reach it until immune is off.
  EXPECT_FALSE(c.menu().enabled("dlul"));
  c.menu().enable("dlul", true);
  w.click("dlul");
  EXPECT_TRUE(c.menu().checked("dlul"));
  EXPECT_FALSE(c.menu().checked("immune"));
  EXPECT_EQ(w.config("dlul"), "1");
  // The key stands upper-case in the file.
  EXPECT_NE(w.program().files.readFile(w.path("config")).value_or("").find("DLUL=1"), Text::npos);
  c.menu().check("immune", true);
  w.click("dlul");
  EXPECT_FALSE(c.menu().checked("dlul"));
  EXPECT_TRUE(c.menu().checked("immune"));
  EXPECT_EQ(w.config("dlul"), "0");
}

}  // namespace
}  // namespace vantary::console::testing
