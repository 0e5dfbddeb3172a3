// The chat commands: the user types the trigger and a command into the room and the room
// shows the answer; nobody else, and nothing the program says itself, makes the program
// do anything.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "tests/world/console_fixture.h"

namespace vantary::console::testing {
namespace {

using hostsim::TransferKind;

// The status prefixes P(A1) and P(A2) with the design decorations and colours.
const Text kP1("</u></s></i></b><font color=#336699>°›<font color=#000000"_ansi);
const Text kP2("</u></s></i></b><font color=#336699>‹°<font color=#000000"_ansi);

// A status line of the bot with P(A1): "> vantarý³ · " and the text.
Text Bot(std::string_view text) { return kP1 + Text("> vantarý³ · "_ansi) + Text(text); }

// A program on an existing machine, signed on as kUser in a rich room with Bob in it.
struct BotWorld : ConsoleWorld {
  explicit BotWorld(const std::string& suffix = "") : ConsoleWorld(Generation::k5, suffix) {
    existingMachine();
    setConfig("roomenter", "0");
    setConfig("offbe", "0");
    setConfig("onaf", "0");
    setConfig("immune", "0");
    signOnInRoom();
    host.join(room, "Bob");
  }
  // `sender` says `line` in the room; the scanner reads it and any command runs.
  void say(const Text& sender, const Text& line) {
    host.say(room, sender, line);
    world.runFor(1000);
  }
  void type(const Text& line) { say(Text(kUser), line); }
  // On the room's clock rather than the test's (the test's own waits may run inside a
  // long command): the user says `line` `sayMs` from now, and at `lookMs` from now the
  // answer is whether the program idles. Runs until then.
  bool idlingAfterSaying(const Text& line, std::uint32_t sayMs, std::uint32_t lookMs,
                         const std::function<void()>& meanwhile = {}) {
    bool idling = false;
    platform::Timer say(hostProcess.platform().loop, sayMs, [&] {
      say.setEnabled(false);
      host.say(room, Text(kUser), line);
    });
    platform::Timer look(hostProcess.platform().loop, lookMs, [&] {
      look.setEnabled(false);
      idling = console->menu().caption("idleon") == kIdleOffCaption;
    });
    say.setEnabled(true);
    look.setEnabled(true);
    if (meanwhile) meanwhile();
    world.runFor(lookMs);
    return idling;
  }
};

struct Row {
  const char* what;
  std::vector<Text> typed;               // the user's lines, in order
  std::vector<Text> replies;             // what the program then said, byte for byte
  std::map<std::string, Text> config;    // etr.cfj afterwards
  std::function<void(BotWorld&)> setUp;  // before the lines (may be empty)
  std::function<void(BotWorld&)> check;  // afterwards (may be empty)
};

void RunRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    BotWorld w(std::string("-") + std::to_string(&row - rows.data()));
    if (row.setUp) row.setUp(w);
    w.start();
    const std::size_t taken = w.markTaken();
    for (const Text& line : row.typed) w.type(line);
    const std::vector<Text> replies = w.takenSince(taken);
    EXPECT_EQ(replies.size(), row.replies.size());
    for (std::size_t i = 0; i < std::min(replies.size(), row.replies.size()); ++i) {
      EXPECT_EQ(U(replies[i]), U(row.replies[i])) << "reply " << i;
    }
    for (const auto& [key, value] : row.config) EXPECT_EQ(U(w.config(key)), U(value)) << key;
    if (row.check) row.check(w);
  }
}

bool Idling(BotWorld& w) { return w.console->menu().caption("idleon") == kIdleOffCaption; }

TEST(ChatCommands, TriggerRulesDecideWhichLinesAreCommands) {
  const Text engaged = Bot("engaged");
  RunRows({
      {"trigger and command", {".idleon"}, {engaged}, {}, {}, [](BotWorld& w) { EXPECT_TRUE(Idling(w)); }},
      {"words after the command", {".idleon now please"}, {engaged}, {}, {}, {}},
      {"capitals", {".IDLEON", ".Idleon"}, {}, {}, {}, [](BotWorld& w) { EXPECT_FALSE(Idling(w)); }},
      {"double trigger", {"..idleon"}, {}, {}, {}, {}},
      {"no trigger", {"idleon"}, {}, {}, {}, {}},
      {"unknown command", {".dance", ".idleonx"}, {}, {}, {}, {}},
      {"no trigger stored: it is \".\", bare names run nothing",
       {"status", "signoff", ".status"},
       {Bot("not ul'n or dl'n.")},
       {},
       [](BotWorld& w) { w.setConfig("trig", ""); },
       [](BotWorld& w) { EXPECT_EQ(w.host.signOffCount(), 0); }},
      {"options held by another program at start: the trigger is \".\"",
       {"status", ".status"},
       {Bot("not ul'n or dl'n.")},
       {},
       [](BotWorld& w) {
         w.world.queueDialogAnswer(DialogAnswer::Button(msg::kIdOk));
         w.world.setFileLocked(w.path("config"), true);
       },
       [](BotWorld& w) { EXPECT_EQ(w.host.signOffCount(), 0); }},
      {"two-character trigger from the console: the argument moves with it",
       {"!!rea lunch break", "!rea no"},
       {Bot("rea: lunch break")},
       {{"reason", "lunch break"}},
       [](BotWorld& w) { w.setConfig("trig", "!!"); },
       {}},
      {"trig with one character",
       {".trig !", "!status", ".status"},
       {Bot("trigger: !"), Bot("not ul'n or dl'n.")},
       {{"trig", "!"}},
       {},
       [](BotWorld& w) { EXPECT_EQ(w.console->trigger(), "!"); }},
      {"trig with two characters, blanks removed first",
       {".trig ab", ".trig a b"},
       {Bot("trigger too long"), Bot("trigger too long")},
       {{"trig", "."}},
       {},
       {}},
      {"trig without argument", {".trig"}, {Bot(".trig x")}, {{"trig", "."}}, {}, {}},
      {"trig with blanks only", {".trig    "}, {Bot("u must have a trigger")}, {{"trig", "."}}, {}, {}},
  });
}

TEST(ChatCommands, EachCommandAnswersAndChangesWhatItShould) {
  RunRows({
      {"rea in mixed case",
       {".rea Out To Lunch"},
       {Bot("rea: out to lunch")},
       {{"reason", "Out To Lunch"}, {"mm", "1"}},
       [](BotWorld& w) { w.setConfig("mm", "3"); },
       [](BotWorld& w) {
         ConsoleMenu& m = w.console->menu();
         EXPECT_EQ(w.console->form().text("gook"), "Out To Lunch");
         EXPECT_TRUE(m.checked("rea2"));
         EXPECT_FALSE(m.checked("mm") || m.checked("custom") || m.enabled("editcus") || m.enabled("editmul"));
       }},
      {"rea without argument, and the line cut short",
       {".rea", ".rea "},
       {Bot(".rea x"), Bot(".rea x")},
       {{"reason", "brb"}},
       [](BotWorld& w) { w.setConfig("reason", "brb"); },
       [](BotWorld& w) { EXPECT_EQ(w.console->form().text("gook"), "brb"); }},
      {"pr without argument enters no room",
       {".pr"},
       {Bot(".pr x")},
       {},
       {},
       [](BotWorld& w) { EXPECT_TRUE(w.host.keywordsRun().empty()); }},
      {"pr with a room, which announces itself",
       {".pr My Den"},
       {Bot("enter'd . myden")},
       {},
       {},
       [](BotWorld& w) { EXPECT_TRUE(w.host.findRoom("My Den")); }},
      {"imsoff and imson",
       {".imsoff", ".imson"},
       {Bot("im status: off"), Bot("im status: on")},
       {},
       {},
       [](BotWorld& w) {
         ASSERT_EQ(w.host.sentInstantMessages().size(), 2u);
         EXPECT_EQ(w.host.sentInstantMessages()[0].recipient, "$im_off");
         EXPECT_EQ(w.host.sentInstantMessages()[1].recipient, "$im_on");
         EXPECT_TRUE(w.host.instantMessagesOn());
       }},
      {"cmds twice",
       {".cmds", ".cmds"},
       {Bot("view'n commands."), Bot("commands are visible already.")},
       {},
       {},
       [](BotWorld& w) { EXPECT_TRUE(w.console->commandList().form().visible()); }},
      {"cmdh twice, after cmds",
       {".cmdh", ".cmds", ".cmdh", ".cmdh"},
       {Bot("commands are hidden already."), Bot("view'n commands."), Bot("commands hide'n."),
        Bot("commands are hidden already.")},
       {},
       {},
       [](BotWorld& w) { EXPECT_FALSE(w.console->commandList().form().visible()); }},
      {"x and unx with part of a name",
       {".x bo", ".unx BO"},
       {kP1 + Text("> vantarý³ · ignore'd <i>(</i> bob<i> )</i> ·"_ansi),
        kP1 + Text("> vantarý³ · unignore'd <i>(</i> bob <i>)</i> ·"_ansi)},
       {},
       {},
       [](BotWorld& w) { EXPECT_FALSE(w.host.isIgnored("Bob")); }},
      {"x with the user's own name or nobody's",
       {".x kestro", ".x zed", ".x", ".unx"},
       {Bot(".x x"), Bot(".unx x")},
       {},
       {},
       [](BotWorld& w) { EXPECT_TRUE(w.host.ignoredMembers().empty()); }},
      {"clear",
       {".clear"},
       {"</b></u><font color=\"#C0C0C0\"><font face=\"Symbol\">" + Text(92, '\xFF')},
       {},
       {},
       {}},
      {"gon and goff",
       {".gon"},
       {Bot("user ghost'd.")},
       {},
       {},
       [](BotWorld& w) { EXPECT_TRUE(w.host.ghost()); }},
      {"goff",
       {".gon", ".goff"},
       {Bot("user ghost'd."), Bot("user unghost'd.")},
       {},
       {},
       [](BotWorld& w) { EXPECT_FALSE(w.host.ghost()); }},
      {"signoff",
       {".signoff"},
       {},
       {},
       {},
       [](BotWorld& w) {
         EXPECT_EQ(w.host.signOffCount(), 1);
         EXPECT_FALSE(w.host.signedOn());
       }},
  });
}

TEST(ChatCommands, StatusReportsTheRunningDownloadOrUpload) {
  RunRows({
      {"download",
       {".status"},
       {kP1 + Text("> file: song.mp3\r\n·"_ansi), kP2 + Text("> percent: 1 . minleft:\r\n67 ·"_ansi)},
       {},
       [](BotWorld& w) {
         w.host.startTransfer(TransferKind::kDownload, "Song.MP3", 4'030'000);
         w.world.runFor(60'000);
       },
       {}},
      {"upload",
       {".status"},
       {kP1 + Text("> file: pic.jpg ·"_ansi),
        kP2 + Text("></u></b></s></i> percent: 1 . minleft: 67 ·"_ansi)},
       {},
       [](BotWorld& w) {
         w.host.startTransfer(TransferKind::kUpload, "Pic.JPG", 4'030'000);
         w.world.runFor(60'000);
       },
       [](BotWorld& w) { EXPECT_EQ(w.console->form().text("lblfile"), "pic.jpg"); }},
      {"neither", {".status"}, {Bot("not ul'n or dl'n.")}, {}, {}, {}},
  });
}

// Idle on and off from the room: each answers once, twice does nothing more, and idle
// off resets the clock on the main window and on the face alike.
TEST(ChatCommands, IdleOnAndOffTwiceEachAnswerOnce) {
  BotWorld w;
  Console& c = w.start();
  const std::size_t taken = w.markTaken();
  w.type(".idleon");
  w.type(".idleon");
  EXPECT_TRUE(Idling(w));
  EXPECT_TRUE(c.mainTimer().enabled());
  w.world.runFor(125'000);  // the clock runs on: 2 minutes on both windows
  EXPECT_EQ(c.form().text("m"), "2");
  EXPECT_EQ(w.face->text("m"), "2");
  w.type(".idleoff");
  w.type(".idleoff");
  EXPECT_FALSE(Idling(w));
  EXPECT_FALSE(c.mainTimer().enabled());
  for (const char* label : {"m", "h", "d", "m2", "h2", "d2"}) {
    EXPECT_EQ(c.form().text(label), "0") << label;
    EXPECT_EQ(w.face->text(label), "0") << label;
  }
  const std::vector<Text> replies = w.takenSince(taken);
  ASSERT_GE(replies.size(), 2u);
  EXPECT_EQ(replies.front(), Bot("engaged"));
  EXPECT_EQ(replies.back(), Bot("dis-engaged"));
  EXPECT_EQ(std::count(replies.begin(), replies.end(), Bot("engaged")), 1);
  EXPECT_EQ(std::count(replies.begin(), replies.end(), Bot("dis-engaged")), 1);
}

// Lines of anyone but the signed-on user run nothing, however they are made to look like
// the user's; so do the program's own lines, whatever their decorations say.
TEST(ChatCommands, NobodyElseAndNothingTheProgramSaysRunsACommand) {
  const struct {
    const char* what;
    Text sender;
    Text line;
  } spoofs[] = {
      {"another member", "Bob", ".signoff"},
      {"the host's own system line", "OnlineHost", ".signoff"},
      {"the user's name in another case", "Kestro", ".signoff"},
      {"the user's name with a blank", "kestro ", ".signoff"},
      {"a blank before the name", " kestro", ".signoff"},
      {"a look-alike name", Text("késtro"_ansi), ".signoff"},
      {"a name that contains the user's", "kestro2", ".signoff"},
      {"the user's head inside the text", "Bob", "kestro:\t.signoff"},
      {"a line break and the user's head", "Bob", "hi\r\nkestro:\t.signoff"},
      {"a continuation line that is a command", "Bob", "hi\r\n.signoff"},
      {"markup around the head", "Bob", "<b>kestro:</b>\t.signoff"},
      {"a line break and a bare command", "Bob", "\r\n.signoff\r\n.idleon"},
  };
  BotWorld w;
  w.start();
  const std::size_t taken = w.markTaken();
  for (const auto& s : spoofs) {
    SCOPED_TRACE(s.what);
    w.say(s.sender, s.line);
    EXPECT_EQ(w.host.signOffCount(), 0);
    EXPECT_TRUE(w.host.signedOn());
    EXPECT_FALSE(Idling(w));
  }
  EXPECT_EQ(w.takenSince(taken), std::vector<Text>{});

  // Nobody signed on: even the user's name runs nothing.
  w.host.signOff();
  w.console->ChatLine(Text(kUser), ".idleon");
  w.world.runFor(10);
  EXPECT_FALSE(Idling(w));
}

TEST(ChatCommands, TheProgramsOwnLinesNeverRunWhateverTheirDecorations) {
  // The first decoration is a command: every status line the program says begins with it.
  for (const char* layout : {"rich", "plain"}) {
    SCOPED_TRACE(layout);
    BotWorld w(std::string("-") + layout);
    const bool rich = std::string_view(layout) == "rich";
    if (!rich) w.room = w.host.openRoom("Plain", RoomLayout::kPlain);
    w.setData("autoascii1", ".signoff");
    w.setData("autoascii2", ".idleoff");
    w.setConfig("int", "1");
    w.setConfig("reas", "1");
    w.setConfig("mm", "1");
    w.setConfig("reason", ".idleoff\t.signoff, and the rest of a long reason");  // TAB shown as a blank
    w.host.setChatLineCut(92);                                                   // the reason line shows cut
    w.start(1000);
    w.click("idleon");  // ".signoff vantarý³ · engaged"
    w.world.runFor(3500);
    EXPECT_EQ(w.host.signOffCount(), 0);
    EXPECT_TRUE(Idling(w));
    // The user's own command of the same words still runs.
    w.type(".idleoff");
    EXPECT_FALSE(Idling(w));
  }

  // A burst of commands said at once, each answered with a line that begins with a
  // command: however many answers are said while the commands wait, none runs. (Of the
  // burst, the newest kMostWaitingChats wait their turn.)
  BotWorld w("-burst");
  w.setData("autoascii1", ".idleoff");
  w.start();
  w.host.setTranscriptLimit(1000);
  const std::size_t taken = w.markTaken();
  for (int i = 0; i < 100; ++i) w.host.say(w.room, Text(kUser), i % 2 == 0 ? ".idleon" : ".idleoff");
  w.world.runFor(600000);
  const std::vector<Text> replies = w.takenSince(taken);
  const auto count = [&](std::string_view tail) {
    return std::count_if(replies.begin(), replies.end(), [&](const Text& r) { return r.ends_with(tail); });
  };
  const auto half = static_cast<std::ptrdiff_t>(kMostWaitingChats / 2);
  EXPECT_EQ(count(">.idleoff<font color=#000000> vantarý³ · engaged"_ansi), half);
  EXPECT_EQ(count(">.idleoff<font color=#000000> vantarý³ · dis-engaged"_ansi), half);
  EXPECT_EQ(replies.size(), kMostWaitingChats);
}

// A box the user left standing ("&chat enter" here) holds up no chat command: one said
// meanwhile runs within a look, and the command that opened the box goes on once it is
// answered.
TEST(ChatCommands, ACommandSaidWhileABoxStandsRunsAtOnce) {
  BotWorld w;
  w.start();
  w.world.queueDialogAnswer(DialogAnswer::After(30000, DialogAnswer::Input("Den")));
  EXPECT_TRUE(
      w.idlingAfterSaying(".idleon", 1000, 1000 + host::kChatPollMs * 2, [&] { w.click("enterpr"); }));
  EXPECT_TRUE(w.host.findRoom("Den"));
}

// A thousand commands at once, with a host that takes six lines in ten seconds: answers
// stop once stale, at most kMostWaitingChats commands wait, and a command said after the
// flood takes effect within half a minute (it took half an hour before).
TEST(ChatCommands, AFloodOfCommandsHoldsUpTheNextOneForSecondsOnly) {
  BotWorld w;
  w.host.setTranscriptLimit(2000);
  w.host.setChatRateLimit(6, 10000);
  w.start();
  for (int i = 0; i < 1000; ++i) w.host.say(w.room, Text(kUser), ".status");
  EXPECT_TRUE(w.idlingAfterSaying(".idleon", 1000, 31000));
}

// A multiple message of 100 KB goes out cut to the line bound every minute, and half an
// hour of such lines leaves the user's command heard.
TEST(ChatCommands, LongLinesGoOutCutAndTheBotStaysAwake) {
  BotWorld w;
  ASSERT_TRUE(w.program().files.writeFileAtomic(w.path("messages"), std::string(100'000, 'z') + "\r\n"));
  w.setConfig("mm", "0");
  w.setConfig("reas", "1");
  w.setConfig("int", "1");
  w.start(1000);
  w.click("idleon");
  w.minutes(30);
  std::size_t longest = 0;
  for (const Text& line : w.host.chatLinesTaken()) longest = std::max(longest, line.size());
  EXPECT_EQ(longest, host::kChatLineLimit);
  // Other members' lines are the host's to bound: thirty of 100 KB make a transcript far
  // longer than a mebibyte, and the user is still heard.
  for (int i = 0; i < 30; ++i) w.host.say(w.room, "Bob", std::string(100'000, 'y'));
  w.world.runFor(1000);
  w.type(".idleon");
  w.type(".idleoff");
  EXPECT_FALSE(Idling(w));
}

// The command list: its items in order, the explanation with the current trigger while
// the mouse is down, and its two heights.
TEST(ChatCommands, CommandListExplainsThePressedCommandWithTheCurrentTrigger) {
  BotWorld w;
  Console& c = w.start();
  toolkit::Form& coms = c.commandList().form();
  EXPECT_FALSE(coms.visible());
  EXPECT_TRUE(w.program().windows.isTopmost(coms.window()));
  EXPECT_EQ(coms.items("List1"),
            (std::vector<Text>{"trig x", "signoff", "status", "imson", "imsoff", "pr x", "rea x", "idleon",
                               "idleoff", "cmds", "cmdh", "gon", "goff"}));
  EXPECT_EQ(coms.text("Label1"), "coms");
  auto& ws = w.program().windows;
  const int tpp = w.program().screen.twipsPerPixelY();
  const auto height = [&] { return coms.rect().height(); };
  EXPECT_EQ(height(), 420 / tpp);

  // A press on a row selects it first, as the mouse does; a press below the rows while
  // no item is selected changes nothing.
  const Window list = coms.control("List1");
  const int row = static_cast<int>(ws.listItemHeight(list).value_or(0));
  ASSERT_GT(row, 0);
  const auto press = [&](int index) {
    ws.send(list, msg::kLButtonDown, 0, platform::MakeLParam(4, index * row + row / 2));
  };
  press(20);
  EXPECT_EQ(coms.text("Label1"), "coms");
  EXPECT_EQ(height(), 420 / tpp);
  ws.send(list, msg::kLButtonUp, 0, 0);

  const struct {
    const char* item;
    const char* explanation;
  } presses[] = {
      {"pr x", "private room .pr x"},
      {"trig x", "change trigger .trig x"},
      {"rea x", "reason .rea x"},
      {"signoff", "signoff aol"},
      {"status", "scrolls dl or ul stats"},
      {"imson", "enable ims"},
      {"imsoff", "disable ims"},
      {"idleon", "enables idlebot"},
      {"idleoff", "disable idlebot"},
      {"cmds", "view commands"},
      {"cmdh", "hide commands"},
      {"gon", "simply ghost"},
      {"goff", "simply unghost"},
  };
  const std::vector<Text> items = coms.items("List1");
  for (const auto& p : presses) {
    SCOPED_TRACE(p.item);
    const auto at = std::find(items.begin(), items.end(), p.item);
    ASSERT_NE(at, items.end());
    press(static_cast<int>(at - items.begin()));
    EXPECT_EQ(coms.text("Label1"), p.explanation);
    EXPECT_EQ(height(), 570 / tpp);
    ws.send(list, msg::kLButtonUp, 0, 0);
    EXPECT_EQ(height(), 420 / tpp);
  }

  // A trigger changed while the window is open shows at the next press.
  w.type(".trig !");
  press(5);
  EXPECT_EQ(coms.text("Label1"), "private room !pr x");
}

// A first start that finds the Windows folder's files gone keeps the trigger the user set
// in the program folder's options.
TEST(ChatCommands, AFirstStartKeepsTheStoredTrigger) {
  ConsoleWorld w;
  w.setConfig("trig", "!");
  w.signOnInRoom();
  Console& c = w.start();
  EXPECT_EQ(c.trigger(), "!");
  EXPECT_EQ(w.config("trig"), "!");
}

}  // namespace
}  // namespace vantary::console::testing
