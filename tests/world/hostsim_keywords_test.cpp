// The stand-in host's keywords, menu items, instant messages and privacy preferences, as
// another process runs them.
#include <gtest/gtest.h>

#include "tests/world/hostsim_probe.h"

namespace vantary::hostsim::testing {
namespace {

// Presses the host dialog's first button with the space bar, as the program does.
bool PressHostDialog(Probe& probe) {
  Window button;
  if (!probe.waitFor([&] { return bool(button = probe.ws.firstChild(probe.hostDialog(), "Button")); }))
    return false;
  probe.ws.sendKey(button, msg::kVkSpace);
  return probe.waitFor([&] { return !probe.hostDialog(); });
}

TEST(HostSimKeywords, PrivateRoomKeywordLeavesTheRoomAndEntersThePrivateOne) {
  HostWorld w;
  w.host.signOn("Joe");
  const Window lobby = w.host.openRoom("Lobby", RoomLayout::kRich);
  w.probe.runKeyword("aol://2719:2-2-quiet corner");
  Window room;
  ASSERT_TRUE(w.probe.waitFor([&] { return bool(room = w.probe.hostChild("Quiet Corner")); }));
  EXPECT_FALSE(w.probe.ws.exists(lobby));
  EXPECT_EQ(w.probe.richRoom(), room);
  EXPECT_EQ(w.host.members(room), std::vector<std::string>{"Joe"});
  EXPECT_EQ(w.host.keywordsRun(), std::vector<std::string>{"aol://2719:2-2-quiet corner"});
  // The keyword box is empty again for the next keyword.
  EXPECT_EQ(w.probe.ws.text(w.probe.keywordBox()), "");
}

TEST(HostSimKeywords, FullRoomIsAnsweredWithTheHostDialogAndTheNextNameIsEntered) {
  HostWorld w;
  w.host.signOn("Joe");
  w.host.setRoomFull("Quiet Corner", true);
  w.probe.runKeyword("aol://2719:2-2-quietcorner");
  ASSERT_TRUE(PressHostDialog(w.probe));
  EXPECT_FALSE(w.probe.richRoom());
  ASSERT_EQ(w.host.dialogsShown().size(), 1u);
  EXPECT_NE(w.host.dialogsShown()[0].message.find("full"), std::string::npos);

  w.probe.runKeyword("aol://2719:2-2-quiet corner 2");
  ASSERT_TRUE(w.probe.waitFor([&] { return bool(w.probe.richRoom()); }));
  EXPECT_EQ(w.probe.ws.caption(w.probe.richRoom()), "Quiet Corner 2");
  EXPECT_FALSE(w.probe.hostDialog());
}

TEST(HostSimKeywords, KeywordWindowRunsItsKeywordWhenItsIconIsClicked) {
  HostWorld w(Generation::k3);
  w.host.signOn("Joe");
  ASSERT_TRUE(w.probe.runMenuItem("Keyword..."));
  Window keyword;
  ASSERT_TRUE(w.probe.waitFor([&] { return bool(keyword = w.probe.hostChild("Keyword")); }));
  w.probe.ws.setText(w.probe.ws.firstChild(keyword, "_AOL_Edit"), "aol://2719:2-2-den");
  w.probe.ws.postClick(w.probe.ws.firstChild(keyword, "_AOL_Icon"));
  ASSERT_TRUE(w.probe.waitFor([&] { return bool(w.probe.hostChild("Den")); }));
  EXPECT_FALSE(w.probe.ws.exists(keyword));
}

TEST(HostSimKeywords, SignOffRunsFromTheMenuAndGenerationTwoAsksFirst) {
  for (Generation g : {Generation::k5, Generation::k4, Generation::k3, Generation::k2}) {
    SCOPED_TRACE(GenerationText(g));
    HostWorld w(g, GenerationText(g));
    w.host.signOn("Joe");
    w.host.openRoom("Lobby", RoomLayout::kRich);
    ASSERT_TRUE(w.probe.runMenuItem("sign off"));
    if (g == Generation::k2) {
      EXPECT_TRUE(w.host.signedOn());
      Window yes;
      ASSERT_TRUE(w.probe.waitFor([&] {
        return bool(
            yes = w.probe.ws.firstChild(w.probe.ws.findWindow("_AOL_Modal", std::nullopt), "_AOL_Button"));
      }));
      w.probe.ws.postClick(yes);
    }
    ASSERT_TRUE(w.probe.waitFor([&] { return !w.host.signedOn(); }));
    EXPECT_EQ(w.probe.screenName(), "");
    EXPECT_FALSE(w.probe.richRoom());
    EXPECT_FALSE(w.probe.ws.findWindow("_AOL_Modal", std::nullopt));
    EXPECT_EQ(w.host.signOffCount(), 1);
  }
}

TEST(HostSimKeywords, AboutBoxOpensFromTheMenuAndItsIconClosesIt) {
  HostWorld w;
  ASSERT_TRUE(w.probe.runMenuItem("&About America Online"));
  Window icon;
  ASSERT_TRUE(w.probe.waitFor([&] {
    return bool(icon = w.probe.ws.firstChild(w.probe.ws.findWindow("_aol_modal", std::nullopt), "_aol_icon"));
  }));
  w.probe.ws.postClick(icon);
  EXPECT_TRUE(w.probe.waitFor([&] { return !w.probe.ws.findWindow("_AOL_Modal", std::nullopt); }));
  EXPECT_EQ(w.host.aboutBoxesShown(), 1);
}

// The instant message window of each generation, opened and sent as the program does.
TEST(HostSimKeywords, InstantMessagesGoThroughEachGenerationsWindow) {
  for (Generation g : {Generation::k5, Generation::k4, Generation::k3, Generation::k2}) {
    SCOPED_TRACE(GenerationText(g));
    HostWorld w(g, GenerationText(g));
    w.host.signOn("Joe");
    auto& ws = w.probe.ws;
    const auto send = [&](const std::string& to, const std::string& message) {
      const bool newer = g == Generation::k5 || g == Generation::k4;
      if (newer) {
        w.probe.runKeyword("aol://9293:" + to);
      } else {
        ASSERT_TRUE(w.probe.runMenuItem("Send An Instant Message"));
      }
      // The window comes first, its send control a moment later.
      Window im;
      ASSERT_TRUE(w.probe.waitFor([&] {
        im = w.probe.hostChild("Send Instant Message");
        return g == Generation::k2 ? bool(ws.firstChild(im, "_AOL_Button"))
                                   : bool(ws.nthChild(im, "_AOL_Icon", 9));
      }));
      if (newer) {
        EXPECT_EQ(ws.text(ws.firstChild(im, "_AOL_Edit")), to);  // filled in by the host
        ws.show(im, msg::kSwHide);
        ws.setText(ws.firstChild(im, "RICHCNTL"), message);
        ws.sendClick(ws.nthChild(im, "_AOL_Icon", 9));
      } else if (g == Generation::k3) {
        ws.setText(ws.firstChild(im, "_AOL_Edit"), to);
        ws.setText(ws.firstChild(im, "RICHCNTL"), message);
        ws.postClick(ws.nthChild(im, "_AOL_Icon", 9));
      } else {
        EXPECT_FALSE(ws.firstChild(im, "RICHCNTL"));
        ws.setText(ws.firstChild(im, "_AOL_Edit"), to);
        ws.setText(ws.nthChild(im, "_AOL_Edit", 2), message);
        ws.sendKey(ws.firstChild(im, "_AOL_Button"), msg::kVkSpace);
      }
      EXPECT_TRUE(w.probe.waitFor([&] { return !ws.exists(im); }));
    };
    send("$im_off", ";]");
    EXPECT_FALSE(w.host.instantMessagesOn());
    send("$im_on", ";]");
    EXPECT_TRUE(w.host.instantMessagesOn());
    send("Bob", "hi there");
    ASSERT_EQ(w.host.sentInstantMessages().size(), 3u);
    EXPECT_EQ(w.host.sentInstantMessages()[2].recipient, "Bob");
    EXPECT_EQ(w.host.sentInstantMessages()[2].text, "hi there");
    EXPECT_FALSE(w.probe.hostDialog());
  }
}

TEST(HostSimKeywords, HostCanAnswerAnInstantMessageWithItsDialog) {
  HostWorld w;
  w.host.signOn("Joe");
  w.host.setAnswerInstantMessagesWithDialog(true);
  w.probe.runKeyword("aol://9293:Bob");
  Window im;
  ASSERT_TRUE(w.probe.waitFor([&] {
    im = w.probe.hostChild("Send Instant Message");
    return bool(w.probe.ws.nthChild(im, "_AOL_Icon", 9));
  }));
  w.probe.ws.setText(w.probe.ws.firstChild(im, "RICHCNTL"), "hello");
  w.probe.ws.sendClick(w.probe.ws.nthChild(im, "_AOL_Icon", 9));
  ASSERT_TRUE(w.probe.waitFor([&] { return bool(w.probe.hostDialog()); }));
  // The message window stays until the program closes it.
  EXPECT_TRUE(w.probe.ws.exists(im));
  ASSERT_TRUE(PressHostDialog(w.probe));
  w.probe.ws.post(im, msg::kClose);
  EXPECT_TRUE(w.probe.waitFor([&] { return !w.probe.ws.exists(im); }));
}

// Ghost mode on and off through the buddy list's privacy preferences, step by step as the
// program goes: each window is given half a second for its contents from the servers.
TEST(HostSimKeywords, PrivacyPreferencesAreSavedFromTheirCheckBoxes) {
  HostWorld w;
  w.host.signOn("Joe");
  auto& ws = w.probe.ws;
  const auto change = [&](std::initializer_list<int> boxes) {
    w.probe.runKeyword("Buddy");
    Window buddies;
    ASSERT_TRUE(w.probe.waitFor([&] { return bool(buddies = w.probe.hostChild("Joe's Buddy List")); }));
    w.probe.loop.pause(0.5);
    ws.postClick(ws.nthChild(buddies, "_AOL_Icon", 5));
    Window privacy;
    ASSERT_TRUE(w.probe.waitFor([&] { return bool(privacy = w.probe.hostChild("Privacy Preferences")); }));
    ASSERT_TRUE(ws.nthChild(privacy, "_AOL_Checkbox", 7));
    w.probe.loop.pause(0.5);
    for (int n : boxes) {
      ws.send(ws.nthChild(privacy, "_AOL_Checkbox", n), msg::kBmSetCheck, static_cast<platform::WParam>(-1),
              0);
    }
    ws.postClick(ws.nthChild(privacy, "_AOL_Icon", 4));
    Window ok;
    ASSERT_TRUE(w.probe.waitFor(
        [&] { return bool(ok = ws.findChild(w.probe.hostDialog(), Window{}, "Button", "OK")); }));
    ws.sendKey(ok, msg::kVkSpace);
    ASSERT_TRUE(w.probe.waitFor([&] { return !w.probe.hostDialog(); }));
    ws.post(buddies, msg::kClose);
    ASSERT_TRUE(w.probe.waitFor([&] { return !ws.exists(buddies); }));
  };
  EXPECT_FALSE(w.host.ghost());
  change({5, 7});
  EXPECT_TRUE(w.host.ghost());
  EXPECT_EQ(w.host.privacySettings(), (std::vector<bool>{false, false, false, false, true, false, true}));
  change({1});
  EXPECT_FALSE(w.host.ghost());
  EXPECT_EQ(w.host.privacySettings(), (std::vector<bool>{true, false, false, false, false, false, true}));
}

}  // namespace
}  // namespace vantary::hostsim::testing
