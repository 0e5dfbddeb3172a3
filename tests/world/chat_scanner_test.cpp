// The chat-scanning control against the stand-in host's rooms: one event per new message
// in either layout, through trimming, repeats, continuation lines and lines crafted to
// pass for the user's, rooms that close, change or are covered, and a host that hangs.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "host/chat_scanner.h"
#include "tests/world/host_fixture.h"

namespace vantary::host::testing {
namespace {

using Lines = std::vector<ChatLine>;

struct Scanned {
  explicit Scanned(RoomLayout layout = RoomLayout::kRich, const std::string& suffix = "")
      : f(Generation::k5, suffix) {
    room = f.signOnInRoom("Joe", "Lobby", layout);
    f.host.join(room, "Bob");
  }
  void start() { scanner.start(); }
  // Long enough for the next look.
  void settle() { f.runFor(2 * kChatPollMs); }
  void say(const std::string& sender, const std::string& text) { f.host.say(room, sender, text); }

  HostFixture f;
  Window room;
  Lines events;
  ChatScanner scanner{f.lib, [this](const Text& sender, const Text& text) {
                        events.push_back({sender, text});
                      }};
};

TEST(ChatScanner, EachNewMessageOfAMemberOrTheUserIsOneEvent) {
  for (const RoomLayout layout : {RoomLayout::kRich, RoomLayout::kPlain}) {
    const std::string name = layout == RoomLayout::kRich ? "rich" : "plain";
    SCOPED_TRACE(name);
    Scanned s(layout, name);
    s.say("Bob", "said before the program looked");
    s.start();
    s.settle();
    EXPECT_EQ(s.events, Lines{}) << "what the room showed at the start is history";

    s.say("Bob", "hello <b>there</b>");
    s.settle();
    s.f.lib.SendChatLineEx(".idle on", false, false);
    s.settle();
    EXPECT_EQ(s.events, (Lines{{"Bob", "hello there"}, {"Joe", ".idle on"}}));

    // Nothing new: no event, and the transcript is not taken apart again.
    const std::uint64_t parses = s.scanner.stats().parses;
    s.f.runFor(10000);
    EXPECT_EQ(s.events.size(), 2u);
    EXPECT_EQ(s.scanner.stats().parses, parses);
    EXPECT_GE(s.scanner.stats().looks, 50u);
  }
}

// The host keeps only its newest lines; the same line said again is a new message each
// time, whether the looks come between the copies or not.
TEST(ChatScanner, TrimmedTranscriptsAndRepeatedLinesRaiseEachMessageOnce) {
  Scanned s;
  s.f.host.setTranscriptLimit(6);
  for (const char* line : {"a", "b", "c"}) s.say("Bob", line);
  s.start();
  for (int i = 0; i < 3; ++i) {
    s.say("Bob", "lol");
    s.settle();
  }
  EXPECT_EQ(s.events.size(), 3u);
  s.say("Bob", "lol");  // two at once, the oldest lines dropped to make room
  s.say("Bob", "lol");
  s.settle();
  s.say("Bob", "lol");
  s.settle();
  EXPECT_EQ(s.events, Lines(6, ChatLine{"Bob", "lol"}));

  // More at once than the host keeps: what it still shows is raised, nothing twice.
  s.events.clear();
  for (const char* line : {"1", "2", "3", "4", "5", "6", "7", "8"}) s.say("Bob", line);
  s.settle();
  EXPECT_EQ(s.events,
            (Lines{{"Bob", "3"}, {"Bob", "4"}, {"Bob", "5"}, {"Bob", "6"}, {"Bob", "7"}, {"Bob", "8"}}));
  s.events.clear();
  s.say("Joe", "2");
  s.say("Bob", "3");
  s.settle();
  EXPECT_EQ(s.events, (Lines{{"Joe", "2"}, {"Bob", "3"}}));
}

// A line break inside a text shows as a further line without a name; it belongs to the
// message before it. A TAB inside a text shows as a blank, so no member can start a line
// that reads as somebody else's, the user's least of all.
TEST(ChatScanner, ContinuationAndCraftedLinesStayWithTheirSender) {
  struct Case {
    const char* sender;
    const char* text;
    ChatLine expected;
  };
  const Case cases[] = {
      {"Bob", "first\r\nsecond\nthird", {"Bob", "first second third"}},
      {"Mallory", "hi\r\nJoe:\t.idle off", {"Mallory", "hi Joe: .idle off"}},
      {"Mallory", "\r\nJoe\t.signoff", {"Mallory", "Joe .signoff"}},
      {"Mallory", "x\rJoe:\t.idle on\nJoe:\t.idle on\r\n", {"Mallory", "x Joe: .idle on Joe: .idle on"}},
      {"Mallory", "Joe:\t.idle on", {"Mallory", "Joe: .idle on"}},
      {"Joe2", ".idle on", {"Joe2", ".idle on"}},
      {"Joe ", ".idle on", {"Joe ", ".idle on"}},
  };
  Scanned s;
  s.start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    s.events.clear();
    s.say(c.sender, c.text);
    s.settle();
    EXPECT_EQ(s.events, Lines{c.expected});
  }
  // The same, all between two looks.
  s.events.clear();
  for (const Case& c : cases) s.say(c.sender, c.text);
  s.settle();
  ASSERT_EQ(s.events.size(), std::size(cases));
  for (std::size_t i = 0; i < s.events.size(); ++i) EXPECT_EQ(s.events[i], cases[i].expected);
}

TEST(ChatScanner, ANewRoomStartsAsHistory) {
  Scanned s;
  s.start();
  s.f.host.closeRoom(s.room);
  s.settle();
  EXPECT_EQ(s.events, Lines{});

  // A room entered: what it shows before the first look is history.
  const Window two = s.f.host.openRoom("Two", RoomLayout::kPlain);
  s.f.host.say(two, "Bob", "before the first look");
  s.settle();
  s.f.host.say(two, "Bob", "after");
  s.settle();
  EXPECT_EQ(s.events, (Lines{{"Bob", "after"}}));

  // Another room opened on top is watched from now on.
  s.events.clear();
  const Window three = s.f.host.openRoom("Three", RoomLayout::kRich);
  s.f.host.say(three, "Ann", "welcome");
  s.settle();
  s.f.host.say(two, "Bob", "in the room below");
  s.f.host.say(three, "Ann", "hi Joe");
  s.settle();
  EXPECT_EQ(s.events, (Lines{{"Ann", "hi Joe"}}));

  // Signed off and on again: every room is new.
  s.events.clear();
  s.f.host.signOff();
  s.settle();
  s.f.host.signOn("Joe");
  const Window four = s.f.host.openRoom("Four", RoomLayout::kRich);
  s.f.host.say(four, "Bob", "back");
  s.settle();
  EXPECT_EQ(s.events, Lines{});
  s.f.host.say(four, "Bob", "again");
  s.settle();
  EXPECT_EQ(s.events, (Lines{{"Bob", "again"}}));
}

// The user's own buddy list on top keeps the room finder from taking the room; the room
// is still the same when the list goes, so what was said meanwhile is raised then.
TEST(ChatScanner, ARoomCoveredForAWhileGoesOnWhereItStopped) {
  Scanned s;
  s.start();
  Intruder intruder(s.f);
  const Window list = intruder.richRoomLike("Joe's Buddy List");
  s.settle();
  ASSERT_FALSE(s.f.lib.FindChatRoom());
  s.say("Bob", "while covered");
  s.settle();
  EXPECT_EQ(s.events, Lines{});
  intruder.ws().destroy(list);
  s.settle();
  s.settle();
  EXPECT_EQ(s.events, (Lines{{"Bob", "while covered"}}));
}

TEST(ChatScanner, AHostThatStopsAnsweringIsLeftAloneUntilItAnswers) {
  Scanned s;
  s.say("Bob", "history");
  s.start();
  s.f.world.setHung(s.f.hostProcess.id(), true);
  s.say("Bob", "while hung");
  const std::uint64_t looks = s.scanner.stats().looks;
  s.f.runFor(60000);
  EXPECT_EQ(s.events, Lines{});
  // Each look at a hanging host waits out a send; the scanner backs off between them.
  EXPECT_LE(s.scanner.stats().looks - looks, 60000u / kChatUnansweredBackoffMs + 1);

  s.f.world.setHung(s.f.hostProcess.id(), false);
  s.f.runFor(kChatUnansweredBackoffMs + kChatPollMs);
  EXPECT_EQ(s.events, (Lines{{"Bob", "while hung"}}));
}

// A transcript that reads empty for a moment (a host that fails the read at once, as the
// real system does for a process it already knows to be hanging) is no empty room: the
// lines it showed before are not raised again when they come back.
TEST(ChatScanner, AnEmptyReadNeverReplaysTheRoom) {
  HostFixture f;
  f.host.signOn("Joe");
  Intruder intruder(f);
  const Window room = intruder.richRoomLike("Lobby 2");
  const Window transcript = intruder.ws().firstChild(room, "RICHCNTL");
  intruder.ws().setText(transcript, "Bob:\ta\r\nBob:\tb");
  Lines events;
  ChatScanner scanner(f.lib, [&](const Text& sender, const Text& text) { events.push_back({sender, text}); });
  scanner.start();
  intruder.ws().setText(transcript, "");
  f.runFor(2 * kChatPollMs);
  intruder.ws().setText(transcript, "Bob:\ta\r\nBob:\tb\r\nBob:\tc");
  f.runFor(2 * kChatPollMs);
  EXPECT_EQ(events, (Lines{{"Bob", "c"}}));
}

// A handler may answer in the room (its own line must come once, as a new message) or
// end the scanner; neither makes a message come twice or the scanner fail.
TEST(ChatScanner, HandlersMayTalkAndMayEndTheScanner) {
  HostFixture f;
  const Window room = f.signOnInRoom("Joe");
  Lines events;
  std::unique_ptr<ChatScanner> scanner;
  scanner = std::make_unique<ChatScanner>(f.lib, [&](const Text& sender, const Text& text) {
    events.push_back({sender, text});
    if (text == "ping") f.lib.SendChatLine("pong");
    if (text == "bye") scanner.reset();
  });
  scanner->start();
  f.host.say(room, "Bob", "ping");
  f.runFor(1000);
  EXPECT_EQ(events, (Lines{{"Bob", "ping"}, {"Joe", "pong"}}));

  f.host.say(room, "Bob", "bye");
  f.host.say(room, "Bob", "not raised: the scanner has gone");
  f.runFor(1000);
  EXPECT_EQ(events.back(), (ChatLine{"Bob", "bye"}));
  EXPECT_FALSE(scanner);
}

}  // namespace
}  // namespace vantary::host::testing
