// The suppressors and the auto upchat watcher against the stand-in host's idle windows,
// modals and uploads, every generation where they differ, and with no host at all.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "host/auto_upchat.h"
#include "tests/world/host_fixture.h"

namespace vantary::host::testing {
namespace {

using hostsim::TransferKind;
using platform::sim::MessageRecord;
using text::operator""_ansi;

constexpr std::uint64_t kMinute = 60000;

Window IdlePalette(HostFixture& f) { return f.ws().findWindow("_AOL_Palette", "America Online Timer"); }
Window FirstModal(HostFixture& f) { return f.ws().findWindow("_AOL_Modal", std::nullopt); }

std::vector<MessageRecord> Click(Window w, bool posted) {
  return {{w, {msg::kLButtonDown, 0, 0}, posted}, {w, {msg::kLButtonUp, 0, 0}, posted}};
}

// The mouse messages of the log (the icons also hear of their end).
std::vector<MessageRecord> MouseMessages(const std::vector<MessageRecord>& log) {
  std::vector<MessageRecord> mouse;
  for (const MessageRecord& r : log) {
    if (r.message.id == msg::kLButtonDown || r.message.id == msg::kLButtonUp) mouse.push_back(r);
  }
  return mouse;
}

TEST(Suppressors, IdleWindowsAreAnsweredByTheirFirstIcon) {
  struct Case {
    const char* what;
    std::function<void(Host&)> run;
    bool palette;  // its icon is clicked
    bool modal;
    bool posted;
  };
  const Case cases[] = {
      {"KillIdleTimer", [](Host& h) { h.KillIdleTimer(); }, true, false, true},
      {"KillIdleModal", [](Host& h) { h.KillIdleModal(); }, false, true, true},
      {"ClickPaletteAndModalIcons", [](Host& h) { h.ClickPaletteAndModalIcons(); }, true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostFixture f(Generation::k5, c.what);
    f.signOnInRoom("Joe");
    f.host.raiseIdleWindows();
    const Window palette = IdlePalette(f);
    const Window modal = FirstModal(f);
    ASSERT_TRUE(palette && modal);
    const Window paletteIcon = f.ws().firstChild(palette, "_AOL_Icon");
    const Window modalIcon = f.ws().firstChild(modal, "_AOL_Icon");
    f.world.recordMessages(paletteIcon);
    f.world.recordMessages(modalIcon);

    c.run(f.lib);
    f.runFor(100);

    std::vector<MessageRecord> expected;
    if (c.palette) expected = Click(paletteIcon, c.posted);
    if (c.modal) {
      for (const MessageRecord& r : Click(modalIcon, c.posted)) expected.push_back(r);
    }
    EXPECT_TRUE(MouseMessages(f.world.messageLog()) == expected);
    EXPECT_EQ(f.ws().exists(palette), !c.palette);
    EXPECT_EQ(f.ws().exists(modal), !c.modal);
    EXPECT_TRUE(f.host.signedOn());
  }
}

// Only a modal whose first text speaks of being idle is clicked by KillIdleModal: the
// first icon of another modal could do anything.
TEST(Suppressors, OtherModalsAreLeftAlone) {
  HostFixture f;
  f.signOnInRoom("Joe");
  Intruder intruder(f);
  const Window question = intruder.modal("America Online");
  intruder.control(question, "_AOL_Static", "You have been IDLE; sign off now?");
  const Window signOff = intruder.control(question, "_AOL_Icon", "Sign Off");
  f.world.recordMessages(signOff);
  f.lib.KillIdleModal();
  f.lib.KillIdleTimer();
  f.runFor(100);
  EXPECT_TRUE(MouseMessages(f.world.messageLog()).empty());
  EXPECT_TRUE(f.ws().exists(question));

  // With no palette and no modal of the idle kind, nothing of the host is touched.
  intruder.ws().destroy(question);
  f.lib.RunMenuItem("About America Online");
  const Window about = FirstModal(f);
  ASSERT_TRUE(about);
  f.lib.KillIdleModal();
  f.lib.KillIdleTimer();
  f.runFor(100);
  EXPECT_TRUE(f.ws().exists(about));
  EXPECT_TRUE(f.host.signedOn());
}

// Another palette in front of the idle timer (a toolbar of another program that uses the
// host's classes) is not clicked: the idle timer's is, by its caption.
TEST(Suppressors, OnlyTheIdleTimerPaletteIsClicked) {
  HostFixture f;
  f.signOnInRoom("Joe");
  f.host.raiseIdleWindows();
  const Window idle = IdlePalette(f);
  Intruder intruder(f);
  const Window other = intruder.palette("Quick Start");
  const Window otherIcon = intruder.control(other, "_AOL_Icon", "Sign Off");
  ASSERT_EQ(f.ws().findWindow("_AOL_Palette", std::nullopt), other);
  f.world.recordMessages(otherIcon);
  f.lib.KillIdleTimer();
  f.runFor(100);
  EXPECT_TRUE(MouseMessages(f.world.messageLog()).empty());
  EXPECT_FALSE(f.ws().exists(idle));
  EXPECT_TRUE(f.ws().exists(other));
}

TEST(Suppressors, UpchatAndUnupchatOnEachGeneration) {
  struct Case {
    Generation generation;
    bool movedAway;  // 95: the modal goes off the screen and the frame is freed
  };
  const Case cases[] = {
      {Generation::k5, false}, {Generation::k4, false}, {Generation::k3, true}, {Generation::k2, false}};
  constexpr platform::Rect kHome{90, 90, 460, 262};
  for (const Case& c : cases) {
    const Text name = hostsim::GenerationText(c.generation);
    SCOPED_TRACE(name);
    HostFixture f(c.generation, name);
    f.world.setScreenSize(platform::Size{1024, 768});
    f.signOnInRoom("Joe");
    f.host.startTransfer(TransferKind::kUpload, "a.zip", 10 * kMinute);
    f.runFor(1000);
    const Window modal = f.lib.FindActiveUploadModal();
    const Window frame = f.host.frame();
    ASSERT_TRUE(modal);

    f.lib.Upchat();
    if (c.movedAway) {
      EXPECT_EQ(f.ws().windowRect(modal), (platform::Rect{15360, 11520, 15360 + 370, 11520 + 172}));
      EXPECT_TRUE(f.ws().isEnabled(frame));
      EXPECT_FALSE(f.ws().isEnabled(modal));
      EXPECT_FALSE(f.ws().isMinimized(modal));
    } else {
      EXPECT_TRUE(f.ws().isMinimized(modal));
      EXPECT_FALSE(f.ws().isEnabled(frame));
    }

    f.lib.Unupchat();
    EXPECT_EQ(f.ws().windowRect(modal), kHome);
    EXPECT_TRUE(f.ws().isVisible(modal));
    EXPECT_FALSE(f.ws().isMinimized(modal));
    EXPECT_TRUE(f.ws().isEnabled(modal));
    EXPECT_FALSE(f.ws().isEnabled(frame));
  }
}

TEST(Suppressors, UnupchatWithoutATransferModalChangesNothing) {
  HostFixture f;
  f.signOnInRoom("Joe");
  f.host.raiseIdleWindows();
  const Window modal = FirstModal(f);
  const platform::Rect before = f.ws().windowRect(modal);
  f.lib.Unupchat();
  f.lib.DetachUploadModal();
  EXPECT_EQ(f.ws().windowRect(modal), before);
  EXPECT_TRUE(f.ws().isVisible(modal));
  EXPECT_TRUE(f.ws().isEnabled(f.host.frame()));
}

TEST(Suppressors, HostFrameWelcomeAndGlyph) {
  HostFixture f;
  f.host.signOn("Joe");
  const Window frame = f.host.frame();
  f.lib.HideHost();
  EXPECT_FALSE(f.ws().isVisible(frame));
  f.lib.ShowHost();
  EXPECT_TRUE(f.ws().isVisible(frame));
  EXPECT_FALSE(f.ws().isMinimized(frame));

  const Window welcome =
      f.lib.FirstHostChild([&](Window w) { return f.lib.GetCaption(w) == "Welcome, Joe!"; });
  ASSERT_TRUE(welcome);
  f.lib.HideWelcome();
  EXPECT_FALSE(f.ws().isVisible(welcome));
  EXPECT_EQ(f.lib.GetScreenName(), "Joe") << "a hidden Welcome window still names the user";

  const Window bar = f.ws().firstChild(f.ws().firstChild(frame, "AOL Toolbar"), "_AOL_Toolbar");
  ASSERT_TRUE(f.ws().firstChild(bar, "_AOL_Glyph"));
  f.lib.CloseGlyph();
  f.runFor(100);
  EXPECT_FALSE(f.ws().firstChild(bar, "_AOL_Glyph"));
}

// Every modal is closed, and one that ignores WM_CLOSE ends the operation within its
// bound instead of holding the program.
TEST(Suppressors, CloseModalsClosesEveryModalAndGivesUpOnADeafOne) {
  HostFixture f;
  f.signOnInRoom("Joe");
  Intruder intruder(f);
  const Window deaf = intruder.modal("Stubborn", false);
  f.host.startTransfer(TransferKind::kUpload, "a.zip", 10 * kMinute);
  f.host.raiseIdleWindows();
  f.lib.RunMenuItem("About America Online");
  ASSERT_NE(FirstModal(f), deaf);

  const std::uint64_t start = f.program().loop.nowMs();
  f.lib.CloseModals();
  const std::uint64_t took = f.program().loop.nowMs() - start;
  EXPECT_EQ(FirstModal(f), deaf);
  EXPECT_EQ(f.ws().findChild(Window{}, deaf, "_AOL_Modal"), Window{}) << "every other modal is gone";
  EXPECT_LE(took, 10000u);
  EXPECT_TRUE(f.host.signedOn());

  intruder.ws().destroy(deaf);
  f.lib.CloseModals();
  EXPECT_FALSE(FirstModal(f));
}

TEST(Suppressors, CycleAboutBoxOpensTheBoxAndClicksItAway) {
  HostFixture f;
  f.host.signOn("Joe");
  f.lib.CycleAboutBox();
  EXPECT_EQ(f.host.aboutBoxesShown(), 1);
  f.runFor(100);
  EXPECT_FALSE(FirstModal(f));
}

TEST(Suppressors, WithoutAHostEveryOperationAndTheWatcherReturnWithinTheirBounds) {
  platform::sim::SimWorld world(hostsim::testing::FreshRoot());
  Host lib(world.addProcess("vantary").platform(), nullptr);
  auto& loop = lib.platform().loop;
  const std::uint64_t start = loop.nowMs();
  lib.KillIdleTimer();
  lib.KillIdleModal();
  lib.ClickPaletteAndModalIcons();
  lib.HideUploadModal();
  lib.HideWindow(Window{});
  lib.HideHost();
  lib.ShowHost();
  lib.HideWelcome();
  lib.CloseGlyph();
  lib.CloseModals();
  lib.DetachUploadModal();
  lib.RestoreUploadModal();
  lib.Upchat();
  lib.Unupchat();
  EXPECT_EQ(loop.nowMs(), start) << "nothing to wait for";
  lib.CycleAboutBox();
  EXPECT_LE(loop.nowMs() - start, 10000u + platform::kPollStepMs);

  // The watcher keeps looking with nothing to find, at its quiet rate.
  int ticks = 0;
  AutoUpchat watcher(
      lib,
      [&] {
        ++ticks;
        return true;
      },
      [] {});
  watcher.setEnabled(true);
  world.runFor(1000);
  EXPECT_EQ(watcher.state(), AutoUpchat::State::kWatching);
  EXPECT_GE(ticks, static_cast<int>(1000 / AutoUpchat::kQuietLookMs));
}

// ---- the auto upchat watcher ----------------------------------------------------------

struct Watched {
  explicit Watched(Generation g = Generation::k5, bool idling = true) : f(g) {
    f.style.color1 = "FF0000";
    f.style.color2 = "00FF00";
    f.signOnInRoom("Joe");
    watcher = std::make_unique<AutoUpchat>(
        f.lib, [this] { return idling_; }, [this] { ++mainTimerStops; });
    idling_ = idling;
  }
  std::size_t linesSent() const { return f.host.chatLinesTaken().size(); }

  HostFixture f;
  bool idling_ = true;
  int mainTimerStops = 0;
  std::unique_ptr<AutoUpchat> watcher;
};

TEST(AutoUpchat, OneLinePerUploadAndWatchingAgainWhenItEnds) {
  Watched w;
  const Text expected = Text(
      "</u></s></i></b><font color=#FF0000>‹¡!·<font color=#00FF00> vantarý³ · u.win found/auto upchat ·"_ansi);
  EXPECT_EQ(AutoUpchatLine(w.f.style), expected);
  w.watcher->setEnabled(true);
  EXPECT_EQ(w.watcher->state(), AutoUpchat::State::kWatching);
  w.f.runFor(1000);
  EXPECT_EQ(w.linesSent(), 0u);

  for (int upload = 1; upload <= 2; ++upload) {
    SCOPED_TRACE(upload);
    w.f.host.startTransfer(TransferKind::kUpload, "a.zip", kMinute);
    w.f.runFor(500);
    ASSERT_EQ(w.linesSent(), static_cast<std::size_t>(upload));
    EXPECT_EQ(w.f.host.chatLinesTaken().back(), expected);
    EXPECT_EQ(w.watcher->state(), AutoUpchat::State::kWaiting);
    const Window modal = FirstModal(w.f);
    EXPECT_TRUE(w.f.ws().isMinimized(modal));
    EXPECT_TRUE(w.f.ws().isEnabled(w.f.host.frame())) << "the user can chat meanwhile";
    w.f.runFor(30000);
    EXPECT_EQ(w.linesSent(), static_cast<std::size_t>(upload)) << "not one line per tick";
    w.f.runFor(kMinute);
    EXPECT_EQ(w.watcher->state(), AutoUpchat::State::kWatching);
  }
  EXPECT_EQ(w.mainTimerStops, 0);
}

// The menu item decides whether the watcher watches again once the upload has ended; it
// never makes it announce the upload it is already waiting for.
TEST(AutoUpchat, TheMenuChoiceDuringAnUploadTakesEffectWhenItEnds) {
  struct Case {
    const char* what;
    bool choice;
    AutoUpchat::State after;
  };
  const Case cases[] = {{"unchecked", false, AutoUpchat::State::kOff},
                        {"rechecked", true, AutoUpchat::State::kWatching}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Watched w;
    w.watcher->setEnabled(true);
    w.f.host.startTransfer(TransferKind::kUpload, "a.zip", kMinute);
    w.f.runFor(500);
    ASSERT_EQ(w.watcher->state(), AutoUpchat::State::kWaiting);
    if (c.choice) w.watcher->setEnabled(false);
    w.watcher->setEnabled(c.choice);
    w.f.runFor(10000);
    EXPECT_EQ(w.linesSent(), 1u);
    w.f.runFor(kMinute);
    EXPECT_EQ(w.watcher->state(), c.after);
    w.f.host.startTransfer(TransferKind::kUpload, "b.zip", kMinute);
    w.f.runFor(500);
    EXPECT_EQ(w.linesSent(), c.choice ? 2u : 1u);
  }
}

TEST(AutoUpchat, WatchingKeepsTheIdleWindowsAwayAndTheMainTimerOffWhenNotIdling) {
  Watched w(Generation::k5, false);
  w.watcher->setEnabled(true);
  w.f.host.raiseIdleWindows();
  w.f.runFor(100);
  EXPECT_FALSE(w.f.host.idleWindowsShown());
  EXPECT_TRUE(w.f.host.signedOn());
  EXPECT_GT(w.mainTimerStops, 0);
  EXPECT_EQ(w.linesSent(), 0u);
  w.watcher->setEnabled(false);
  EXPECT_EQ(w.watcher->state(), AutoUpchat::State::kOff);
  const int stops = w.mainTimerStops;
  w.f.runFor(1000);
  EXPECT_EQ(w.mainTimerStops, stops);
}

// The watcher hides the Welcome window whenever the host shows it: again after the user
// brought it back, and the new one of a new sign-on.
constexpr std::uint32_t kWelcomeWithinMs = AutoUpchat::kQuietLookMs + 2 * AutoUpchat::kWelcomeLookMs;
TEST(AutoUpchat, WatchingHidesTheWelcomeWindowEachTimeItIsShown) {
  Watched w;
  const auto welcome = [&] {
    return w.f.lib.FirstHostChild([&](Window c) { return w.f.lib.GetCaption(c).rfind("Welcome, ", 0) == 0; });
  };
  ASSERT_TRUE(w.f.ws().isVisible(welcome()));
  w.watcher->setEnabled(true);
  w.f.runFor(kWelcomeWithinMs);
  EXPECT_FALSE(w.f.ws().isVisible(welcome()));

  w.f.hostProcess.platform().windows.show(welcome(), msg::kSwShow);
  ASSERT_TRUE(w.f.ws().isVisible(welcome()));
  w.f.runFor(kWelcomeWithinMs);
  EXPECT_FALSE(w.f.ws().isVisible(welcome())) << "shown again";

  w.f.host.signOff();
  w.f.runFor(kWelcomeWithinMs);
  w.f.host.signOn("Ann");
  ASSERT_TRUE(welcome());
  w.f.runFor(kWelcomeWithinMs);
  EXPECT_FALSE(w.f.ws().isVisible(welcome())) << "a new sign-on's";
  EXPECT_EQ(w.f.lib.GetScreenName(), "Ann");
}

}  // namespace
}  // namespace vantary::host::testing
