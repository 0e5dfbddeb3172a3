// Finding the host's rooms, screen name, generation and menu items through the library,
// against the stand-in host and windows that other programs put among the host's.
#include <gtest/gtest.h>

#include "tests/world/host_fixture.h"

namespace vantary::host::testing {
namespace {

using text::operator""_ansi;

TEST(WindowLocator, RoomsAreFoundBelowTheHostsOtherWindows) {
  for (const RoomLayout layout : {RoomLayout::kRich, RoomLayout::kPlain}) {
    const bool rich = layout == RoomLayout::kRich;
    SCOPED_TRACE(rich ? "rich" : "plain");
    HostFixture f(Generation::k5, rich ? "rich" : "plain");
    const Window room = f.signOnInRoom("Joe", "Town Square", layout);
    // Windows the user opens over the room: the buddy list, an instant message, a
    // member's information.
    f.lib.RunMenuItem("Buddy List");
    f.lib.RunMenuItem("Send An Instant Message");
    f.host.join(room, "Bob");
    const Window people = f.ws().firstChild(room, "_AOL_Listbox");
    f.ws().send(people, msg::kLbSetCurSel, 1, 0);
    f.ws().send(people, msg::kLButtonDblClk, 0, 0);
    f.runFor(1000);
    ASSERT_NE(f.lib.FirstHostChild([](Window) { return true; }), room) << "the room must lie below";

    EXPECT_EQ(f.lib.FindChatRoom(), room);
    EXPECT_EQ(f.lib.FindRichChatRoom(), rich ? room : Window{});
    EXPECT_EQ(f.lib.FindPlainChatRoom(), rich ? Window{} : room);
    EXPECT_TRUE(f.lib.FindMemberInfoWindow());
    EXPECT_EQ(f.lib.GetCaption(f.lib.FindMemberInfoWindow()), "Bob");
  }
}

// A window of the user's own that looks like a room (the buddy list of a host with room
// controls in it) stops the search: the room below is not taken. Anybody else's list is
// taken as a room, and with nobody signed on every caption with "'s" is refused.
TEST(WindowLocator, TheUsersOwnWindowOnTopHidesTheRoom) {
  struct Case {
    const char* screenName;  // "" = signed off
    const char* caption;     // of the room-like window on top
    bool onTopTaken;         // FindChatRoom gives the window on top, else 0
  };
  const Case cases[] = {
      {"Joe", "Joe's Buddy List", false},
      {"Joe", "JOE'S BUDDY LISTS", false},
      {"Zoë M", "zoË m's Buddy List", false},
      {"Joe", "Bob's Buddy List", true},
      {"Joe", "Joe Buddy List", true},
      {"", "Bob's Buddy List", false},
      {"", "Lobby 12", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    HostFixture f;
    const Text name = text::FromUtf8(c.screenName);
    if (!name.empty()) f.host.signOn(name);
    const Window room = f.host.openRoom("Lobby", RoomLayout::kRich);
    Intruder intruder(f);
    const Window onTop = intruder.richRoomLike(text::FromUtf8(c.caption));
    ASSERT_TRUE(onTop);
    EXPECT_EQ(f.lib.FindRichChatRoom(), onTop) << "the room finders without the caption test take it";
    EXPECT_EQ(f.lib.FindChatRoom(), c.onTopTaken ? onTop : Window{});
    // Once it goes, the room below is found again.
    intruder.ws().destroy(onTop);
    EXPECT_EQ(f.lib.FindChatRoom(), room);
  }
}

TEST(WindowLocator, ScreenNameComesFromTheWelcomeWindowOnly) {
  HostFixture f;
  EXPECT_EQ(f.lib.GetScreenName(), "");
  f.host.signOn(Text("Zoë M"_ansi));
  EXPECT_EQ(f.lib.GetScreenName(), "Zoë M"_ansi);

  // Windows above the Welcome window whose captions only look like it.
  Intruder intruder(f);
  intruder.hostChild("Re: Welcome, Mallory!");
  intruder.hostChild("welcome, mallory!");
  intruder.hostChild("Welcome");
  EXPECT_EQ(f.lib.GetScreenName(), "Zoë M"_ansi);

  // A Welcome caption on top is the one that counts; without "!" the rest is the name.
  intruder.hostChild("Welcome, Bob");
  EXPECT_EQ(f.lib.GetScreenName(), "Bob");
  f.host.signOff();
  EXPECT_EQ(f.lib.GetScreenName(), "Bob");
}

TEST(WindowLocator, EachGenerationIsRecognisedFromTheMenuBar) {
  struct Case {
    Generation generation;
    int code;
    const char* text;
  };
  const Case cases[] = {{Generation::k5, 5, "5"},
                        {Generation::k4, 4, "4"},
                        {Generation::k3, 3, "95"},
                        {Generation::k2, 2, "25"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    HostFixture f(c.generation, c.text);
    EXPECT_EQ(f.lib.GetHostVersion(), c.code);
    EXPECT_EQ(f.lib.GetHostVersionText(), c.text);
  }
  // A host that changes generation while the program runs is seen at the next call.
  HostFixture f(Generation::k2, "changed");
  f.host.setGeneration(Generation::k4);
  EXPECT_EQ(f.lib.GetHostVersionText(), "4");
}

TEST(WindowLocator, WithoutAHostNothingIsFoundAndTheGenerationIs95) {
  platform::sim::SimWorld world(hostsim::testing::FreshRoot());
  Host lib(world.addProcess("vantary").platform(), nullptr);
  EXPECT_FALSE(lib.FindMdiClient());
  EXPECT_FALSE(lib.FindChatRoom());
  EXPECT_FALSE(lib.FindRichChatRoom());
  EXPECT_FALSE(lib.FindPlainChatRoom());
  EXPECT_FALSE(lib.FindMemberInfoWindow());
  EXPECT_EQ(lib.GetScreenName(), "");
  EXPECT_EQ(lib.GetHostVersionText(), "95");
  lib.RunMenuItem("Sign Off");
}

TEST(WindowLocator, MenuItemsAreRunByAnyMixOfCase) {
  HostFixture f(Generation::k4);
  f.host.signOn("Joe");
  f.lib.RunMenuItem("aBoUt AMERICA online");
  EXPECT_EQ(f.host.aboutBoxesShown(), 1);
  f.lib.RunMenuItem("no such item");
  EXPECT_EQ(f.host.aboutBoxesShown(), 1);
  EXPECT_TRUE(f.host.signedOn());
  f.lib.RunMenuItem("SIGN OFF");
  EXPECT_FALSE(f.host.signedOn());
  EXPECT_EQ(f.host.signOffCount(), 1);
}

}  // namespace
}  // namespace vantary::host::testing
