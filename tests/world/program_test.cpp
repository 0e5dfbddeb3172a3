// The program as the user starts it: intro, then the hidden main window, then the face.
#include "console/program.h"

#include <gtest/gtest.h>

#include <functional>

#include "hostsim/host_sim.h"
#include "platform/sim/sim_world.h"
#include "tests/world/hostsim_probe.h"

namespace vantary::console {
namespace {

namespace msg = platform::msg;
using text::operator""_ansi;

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest()
      : world_(hostsim::testing::FreshRoot()),
        hostProcess_(world_.addProcess("host", "aol")),
        programProcess_(world_.addProcess("vantary")),
        host_(hostProcess_.platform(), hostsim::Generation::k5),
        p_(programProcess_.platform()) {
    host_.signOn("kestro");
    room_ = host_.openRoom("Lobby", hostsim::RoomLayout::kRich);
  }
  ~ProgramTest() override { hostsim::testing::ExpectNoHostFault(host_); }

  platform::sim::SimWorld world_;
  platform::sim::SimProcess& hostProcess_;
  platform::sim::SimProcess& programProcess_;
  hostsim::HostSim host_;
  platform::Platform& p_;
  platform::Window room_;
};

TEST_F(ProgramTest, IntroHandsOverToTheHiddenMainWindowAndTheFace) {
  const auto start = p_.loop.nowMs();
  Program program(p_);
  program.Start();
  world_.runFor(900);
  EXPECT_FALSE(program.started());
  EXPECT_EQ(host_.transcript(room_), "");

  // The animation runs inside the intro's first tick, one second after the start, and
  // lets events run while it waits: the hand-over comes after about 4.6 seconds.
  world_.runFor(200);
  ASSERT_TRUE(program.started());
  EXPECT_GE(p_.loop.nowMs() - start, 4600u);
  Console& console = *program.console();
  const platform::Window main = p_.windows.findWindow("", std::string_view("vantary³ by kestro"_ansi));
  EXPECT_EQ(main, console.form().window());
  EXPECT_FALSE(p_.windows.isVisible(main));
  ASSERT_NE(program.face(), nullptr);
  EXPECT_TRUE(program.face()->form().visible());
  // The main window announced itself before the face appeared.
  EXPECT_NE(host_.transcript(room_).find("vantar\xFD\xB3 \xB7 by kestro"), std::string::npos);
}

TEST_F(ProgramTest, TheFaceDotOpensTheConsoleMenuAndTheClockShowsOnTheFace) {
  Program program(p_, ConsoleOptions{.minuteMs = 1000});
  program.Start();
  world_.runFor(5000);
  ASSERT_TRUE(program.started());
  toolkit::Form& face = program.face()->form();

  world_.setCursor({40, 50});
  p_.windows.sendClick(face.control("Label3"));
  const auto popup = world_.lastPopupMenu();
  ASSERT_TRUE(popup.has_value());
  EXPECT_EQ(popup->menu, program.console()->menu().popup());
  EXPECT_EQ(popup->at, (platform::Point{40, 50}));

  // Idle on from the menu, as the user's choice in the pop-up would post it.
  const MenuItemDef* idleon = FindMenuItem("idleon");
  ASSERT_NE(idleon, nullptr);
  p_.windows.post(program.console()->form().window(), msg::kCommand,
                  static_cast<platform::WParam>(idleon->command), 0);
  world_.runFor(3 * 1000 + 100);
  EXPECT_EQ(face.text("m"), "3");
  EXPECT_EQ(program.console()->form().text("m"), "3");
}

// Windows closed by another program (WM_CLOSE, which Alt+F4 sends too): the intro hands
// over at once; the editors, help and about are put away and come back from their items,
// in their normal state, holding what they held; the face ends the program as "end" does.
// (The command list and the credits are closed under Wine by the end-to-end run.)
TEST_F(ProgramTest, WindowsClosedFromOutsideComeBackOrEndTheProgramAsEndDoes) {
  platform::WindowSystem& other = hostProcess_.platform().windows;
  const auto start = p_.loop.nowMs();
  Program program(p_);
  program.Start();
  // Closed while its animation runs, inside the intro's first tick.
  platform::Timer closer(hostProcess_.platform().loop, 2000, [&] {
    closer.setEnabled(false);
    other.post(other.findWindow("", "vantary"), msg::kClose);
  });
  closer.setEnabled(true);
  world_.runFor(2100);
  ASSERT_TRUE(program.started());
  EXPECT_LT(p_.loop.nowMs() - start, 4000u);
  Console& console = *program.console();

  const struct {
    const char* mode;  // the message mode whose editor the item opens, or ""
    const char* item;
    std::function<toolkit::Form*()> window;
  } cases[] = {
      {"custom", "editcus", [&] { return console.editors().customs.get(); }},
      {"mm", "editmul", [&] { return console.editors().messages.get(); }},
      {"", "editascii", [&] { return console.editors().ascii.get(); }},
      {"", "sdaf", [&] { return console.editors().color.get(); }},
      {"", "helps", [&] { return console.help(); }},
      {"", "about", [&] { return console.about(); }},
  };
  const auto click = [&](const char* item) {
    p_.windows.post(console.form().window(), msg::kCommand,
                    static_cast<platform::WParam>(FindMenuItem(item)->command), 0);
    world_.runFor(10);
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.item);
    if (*k.mode != '\0') click(k.mode);
    click(k.item);
    toolkit::Form* form = k.window();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(form->visible());
    other.post(form->window(), msg::kClose);
    world_.runFor(10);
    EXPECT_TRUE(form->alive());
    EXPECT_FALSE(form->visible());
    click(k.item);
    EXPECT_TRUE(form->visible());
    form->minimize();
    click(k.item);
    EXPECT_FALSE(p_.windows.isMinimized(form->window()));
  }
  EXPECT_EQ(console.style().color1, "336699");

  other.post(program.face()->form().window(), msg::kClose);
  world_.runFor(100);
  EXPECT_NE(host_.transcript(room_).find(Text("out stats: "_ansi)), std::string::npos);
  EXPECT_TRUE(p_.loop.quitRequested());
}

}  // namespace
}  // namespace vantary::console
