// The idle session: idle on and off from the menu with the room and instant-message
// options, on generation "95", and the end command's out-stats lines.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/world/console_fixture.h"

namespace vantary::console::testing {
namespace {

const Text kEngagedRich("</u></s></i></b><font color=#336699>°›<font color=#000000> vantarý³ · engaged"_ansi);
const Text kDisengagedRich(
    "</u></s></i></b><font color=#336699>°›<font color=#000000> vantarý³ · dis-engaged"_ansi);

TEST(ConsoleSession, IdleOnWithoutOptionsSendsTheEngagedLineAndStartsTheClock) {
  for (RoomLayout layout : {RoomLayout::kRich, RoomLayout::kPlain}) {
    const bool rich = layout == RoomLayout::kRich;
    SCOPED_TRACE(rich ? "rich" : "plain");
    ConsoleWorld w(Generation::k5, rich ? "-rich" : "-plain");
    w.existingMachine();
    w.setConfig("roomenter", "0");
    w.setConfig("offbe", "0");
    w.setData("autoascii1", Text("°›"_ansi));
    w.signOnInRoom("Lobby", layout);
    Console& c = w.start();
    const std::size_t taken = w.markTaken();
    const std::size_t said = w.markTranscript();
    w.click("idleon");
    EXPECT_EQ(w.takenSince(taken),
              std::vector<Text>{rich ? kEngagedRich : Text("°› vantarý³ · engaged"_ansi)});
    EXPECT_EQ(w.saidSince(said), std::vector<Text>{Text("°› vantarý³ · engaged"_ansi)});
    EXPECT_EQ(c.menu().caption("idleon"), "idle of&f");
    EXPECT_TRUE(c.mainTimer().enabled());
    EXPECT_TRUE(w.host.keywordsRun().empty());
    EXPECT_TRUE(w.host.sentInstantMessages().empty());
    EXPECT_TRUE(w.host.instantMessagesOn());
  }
}

TEST(ConsoleSession, IdleOnWithRoomAndInstantMessageOptionsEntersTheRoomAndSwitchesMessagesOff) {
  ConsoleWorld w;
  w.existingMachine();
  w.setConfig("roomenter", "1");
  w.setConfig("setroom", "Den");
  w.setConfig("offbe", "1");
  w.setConfig("onaf", "1");
  w.signOnInRoom();
  // A minute far shorter than the room and the instant messages take: no time line comes
  // before the session has started.
  Console& c = w.start(20);
  w.click("idleon");
  EXPECT_FALSE(w.host.instantMessagesOn());
  ASSERT_FALSE(w.host.sentInstantMessages().empty());
  EXPECT_EQ(w.host.sentInstantMessages().back().recipient, "$im_off");
  EXPECT_EQ(w.host.sentInstantMessages().back().text, ";]");
  // The private room was entered; the engaged line goes there first.
  const Window den = w.host.findRoom("Den");
  ASSERT_TRUE(den);
  EXPECT_LT(w.host.transcript(den).find(Text("vantarý³ · engaged"_ansi)), w.host.transcript(den).find("h . "))
      << U(w.host.transcript(den));

  // Idle off switches them back on and says so.
  w.room = den;
  const std::size_t said = w.markTranscript();
  w.click("idleon");
  EXPECT_TRUE(w.host.instantMessagesOn());
  EXPECT_EQ(w.host.sentInstantMessages().back().recipient, "$im_on");
  EXPECT_EQ(w.saidSince(said), std::vector<Text>{Text("°› vantarý³ · dis-engaged"_ansi)});
  EXPECT_EQ(c.menu().caption("idleon"), "idle &on");
}

TEST(ConsoleSession, IdleOnGeneration95RunsTheRoomKeywordAndSaysItEnteredPlainly) {
  ConsoleWorld w(Generation::k3);
  w.existingMachine();
  w.setConfig("roomenter", "1");
  w.setConfig("setroom", "My Room");
  w.setConfig("offbe", "0");
  w.signOnInRoom("Lobby", RoomLayout::kPlain);
  Console& c = w.start();
  EXPECT_EQ(c.host().GetHostVersionText(), "95");
  const std::size_t taken = w.markTaken();
  w.click("idleon");
  // The keyword window's button was pressed by a posted click, which runs with events.
  w.world.runFor(1000);
  EXPECT_EQ(w.host.roomName(w.host.currentRoom()), "My Room");
  ASSERT_FALSE(w.host.keywordsRun().empty());
  EXPECT_EQ(w.host.keywordsRun().back(), "aol://2719:2-2-My Room");
  const std::vector<Text> lines = w.takenSince(taken);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], Text("°› vantarý³ · enter'd. myroom"_ansi));
  EXPECT_EQ(lines[1], Text("°› vantarý³ · engaged"_ansi));
}

TEST(ConsoleSession, IdleOffResetsTheCurrentClockButKeepsTheOverallOne) {
  ConsoleWorld w;
  w.existingMachine();
  w.setConfig("int", "12");
  w.signOnInRoom();
  Console& c = w.start();
  w.click("idleon");
  w.minutes(125);
  EXPECT_EQ(c.form().text("h"), "2");
  EXPECT_EQ(c.form().text("m"), "5");
  EXPECT_EQ(w.face->text("h"), "2");
  w.click("idleon");
  for (const char* label : {"m", "h", "d", "m2", "h2", "d2"}) {
    EXPECT_EQ(c.form().text(label), "0") << label;
    EXPECT_EQ(w.face->text(label), "0") << label;
  }
  EXPECT_EQ(c.form().text("h1"), "2");
  EXPECT_EQ(c.form().text("m1"), "5");
  EXPECT_FALSE(c.mainTimer().enabled());
  // No more ticks once off.
  w.minutes(3);
  EXPECT_EQ(c.form().text("m"), "0");
}

TEST(ConsoleSession, IdleOffWithInstantMessagesOptionButSignedOffSendsNothing) {
  ConsoleWorld w;
  w.existingMachine();
  w.setConfig("onaf", "1");
  w.setConfig("offbe", "0");
  w.signOnInRoom();
  Console& c = w.start();
  w.click("idleon");
  w.minutes(2);
  w.host.signOff();
  const std::size_t taken = w.markTaken();
  w.click("idleon");
  EXPECT_EQ(c.form().text("m"), "0");
  EXPECT_EQ(c.menu().caption("idleon"), "idle &on");
  EXPECT_TRUE(w.takenSince(taken).empty());
  EXPECT_TRUE(w.host.sentInstantMessages().empty());
}

TEST(ConsoleSession, PostedCommandIdentifierRunsTheItemAsAClickDoes) {
  ConsoleWorld w;
  w.existingMachine();
  w.signOnInRoom();
  Console& c = w.start();
  auto& ws = w.program().windows;
  // An outside program finds the main window by its caption and posts the identifier.
  const Window main = ws.findWindow("", "vantary³ by kestro"_ansi);
  ASSERT_TRUE(main);
  ws.post(main, msg::kCommand, static_cast<std::uintptr_t>(MenuCommand::kIdleOn), 0);
  EXPECT_EQ(c.menu().caption("idleon"), "idle &on");  // posted: runs when events run
  w.world.runFor(10);
  EXPECT_EQ(c.menu().caption("idleon"), "idle of&f");
  // A greyed item does nothing, however it is reached.
  ws.post(main, msg::kCommand, static_cast<std::uintptr_t>(MenuCommand::kSetRoom), 0);
  w.world.runFor(10);
  EXPECT_TRUE(w.world.dialogs().empty());
}

TEST(ConsoleSession, EndSendsTheOutStatsLinesAndQuitsWithoutDisengaging) {
  ConsoleWorld w;
  w.existingMachine();
  w.setData("day2", "1");
  w.setData("hour2", "23");
  w.setData("minutes2", "59");
  w.setConfig("int", "12");
  w.signOnInRoom();
  Console& c = w.start();
  bool ended = false;
  c.setEndHandler([&] { ended = true; });
  w.click("idleon");
  w.minutes(1);
  const std::size_t taken = w.markTaken();
  w.click("end");
  EXPECT_EQ(
      w.takenSince(taken),
      (std::vector<Text>{
          Text("</u></s></i></b><font color=#336699>°›<font color=#000000> vantarý³ · by kestro · "_ansi),
          Text("</u></s></i></b><font color=#336699>‹°<font color=#000000> out stats: 2d . 0h . 0m ·"_ansi),
          Text(
              "</u></s></i></b><font color=#336699> °`·–› <font color=#000000>kestro.example/vantary ·"_ansi),
      }));
  EXPECT_TRUE(ended);
  EXPECT_TRUE(w.program().loop.quitRequested());
  EXPECT_FALSE(c.mainTimer().enabled());
  EXPECT_FALSE(c.chatScanner().running());
  // The overall time was saved by the last tick; nothing else is written at exit.
  EXPECT_EQ(w.data("day2"), "2");
}

// The hidden main window closed by another program ends the program as "end" does, rather
// than leaving it running without its controls.
TEST(ConsoleSession, MainWindowClosedFromOutsideEndsTheProgramAsEndDoes) {
  ConsoleWorld w;
  w.existingMachine();
  w.signOnInRoom();
  Console& c = w.start();
  const std::size_t taken = w.markTaken();
  w.hostProcess.platform().windows.post(c.form().window(), msg::kClose);
  w.world.runFor(10);
  EXPECT_TRUE(c.form().alive());
  ASSERT_EQ(w.takenSince(taken).size(), 3u);
  EXPECT_NE(w.takenSince(taken)[1].find("out stats: "), Text::npos);
  EXPECT_TRUE(w.program().loop.quitRequested());
}

// Windows logging off or shutting down: the process may be ended as soon as the program
// has answered, so everything happens in the answer, and nothing goes to the room.
TEST(ConsoleSession, WindowsEndingTheSessionKeepsTheTimeAndTurnsMessagesBackOn) {
  ConsoleWorld w;
  w.existingMachine();
  w.setConfig("offbe", "1");
  w.setConfig("onaf", "1");
  w.signOnInRoom();
  Console& c = w.start();
  w.click("idleon");
  w.click("mini");
  w.minutes(2);
  w.world.runFor(w.minute / 2);
  ASSERT_FALSE(w.host.instantMessagesOn());
  const std::size_t taken = w.markTaken();
  EXPECT_TRUE(w.world.endSession());
  EXPECT_TRUE(w.host.instantMessagesOn());
  EXPECT_EQ(w.data("minutes2"), "2");
  EXPECT_FALSE(w.world.trayEvents().back().added);
  EXPECT_FALSE(c.inTray());
  EXPECT_TRUE(w.program().loop.quitRequested());
  EXPECT_EQ(w.takenSince(taken), std::vector<Text>{});
}

// A program killed in the middle of a session (the task list, a crash, the power cut)
// leaves its journal; the next start puts back what it can and tells the user once. A
// session ended by idle off leaves none.
TEST(ConsoleSession, AnUnfinishedSessionIsPutRightAtTheNextStart) {
  const struct {
    const char* name;
    bool messagesOff;      // the session switched the instant messages off
    bool idleOff;          // the session ended before the program was killed
    const char* replaced;  // the journal's contents as the next start finds them (nullptr: as left)
    bool held;             // another program holds the journal at the next start
    const char* told;      // what the next start tells ("" nothing)
    const char* minutes;   // the overall minutes stored after the next start
    bool messagesOnAfter;
  } cases[] = {
      {"idle off, then killed", false, true, nullptr, false, "", "3", true},
      {"killed with the messages off", true, false, nullptr, false,
       "vantary did not end normally last time. it switched your instant messages back on.", "3", true},
      {"killed with the messages on", false, false, nullptr, false, "vantary did not end normally last time.",
       "3", true},
      {"the data file's last write failed", false, false,
       "[journal]\r\nengaged=1\r\naway=9\r\noverall=9\r\nimoff=0\r\n", false,
       "vantary did not end normally last time. 6 minutes of its last session were added to the overall "
       "time.",
       "9", true},
      {"damaged", true, false, "[journal]\r\noverall=3 minutes\r\n", false, " was damaged: nothing", "3",
       false},
      {"held", true, false, nullptr, true, " could not be read: ", "3", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ConsoleWorld w;
    w.existingMachine();
    w.setConfig("offbe", c.messagesOff ? "1" : "0");
    w.setConfig("onaf", "0");  // idle off leaves the messages as they are
    w.signOnInRoom();
    w.start(1000);
    w.click("idleon");
    w.minutes(3);
    w.world.runFor(w.minute / 2);
    if (c.idleOff) w.click("idleon");
    EXPECT_EQ(w.host.instantMessagesOn(), !c.messagesOff || c.idleOff);
    w.stop();

    const Text journal = w.path("journal");
    EXPECT_EQ(w.program().files.fileExists(journal), !c.idleOff);
    if (c.replaced != nullptr) w.program().files.writeFileAtomic(journal, c.replaced);
    w.world.setFileLocked(journal, c.held);
    w.start(1000);
    w.world.runFor(2 * kTellCheckMs);
    EXPECT_EQ(w.host.instantMessagesOn(), c.messagesOnAfter);
    if (*c.told == '\0') {
      EXPECT_EQ(w.world.dialogs().size(), 0u);
    } else {
      ASSERT_EQ(w.world.dialogs().size(), 1u);
      EXPECT_NE(w.world.dialogs()[0].text.find(c.told), Text::npos) << w.world.dialogs()[0].text;
    }
    EXPECT_EQ(w.data("minutes2"), c.minutes);
    EXPECT_EQ(w.program().files.fileExists(journal), c.held);
    w.world.setFileLocked(journal, false);
  }
}

TEST(ConsoleSession, IdleOffInTheMiddleOfAScrollEndsTheScroll) {
  ConsoleWorld w;
  w.existingMachine();
  w.setConfig("reas", "1");
  w.setConfig("mm", "1");
  w.setConfig("reason", "out to lunch");
  w.signOnInRoom();
  w.start(1000);
  // A flooded host keeps each line in the box for a while; the user ends the session
  // while the tick's time line waits there.
  w.host.setChatRateLimit(1, 1500);
  w.click("idleon");
  platform::Timer idleOff(w.program().loop, 1100, [&] {
    idleOff.setEnabled(false);
    w.click("idleon");
  });
  idleOff.setEnabled(true);
  const std::size_t mark = w.markTranscript();
  w.minutes(5);

  const std::vector<Text> said = w.saidSince(mark);
  ASSERT_FALSE(said.empty());
  std::size_t reasons = 0;
  for (const Text& line : said) {
    if (line.find(" re: ") != Text::npos) ++reasons;
  }
  // The time line in the box when idle off came still goes out (the dis-engaged line
  // passes it); the reason line and every later scroll do not.
  EXPECT_EQ(reasons, 0u) << U(said.back());
  EXPECT_NE(std::find_if(said.begin(), said.end(),
                         [](const Text& l) { return l.find("dis-engaged") != Text::npos; }),
            said.end());
}

TEST(ConsoleSession, ACommandPostedDuringStartUpRunsAfterTheInStatsLines) {
  ConsoleWorld w;
  w.existingMachine();
  w.signOnInRoom();
  Console console(w.program());
  const MenuItemDef* idleon = FindMenuItem("idleon");
  ASSERT_NE(idleon, nullptr);
  // Another program posts idle on as soon as the main window exists; the start-up
  // routine's sends let it arrive while the in-stats lines are still going out.
  w.program().windows.post(console.form().window(), msg::kCommand,
                           static_cast<std::uintptr_t>(idleon->command), 0);
  const std::size_t mark = w.markTranscript();
  console.Load();
  w.world.runFor(100);

  const std::vector<Text> said = w.saidSince(mark);
  ASSERT_EQ(said.size(), 4u);
  EXPECT_NE(said[0].find("by kestro"), Text::npos);
  EXPECT_NE(said[1].find("in stats"), Text::npos);
  EXPECT_NE(said[2].find("kestro.example"), Text::npos);
  EXPECT_NE(said[3].find("engaged"), Text::npos);
  EXPECT_TRUE(console.idling());
}

// Commands that come while another runs (its idle off pauses, its lines wait for the
// host) wait their turn: a burst posted by another program runs one command after the
// other, never one inside another, and a chat command waits for the menu's.
TEST(ConsoleSession, CommandsThatComeWhileOneRunsRunAfterItInOrder) {
  ConsoleWorld w;
  w.existingMachine();
  w.setConfig("roomenter", "0");
  w.setConfig("offbe", "0");
  w.setConfig("onaf", "0");
  w.signOnInRoom();
  Console& c = w.start();
  const MenuItemDef* idleon = FindMenuItem("idleon");
  ASSERT_NE(idleon, nullptr);
  const std::size_t mark = w.markTranscript();
  constexpr int kBurst = 1500;
  w.host.setTranscriptLimit(2 * kBurst);
  for (int i = 0; i < kBurst; ++i) {
    w.program().windows.post(c.form().window(), msg::kCommand, static_cast<std::uintptr_t>(idleon->command),
                             0);
  }
  w.host.say(w.room, Text(kUser), ".rea lunch");
  w.world.runFor(10 * 60'000);

  const std::vector<Text> said = w.saidSince(mark);
  std::vector<Text> session;
  for (const Text& line : said) {
    if (line.find("engaged") != Text::npos) session.push_back(line);
  }
  ASSERT_EQ(session.size(), static_cast<std::size_t>(kBurst));
  for (std::size_t i = 0; i < session.size(); ++i) {
    ASSERT_EQ(U(session[i]),
              i % 2 == 0 ? U("°› vantarý³ · engaged"_ansi) : U("°› vantarý³ · dis-engaged"_ansi))
        << "line " << i;
  }
  EXPECT_FALSE(c.idling());
  EXPECT_FALSE(c.mainTimer().enabled());
  // The chat command's turn came minutes after it was said: it took effect, and its
  // answer, long stale, was left out.
  EXPECT_EQ(w.config("reason"), "lunch");
  EXPECT_EQ(std::count(said.begin(), said.end(), Text("°› vantarý³ · rea: lunch"_ansi)), 0);
}

}  // namespace
}  // namespace vantary::console::testing
