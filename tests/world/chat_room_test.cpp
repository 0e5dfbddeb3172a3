// Lines said in the host's chat room through the library, in either layout, against a
// host that takes them at once, limits them, hangs or closes the room; and the member
// scan over the host's memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/world/host_fixture.h"

namespace vantary::host::testing {
namespace {

using text::operator""_ansi;

// The user's half-typed line, which every send must leave in the box.
constexpr const char* kTyped = "brb in 5, don't";

Window InputBox(HostFixture& f, Window room) {
  const Window rich = f.ws().nthChild(room, "RICHCNTL", 2);
  return rich ? rich : f.ws().firstChild(room, "_AOL_Edit");
}

TEST(ChatRoom, EachSendDeliversTheLineAndGivesTheUserTheirTextBack) {
  struct Case {
    const char* what;
    RoomLayout layout;
    std::function<void(Host&, const std::string&)> send;
  };
  const Case cases[] = {
      {"SendChatLine", RoomLayout::kRich, [](Host& h, const std::string& l) { h.SendChatLine(l); }},
      {"SendChatLineEx rich", RoomLayout::kRich,
       [](Host& h, const std::string& l) { h.SendChatLineEx(l, false, false); }},
      {"SendChatLineEx plain", RoomLayout::kPlain,
       [](Host& h, const std::string& l) { h.SendChatLineEx(l, false, false); }},
      {"SendPlainChatLine", RoomLayout::kPlain,
       [](Host& h, const std::string& l) { h.SendPlainChatLine(l); }},
  };
  const std::string line = StatusPrefix(ChatStyle{}, "‹°·"_ansi) + std::string("> vantarý³ · engaged"_ansi);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostFixture f(Generation::k5, c.what);
    const Window room = f.signOnInRoom("Joe", "Lobby", c.layout);
    const Window input = InputBox(f, room);
    for (const bool typed : {false, true}) {
      f.ws().setText(input, typed ? kTyped : "");
      c.send(f.lib, line);
      EXPECT_EQ(f.ws().text(input), typed ? kTyped : "");
    }
    EXPECT_EQ(f.host.chatLinesTaken(), (std::vector<std::string>{line, line}));
  }
}

TEST(ChatRoom, SendsWithoutTheirRoomSayNothing) {
  struct Case {
    const char* what;
    RoomLayout layout;
    std::function<void(Host&)> send;
  };
  const Case cases[] = {
      {"SendChatLine needs the rich room", RoomLayout::kPlain, [](Host& h) { h.SendChatLine("hi"); }},
      {"SendPlainChatLine needs the plain room", RoomLayout::kRich,
       [](Host& h) { h.SendPlainChatLine("hi"); }},
      {"SendPlainChatLine of nothing", RoomLayout::kPlain, [](Host& h) { h.SendPlainChatLine(""); }},
      {"SendChatLineEx of nothing", RoomLayout::kRich, [](Host& h) { h.SendChatLineEx("", true, true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostFixture f(Generation::k5, c.what);
    const Window room = f.signOnInRoom("Joe", "Lobby", c.layout);
    f.ws().setText(InputBox(f, room), kTyped);
    c.send(f.lib);
    EXPECT_TRUE(f.host.chatLinesTaken().empty());
    EXPECT_EQ(f.ws().text(InputBox(f, room)), kTyped);
  }
}

TEST(ChatRoom, SendChatLineExClipsAndAddsTheFontOnlyWhenAsked) {
  const std::string longLine(100, 'x');
  const std::string font = "</b></i></u><font face=arial>";
  struct Case {
    const char* what;
    RoomLayout layout;
    bool addFont;
    bool clip;
    std::string line;
    std::string taken;
  };
  const Case cases[] = {
      {"both off", RoomLayout::kRich, false, false, longLine, longLine},
      {"clip", RoomLayout::kRich, false, true, longLine, std::string(92, 'x')},
      {"clip leaves a short line", RoomLayout::kRich, false, true, std::string(91, 'x'),
       std::string(91, 'x')},
      {"font and clip", RoomLayout::kRich, true, true, longLine, font + std::string(92, 'x')},
      {"no font in the plain room", RoomLayout::kPlain, true, false, "hi", "hi"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostFixture f(Generation::k5, c.what);
    f.signOnInRoom("Joe", "Lobby", c.layout);
    f.lib.SendChatLineEx(c.line, c.addFont, c.clip);
    EXPECT_EQ(f.host.chatLinesTaken(), std::vector<std::string>{c.taken});
  }
}

TEST(ChatRoom, ClearLineIsNinetyTwoGraySymbolCharacters) {
  HostFixture f;
  const Window room = f.signOnInRoom("Joe");
  f.lib.SendClearLine();
  const std::string filler(92, '\xFF');
  EXPECT_EQ(f.host.chatLinesTaken(),
            std::vector<std::string>{"</b></u><font color=\"#C0C0C0\"><font face=\"Symbol\">" + filler});
  EXPECT_EQ(f.host.transcript(room), "Joe:\t" + filler);
}

TEST(ChatRoom, RateLimitedHostGetsEveryLineOfABurstInOrder) {
  HostFixture f;
  const Window room = f.signOnInRoom("Joe");
  f.host.setChatRateLimit(2, 3000);
  const Window input = InputBox(f, room);
  f.ws().setText(input, kTyped);
  std::vector<std::string> lines;
  for (int i = 1; i <= 6; ++i) {
    lines.push_back("line " + std::to_string(i));
    f.lib.SendChatLine(lines.back());
    EXPECT_EQ(f.ws().text(input), kTyped);
  }
  EXPECT_EQ(f.host.chatLinesTaken(), lines);
  EXPECT_GT(f.host.chatLinesRefused(), 0);
}

// A timer of the program says a line while another send waits for the host: both lines
// arrive, and each send puts back only what it found in the box.
TEST(ChatRoom, SendInsideAWaitingSendKeepsBothLinesAndTheUsersText) {
  HostFixture f;
  const Window room = f.signOnInRoom("Joe");
  f.host.setChatRateLimit(1, 5000);
  f.lib.SendChatLine("first");
  const Window input = InputBox(f, room);
  f.ws().setText(input, kTyped);
  platform::Timer tick(f.program().loop, 1000, [&] {
    tick.setEnabled(false);
    f.lib.SendChatLine("from the timer");
  });
  tick.setEnabled(true);
  f.lib.SendChatLine("second");
  tick.setEnabled(false);
  // The inner send takes the host's next free moment; the outer line follows it.
  EXPECT_EQ(f.host.chatLinesTaken(), (std::vector<std::string>{"first", "from the timer", "second"}));
  EXPECT_EQ(f.ws().text(input), kTyped);
}

TEST(ChatRoom, LineTheHostNeverTakesIsGivenUpWithinTheBound) {
  HostFixture f;
  const Window room = f.signOnInRoom("Joe");
  f.host.setChatRateLimit(1, 3600000);
  f.lib.SendChatLine("taken");
  const Window input = InputBox(f, room);
  f.ws().setText(input, kTyped);
  const std::uint64_t start = f.program().loop.nowMs();
  f.lib.SendChatLine("never taken");
  const std::uint64_t took = f.program().loop.nowMs() - start;
  EXPECT_GE(took, 30000u);
  EXPECT_LT(took, 31000u);
  EXPECT_EQ(f.ws().text(input), kTyped);
  EXPECT_EQ(f.host.chatLinesTaken(), std::vector<std::string>{"taken"});
}

// A host that keeps refusing the line under its flood control: Enter goes again after
// ever longer pauses, not every poll, and a line the host will take once the limit lifts
// goes out within a second of it.
TEST(ChatRoom, RefusedLineIsPressedAgainWithABackOff) {
  struct Case {
    const char* what;
    RoomLayout layout;
    std::uint32_t refusedForMs;  // after the line before it
    bool taken;
  };
  const Case cases[] = {
      {"rich room, never taken", RoomLayout::kRich, 3'600'000, false},
      {"rich room, limit lifts", RoomLayout::kRich, 20'000, true},
      {"plain room, limit lifts", RoomLayout::kPlain, 20'000, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostFixture f(Generation::k5, c.what);
    const Window room = f.signOnInRoom("Joe", "Lobby", c.layout);
    f.host.setChatRateLimit(1, c.refusedForMs);
    f.lib.SendChatLineEx("taken", false, false);
    const std::uint64_t lifts = f.program().loop.nowMs() + c.refusedForMs;
    f.ws().setText(InputBox(f, room), kTyped);
    if (c.layout == RoomLayout::kRich) {
      f.lib.SendChatLine("second");
    } else {
      f.lib.SendPlainChatLine("second");
    }
    const std::uint64_t ended = f.program().loop.nowMs();
    const std::vector<std::string> taken =
        c.taken ? std::vector<std::string>{"taken", "second"} : std::vector<std::string>{"taken"};
    EXPECT_EQ(f.host.chatLinesTaken(), taken);
    if (c.taken) {
      EXPECT_LE(ended, lifts + 1000);
    }
    // Every refused press reached the host: a few dozen in a wait of up to 30 s.
    EXPECT_GE(f.host.chatLinesRefused(), 5);
    EXPECT_LE(f.host.chatLinesRefused(), 40);
    EXPECT_EQ(f.ws().text(InputBox(f, room)), kTyped);
  }
}

TEST(ChatRoom, HungHostEndsTheSendAndKeepsTheUsersText) {
  struct Case {
    const char* what;
    RoomLayout layout;
    std::function<void(Host&)> send;
  };
  const Case cases[] = {
      {"SendChatLine", RoomLayout::kRich, [](Host& h) { h.SendChatLine("status"); }},
      {"SendChatLineEx", RoomLayout::kRich, [](Host& h) { h.SendChatLineEx("status", false, false); }},
      {"SendPlainChatLine", RoomLayout::kPlain, [](Host& h) { h.SendPlainChatLine("status"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostFixture f(Generation::k5, c.what);
    const Window room = f.signOnInRoom("Joe", "Lobby", c.layout);
    f.ws().setText(InputBox(f, room), kTyped);
    f.world.setHung(f.hostProcess.id(), true);
    const std::uint64_t start = f.program().loop.nowMs();
    c.send(f.lib);
    EXPECT_LE(f.program().loop.nowMs() - start, 5u * platform::kForeignSendLimitMs);
    f.world.setHung(f.hostProcess.id(), false);
    f.runFor(1000);
    EXPECT_EQ(f.ws().text(InputBox(f, room)), kTyped);
    EXPECT_TRUE(f.host.chatLinesTaken().empty());
  }
}

// The host stops answering while it keeps the line and recovers a little after the send
// has given up: the user's text still comes back.
TEST(ChatRoom, HostHangingDuringTheSendStillGetsTheUsersTextBack) {
  HostFixture f;
  const Window room = f.signOnInRoom("Joe");
  f.host.setChatRateLimit(1, 3600000);
  f.lib.SendChatLine("taken");
  const Window input = InputBox(f, room);
  f.ws().setText(input, kTyped);
  const platform::ProcessId hostId = f.hostProcess.id();
  auto& loop = f.program().loop;
  const std::uint64_t start = loop.nowMs();
  platform::Timer hang(loop, 5000, [&] {
    hang.setEnabled(false);
    f.world.setHung(hostId, true);
  });
  platform::Timer recover(loop, 36000, [&] {
    recover.setEnabled(false);
    f.world.setHung(hostId, false);
  });
  hang.setEnabled(true);
  recover.setEnabled(true);
  f.lib.SendChatLine("never taken");
  hang.setEnabled(false);
  recover.setEnabled(false);
  f.world.setHung(hostId, false);
  EXPECT_LT(loop.nowMs() - start, 50000u);
  EXPECT_EQ(f.ws().text(input), kTyped);
}

TEST(ChatRoom, RoomClosingDuringTheSendEndsItAtOnce) {
  for (const RoomLayout layout : {RoomLayout::kRich, RoomLayout::kPlain}) {
    HostFixture f(Generation::k5, layout == RoomLayout::kRich ? "rich" : "plain");
    const Window room = f.signOnInRoom("Joe", "Lobby", layout);
    f.host.setChatRateLimit(1, 3600000);
    f.lib.SendChatLineEx("taken", false, false);
    auto& loop = f.program().loop;
    platform::Timer close(loop, 2000, [&] { f.host.closeRoom(room); });
    close.setEnabled(true);
    const std::uint64_t start = loop.nowMs();
    f.lib.SendChatLineEx("never taken", false, false);
    close.setEnabled(false);
    EXPECT_LT(loop.nowMs() - start, 3000u);
    EXPECT_FALSE(f.ws().exists(room));
  }
}

// ---- member scan -----------------------------------------------------------------------

TEST(MemberScan, FindsTheFirstMatchingMemberButNeverTheUser) {
  struct Case {
    const char* what;
    std::vector<std::string> others;  // after the user, who is row 0
    std::string lookFor;
    std::optional<RoomMember> found;
  };
  const Case cases[] = {
      {"user's own row skipped", {"Ann", "Joey"}, "jo", RoomMember{2, "Joey"}},
      {"only the user matches", {"Ann"}, "JOE", std::nullopt},
      {"case ignored", {"Ann", "BigBob"}, "bigb", RoomMember{2, "BigBob"}},
      {"first of two", {"Bob1", "Bob2"}, "bob", RoomMember{1, "Bob1"}},
      {"no match", {"Ann"}, "zed", std::nullopt},
      {"name of all 16 bytes", {"Abcdefghijklmnop"}, "MNOP", RoomMember{1, "Abcdefghijklmnop"}},
      {"longer name kept by the host as 16", {"Abcdefghijklmnopq"}, "op", RoomMember{1, "Abcdefghijklmnop"}},
      {"nothing past the 16 bytes", {"Abcdefghijklmnopq"}, "opq", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostFixture f(Generation::k5, c.what);
    const Window room = f.signOnInRoom("Joe");
    for (const auto& m : c.others) f.host.join(room, m);
    const std::optional<RoomMember> found = f.lib.FindRoomMember(c.lookFor);
    ASSERT_EQ(found.has_value(), c.found.has_value());
    if (found) {
      EXPECT_EQ(found->index, c.found->index);
      EXPECT_EQ(found->name, c.found->name);
    }
  }
}

TEST(MemberScan, FindsNothingWithoutARichRoomOrItsHostsMemory) {
  {
    HostFixture f(Generation::k5, "plain");
    const Window room = f.signOnInRoom("Joe", "Lobby", RoomLayout::kPlain);
    f.host.join(room, "Ann");
    EXPECT_FALSE(f.lib.FindRoomMember("ann"));
  }
  {
    HostFixture f(Generation::k5, "locked");
    const Window room = f.signOnInRoom("Joe");
    f.host.join(room, "Ann");
    f.world.setMemoryLocked(f.hostProcess.id(), true);
    EXPECT_FALSE(f.lib.FindRoomMember("ann"));
  }
  {
    HostFixture f(Generation::k5, "empty");
    f.host.openRoom("Lobby", RoomLayout::kRich);  // signed off: nobody in it
    EXPECT_FALSE(f.lib.FindRoomMember(""));
  }
}

// Rows whose records the scan cannot read, laid in memory that ends right after the bytes
// the scan may read: 4 bytes of pointer at record + 24, 16 bytes of name at block + 6. A
// reader that took a byte more would fail on these rows and give an empty name.
TEST(MemberScan, ReadsExactlyThePointerAndTheSixteenNameBytes) {
  HostFixture f;
  const Window room = f.signOnInRoom("Joe");
  auto& hostWs = f.hostProcess.platform().windows;
  const Window people = f.ws().firstChild(room, "_AOL_Listbox");

  const auto addRow = [&](const char* shown, std::uint32_t data) {
    const auto row = hostWs.send(people, msg::kLbAddString, 0, reinterpret_cast<platform::LParam>(shown));
    hostWs.send(people, msg::kLbSetItemData, static_cast<platform::WParam>(*row),
                static_cast<platform::LParam>(data));
  };
  std::unique_ptr<platform::LowMemoryBlock> record = hostWs.allocateLowMemory(28);
  std::unique_ptr<platform::LowMemoryBlock> block = hostWs.allocateLowMemory(22);
  ASSERT_TRUE(record && block);
  const std::uint32_t at = block->address();
  for (int i = 0; i < 4; ++i)
    record->bytes()[24 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(at >> (8 * i));
  const std::string name = "Sixteen12345678X";
  std::copy(name.begin(), name.end(), block->bytes().begin() + 6);

  addRow("unreadable", 0x10);  // an address nobody owns: an empty name
  addRow("tight", record->address());
  // An empty text matches every readable name, so the unreadable row would be found first.
  const std::optional<RoomMember> found = f.lib.FindRoomMember("");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->index, 2);
  EXPECT_EQ(found->name, name);
}

}  // namespace
}  // namespace vantary::host::testing
