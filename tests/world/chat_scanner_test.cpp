// The chat-scanning control against the stand-in host's rooms: one event per new message
// in either layout, through trimming, repeats, continuation lines and lines crafted to
// pass for the user's, rooms that close, change or are covered, a host that hangs or
// changes the transcript while it is read, and transcripts too long to read.
#include <gtest/gtest.h>

#include <cstddef>
#include <deque>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "host/chat_scanner.h"
#include "tests/stand_in_windows.h"
#include "tests/world/host_fixture.h"

namespace vantary::host {
// Failures show the lines, not their bytes.
static void PrintTo(const ChatLine& line, std::ostream* os) { *os << line.sender << ": " << line.text; }
}  // namespace vantary::host

namespace vantary::host::testing {
namespace {

using Lines = std::vector<ChatLine>;

struct Scanned {
  explicit Scanned(RoomLayout layout = RoomLayout::kRich, const std::string& suffix = "",
                   std::size_t readLimit = kChatReadLimit)
      : f(Generation::k5, suffix),
        scanner(
            f.lib,
            [this](const Text& sender, const Text& text) {
              events.push_back({sender, text});
            },
            readLimit) {
    room = f.signOnInRoom("Joe", "Lobby", layout);
    f.host.join(room, "Bob");
  }
  void start() { scanner.start(); }
  // Long enough for the next look.
  void settle() { f.runFor(2 * kChatPollMs); }
  // Long enough for the next whole look, which sees what a quick one cannot.
  void settleWhole() { f.runFor(kChatWholeLookEvery * kChatPollMs); }
  void say(const std::string& sender, const std::string& text) { f.host.say(room, sender, text); }

  HostFixture f;
  Window room;
  Lines events;
  ChatScanner scanner;
};

// A rich room whose host works while the program reads it, in a process of its own among
// the host's windows: its transcript answers as an edit control does, but the host may
// say a line after the program took the transcript's length and before it takes the
// text, or fail a text read (nothing copied, as a control being rebuilt answers).
class BusyRoom {
 public:
  BusyRoom(HostFixture& f, std::size_t keep, const Lines& history)
      : process_(f.world.addProcess("busy")), ws_(process_.platform().windows), keep_(keep) {
    using platform::BaseKind;
    const vantary::testing::HostClass classes[] = {
        {"AOL Child", BaseKind::kMdiChild},   {"RICHCNTL", BaseKind::kEdit},
        {"_AOL_Listbox", BaseKind::kListBox}, {"_AOL_Combobox", BaseKind::kPlain},
        {"_AOL_Icon", BaseKind::kPlain},      {"_AOL_Static", BaseKind::kStatic}};
    vantary::testing::RegisterClasses(ws_, classes,
                                      [this](Window w, const platform::Message& m) { return answer(w, m); });
    room_ = make("AOL Child", "Lobby", f.host.mdiClient());
    for (const char* cls : vantary::testing::kRichRoomChildren) make(cls, "", room_);
    transcript_ = ws_.firstChild(room_, "RICHCNTL");
    for (const ChatLine& line : history) say(line);
  }
  ~BusyRoom() { ws_.destroy(room_); }
  BusyRoom(const BusyRoom&) = delete;
  BusyRoom& operator=(const BusyRoom&) = delete;

  // The host shows `line` last, and drops its oldest line when it holds more than `keep`.
  void say(const ChatLine& line) {
    lines_.push_back(line);
    if (lines_.size() > keep_) lines_.pop_front();
    Text shown;
    for (const ChatLine& l : lines_) shown += (shown.empty() ? "" : "\r\n") + l.sender + ":\t" + l.text;
    ws_.setText(transcript_, shown);
  }

  // Lines the host says, one just before each of the next text reads is answered.
  std::deque<ChatLine> sayDuringReads;
  // How many of the next text reads copy nothing.
  int failedReads = 0;

 private:
  platform::LResult answer(Window w, const platform::Message& m) {
    if (w == transcript_ && m.id == msg::kGetText) {
      if (!sayDuringReads.empty()) {
        say(sayDuringReads.front());
        sayDuringReads.pop_front();
      }
      if (failedReads > 0) {
        --failedReads;
        return 0;
      }
    }
    return ws_.callDefault(w, m);
  }
  Window make(const char* className, const std::string& caption, Window parent) {
    return vantary::testing::MakeWindow(ws_, className, caption, parent);
  }

  platform::sim::SimProcess& process_;
  platform::WindowSystem& ws_;
  std::size_t keep_;
  std::deque<ChatLine> lines_;
  Window room_;
  Window transcript_;
};

// Eight short lines, the user's old command among them, in a room that keeps eight.
const Lines kShortHistory = {{"Bob", "1"},         {"Bob", "2"}, {"Bob", "3"}, {"Bob", "4"},
                             {"Joe", ".idle off"}, {"Bob", "5"}, {"Bob", "6"}, {"Bob", "7"}};
constexpr std::size_t kBusyRoomKeeps = 8;
constexpr int kReadTries = platform::WindowSystem::kTextReadAttempts;

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

    // Nothing new: no event, the transcript is not taken apart again, and only the whole
    // looks read it.
    const ChatScanner::Stats before = s.scanner.stats();
    s.f.runFor(10000);
    EXPECT_EQ(s.events.size(), 2u);
    const ChatScanner::Stats& after = s.scanner.stats();
    EXPECT_EQ(after.parses, before.parses);
    EXPECT_GE(after.looks - before.looks, 10000u / kChatPollMs - 1);
    EXPECT_LE(after.reads - before.reads, (after.looks - before.looks) / kChatWholeLookEvery + 1);
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
  s.say("Joe", "2");  // as long as the two lines dropped for them
  s.say("Bob", "3");
  s.settleWhole();
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

// A room at the host's line limit that drops a line as long as the one it gains keeps its
// length: the quick looks cannot tell, the next whole look does, and the message is raised
// once. A line of another length is raised at the next look.
TEST(ChatScanner, ARoomAtItsLineLimitRaisesALineAsLongAsTheDroppedOneOnce) {
  Scanned s;
  s.f.host.setTranscriptLimit(3);
  for (const char* line : {"a", "b", "c"}) s.say("Bob", line);
  s.start();
  s.f.runFor(kChatPollMs);
  s.say("Bob", "d");  // drops "Bob: a": the transcript is as long as before
  s.settleWhole();
  EXPECT_EQ(s.events, (Lines{{"Bob", "d"}}));
  s.f.runFor(10 * kChatPollMs);
  EXPECT_EQ(s.events, (Lines{{"Bob", "d"}})) << "raised once";

  s.events.clear();
  s.say("Joe", ".status");
  s.f.runFor(kChatPollMs);
  EXPECT_EQ(s.events, (Lines{{"Joe", ".status"}})) << "noticed within one look";
}

// A rich room of a process of its own among the host's windows, which the test drives as
// the host would (its caption, its transcript), showing two lines of Bob's when the
// scanner starts watching.
struct RoomOfItsOwn {
  RoomOfItsOwn() {
    intruder.ws().setText(transcript, "Bob:\ta\r\nBob:\tb");
    scanner.start();
  }
  HostFixture f;
  // The user is signed on before the room comes, so the room lies on top of the host's
  // windows.
  Intruder intruder{(f.host.signOn("Joe"), f)};
  Window room = intruder.richRoomLike("Lobby 2");
  Window transcript = intruder.ws().firstChild(room, "RICHCNTL");
  Lines events;
  ChatScanner scanner{f.lib, [this](const Text& sender, const Text& text) {
                        events.push_back({sender, text});
                      }};
};

// The host may show another room in the window of the last one: a new caption over the
// same window is a new room, whose lines before the first look are history.
TEST(ChatScanner, ARoomReopenedInTheSameWindowStartsAsHistory) {
  RoomOfItsOwn r;
  auto& [f, intruder, room, transcript, events, scanner] = r;
  f.runFor(2 * kChatPollMs);
  // The same length as before, then another length.
  const std::pair<const char*, const char*> rooms[] = {{"Lobby 3", "Ann:\tx\r\nAnn:\ty"},
                                                       {"Lobby 4", "Ann:\tx\r\nAnn:\ty\r\nAnn:\tz"}};
  for (const auto& [caption, shown] : rooms) {
    SCOPED_TRACE(caption);
    intruder.ws().setText(room, caption);
    intruder.ws().setText(transcript, shown);
    f.runFor(2 * kChatPollMs);
    EXPECT_EQ(events, Lines{});
  }
  intruder.ws().setText(transcript, "Ann:\tx\r\nAnn:\ty\r\nAnn:\tz\r\nJoe:\t.status");
  f.runFor(kChatPollMs);
  EXPECT_EQ(events, (Lines{{"Joe", ".status"}}));
}

// A new sign-on under another screen name: the old name's buddy list is an ordinary window
// now, the new name's covers the room, and the room's lines are each raised once.
TEST(ChatScanner, ANewSignOnUnderAnotherNameChangesWhichWindowIsTheUsersOwn) {
  Scanned s;
  s.start();
  s.f.host.signOff();
  s.f.host.signOn("Ann");
  const Window room = s.f.host.openRoom("Lobby", RoomLayout::kRich);
  s.f.host.join(room, "Bob");
  s.f.runFor(2 * kChatPollMs);
  s.f.host.say(room, "Bob", "hi Ann");
  s.f.runFor(kChatPollMs);
  EXPECT_EQ(s.events, (Lines{{"Bob", "hi Ann"}}));

  Intruder intruder(s.f);
  const Window list = intruder.richRoomLike("Ann's Buddy List");
  s.f.runFor(kChatPollMs);
  ASSERT_FALSE(s.f.lib.FindChatRoom());
  s.f.host.say(room, "Ann", ".status");
  s.f.runFor(kChatPollMs);
  EXPECT_EQ(s.events.size(), 1u) << "the user's own window is no room";
  intruder.ws().destroy(list);
  s.f.runFor(2 * kChatPollMs);
  EXPECT_EQ(s.events, (Lines{{"Bob", "hi Ann"}, {"Ann", ".status"}}));
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
  RoomOfItsOwn r;
  auto& [f, intruder, room, transcript, events, scanner] = r;
  intruder.ws().setText(transcript, "");
  f.runFor(2 * kChatPollMs);
  intruder.ws().setText(transcript, "Bob:\ta\r\nBob:\tb\r\nBob:\tc");
  f.runFor(2 * kChatPollMs);
  EXPECT_EQ(events, (Lines{{"Bob", "c"}}));
}

// The host drops its oldest lines and says longer ones between the program's length and
// text reads: read as it came, the text is the new transcript cut short, a command cut
// in two ("Joe: .sig") and then, matching nothing, the whole room again.
TEST(ChatScanner, LinesSaidWhileTheTranscriptIsReadAreRaisedOnceAndWhole) {
  const Lines said = {{"Joe", ".signoff"}, {"Bob", "see you"}, {"Joe", ".idle on"}, {"Bob", "bye"}};
  struct Case {
    const char* name;
    std::size_t duringReads;
  };
  const Case cases[] = {
      {"during one read", 1},
      {"during more reads than one look tries", kReadTries + 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_LE(c.duringReads, said.size());
    HostFixture f(Generation::k5, c.name);
    f.host.signOn("Joe");
    BusyRoom room(f, kBusyRoomKeeps, kShortHistory);
    Lines events;
    ChatScanner scanner(f.lib, [&](const Text& sender, const Text& text) {
      events.push_back({sender, text});
    });
    scanner.start();
    const Lines expected(said.begin(), said.begin() + static_cast<std::ptrdiff_t>(c.duringReads));
    room.sayDuringReads.assign(expected.begin(), expected.end());
    // Only whole looks read the text; the quick ones between them ask its length.
    f.runFor((c.duringReads + kChatWholeLookEvery) * kChatPollMs);
    ASSERT_TRUE(room.sayDuringReads.empty()) << "the host did its work during reads";
    EXPECT_EQ(events, expected);
  }
}

// What the room showed is known only from a whole read: a first look that could not read
// the transcript takes nothing as history, and the room's lines stay history.
TEST(ChatScanner, AFirstLookThatCannotReadTheTranscriptTakesNoHistory) {
  struct Case {
    const char* name;
    Lines duringReads;
    int failedReads;
  };
  const Case cases[] = {
      {"lines come during every try",
       {{"Bob", "said during the first look"}, {"Joe", ".signoff"}, {"Bob", "still the first look"}},
       0},
      {"every try copies nothing", {}, kReadTries},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.duringReads.size() + static_cast<std::size_t>(c.failedReads),
              static_cast<std::size_t>(kReadTries));
    HostFixture f(Generation::k5, c.name);
    f.host.signOn("Joe");
    BusyRoom room(f, kBusyRoomKeeps, kShortHistory);
    Lines events;
    ChatScanner scanner(f.lib, [&](const Text& sender, const Text& text) {
      events.push_back({sender, text});
    });
    room.sayDuringReads.assign(c.duringReads.begin(), c.duringReads.end());
    room.failedReads = c.failedReads;
    scanner.start();
    f.runFor((kReadTries + 1) * kChatPollMs);
    ASSERT_TRUE(room.sayDuringReads.empty() && room.failedReads == 0) << "the host did its work during reads";
    room.say({"Bob", "after"});
    f.runFor(2 * kChatPollMs);
    EXPECT_EQ(events, (Lines{{"Bob", "after"}}));
  }
}

// WM_GETTEXT gives only the head of a transcript over the read limit, the oldest lines,
// shifting as the host drops them: such a transcript raises nothing, neither as history
// nor as new lines. Once it is back under the limit, what it shows that was never read
// is new, unless the room had never been read: then it is history.
TEST(ChatScanner, ATranscriptOverTheReadLimitNeverPassesOldLinesOffAsNew) {
  // Lines of 100 characters: nine fit in the limit, ten do not.
  constexpr std::size_t kLimit = 1000;
  const auto line = [](int i) { return std::string(93, 'x') + (i < 10 ? "0" : "") + std::to_string(i); };
  const auto bobs = [&](std::vector<int> numbers) {
    Lines lines;
    for (int i : numbers) lines.push_back({"Bob", line(i)});
    return lines;
  };
  struct Case {
    const char* name;
    int before;                  // lines said before the start
    int after;                   // lines said after it, one a look
    std::vector<int> raised;     // the lines raised as they were said
    std::vector<int> backUnder;  // the lines raised once the host keeps five lines again
  };
  const Case cases[] = {
      {"over the limit at the first look", 12, 3, {}, {}},
      {"over the limit from the tenth line", 5, 8, {6, 7, 8, 9}, {10, 11, 12, 13}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scanned s(RoomLayout::kRich, c.name, kLimit);
    s.f.host.setTranscriptLimit(12);
    int said = 0;
    while (said < c.before) s.say("Bob", line(++said));
    s.start();
    s.settle();
    while (said < c.before + c.after) {
      s.say("Bob", line(++said));
      s.settle();
    }
    EXPECT_EQ(s.events, bobs(c.raised));

    s.events.clear();
    s.f.host.setTranscriptLimit(5);
    s.settle();
    s.say("Joe", ".signoff");
    s.settle();
    Lines expected = bobs(c.backUnder);
    expected.push_back({"Joe", ".signoff"});
    EXPECT_EQ(s.events, expected);
  }
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
