// Instant messages through each generation's window, ghost mode through the privacy
// settings, and ignoring members, against the stand-in host.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/world/host_fixture.h"

namespace vantary::host::testing {
namespace {

using text::operator""_ansi;

const Generation kGenerations[] = {Generation::k5, Generation::k4, Generation::k3, Generation::k2};

Window ImWindow(HostFixture& f) {
  return f.ws().findChild(f.lib.FindMdiClient(), Window{}, "AOL Child", "Send Instant Message");
}

Window HostDialog(HostFixture& f) { return f.ws().findWindow("#32770", "America Online"); }

TEST(InstantMessage, GoesThroughEachGenerationsWindowCutTo512Characters) {
  std::string message;
  for (int i = 0; message.size() < 600; ++i) message += std::to_string(i) + ' ';
  message.resize(600);
  for (const Generation g : kGenerations) {
    SCOPED_TRACE(hostsim::GenerationText(g));
    HostFixture f(g, hostsim::GenerationText(g));
    f.host.signOn("Joe");
    f.lib.SendInstantMessage("$im_off", ";]");
    EXPECT_FALSE(f.host.instantMessagesOn());
    f.lib.SendInstantMessage("Bob", message);
    f.lib.SendInstantMessage("$im_on", ";]");
    EXPECT_TRUE(f.host.instantMessagesOn());

    const auto& sent = f.host.sentInstantMessages();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].recipient, "$im_off");
    EXPECT_EQ(sent[0].text, ";]");
    EXPECT_EQ(sent[1].recipient, "Bob");
    EXPECT_EQ(sent[1].text, message.substr(0, 512));
    EXPECT_EQ(sent[2].recipient, "$im_on");
    EXPECT_FALSE(ImWindow(f));
  }
}

TEST(InstantMessage, HostsAnswerIsDismissedAndTheWindowClosed) {
  for (const Generation g : kGenerations) {
    SCOPED_TRACE(hostsim::GenerationText(g));
    HostFixture f(g, hostsim::GenerationText(g));
    f.host.signOn("Joe");
    f.host.setAnswerInstantMessagesWithDialog(true);
    f.lib.SendInstantMessage("Bob", "hi");
    // The window is told to close and goes at the host's next turn; until then it shows
    // what was typed, on generations 5 and 4 hidden from the user.
    const Window im = ImWindow(f);
    ASSERT_TRUE(im);
    EXPECT_EQ(f.ws().isVisible(im), g == Generation::k3 || g == Generation::k2);
    f.runFor(1000);
    ASSERT_EQ(f.host.dialogsShown().size(), 1u);
    EXPECT_FALSE(HostDialog(f));
    EXPECT_FALSE(ImWindow(f));
  }
}

// The web browser's download dialog is a "#32770" too, but no answer of the host: it is
// left standing while a message goes.
TEST(InstantMessage, TheBrowsersDialogIsNoAnswerOfTheHost) {
  HostFixture f;
  f.host.signOn("Joe");
  const Window browser = f.host.openBrowserDownload("45% of setup.exe Completed");
  f.lib.SendInstantMessage("Bob", "hi");
  f.runFor(1000);
  ASSERT_EQ(f.host.sentInstantMessages().size(), 1u);
  EXPECT_EQ(f.host.sentInstantMessages()[0].text, "hi");
  EXPECT_TRUE(f.ws().exists(browser));
  EXPECT_FALSE(ImWindow(f));
}

TEST(InstantMessage, HostThatNeverOpensTheWindowEndsTheSend) {
  for (const Generation g : {Generation::k5, Generation::k3}) {
    SCOPED_TRACE(hostsim::GenerationText(g));
    HostFixture f(g, hostsim::GenerationText(g));
    // Signed off, the host opens no message window.
    const std::uint64_t start = f.program().loop.nowMs();
    f.lib.SendInstantMessage("Bob", "hi");
    const std::uint64_t took = f.program().loop.nowMs() - start;
    EXPECT_GE(took, 20000u);
    EXPECT_LT(took, 21000u);
    EXPECT_TRUE(f.host.sentInstantMessages().empty());
  }
}

TEST(InstantMessage, HungHostEndsTheSend) {
  HostFixture f;
  f.host.signOn("Joe");
  f.world.setHung(f.hostProcess.id(), true);
  const std::uint64_t start = f.program().loop.nowMs();
  f.lib.SendInstantMessage("Bob", "hi");
  EXPECT_LT(f.program().loop.nowMs() - start, 40000u);
  f.world.setHung(f.hostProcess.id(), false);
  f.runFor(1000);
  EXPECT_TRUE(f.host.sentInstantMessages().empty());
}

TEST(HostDialog, IsPressedWhenItComesAndWaitedForNoLongerThanItsBound) {
  HostFixture f;
  f.host.signOn("Joe");
  const std::uint64_t start = f.program().loop.nowMs();
  f.lib.ConfirmHostDialog();
  EXPECT_GE(f.program().loop.nowMs() - start, 30000u);
  EXPECT_LT(f.program().loop.nowMs() - start, 31000u);

  // A message without a recipient makes the host answer with its dialog.
  f.lib.RunMenuItem("Send An Instant Message");
  f.runFor(1000);
  f.ws().postClick(f.ws().nthChild(ImWindow(f), "_AOL_Icon", 9));
  f.lib.ConfirmHostDialog();
  f.runFor(100);
  EXPECT_EQ(f.host.dialogsShown().size(), 1u);
  EXPECT_FALSE(HostDialog(f));
}

TEST(Ghost, OnAndOffThroughTheBuddyListsPrivacySettings) {
  for (const Generation g : kGenerations) {
    SCOPED_TRACE(hostsim::GenerationText(g));
    HostFixture f(g, hostsim::GenerationText(g));
    f.host.signOn("Joe");
    f.lib.GhostOn();
    EXPECT_TRUE(f.host.ghost());
    EXPECT_EQ(f.host.privacySettings(), (std::vector<bool>{false, false, false, false, true, false, true}));
    f.lib.GhostOff();
    EXPECT_FALSE(f.host.ghost());
    EXPECT_EQ(f.host.privacySettings(), (std::vector<bool>{true, false, false, false, false, false, true}));
    f.runFor(1000);
    // Nothing of it stays open.
    EXPECT_FALSE(HostDialog(f));
    for (const char* caption : {"Joe's Buddy List", "Joe's Buddy Lists", "Privacy Preferences"}) {
      EXPECT_FALSE(f.ws().findChild(f.lib.FindMdiClient(), Window{}, "AOL Child", caption)) << caption;
    }
  }
}

TEST(Ghost, HostThatNeverOpensTheBuddyListEndsTheChange) {
  HostFixture f;  // signed off: the keyword does nothing
  const std::uint64_t start = f.program().loop.nowMs();
  f.lib.GhostOn();
  EXPECT_LT(f.program().loop.nowMs() - start, 21000u);
  EXPECT_FALSE(f.host.ghost());
}

ChatStyle Decorated() {
  ChatStyle s;
  s.ascii1 = std::string("·°"_ansi);
  return s;
}

std::string Line(const ChatStyle& s, std::string_view text) {
  return StatusPrefix(s, s.ascii1) + std::string(text);
}

TEST(Ignore, IgnoreAndUnignoreTellTheRoom) {
  HostFixture f;
  f.style = Decorated();
  const Window room = f.signOnInRoom("Joe");
  for (const char* m : {"Ann", "Joey Big", "Bob"}) f.host.join(room, m);

  // The user's own row matches "jo" too and is skipped.
  f.lib.IgnoreMember("jo");
  EXPECT_EQ(f.host.ignoredMembers(), std::vector<std::string>{"Joey Big"});
  f.lib.UnignoreMember("JOEY");
  EXPECT_TRUE(f.host.ignoredMembers().empty());
  f.runFor(100);
  EXPECT_FALSE(f.lib.FindMemberInfoWindow());
  EXPECT_EQ(
      f.host.chatLinesTaken(),
      (std::vector<std::string>{Line(f.style, "> vantarý³ · ignore'd <i>(</i> joeybig<i> )</i> ·"_ansi),
                                Line(f.style, "> vantarý³ · unignore'd <i>(</i> joeybig <i>)</i> ·"_ansi)}));
}

TEST(Ignore, MemberAlreadyIgnoredStaysIgnoredAndTheRoomIsToldAllTheSame) {
  HostFixture f;
  const Window room = f.signOnInRoom("Joe");
  f.host.join(room, "Bob");
  f.lib.IgnoreMember("bob");
  f.lib.IgnoreMember("bob");
  EXPECT_TRUE(f.host.isIgnored("Bob"));
  EXPECT_EQ(f.host.chatLinesTaken().size(), 2u);
  // Unignoring somebody not ignored leaves them so.
  f.lib.UnignoreMember("ann");
  f.host.join(room, "Ann");
  f.lib.UnignoreMember("ann");
  EXPECT_FALSE(f.host.isIgnored("Ann"));
  EXPECT_EQ(f.host.chatLinesTaken().size(), 3u);
}

TEST(Ignore, NothingIsSaidWhenNoMemberCouldBeIgnored) {
  struct Case {
    const char* what;
    std::function<void(HostFixture&)> act;
    std::uint64_t limitMs;
  };
  const Case cases[] = {
      {"no such member", [](HostFixture& f) { f.lib.IgnoreMember("zed"); }, 100},
      {"row past the end", [](HostFixture& f) { f.lib.IgnoreMemberAt(2); }, 100},
      {"negative row", [](HostFixture& f) { f.lib.UnignoreMemberAt(-1); }, 100},
      {"hung host",
       [](HostFixture& f) {
         f.world.setHung(f.hostProcess.id(), true);
         f.lib.IgnoreMember("bob");
         f.world.setHung(f.hostProcess.id(), false);
       },
       15000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostFixture f(Generation::k5, c.what);
    const Window room = f.signOnInRoom("Joe");
    f.host.join(room, "Bob");
    const std::uint64_t start = f.program().loop.nowMs();
    c.act(f);
    EXPECT_LE(f.program().loop.nowMs() - start, c.limitMs);
    f.runFor(100);
    EXPECT_TRUE(f.host.ignoredMembers().empty());
    EXPECT_TRUE(f.host.chatLinesTaken().empty());
    EXPECT_FALSE(f.lib.FindMemberInfoWindow());
  }
}

// A row the host keeps no member for: its double click opens nothing.
TEST(Ignore, InformationWindowThatNeverComesEndsTheIgnore) {
  HostFixture f;
  const Window room = f.signOnInRoom("Joe");
  auto& hostWs = f.hostProcess.platform().windows;
  const Window people = f.ws().firstChild(room, "_AOL_Listbox");
  std::unique_ptr<platform::LowMemoryBlock> record = hostWs.allocateLowMemory(64);
  ASSERT_TRUE(record);
  const std::uint32_t block = record->address() + 32;
  for (int i = 0; i < 4; ++i)
    record->bytes()[24 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(block >> (8 * i));
  const std::string name = "Ghost";
  std::copy(name.begin(), name.end(), record->bytes().begin() + 32 + 6);
  const auto row = hostWs.send(people, msg::kLbAddString, 0, reinterpret_cast<platform::LParam>("Ghost"));
  hostWs.send(people, msg::kLbSetItemData, static_cast<platform::WParam>(*row),
              static_cast<platform::LParam>(record->address()));

  const std::uint64_t start = f.program().loop.nowMs();
  f.lib.IgnoreMember("ghost");
  const std::uint64_t took = f.program().loop.nowMs() - start;
  EXPECT_GE(took, 20000u);
  EXPECT_LT(took, 21000u);
  EXPECT_TRUE(f.host.chatLinesTaken().empty());
}

}  // namespace
}  // namespace vantary::host::testing
