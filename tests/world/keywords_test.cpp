// Keywords through the toolbar and the Keyword window, private-room entry with its
// numbered tries, and signing off, against the stand-in host.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/world/host_fixture.h"

namespace vantary::host::testing {
namespace {

using text::operator""_ansi;

ChatStyle Decorated() {
  ChatStyle s;
  s.color1 = "FF0000";
  s.color2 = "0000FF";
  s.ascii1 = std::string("‹°·"_ansi);
  return s;
}

std::string Line(const ChatStyle& s, std::string_view text) {
  return StatusPrefix(s, s.ascii1) + std::string(text);
}

std::vector<std::string> RoomKeywords(const std::string& room, int tries) {
  std::vector<std::string> keywords;
  for (int n = 1; n <= tries; ++n) {
    // Appended piece by piece: GCC 12 at -O3 takes `" " + std::to_string(n)` for an
    // overlapping copy and fails the build.
    std::string keyword = "aol://2719:2-2-" + room;
    if (n > 1) keyword.append(" ").append(std::to_string(n));
    keywords.push_back(keyword);
  }
  return keywords;
}

TEST(PrivateRoom, RoomIsJoinedWhenTheHostShowsItsNameInOtherCaseAndSpacing) {
  HostFixture f;
  f.style = Decorated();
  f.signOnInRoom("Joe");
  f.lib.EnterPrivateRoom("QUIET  corner");
  const Window room = f.host.findRoom("Quiet Corner");
  ASSERT_TRUE(room);
  EXPECT_EQ(f.host.roomName(room), "Quiet Corner");
  EXPECT_EQ(f.host.chatLinesTaken(),
            std::vector<std::string>{Line(f.style, "> vantarý³ · enter'd . quietcorner"_ansi)});
}

// The web browser's download dialog standing is no full room: the room is entered on the
// first try and the dialog left alone.
TEST(PrivateRoom, TheBrowsersDialogIsNoFullRoom) {
  HostFixture f;
  f.style = Decorated();
  f.signOnInRoom("Joe");
  const Window browser = f.host.openBrowserDownload("12% of a.zip Copied");
  f.lib.EnterPrivateRoom("den");
  EXPECT_EQ(f.host.keywordsRun(), RoomKeywords("den", 1));
  EXPECT_TRUE(f.ws().exists(browser));
  EXPECT_EQ(f.host.chatLinesTaken(),
            std::vector<std::string>{Line(f.style, "> vantarý³ · enter'd . den"_ansi)});
}

TEST(PrivateRoom, FullRoomIsRetriedWithNumberedNames) {
  struct Case {
    const char* what;
    bool persistent;
    std::string line;
  };
  // The plain entry names the room without blanks; the persistent one keeps the blank
  // before the try's number.
  const Case cases[] = {
      {"EnterPrivateRoom", false, "> vantarý³ · enter'd . theden3"},
      {"EnterPrivateRoomPersistent", true, "> vantarý³ · enter'd . the den 3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostFixture f(Generation::k5, c.what);
    f.style = Decorated();
    f.signOnInRoom("Joe");
    f.host.setRoomFull("The Den", true);
    f.host.setRoomFull("The Den 2", true);
    if (c.persistent) {
      f.lib.EnterPrivateRoomPersistent("The Den");
    } else {
      f.lib.EnterPrivateRoom("The Den");
    }
    EXPECT_EQ(f.host.keywordsRun(), RoomKeywords("The Den", 3));
    EXPECT_EQ(f.host.dialogsShown().size(), 2u);
    EXPECT_FALSE(f.ws().findWindow("#32770", "America Online"));
    EXPECT_TRUE(f.host.findRoom("The Den 3"));
    EXPECT_EQ(f.host.chatLinesTaken(), std::vector<std::string>{Line(f.style, text::FromUtf8(c.line))});
  }
}

TEST(PrivateRoom, RoomFullOnEveryTryEndsAfterTheLastTry) {
  struct Case {
    const char* what;
    bool persistent;
    int tries;
    std::vector<std::string> lines;
  };
  const ChatStyle style = Decorated();
  const Case cases[] = {
      {"EnterPrivateRoom", false, 10, {Line(style, ">vantarý³ · room run stop'ed."_ansi)}},
      {"EnterPrivateRoomPersistent", true, 25, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostFixture f(Generation::k5, c.what);
    f.style = style;
    const Window lobby = f.signOnInRoom("Joe");
    for (int n = 1; n <= 26; ++n) f.host.setRoomFull(n == 1 ? "den" : "den " + std::to_string(n), true);
    if (c.persistent) {
      f.lib.EnterPrivateRoomPersistent("den");
    } else {
      f.lib.EnterPrivateRoom("den");
    }
    EXPECT_EQ(f.host.keywordsRun(), RoomKeywords("den", c.tries));
    EXPECT_EQ(f.host.dialogsShown().size(), static_cast<std::size_t>(c.tries));
    EXPECT_FALSE(f.ws().findWindow("#32770", "America Online"));
    EXPECT_EQ(f.host.currentRoom(), lobby);
    EXPECT_EQ(f.host.chatLinesTaken(), c.lines);
  }
}

// The host takes no keyword and shows neither the room nor its dialog: the entry ends
// after one try's bound; the plain entry says so in the room once the host answers again.
TEST(PrivateRoom, HostThatNeverAnswersEndsTheEntryAfterOneTry) {
  struct Case {
    const char* what;
    bool persistent;
    std::vector<std::string> lines;
  };
  const ChatStyle style = Decorated();
  const Case cases[] = {
      {"EnterPrivateRoom", false, {Line(style, ">vantarý³ · room run stop'ed."_ansi)}},
      {"EnterPrivateRoomPersistent", true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostFixture f(Generation::k5, c.what);
    f.style = style;
    f.signOnInRoom("Joe");
    auto& loop = f.program().loop;
    const platform::ProcessId hostId = f.hostProcess.id();
    f.world.setHung(hostId, true);
    platform::Timer recover(loop, 20000, [&] {
      recover.setEnabled(false);
      f.world.setHung(hostId, false);
    });
    recover.setEnabled(true);
    const std::uint64_t start = loop.nowMs();
    if (c.persistent) {
      f.lib.EnterPrivateRoomPersistent("den");
    } else {
      f.lib.EnterPrivateRoom("den");
    }
    EXPECT_LT(loop.nowMs() - start, 60000u);
    EXPECT_TRUE(f.host.keywordsRun().empty());
    EXPECT_EQ(f.host.chatLinesTaken(), c.lines);
  }
}

TEST(KeywordWindow, KeywordIsRunThroughTheHostsKeywordWindow) {
  for (const Generation g : {Generation::k3, Generation::k2, Generation::k5}) {
    SCOPED_TRACE(hostsim::GenerationText(g));
    HostFixture f(g, hostsim::GenerationText(g));
    f.host.signOn("Joe");
    f.lib.RunKeywordWindow("aol://2719:2-2-den");
    f.runFor(1000);
    EXPECT_EQ(f.host.keywordsRun(), std::vector<std::string>{"aol://2719:2-2-den"});
    EXPECT_TRUE(f.host.findRoom("Den"));
    EXPECT_FALSE(f.ws().findChild(f.lib.FindMdiClient(), Window{}, "AOL Child", "Keyword"));
  }
}

TEST(SignOff, OnlyGenerationTwoIsConfirmed) {
  for (const Generation g : {Generation::k5, Generation::k4, Generation::k3, Generation::k2}) {
    SCOPED_TRACE(hostsim::GenerationText(g));
    HostFixture f(g, hostsim::GenerationText(g));
    f.signOnInRoom("Joe");
    f.lib.SignOff();
    f.runFor(1000);
    EXPECT_FALSE(f.host.signedOn());
    EXPECT_EQ(f.host.signOffCount(), 1);
    EXPECT_FALSE(f.ws().findWindow("_AOL_Modal", std::nullopt));
  }
}

// Every wait for the host ends within its bound when the host stops answering, and the
// program goes on.
TEST(Keywords, HungHostEndsEachWaitWithinItsBound) {
  struct Case {
    const char* what;
    Generation generation;
    std::function<void(Host&)> run;
    std::uint64_t limitMs;
  };
  const Case cases[] = {
      {"RunKeyword", Generation::k5, [](Host& h) { h.RunKeyword("buddy"); }, 10000},
      {"RunKeywordWindow", Generation::k3, [](Host& h) { h.RunKeywordWindow("den"); }, 20000},
      {"SignOff", Generation::k2, [](Host& h) { h.SignOff(); }, 20000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostFixture f(c.generation, c.what);
    f.signOnInRoom("Joe");
    f.world.setHung(f.hostProcess.id(), true);
    const std::uint64_t start = f.program().loop.nowMs();
    c.run(f.lib);
    EXPECT_LE(f.program().loop.nowMs() - start, c.limitMs);
    f.world.setHung(f.hostProcess.id(), false);
    f.runFor(1000);
    EXPECT_TRUE(f.host.signedOn());
  }
}

}  // namespace
}  // namespace vantary::host::testing
