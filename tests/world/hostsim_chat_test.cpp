// The stand-in host's chat rooms as another process uses them: lines entered through the
// input box, the transcript byte for byte, the rate limit, member records in host memory
// and the ignore box.
#include <gtest/gtest.h>

#include "hostsim/transcript.h"
#include "tests/world/hostsim_probe.h"

namespace vantary::hostsim::testing {
namespace {

using text::operator""_ansi;

// The user's line goes through the input box; each case is what the transcript then holds.
TEST(HostSimChat, EnteredLinesShowUnderTheUsersNameWithoutMarkup) {
  struct Case {
    const char* what;
    std::string line;
    std::string shown;
  };
  const Case cases[] = {
      {"plain", "hello", "Joe:\thello"},
      {"status line markup",
       std::string("</u></s></i></b><font color=#336699>‹°·<font color=#000000> vantarý³ · engaged"_ansi),
       std::string("Joe:\t‹°· vantarý³ · engaged"_ansi)},
      {"ignore line", std::string("> x <i>(</i> bob<i> )</i> ·"_ansi),
       std::string("Joe:\t> x ( bob ) ·"_ansi)},
      {"line break", "one\r\ntwo", "Joe:\tone\r\ntwo"},
      {"lone line feed", "one\ntwo", "Joe:\tone\r\ntwo"},
      {"tab", "a\tb", "Joe:\ta b"},
      {"forged name", "x\r\nBob:\tfake", "Joe:\tx\r\nBob: fake"},
      {"angle brackets that are text", "a <3 b <grin> <i love you>", "Joe:\ta <3 b <grin> <i love you>"},
      {"tags in any case", "<B>bold</B><FONT FACE=arial>x</Font>", "Joe:\tboldx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostWorld w(Generation::k5, c.what);
    w.host.signOn("Joe");
    const Window room = w.host.openRoom("Lobby", RoomLayout::kRich);
    const Window input = w.probe.ws.nthChild(w.probe.richRoom(), "RICHCNTL", 2);
    ASSERT_TRUE(w.probe.ws.setText(input, c.line));
    ASSERT_TRUE(w.probe.ws.sendChar(input, 13));
    // The host takes the line at once and empties the box.
    EXPECT_EQ(w.probe.ws.text(input), "");
    EXPECT_EQ(w.probe.ws.text(w.probe.ws.firstChild(room, "RICHCNTL")), c.shown);
  }
}

TEST(HostSimChat, PlainRoomTakesLinesFromItsEditBox) {
  HostWorld w;
  w.host.signOn("Joe");
  w.host.openRoom("Town Square", RoomLayout::kPlain);
  const Window room = w.probe.plainRoom();
  const Window input = w.probe.ws.firstChild(room, "_AOL_Edit");
  w.host.say(room, "Ann", "hi <b>all</b>");
  ASSERT_TRUE(w.probe.sendLine(input, "hello"));
  // An empty box is no line.
  w.probe.ws.sendChar(input, 13);
  EXPECT_EQ(w.probe.ws.text(w.probe.ws.firstChild(room, "_AOL_View")), "Ann:\thi all\r\nJoe:\thello");
}

TEST(HostSimChat, TranscriptKeepsOnlyTheNewestLines) {
  HostWorld w;
  w.host.signOn("Joe");
  const Window room = w.host.openRoom("Lobby", RoomLayout::kRich);
  w.host.setTranscriptLimit(3);
  w.host.say(room, "Ann", "one");
  w.host.say(room, "Bob", "two\r\nthree");
  w.host.say(room, "Ann", "four");
  EXPECT_EQ(w.host.transcript(room), "Bob:\ttwo\r\nthree\r\nAnn:\tfour");
  w.host.say(room, "Ann", "five");
  // The oldest line goes even when it leaves a continuation line first.
  EXPECT_EQ(w.host.transcript(room), "three\r\nAnn:\tfour\r\nAnn:\tfive");
  w.host.setTranscriptLimit(1);
  EXPECT_EQ(w.probe.ws.text(w.probe.ws.firstChild(room, "RICHCNTL")), "Ann:\tfive");
}

TEST(HostSimChat, FloodedHostKeepsTheLineUntilReadyAndEveryLineArrivesInOrder) {
  HostWorld w;
  w.host.signOn("Joe");
  const Window room = w.host.openRoom("Lobby", RoomLayout::kRich);
  w.host.setChatRateLimit(2, 1000);
  const Window input = w.probe.ws.nthChild(room, "RICHCNTL", 2);
  const std::uint64_t start = w.probe.loop.nowMs();
  std::string expected;
  for (int i = 1; i <= 6; ++i) {
    const std::string line = "line " + std::to_string(i);
    ASSERT_TRUE(w.probe.sendLine(input, line)) << line;
    expected += (i > 1 ? "\r\n" : "") + ("Joe:\t" + line);
  }
  EXPECT_EQ(w.host.transcript(room), expected);
  EXPECT_GT(w.host.chatLinesRefused(), 0);
  // Six lines at two a second need two further seconds after the first pair.
  EXPECT_GE(w.probe.loop.nowMs() - start, 2000u);
}

// The people list as the program scans it: item data, the name block's address at 24,
// the name at 6 of the name block, 16 bytes at most.
std::vector<std::string> MemberNamesFromHostMemory(Probe& probe, Window list) {
  std::vector<std::string> names;
  auto reader = probe.ws.openProcess(probe.ws.processOf(list));
  if (!reader) return names;
  const auto count = probe.ws.send(list, msg::kLbGetCount).value_or(0);
  for (platform::LResult row = 0; row < count; ++row) {
    const auto record = static_cast<std::uint32_t>(
        probe.ws.send(list, msg::kLbGetItemData, static_cast<platform::WParam>(row)).value_or(0));
    std::uint8_t address[4] = {};
    std::uint8_t name[16] = {};
    if (!reader->read(record + 24, address)) return {};
    const std::uint32_t block =
        address[0] | (address[1] << 8) | (address[2] << 16) | (static_cast<std::uint32_t>(address[3]) << 24);
    if (!reader->read(block + 6, name)) return {};
    std::string s(reinterpret_cast<const char*>(name), 16);
    names.push_back(s.substr(0, s.find('\0')));
  }
  return names;
}

TEST(HostSimChat, MemberNamesAreInHostMemoryBehindTheListRows) {
  HostWorld w;
  w.host.signOn("Joe User");
  const Window room = w.host.openRoom("Lobby", RoomLayout::kRich);
  w.host.join(room, "Bob");
  w.host.join(room, "ABCDEFGHIJKLMNOP");  // fills the 16 bytes, no zero byte
  w.host.join(room, std::string("Zoë"_ansi));
  const Window list = w.probe.ws.firstChild(w.probe.richRoom(), "_AOL_Listbox");
  EXPECT_EQ(MemberNamesFromHostMemory(w.probe, list),
            (std::vector<std::string>{"Joe User", "Bob", "ABCDEFGHIJKLMNOP", std::string("Zoë"_ansi)}));
  w.host.leave(room, "bob");
  EXPECT_EQ(MemberNamesFromHostMemory(w.probe, list),
            (std::vector<std::string>{"Joe User", "ABCDEFGHIJKLMNOP", std::string("Zoë"_ansi)}));
}

TEST(HostSimChat, IgnoreBoxOfMemberInformationHidesTheMembersLines) {
  HostWorld w;
  w.host.signOn("Joe");
  const Window room = w.host.openRoom("Lobby", RoomLayout::kRich);
  w.host.join(room, "Bob");
  w.host.join(room, "Ann");
  auto& ws = w.probe.ws;
  const Window list = ws.firstChild(room, "_AOL_Listbox");

  // A double click on Bob's row opens his information.
  const auto openInfo = [&](platform::WParam row) {
    ws.send(list, msg::kLbSetCurSel, row);
    ws.post(list, msg::kLButtonDblClk);
    Window info;
    EXPECT_TRUE(w.probe.waitFor([&] { return bool(info = w.probe.memberInfo()); }));
    return info;
  };
  Window info = openInfo(1);
  ASSERT_TRUE(info);
  EXPECT_EQ(ws.caption(info), "Bob");
  const Window box = ws.firstChild(info, "_AOL_CheckBox");
  EXPECT_EQ(ws.send(box, msg::kBmGetCheck), msg::kBstUnchecked);
  ws.sendClick(box);
  EXPECT_EQ(ws.send(box, msg::kBmGetCheck), msg::kBstChecked);
  EXPECT_TRUE(w.host.isIgnored("bob"));
  ws.post(info, msg::kClose);
  ASSERT_TRUE(w.probe.waitFor([&] { return !ws.exists(info); }));

  w.host.say(room, "Bob", "you cannot read me");
  w.host.say(room, "Ann", "hi");
  EXPECT_EQ(w.host.transcript(room), "Ann:\thi");

  // Opened again, the box shows the ignore; a click lifts it.
  info = openInfo(1);
  const Window again = ws.firstChild(info, "_AOL_CheckBox");
  EXPECT_EQ(ws.send(again, msg::kBmGetCheck), msg::kBstChecked);
  ws.sendClick(again);
  EXPECT_FALSE(w.host.isIgnored("Bob"));
  w.host.say(room, "Bob", "back");
  EXPECT_EQ(w.host.transcript(room), "Ann:\thi\r\nBob:\tback");
}

}  // namespace
}  // namespace vantary::hostsim::testing
