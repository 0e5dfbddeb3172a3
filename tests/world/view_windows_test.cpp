// The windows of the "vie&w" menu as the user works them: the help topics, the about
// window's screen name, and the credits with their music.
#include <gtest/gtest.h>

#include "tests/sim_root.h"
#include "tests/world/console_fixture.h"
#include "windows/credits_window.h"

namespace vantary::console::testing {
namespace {

using platform::sim::SoundRecord;
using toolkit::Form;

struct ViewWorld : ConsoleWorld {
  ViewWorld() { existingMachine(); }
  void chooseTopic(Form& help, int row) {
    platform::WindowSystem& ws = program().windows;
    ws.comboSelect(help.control("Combo1"), row);
    ws.send(help.window(), msg::kCommand, static_cast<std::uintptr_t>(msg::kCbnSelChange) << 16,
            static_cast<platform::LParam>(help.control("Combo1").value));
  }
  void clickOn(Form& form, std::string_view control) { program().windows.sendClick(form.control(control)); }
  void programFile(std::string_view name) {
    ASSERT_TRUE(program().files.writeFileAtomic(program().files.programFolder() + "\\" + Text(name), "x"));
  }
  std::vector<Text> mciSince(std::size_t mark) {
    std::vector<Text> commands;
    for (std::size_t i = mark; i < world.sounds().size(); ++i) {
      if (world.sounds()[i].kind == SoundRecord::Kind::kMci) commands.push_back(world.sounds()[i].text);
    }
    return commands;
  }
};

// Watches a caption as time goes by, between the run's own waits: each caption that is
// not what is left of the one before is a new one.
struct CaptionWatch {
  CaptionWatch(platform::Platform& p, Window label, std::function<void(std::size_t shown)> each = {})
      : p_(p), label_(label), each_(std::move(each)), timer_(p.loop, 5, [this] { look(); }) {
    last_ = p.windows.text(label);
    timer_.setEnabled(true);
  }
  void look() {
    const Text now = p_.windows.text(label_);
    if (now.empty() && !last_.empty()) ++erased;
    if (!now.empty() && last_.rfind(now, 0) != 0) {
      shown.push_back(now);
      if (each_) each_(shown.size());
    }
    last_ = now;
  }
  platform::Platform& p_;
  Window label_;
  std::function<void(std::size_t)> each_;
  std::vector<Text> shown;
  int erased = 0;
  Text last_;
  platform::Timer timer_;
};

TEST(ViewWindows, HelpShowsTheChosenTopicInALockedBox) {
  ViewWorld w;
  w.programFile("click.wav");
  w.start();
  w.click("helps");
  Form& help = *w.console->help();
  EXPECT_TRUE(help.visible());
  EXPECT_EQ(help.text("Text1"), "vantary help file");
  const std::string_view crlf2 = "\r\n\r\n";
  struct Case {
    std::string_view item;
    std::string_view title;
    std::string_view body;
  };
  const Case cases[] = {
      {"auto upchat", "· auto upchat ·"_ansi,
       "auto upchat is a function is a line of code which if it see a upload window it will upchat and "
       "hide and get it out of your way so u can talk/chat or do anything but do anything except send "
       "mails if u send mails it will feeze your upload at 100% so try not to send mails."},
      {"multiple messages", "· multiple messages ·"_ansi,
       "multiple messages is a function that u enter a list of reason y you afk or can't answer someone "
       "that imed you or try to talk to you. it scrolls down the list in order or randomly however u want "
       "it so enjoy this function."},
      {"customs scroll", "· custom scroll ·"_ansi,
       "okae! customs scrolls is here. custom scroll is a function that u can customize yourself its like "
       "making your own idlebot. u think of the ascii u think of the colors and what u want to scroll."},
      {"room before idle'n", "· room before idle'n ·"_ansi,
       "well this is not that much big of a deal. this is just a function that if u want to enter a "
       "private room before u enter. so if u want to idle in a private room in example mordelle it will go "
       "to mordelle and start idle'n."},
      {"im's before/after idle", "· im's before/after idle ·"_ansi,
       "well this will simple turns on or turn your ims when u idleon and idleoff. its a simple function."},
      {"system", "· system ·"_ansi,
       "well there is 2 parts to this \r\n 1) shutdown\r\n2) restart\r\n 1. it shutdown your computer if u "
       "need to shutdown very quickly! \r\n2. restart it will restart the computer and maybe can boot up "
       "vantary some computer are not compatible for this function."},
      {"scrolls", "· scrolls ·"_ansi,
       "there are 3 type of scrolls with time, reason, dl and ul /  time, reason only or / time, dl or ul "
       "stats. i made this program scroll the time cause sometimes people cheat so i have to do it this "
       "way with a default of 1 scroll even if u uncheck both unscroll on the menu."},
      {"idleon/idleoff", "· idleon/idleoff ·"_ansi,
       "idleon and idleoff is basicly u tell the program to kill the hourly 45 minute window that bothers "
       "you if u haven't been using aol or haven't moved the mouse so it don't really matter cause it has "
       "a internal timer so even if u do forget it will still kill the timer. "},
  };
  const std::vector<Text> rows = help.items("Combo1");
  ASSERT_EQ(rows.size(), std::size(cases));
  for (int row = 0; row < static_cast<int>(std::size(cases)); ++row) {
    const Case& c = cases[row];
    EXPECT_EQ(rows[static_cast<std::size_t>(row)], c.item);
    w.chooseTopic(help, row);
    EXPECT_EQ(help.text("Text1"), Text(c.title) + Text(crlf2) + Text(c.body)) << c.item;
  }

  // The user cannot change the text; "okae" clicks and hides the window, which keeps its
  // topic for the next showing.
  for (char ch : std::string_view("typed")) w.program().windows.sendChar(help.control("Text1"), ch);
  EXPECT_EQ(help.text("Text1").rfind(Text(cases[7].title), 0), 0u);
  const std::size_t mark = w.world.sounds().size();
  w.clickOn(help, "SSRibbon1");
  EXPECT_FALSE(help.visible());
  ASSERT_EQ(w.world.sounds().size(), mark + 1);
  EXPECT_EQ(w.world.sounds()[mark].kind, SoundRecord::Kind::kWave);
  w.click("helps");
  EXPECT_TRUE(help.visible());
  EXPECT_EQ(help.text("Text1").rfind(Text(cases[7].title), 0), 0u);
}

TEST(ViewWindows, AboutShowsTheScreenNameAtItsFirstShowing) {
  {
    ViewWorld w;
    w.signOnInRoom();
    w.start();
    w.click("about");
    EXPECT_TRUE(w.console->about()->visible());
    EXPECT_EQ(w.console->about()->text("Label2"), kUser);
  }
  ViewWorld w;
  w.start();
  w.click("about");
  Form& about = *w.console->about();
  EXPECT_TRUE(about.visible());
  EXPECT_EQ(about.text("Label2"), "tl.unknown");
  EXPECT_EQ(about.text("Label3"), "tl.sv281  / * pre beta*");
  // A click on it hides it; signing on meanwhile changes nothing at the next showing.
  w.clickOn(about, "Label4");
  EXPECT_FALSE(about.visible());
  w.signOnInRoom();
  w.click("about");
  EXPECT_TRUE(about.visible());
  EXPECT_EQ(about.text("Label2"), "tl.unknown");
  // Files dropped on its frame hide it too.
  ASSERT_TRUE(w.world.dropFiles(about.control("Frame1")));
  w.world.runFor(10);
  EXPECT_FALSE(about.visible());
}

TEST(ViewWindows, CreditsShowEachNameErasedInTurnWithTheirMusicOnce) {
  ViewWorld w;
  w.programFile("greets.mid");
  w.start();
  w.click("greets");
  windows::CreditsWindow& credits = *w.console->credits();
  EXPECT_TRUE(credits.visible());
  EXPECT_EQ(credits.text("lblgreets"), "greetz");
  const std::size_t mark = w.world.sounds().size();
  // "start" again while the credits run starts no second run.
  CaptionWatch watch(w.program(), credits.control("lblgreets"), [&](std::size_t shown) {
    if (shown == 2) w.clickOn(credits, "SSRibbon1");
  });
  w.clickOn(credits, "SSRibbon1");
  w.world.runFor(2000);
  w.world.runFor(5000);

  std::vector<Text> expected(windows::kCredits.begin(), windows::kCredits.end());
  expected.emplace_back(windows::kCreditsEnd);
  EXPECT_EQ(watch.shown, expected);
  EXPECT_GE(watch.erased, 64);
  EXPECT_EQ(credits.text("lblgreets"), "the end  ");
  const std::vector<Text> music = w.mciSince(mark);
  ASSERT_EQ(music.size(), 4u);
  EXPECT_EQ(music[0].rfind("open \"C:\\vantary\\greets.mid\" alias ", 0), 0u) << music[0];
  EXPECT_EQ(music[1].rfind("play ", 0), 0u);
  EXPECT_EQ(music[2].rfind("stop ", 0), 0u);
  EXPECT_EQ(music[3].rfind("close ", 0), 0u);
}

TEST(ViewWindows, CreditsEndedDuringTheRunStopTheMusicAndLeaveTheWindowAlone) {
  ViewWorld w;
  w.programFile("greets.mid");
  w.programFile("click.wav");
  w.start();
  w.click("greets");
  windows::CreditsWindow* first = w.console->credits();
  std::size_t endedAt = 0;
  Window second;
  // "end" at the third name; then "&greets" at once makes a new window while the first
  // run still waits.
  CaptionWatch watch(w.program(), first->control("lblgreets"), [&](std::size_t shown) {
    if (shown != 3) return;
    endedAt = w.world.sounds().size();
    w.clickOn(*first, "SSRibbon2");
    w.click("greets");
    second = w.console->credits()->control("lblgreets");
  });
  w.clickOn(*first, "SSRibbon1");
  w.world.runFor(70000);

  ASSERT_NE(endedAt, 0u);
  ASSERT_EQ(w.world.sounds().size(), endedAt + 3);
  EXPECT_EQ(w.world.sounds()[endedAt].text.rfind("stop ", 0), 0u);
  EXPECT_EQ(w.world.sounds()[endedAt + 1].text.rfind("close ", 0), 0u);
  EXPECT_EQ(w.world.sounds()[endedAt + 2].kind, SoundRecord::Kind::kWave);
  EXPECT_EQ(watch.shown.size(), 3u);
  EXPECT_TRUE(w.console->credits()->visible());
  EXPECT_EQ(w.program().windows.text(second), "greetz");
}

// The music's path is quoted for the media interface, so a folder with blanks plays.
TEST(ViewWindows, CreditsMusicPlaysFromAFolderWithBlanks) {
  platform::sim::SimWorld world(vantary::testing::FreshRoot());
  platform::Platform& p = world.addProcess("vantary", "Program Files\\vantary").platform();
  ASSERT_TRUE(p.files.writeFileAtomic(p.files.programFolder() + "\\greets.mid", "x"));
  windows::CreditsWindow credits(p);
  p.windows.sendClick(credits.control("SSRibbon1"));
  world.runFor(1000);
  ASSERT_GE(world.sounds().size(), 2u);
  const Text open = world.sounds().front().text;
  const std::string_view quoted = "open \"C:\\Program Files\\vantary\\greets.mid\" alias ";
  ASSERT_EQ(open.rfind(quoted, 0), 0u) << open;
  EXPECT_EQ(world.sounds()[1].text, "play " + open.substr(quoted.size()) + " from 0");
}

}  // namespace
}  // namespace vantary::console::testing
