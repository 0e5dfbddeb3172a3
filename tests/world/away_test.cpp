// The away log and the auto-reply: what a user who comes back finds, and what members who
// asked for them got.
#include <gtest/gtest.h>

#include "console/away.h"
#include "tests/world/console_fixture.h"

namespace vantary::console::testing {
namespace {

struct AwayWorld : ConsoleWorld {
  AwayWorld() {
    existingMachine();
    setConfig("offbe", "0");
    setConfig("onaf", "0");
    signOnInRoom();
    for (const char* member : {"Bob", "Ann", "River Stone", "Cy", "Dee", "Eve", "Fay"})
      host.join(room, member);
  }
  void say(const char* sender, const Text& line) {
    host.say(room, sender, line);
    world.runFor(300);
  }
  Text awayLog() { return program().files.readFile(settings::PathsOf(program().files).awayLog).value_or(""); }
};

TEST(AwayLog, KeepsWhatNamedTheUserOrCameFromAWatchedMemberAndShowsItAtIdleOff) {
  AwayWorld w;
  w.setConfig("watch", "riverstone, Nobody");
  const Text logPath = settings::PathsOf(w.program().files).awayLog;
  // An away.log at its bound: the oldest lines make room for the new ones.
  std::string old;
  while (old.size() < kAwayLogLimit - 10) old += "2025-01-01 00:00:00 [Lobby] Old: line\r\n";
  ASSERT_TRUE(w.program().files.writeFileAtomic(logPath, old));
  Console& c = w.start(1000);
  w.say("Bob", "kestro, said before the session");
  w.click("idleon");
  const struct {
    const char* sender;
    const char* line;
    bool kept;
  } rows[] = {
      {"Bob", "hey KESTRO are you there?", true},    {"Bob", "k estro: ping", true},
      {"Bob", "kestrophobia is real", false},        {"Ann", "hello room", false},
      {"River Stone", "just passing through", true}, {"kestro", "kestro is away", false},
  };
  std::vector<Text> expected;
  for (const auto& row : rows) {
    w.say(row.sender, row.line);
    if (row.kept) expected.push_back(Text(row.sender) + ": " + row.line);
  }
  EXPECT_EQ(c.awayWindow(), nullptr);
  w.click("idleon");
  ASSERT_NE(c.awayWindow(), nullptr);
  EXPECT_TRUE(c.awayWindow()->visible());
  std::vector<Text> shown = c.awayWindow()->items("List1");
  for (Text& s : shown) s = s.substr(s.find("  ") + 2);  // without the time
  EXPECT_EQ(shown, expected);

  const Text log = w.awayLog();
  EXPECT_LE(log.size(), kAwayLogLimit);
  EXPECT_EQ(log.rfind("2025-01-01 00:00:00 [Lobby] Old: line\r\n", 0), 0u);
  EXPECT_NE(log.find("2026-01-01 12:"), Text::npos);
  EXPECT_TRUE(log.ends_with(" [Lobby] River Stone: just passing through\r\n"));
  // "clear" empties the window and what the next idle off would show.
  w.program().windows.sendClick(c.awayWindow()->control("SSRibbon1"));
  EXPECT_TRUE(c.awayEntries().empty());
}

// Members who name the user while away get one answer each per period, three a minute in
// all; a line of any idler's, or one repeating the answer, gets none.
TEST(AwayLog, AutoReplyAnswersEachMemberOncePerPeriodAndNeverAnotherIdler) {
  AwayWorld w;
  w.setConfig("awayreply", "1");
  w.setConfig("replytext", "gone: r$");
  w.setConfig("reason", "lunch");
  w.setConfig("mm", "1");
  w.start();
  w.click("idleon");
  const std::size_t mark = w.markTranscript();
  const struct {
    std::uint32_t atSecond;
    const char* sender;
    std::string_view line;
  } said[] = {
      {0, "Bob", "kestro?"_ansi},
      {30, "Bob", "kestro!! hello"_ansi},
      {40, "Ann", "hi kestro"_ansi},
      {50, "Fay", "°› vantarý³ · cy: gone: kestro"_ansi},
      {55, "Cy", "gone: lunch, kestro"_ansi},
      {56, "Dee", "kestro"_ansi},
      {57, "Eve", "kestro"_ansi},
      {700, "Bob", "kestro back yet?"_ansi},
  };
  std::uint32_t now = 0;
  for (const auto& s : said) {
    w.world.runFor((s.atSecond - now) * 1000ull);
    now = s.atSecond;
    w.host.say(w.room, s.sender, Text(s.line));
  }
  w.world.runFor(2000);
  std::vector<Text> answers;
  for (const Text& line : w.saidSince(mark)) {
    const std::size_t at = line.find("vantarý³ · "_ansi);
    if (at != Text::npos && line.find(": gone: lunch") != Text::npos) answers.push_back(line.substr(at));
  }
  const auto answer = [](const char* member) { return Text("vantarý³ · "_ansi) + member + ": gone: lunch"; };
  EXPECT_EQ(answers, (std::vector<Text>{answer("bob"), answer("ann"), answer("dee"), answer("bob")}));
}

// The settings window sets both: a period that is no number of minutes keeps it open and
// stores nothing; a save stores every key, and what it holds counts at once.
TEST(AwayLog, TheSettingsWindowStoresBothAndRefusesABadPeriod) {
  AwayWorld w;
  Console& c = w.start();
  w.click("awayset");
  windows::AwaySettingsWindow* s = c.awaySettingsWindow();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->held().period, "10");
  EXPECT_TRUE(s->held().keepLog);
  s->fill({"Ann\r\n  River Stone \r\n\r\n", "brb r$", "0", true, true});
  w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdOk));
  w.program().windows.sendClick(s->control("SSRibbon1"));
  EXPECT_TRUE(s->visible());
  EXPECT_EQ(w.world.dialogs().size(), 1u);
  EXPECT_EQ(w.config("awayreply"), "");
  s->setText("Text3", "5");
  w.program().windows.sendClick(s->control("SSRibbon1"));
  EXPECT_FALSE(s->visible());
  EXPECT_EQ(w.config("watch"), "Ann,River Stone");
  EXPECT_EQ(w.config("replytext"), "brb r$");
  EXPECT_EQ(w.config("replyperiod"), "5");
  EXPECT_EQ(w.config("awayreply"), "1");
  EXPECT_TRUE(c.menu().checked("awayreply"));
  w.click("idleon");
  w.say("River Stone", "a watched line");
  EXPECT_EQ(c.awayEntries().size(), 1u);
}

// A held or read-only away.log: the window shows every line, the user is told once, and the
// file takes the lines once it can be written.
TEST(AwayLog, AnUnwritableFileLosesNothingAndIsToldOnce) {
  AwayWorld w;
  const Text logPath = settings::PathsOf(w.program().files).awayLog;
  ASSERT_TRUE(w.program().files.writeFileAtomic(logPath, ""));
  Console& c = w.start(1000);
  w.world.setFileReadOnly(logPath, true);
  w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdOk));
  w.click("idleon");
  w.say("Bob", "kestro one");
  w.say("Bob", "kestro two");
  w.world.setFileReadOnly(logPath, false);
  w.say("Bob", "kestro three");
  w.click("idleon");
  EXPECT_EQ(c.awayWindow()->items("List1").size(), 3u);
  ASSERT_EQ(w.world.dialogs().size(), 1u);
  EXPECT_NE(w.world.dialogs()[0].text.find("away.log could not be written"), Text::npos);
  const Text log = w.awayLog();
  EXPECT_NE(log.find("Bob: kestro one\r\n"), Text::npos);
  EXPECT_NE(log.find("Bob: kestro three\r\n"), Text::npos);
}

}  // namespace
}  // namespace vantary::console::testing
