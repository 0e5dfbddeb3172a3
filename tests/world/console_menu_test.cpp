// The menu tree's command identifiers as outside programs know them, and the pop-up menu
// reaching the console's commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "tests/world/console_fixture.h"

namespace vantary::console::testing {
namespace {

TEST(ConsoleMenu, ReadmeListsEveryItemWithTheIdentifierItRuns) {
  const auto readme = std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "README.md";
  std::ifstream in(readme);
  ASSERT_TRUE(in) << readme;
  std::stringstream all;
  all << in.rdbuf();
  const std::string contents = all.str();
  std::map<std::string, std::uint32_t> listed;
  const std::regex row(R"(\| `(\w+)` \| (\d+) \|)");
  for (auto it = std::sregex_iterator(contents.begin(), contents.end(), row); it != std::sregex_iterator();
       ++it) {
    listed[(*it)[1]] = static_cast<std::uint32_t>(std::stoul((*it)[2]));
  }
  std::set<std::uint32_t> seen;
  std::size_t items = 0;
  for (const MenuItemDef& item : MenuTree()) {
    if (item.submenu || item.name == "-") continue;
    ++items;
    const auto id = static_cast<std::uint32_t>(item.command);
    EXPECT_EQ(listed[std::string(item.name)], id) << item.name;
    EXPECT_TRUE(seen.insert(id).second) << "identifier used twice: " << id;
    // WM_COMMAND carries a menu identifier in 16 bits.
    EXPECT_LT(id, 0x10000u) << item.name;
    EXPECT_EQ(MenuItemName(id), item.name);
  }
  EXPECT_EQ(listed.size(), items);
  EXPECT_EQ(items, 47u);
}

TEST(ConsoleMenu, PopupFromTheMainWindowRunsTheChosenItem) {
  ConsoleWorld w;
  w.existingMachine();
  w.signOnInRoom();
  Console& c = w.start();
  w.world.setCursor({320, 200});
  w.world.queuePopupChoice(static_cast<std::uint32_t>(MenuCommand::kIdleOn));
  w.program().windows.send(c.form().control("Label1"), msg::kLButtonDown, 0, 0);
  w.world.runFor(10);
  const auto shown = w.world.lastPopupMenu();
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(shown->menu, c.menu().popup());
  EXPECT_EQ(shown->at, (platform::Point{320, 200}));
  EXPECT_EQ(c.menu().caption("idleon"), "idle of&f");
}

}  // namespace
}  // namespace vantary::console::testing

namespace vantary::console::testing {
namespace {

// The options menu's message modes and switches: what each click leaves on the menu and in
// the configuration file, starting from a stored mode.
TEST(ConsoleMenu, MessageModesAndScrollSwitchesKeepTheirRulesAndAreStored) {
  struct Case {
    const char* storedMode;              // "mm" before the start
    const char* item;                    // "": the menu as the start leaves it
    std::optional<DialogAnswer> answer;  // the reason box, when one is expected
    const char* checkedMode;             // the one mode item checked afterwards
    const char* mm;                      // "mm" stored afterwards
    const char* reason;                  // "reason" stored afterwards
  };
  const Case cases[] = {
      {"3", "mm", std::nullopt, "mm", "0", "was"},
      {"0", "custom", std::nullopt, "custom", "3", "was"},
      {"0", "mm", std::nullopt, "mm", "0", "was"},  // the checked mode: nothing happens
      {"3", "rea2", DialogAnswer::Input("Lunch"), "rea2", "1", "Lunch"},
      {"3", "rea2", DialogAnswer::Cancel(), "rea2", "1", ""},
      {"1", "rea2", std::nullopt, "rea2", "1", "was"},  // the checked mode: no box
      // A first start's empty mode and one the program never writes: the single reason.
      {"", "", std::nullopt, "rea2", "", "was"},
      {"7", "", std::nullopt, "rea2", "7", "was"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.item) + " from mode " + k.storedMode);
    ConsoleWorld w;
    w.existingMachine();
    w.setConfig("mm", k.storedMode);
    w.setConfig("reason", "was");
    Console& c = w.start();
    if (k.answer) w.world.queueDialogAnswer(*k.answer);
    const std::size_t dialogs = w.world.dialogs().size();
    if (*k.item != '\0') w.click(k.item);
    w.world.runFor(10);
    ASSERT_EQ(w.world.dialogs().size(), dialogs + (k.answer ? 1 : 0));
    if (k.answer) {
      EXPECT_EQ(w.world.dialogs().back().title, "vantary : reason");
    }
    for (const char* mode : {"rea2", "mm", "custom"}) {
      EXPECT_EQ(c.menu().checked(mode), std::string_view(mode) == k.checkedMode) << mode;
    }
    EXPECT_EQ(c.menu().enabled("editmul"), std::string_view(k.checkedMode) == "mm");
    EXPECT_EQ(c.menu().enabled("editcus"), std::string_view(k.checkedMode) == "custom");
    EXPECT_EQ(w.config("mm"), k.mm);
    EXPECT_EQ(w.config("reason"), k.reason);
    EXPECT_EQ(c.form().text("gook"), k.reason);
  }
}

TEST(ConsoleMenu, ImmuneScrollsLockTheScrollSwitchesAndLagFreeSurvivesARestart) {
  ConsoleWorld w;
  w.existingMachine();
  w.setConfig("reas", "0");
  Console& c = w.start();
  ASSERT_FALSE(c.menu().checked("immune"));
  w.click("immune");
  EXPECT_FALSE(c.menu().enabled("rea"));
  EXPECT_FALSE(c.menu().enabled("dlul"));
  EXPECT_EQ(w.config("immune"), "1");
  // A greyed switch does nothing, even posted by another program.
  w.click("rea");
  EXPECT_FALSE(c.menu().checked("rea"));
  EXPECT_EQ(w.config("reas"), "0");
  w.click("immune");
  EXPECT_TRUE(c.menu().enabled("rea"));
  EXPECT_TRUE(c.menu().enabled("dlul"));
  EXPECT_FALSE(c.menu().checked("rea"));
  EXPECT_EQ(w.config("immune"), "0");
  // Turning the reason line on turns immune scrolls off.
  w.click("immune");
  w.click("immune");
  w.click("rea");
  EXPECT_TRUE(c.menu().checked("rea"));
  EXPECT_EQ(w.config("reas"), "1");

  w.click("laggfree");
  const bool lagFree = c.menu().checked("laggfree");
  EXPECT_EQ(w.config("laggfree"), lagFree ? "1" : "0");
  w.stop();
  Console& again = w.start();
  EXPECT_EQ(again.menu().checked("laggfree"), lagFree);
  EXPECT_TRUE(again.menu().checked("rea"));
}

}  // namespace
}  // namespace vantary::console::testing

namespace vantary::console::testing {
namespace {

using platform::sim::ShellRecord;

// "roo&m before idle'n" greys "set room &name" but keeps the name; a cancelled name is
// stored empty, and idle on then enters no room at all rather than the bare room keyword.
TEST(ConsoleMenu, RoomOptionsKeepTheNameAndAnEmptyNameEntersNoRoom) {
  ConsoleWorld w(Generation::k3);  // "95"
  w.existingMachine();
  w.setConfig("roomenter", "1");
  w.setConfig("setroom", "Den");
  w.signOnInRoom("Lobby", RoomLayout::kPlain);
  w.host.setPrivateRoomLayout(RoomLayout::kPlain);
  Console& c = w.start();
  w.click("roomidle");
  EXPECT_FALSE(c.menu().enabled("setroom"));
  EXPECT_EQ(w.config("roomenter"), "0");
  EXPECT_EQ(w.config("setroom"), "Den");
  w.click("roomidle");
  w.world.queueDialogAnswer(DialogAnswer::Cancel());
  w.click("setroom");
  EXPECT_EQ(w.config("setroom"), "");
  const std::size_t keywords = w.host.keywordsRun().size();
  w.click("idleon");
  w.world.runFor(1000);
  EXPECT_EQ(w.host.keywordsRun().size(), keywords);

  // Chat enter on generation 95: the room keyword, then the plain line in the room.
  w.world.queueDialogAnswer(DialogAnswer::Input("lobby1"));
  w.click("enterpr");
  w.world.runFor(2000);
  ASSERT_EQ(w.host.keywordsRun().size(), keywords + 1);
  EXPECT_EQ(w.host.keywordsRun().back(), "aol://2719:2-2-lobby1");
  const Window room = w.host.findRoom("lobby1");
  ASSERT_TRUE(room);
  EXPECT_NE(w.host.transcript(room).find(Text("°› vantarý³ · enter'd . lobby1"_ansi)), Text::npos);
}

// "&minimize" puts the icon into the tray and hides the face; only the icon's own double
// click and right click answer, never a mouse move over the window.
TEST(ConsoleMenu, TrayIconBringsTheFaceBackAndOpensTheMenu) {
  ConsoleWorld w;
  w.existingMachine();
  Console& c = w.start();
  w.click("mini");
  ASSERT_EQ(w.world.trayEvents().size(), 1u);
  const platform::TrayIcon icon = w.world.trayEvents()[0].icon;
  EXPECT_EQ(icon.owner, c.form().window());
  EXPECT_EQ(icon.callbackMessage, 512u);
  EXPECT_EQ(icon.tip, MainWindowCaption());
  EXPECT_FALSE(w.face->visible());
  const auto tray = [&](std::uintptr_t wParam, std::intptr_t lParam) {
    w.program().windows.send(c.form().window(), msg::kMouseMove, wParam, lParam);
    w.world.runFor(10);
  };
  tray(1, 0x0201);              // a single click
  tray(0, 0x0203);              // a mouse move at (515, 0)
  tray(1, (5 << 16) | 0x0203);  // a mouse move with the left button at (515, 5)
  EXPECT_FALSE(w.face->visible());
  EXPECT_EQ(w.world.trayEvents().size(), 1u);
  EXPECT_FALSE(w.world.lastPopupMenu().has_value());
  tray(1, 0x0205);  // right button up
  ASSERT_TRUE(w.world.lastPopupMenu().has_value());
  EXPECT_EQ(w.world.lastPopupMenu()->menu, c.menu().popup());
  tray(1, 0x0203);  // double click
  EXPECT_TRUE(w.face->visible());
  ASSERT_EQ(w.world.trayEvents().size(), 2u);
  EXPECT_FALSE(w.world.trayEvents()[1].added);

  // A shell that starts again gets the icon back; one that takes no icon leaves the face
  // on the screen, and the user is told.
  w.click("mini");
  w.world.restartShell();
  ASSERT_EQ(w.world.trayEvents().size(), 4u);
  EXPECT_TRUE(w.world.trayEvents()[3].added);
  EXPECT_FALSE(w.face->visible());
  w.world.setTrayRefuses(true);
  w.world.restartShell();
  EXPECT_TRUE(w.face->visible());
  EXPECT_FALSE(c.inTray());
  w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdOk));
  w.click("mini");
  EXPECT_TRUE(w.face->visible());
  EXPECT_EQ(w.world.dialogs().back().title, MainWindowCaption());
  w.world.setTrayRefuses(false);

  // An icon in the tray when the program ends goes with it.
  w.click("mini");
  w.stop();
  ASSERT_EQ(w.world.trayEvents().size(), 8u);
  EXPECT_FALSE(w.world.trayEvents()[7].added);
}

TEST(ConsoleMenu, PowerQuestionsAskFirstAndAMissingCompanionIsNamed) {
  ConsoleWorld w;
  w.existingMachine();
  w.start();
  const auto exits = [&] {
    std::vector<std::uint32_t> flags;
    for (const ShellRecord& r : w.world.shellEvents()) {
      if (r.kind == ShellRecord::Kind::kExitWindows) flags.push_back(r.flags);
    }
    return flags;
  };
  w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdNo));
  w.click("shutdown");
  w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdNo));
  w.click("reboot");
  EXPECT_TRUE(exits().empty());
  w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdYes));
  w.click("shutdown");
  w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdYes));
  w.click("reboot");
  EXPECT_EQ(exits(), (std::vector<std::uint32_t>{platform::kEwxShutdown | platform::kEwxPowerOff,
                                                 platform::kEwxReboot}));
  const auto& dialogs = w.world.dialogs();
  ASSERT_EQ(dialogs.size(), 4u);
  EXPECT_EQ(dialogs[0].text, "are you sure you want to exit windows?");
  EXPECT_EQ(dialogs[1].text, "are u sure u want to reboot?");
  EXPECT_EQ(dialogs[1].title, "vantary : reboot");

  w.world.setStartProgramResult(false);
  w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdOk));
  w.click("tunedeck");
  EXPECT_EQ(w.world.shellEvents().back().showCommand, msg::kSwShowNormal);  // started shown
  ASSERT_EQ(dialogs.size(), 5u);
  EXPECT_EQ(dialogs[4].text,
            "tunedeck is not there: " + w.program().files.programFolder() + "\\tunedeck.exe is missing.");
}

}  // namespace
}  // namespace vantary::console::testing

namespace vantary::console::testing {
namespace {

// The items that run one host operation: each acts on a signed-on host; those that need a
// session do nothing without one.
TEST(ConsoleMenu, HostItemsActOnASignedOnHostOnly) {
  struct Case {
    const char* item;
    bool signedOn;
    bool acts;
  };
  const Case cases[] = {
      {"wait", true, true}, {"wait", false, false}, {"modal", true, true},
      {"sf", true, true},   {"hide", true, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.item) + (k.signedOn ? " signed on" : " signed off"));
    ConsoleWorld w;
    w.existingMachine();
    if (k.signedOn) w.signOnInRoom();
    if (std::string_view(k.item) == "modal")
      w.host.startTransfer(hostsim::TransferKind::kUpload, "a.zip", 600000);
    w.start();
    const int aboutBoxes = w.host.aboutBoxesShown();
    w.click(k.item);
    w.world.runFor(3000);
    const std::string_view item = k.item;
    bool acted = false;
    if (item == "wait") acted = w.host.aboutBoxesShown() > aboutBoxes;
    if (item == "modal") acted = !w.hostProcess.platform().windows.findWindow("_AOL_Modal", std::nullopt);
    if (item == "sf") acted = !w.host.signedOn();
    if (item == "hide") acted = !w.hostProcess.platform().windows.isVisible(w.host.frame());
    EXPECT_EQ(acted, k.acts);
  }
}

}  // namespace
}  // namespace vantary::console::testing
