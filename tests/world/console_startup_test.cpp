// Starting the console: the settings files on a fresh and on an existing machine, the
// controls and menu states they give, damaged files, and the in-stats announcement.
#include <gtest/gtest.h>

#include "tests/world/console_fixture.h"

namespace vantary::console::testing {
namespace {

TEST(ConsoleStartup, FreshMachineCreatesTheListsAndStartsFromTheDesignValues) {
  ConsoleWorld w;
  w.signOnInRoom();
  Console& c = w.start();
  toolkit::Form& f = c.form();
  auto& files = w.program().files;

  for (const char* list : {"vantary12.ini", "vantary122.ini", "vantary123.ini"}) {
    EXPECT_TRUE(files.fileExists(files.windowsFolder() + "\\" + list)) << list;
  }
  // The data file holds the decoration lines, the colours and the counters; the trigger
  // went to the configuration file. Writing the lists first does not keep the first start
  // from writing the design values.
  const Text data = files.readFile(w.path("data")).value_or("<missing>");
  EXPECT_EQ(data, "[vantari]\r\nAUTOASCII1=" + Text(windows::kAscii1Design) + "\r\nAUTOASCII2=" +
                      Text(windows::kAscii2Design) + "\r\nAUTOASCII3=" + Text(windows::kAscii3Design) +
                      "\r\nCOLOR=336699\r\nCOLOR2=000000\r\nHOUR=0\r\nMINUTES=0\r\nDAY=0\r\nHOUR2=0\r\n"
                      "MINUTES2=0\r\nDAY2=0\r\n")
      << U(data);
  EXPECT_EQ(files.readFile(w.path("config")).value_or("<missing>"), "[vantari]\r\nTRIG=.\r\n");

  EXPECT_EQ(f.text("txttrig"), ".");
  EXPECT_EQ(c.editors().color->text("Text1"), "336699");
  EXPECT_EQ(c.editors().color->text("Text2"), "000000");
  EXPECT_EQ(c.editors().ascii->text("Combo1"), windows::kAscii1Design);
  EXPECT_EQ(f.text("scroll"), "1");
  EXPECT_EQ(f.text("roomenter2"), "zezevuzud");
  EXPECT_EQ(f.text("immune3"), "0");
  EXPECT_EQ(f.text("gook"), "");
  EXPECT_EQ(f.text("m1"), "0");

  ConsoleMenu& menu = c.menu();
  struct State {
    const char* item;
    bool checked;
    bool enabled;
  };
  for (const State& s : std::initializer_list<State>{{"dlul", true, true},
                                                     {"rea", true, true},
                                                     {"immune", false, true},
                                                     {"rea2", true, true},
                                                     {"mm", false, true},
                                                     {"custom", false, true},
                                                     {"editcus", false, false},
                                                     {"editmul", false, false},
                                                     {"roomidle", false, true},
                                                     {"setroom", false, false},
                                                     {"offbe", true, true},
                                                     {"onaf", true, true},
                                                     {"autoup", false, true},
                                                     {"laggfree", false, true},
                                                     {"link", false, false},
                                                     {"han", false, false},
                                                     {"loggoff", false, false}}) {
    EXPECT_EQ(menu.checked(s.item), s.checked) << s.item;
    EXPECT_EQ(menu.enabled(s.item), s.enabled) << s.item;
  }
  EXPECT_EQ(menu.caption("scrollint"), "scroll interval: 1");
  EXPECT_EQ(menu.caption("idleon"), "idle &on");
  EXPECT_FALSE(c.mainTimer().enabled());
  EXPECT_TRUE(c.chatScanner().running());
  EXPECT_EQ(c.autoUpchat().state(), host::AutoUpchat::State::kOff);
  EXPECT_TRUE(w.world.dialogs().empty());
}

TEST(ConsoleStartup, MainWindowIsHiddenOnTopAndCarriesTheMenuAsItsMenuBar) {
  ConsoleWorld w;
  Console& c = w.start();
  auto& ws = w.program().windows;
  const Window main = ws.findWindow("", "vantary³ by kestro"_ansi);
  EXPECT_EQ(main, c.form().window());
  EXPECT_FALSE(ws.isVisible(main));
  EXPECT_TRUE(ws.isTopmost(main));
  const platform::Menu bar = ws.menuOf(main);
  ASSERT_EQ(ws.menuItemCount(bar), 1);
  EXPECT_EQ(ws.menuItemText(bar, 0), "menu");
  const platform::Menu tree = ws.subMenu(bar, 0);
  EXPECT_EQ(tree, c.menu().popup());
  EXPECT_EQ(ws.menuItemText(tree, 0), "idle &on");
  EXPECT_EQ(ws.menuItemId(tree, 0), 1001u);
  EXPECT_EQ(ws.menuItemText(tree, ws.menuItemCount(tree) - 1), "&end");
  // "oth&er opt" > "bra&g" > "&clear overall", three levels down.
  const platform::Menu other = ws.subMenu(tree, 4);
  EXPECT_EQ(ws.menuItemText(tree, 4), "oth&er opt");
  EXPECT_EQ(ws.menuItemText(ws.subMenu(other, 2), 3), "&clear overall");
}

TEST(ConsoleStartup, StoredOptionsSetTheMenu) {
  struct Case {
    const char* key;
    const char* value;
    std::vector<std::pair<const char*, bool>> checked;
    std::vector<std::pair<const char*, bool>> enabled;
  };
  const std::vector<Case> cases = {
      {"mm",
       "3",
       {{"custom", true}, {"mm", false}, {"rea2", false}},
       {{"editcus", true}, {"editmul", false}}},
      {"mm",
       "0",
       {{"mm", true}, {"rea2", false}, {"custom", false}},
       {{"editcus", false}, {"editmul", true}}},
      {"mm", "1", {{"rea2", true}, {"mm", false}}, {{"editcus", false}, {"editmul", false}}},
      {"immune", "1", {{"immune", true}}, {{"dlul", false}, {"rea", false}}},
      {"roomenter", "1", {{"roomidle", true}}, {{"setroom", true}}},
      {"dlul", "0", {{"dlul", false}}, {}},
      {"reas", "0", {{"rea", false}}, {}},
      {"laggfree", "1", {{"laggfree", true}}, {}},
      {"offbe", "0", {{"offbe", false}, {"onaf", true}}, {}},
      {"onaf", "0", {{"onaf", false}, {"offbe", true}}, {}},
      // Anything but "0" and "1" leaves the design state.
      {"dlul", "yes", {{"dlul", true}}, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.key) + "=" + k.value);
    ConsoleWorld w(Generation::k5, std::string("-") + k.key + k.value);
    w.existingMachine();
    w.setConfig("immune", "0");
    w.setConfig(k.key, k.value);
    Console& c = w.start();
    for (const auto& [item, on] : k.checked) EXPECT_EQ(c.menu().checked(item), on) << item;
    for (const auto& [item, on] : k.enabled) EXPECT_EQ(c.menu().enabled(item), on) << item;
  }
}

TEST(ConsoleStartup, AutoUpchatOptionArmsTheWatcher) {
  ConsoleWorld w;
  w.existingMachine();
  w.setConfig("autoup", "1");
  Console& c = w.start();
  EXPECT_TRUE(c.menu().checked("autoup"));
  EXPECT_EQ(c.autoUpchat().state(), host::AutoUpchat::State::kWatching);
  // Unchecking it stops the watcher and is stored at once.
  w.click("autoup");
  EXPECT_FALSE(c.menu().checked("autoup"));
  EXPECT_EQ(c.autoUpchat().state(), host::AutoUpchat::State::kOff);
  EXPECT_EQ(w.config("autoup"), "0");
}

TEST(ConsoleStartup, StoredIntervalIsTakenOrRepairedWithThreeMessageBoxes) {
  struct Case {
    const char* stored;
    const char* interval;
    int boxes;
  };
  const Case cases[] = {
      {"15", "1", 3},  {"7", "7", 0},   {"12", "12", 0},
      {"", "1", 0},    {"0", "1", 3},   {"-3", "1", 3},
      {"abc", "1", 3}, {"4.5", "1", 3}, {"99999999999999999999999", "1", 3},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string("int=") + k.stored);
    ConsoleWorld w(Generation::k5, std::string("-") + std::to_string(&k - cases));
    w.existingMachine();
    if (*k.stored != 0) w.setConfig("int", k.stored);
    Console& c = w.start();
    w.world.runFor(2 * kTellCheckMs);  // what start-up tells shows once it is over
    EXPECT_EQ(c.form().text("scroll"), k.interval);
    EXPECT_EQ(c.menu().caption("scrollint"), std::string("scroll interval: ") + k.interval);
    ASSERT_EQ(static_cast<int>(w.world.dialogs().size()), k.boxes);
    for (const auto& box : w.world.dialogs()) {
      EXPECT_EQ(box.text, "internal error has occured. please do not edit etr.cfj. error has occured");
      EXPECT_EQ(box.title, "internal error");
      EXPECT_EQ(box.style & msg::kMbIconError, msg::kMbIconError);
    }
    // The repaired value is not written back.
    EXPECT_EQ(w.config("int"), k.stored);
  }
}

TEST(ConsoleStartup, DamagedSettingsFilesGiveDefaultsNotACrash) {
  const char* damaged[] = {
      "\x01\x02garbage\r\n=\r\n[[[\r\n\xff\xfe",
      "[other]\r\nINT=5\r\nMINUTES2=30\r\n",
      "[vantari\r\nINT=5",
      "",
  };
  for (const char* contents : damaged) {
    SCOPED_TRACE(U(contents));
    ConsoleWorld w(Generation::k5, "-" + std::to_string(std::string_view(contents).size()));
    w.existingMachine();
    auto& files = w.program().files;
    ASSERT_TRUE(files.writeFileAtomic(w.path("config"), contents));
    ASSERT_TRUE(files.writeFileAtomic(w.path("data"), contents));
    w.signOnInRoom();
    Console& c = w.start();
    EXPECT_EQ(c.form().text("scroll"), "1");
    EXPECT_EQ(c.form().text("roomenter2"), "zezevuzud");
    EXPECT_TRUE(c.menu().checked("dlul"));
    // The console runs on: a session counts and scrolls.
    w.click("idleon");
    w.minutes(2);
    EXPECT_EQ(c.form().text("m"), "2");
  }
}

TEST(ConsoleStartup, DamagedOverallCountersAreShownAsZero) {
  struct Case {
    const char* stored;
    const char* shown;
  };
  const Case cases[] = {
      {"75", "75"}, {"007", "007"}, {"-5", "0"}, {"abc", "0"}, {"99999999999999999999", "0"}, {"", ""}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.stored);
    ConsoleWorld w(Generation::k5, std::string("-") + std::to_string(&k - cases));
    w.existingMachine();
    w.setData("minutes2", k.stored);
    Console& c = w.start();
    EXPECT_EQ(c.form().text("m1"), k.shown);
  }
}

TEST(ConsoleStartup, InStatsAnnouncementReachesEitherRoomLayoutByteForByte) {
  const std::string_view rich[] = {
      "</u></s></i></b><font color=#336699>°›<font color=#000000> vantarý³ · by kestro · "_ansi,
      "</u></s></i></b><font color=#336699>‹°<font color=#000000> in stats: 2d . 3h . 4m ·"_ansi,
      "</u></s></i></b><font color=#336699> °`·–› <font color=#000000>kestro.example/vantary ·"_ansi,
  };
  const std::string_view plain[] = {
      "°› vantarý³ · by kestro · "_ansi,
      "‹° in stats: 2d . 3h . 4m ·"_ansi,
      " °`·–› kestro.example/vantary ·"_ansi,
  };
  for (RoomLayout layout : {RoomLayout::kRich, RoomLayout::kPlain}) {
    const bool isRich = layout == RoomLayout::kRich;
    SCOPED_TRACE(isRich ? "rich room" : "plain room");
    ConsoleWorld w(Generation::k5, isRich ? "-rich" : "-plain");
    w.existingMachine();
    w.setData("day2", "2");
    w.setData("hour2", "3");
    w.setData("minutes2", "4");
    w.signOnInRoom("Lobby", layout);
    const std::size_t taken = w.markTaken();
    const std::size_t said = w.markTranscript();
    w.start();
    const std::vector<Text> expectedTaken(isRich ? std::begin(rich) : std::begin(plain),
                                          isRich ? std::end(rich) : std::end(plain));
    EXPECT_EQ(w.takenSince(taken), expectedTaken);
    // Either way the room shows the lines without their markup.
    EXPECT_EQ(w.saidSince(said), std::vector<Text>(std::begin(plain), std::end(plain)));
  }
}

TEST(ConsoleStartup, MultipleMessagesFileIsReadAsCommaSeparatedEntries) {
  ConsoleWorld w;
  w.existingMachine();
  ASSERT_TRUE(w.program().files.writeFileAtomic(w.path("messages"), "brb, food\r\nback at 5\r\n"));
  Console& c = w.start();
  EXPECT_EQ(c.editors().messages->items("rnd"), (std::vector<Text>{"brb", "food", "back at 5"}));
}

}  // namespace
}  // namespace vantary::console::testing
