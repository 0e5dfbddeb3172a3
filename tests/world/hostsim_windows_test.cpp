// The stand-in host's windows as another process finds them: frame, client, Welcome
// window, rooms by their children, the n-th children, the toolbar and the menu bar, for
// every generation.
#include <gtest/gtest.h>

#include "tests/world/hostsim_probe.h"

namespace vantary::hostsim::testing {
namespace {

struct GenerationCase {
  Generation generation;
  int code;                     // what the menu bar tells the program
  const char* versionFragment;  // in the tenth item of the fifth menu, or ""
};

constexpr GenerationCase kGenerations[] = {
    {Generation::k5, 5, "5.0"},
    {Generation::k4, 4, "4.0"},
    {Generation::k3, 3, ""},
    {Generation::k2, 2, ""},
};

TEST(HostSimWindows, EveryGenerationHasTheWindowsAndMenusTheProgramReads) {
  for (const GenerationCase& c : kGenerations) {
    SCOPED_TRACE(GenerationText(c.generation));
    HostWorld w(c.generation, GenerationText(c.generation));
    Probe& probe = w.probe;
    auto& ws = probe.ws;

    const Window frame = probe.frame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(ws.findWindow("AOL Frame25", "America  Online"), frame);
    EXPECT_EQ(ws.processOf(frame), w.hostProcess.id());
    EXPECT_TRUE(probe.mdi());

    // Signed off there is no Welcome window, so no screen name.
    EXPECT_EQ(probe.screenName(), "");
    w.host.signOn("Joe User");
    EXPECT_EQ(probe.screenName(), "Joe User");
    EXPECT_TRUE(probe.hostChild("Welcome, Joe User!"));

    // The menu bar: at least seven menus, the generation's texts, the items the program runs.
    EXPECT_GE(ws.menuItemCount(ws.menuOf(frame)), 7);
    EXPECT_EQ(probe.generation(), c.code);
    if (*c.versionFragment != '\0') {
      EXPECT_NE(probe.menuText(4, 9).find(c.versionFragment), std::string::npos);
    }
    for (const char* item : {"Keyword...", "Sign Off", "Send An Instant Message", "&About America Online"}) {
      EXPECT_TRUE(probe.menuCommand(item)) << item;
    }

    // The toolbar's keyword box and glyph.
    EXPECT_TRUE(probe.keywordBox());
    const Window bar = ws.firstChild(ws.firstChild(frame, "AOL Toolbar"), "_AOL_Toolbar");
    EXPECT_TRUE(ws.firstChild(bar, "_AOL_Glyph"));

    // Both room layouts, found by their children; the newer room lies on top.
    const Window rich = w.host.openRoom("Lobby", RoomLayout::kRich);
    const Window plain = w.host.openRoom("Town Square", RoomLayout::kPlain);
    EXPECT_EQ(probe.hostChildren().front(), plain);
    EXPECT_EQ(probe.richRoom(), rich);
    EXPECT_EQ(probe.plainRoom(), plain);
    EXPECT_EQ(ws.caption(rich), "Lobby");
    EXPECT_TRUE(
        probe.hasAll(rich, {"RICHCNTL", "_AOL_Listbox", "_AOL_Combobox", "_AOL_Icon", "_AOL_Static"}));
    EXPECT_TRUE(ws.nthChild(rich, "RICHCNTL", 2));
    EXPECT_FALSE(ws.firstChild(rich, "_AOL_View"));
    EXPECT_TRUE(probe.hasAll(plain, {"_AOL_View", "_AOL_Edit", "_AOL_Icon", "_AOL_Listbox"}));
    EXPECT_FALSE(ws.firstChild(plain, "RICHCNTL"));
    // No other host window passes for a room or a member's information.
    EXPECT_FALSE(probe.memberInfo());
  }
}

TEST(HostSimWindows, RoomBehindOtherHostWindowsIsStillFound) {
  HostWorld w;
  w.host.signOn("Joe");
  const Window room = w.host.openRoom("Lobby", RoomLayout::kRich);
  ASSERT_TRUE(w.probe.runMenuItem("Keyword..."));
  const Window keyword = w.probe.hostChild("Keyword");
  ASSERT_TRUE(keyword);
  EXPECT_EQ(w.probe.hostChildren().front(), keyword);
  EXPECT_EQ(w.probe.richRoom(), room);
  EXPECT_TRUE(w.probe.hasAll(keyword, {"_AOL_Edit", "_AOL_Icon"}));
}

}  // namespace
}  // namespace vantary::hostsim::testing
