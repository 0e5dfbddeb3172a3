// The stand-in host's transfer windows and idle windows over virtual time, as another
// process reads and clicks them.
#include <gtest/gtest.h>

#include "tests/world/hostsim_probe.h"

namespace vantary::hostsim::testing {
namespace {

constexpr std::uint64_t kMinute = 60000;

struct TransferTexts {
  std::string caption;
  std::string file;
  std::string time;
};

TransferTexts Read(Probe& probe, Window w) {
  const Window first = probe.ws.firstChild(w, "_AOL_Static");
  return {probe.ws.caption(w), probe.ws.text(first),
          probe.ws.text(probe.ws.findChild(w, first, "_AOL_Static"))};
}

Window DownloadWindow(Probe& probe) {
  return probe.firstHostChild(
      [&](Window c) { return probe.ws.caption(c).find("File Transfer - ") != std::string::npos; });
}

TEST(HostSimTransfers, DownloadWindowProgressesWithTimeAndGoesWhenDone) {
  HostWorld w;
  w.host.signOn("Joe");
  const int id = w.host.startTransfer(TransferKind::kDownload, "song.mp3", 10 * kMinute);
  struct Step {
    std::uint64_t after;
    const char* caption;
    const char* time;
  };
  const Step steps[] = {
      {0, "File Transfer - 0%", "About 10 minutes remaining."},
      {4 * kMinute + 30000, "File Transfer - 45%", "About 6 minutes remaining."},
      {4 * kMinute + 30000, "File Transfer - 90%", "About 1 minute remaining."},
      {30000, "File Transfer - 95%", "Less than a minute remaining."},
  };
  for (const Step& s : steps) {
    w.world.runFor(s.after);
    const Window download = DownloadWindow(w.probe);
    ASSERT_TRUE(download) << s.caption;
    const TransferTexts t = Read(w.probe, download);
    EXPECT_EQ(t.caption, s.caption);
    EXPECT_EQ(t.file, "Downloading song.mp3");
    EXPECT_EQ(t.time, s.time);
  }
  w.world.runFor(30000);
  EXPECT_FALSE(DownloadWindow(w.probe));
  EXPECT_FALSE(w.host.transferRunning(id));
}

TEST(HostSimTransfers, UploadModalHoldsTheFrameUntilItEndsOrIsClosed) {
  HostWorld w;
  w.host.signOn("Joe");
  auto& ws = w.probe.ws;
  const int first = w.host.startTransfer(TransferKind::kUpload, "pics.zip", 2 * kMinute);
  w.world.runFor(kMinute);
  Window modal = ws.findWindow("_AOL_Modal", std::nullopt);
  ASSERT_TRUE(modal);
  const TransferTexts t = Read(w.probe, modal);
  EXPECT_EQ(t.caption, "File Transfer - 50%");
  EXPECT_EQ(t.file, "Now Uploading pics.zip");
  EXPECT_EQ(t.time, "About 1 minute remaining.");
  EXPECT_FALSE(ws.isEnabled(w.probe.frame()));
  // The upload modal has no icon that a blind click on the front modal would hit.
  EXPECT_FALSE(ws.firstChild(modal, "_AOL_Icon"));
  w.world.runFor(kMinute);
  EXPECT_FALSE(w.host.transferRunning(first));
  EXPECT_FALSE(ws.findWindow("_AOL_Modal", std::nullopt));
  EXPECT_TRUE(ws.isEnabled(w.probe.frame()));

  // Closed by another program, it stops the upload and frees the frame as well.
  const int second = w.host.startTransfer(TransferKind::kUpload, "b.zip", 10 * kMinute);
  modal = ws.findWindow("_AOL_Modal", std::nullopt);
  ws.post(modal, msg::kClose);
  ASSERT_TRUE(w.probe.waitFor([&] { return !ws.exists(modal); }));
  EXPECT_FALSE(w.host.transferRunning(second));
  EXPECT_TRUE(ws.isEnabled(w.probe.frame()));
}

TEST(HostSimTransfers, BrowserDownloadDialogCarriesTheGivenCaption) {
  HostWorld w;
  w.host.openBrowserDownload("45% of setup.exe Completed");
  EXPECT_TRUE(w.probe.ws.findWindow("#32770", "45% of setup.exe Completed"));
  w.host.openBrowserDownload("12% of a.zip Copied");
  const Window dialog = w.probe.ws.findWindow("#32770", std::nullopt);
  EXPECT_EQ(w.probe.ws.caption(dialog), "12% of a.zip Copied");
  EXPECT_FALSE(w.probe.ws.findWindow("#32770", "45% of setup.exe Completed"));
  w.probe.ws.sendKey(w.probe.ws.firstChild(dialog, "Button"), msg::kVkSpace);
  EXPECT_TRUE(w.probe.waitFor([&] { return !w.probe.ws.exists(dialog); }));
}

Window IdlePalette(Probe& probe) { return probe.ws.findWindow("_AOL_Palette", "America Online Timer"); }

Window IdleModal(Probe& probe) {
  const Window m = probe.ws.findWindow("_AOL_Modal", std::nullopt);
  return probe.ws.text(probe.ws.firstChild(m, "_AOL_Static")).find("idle") != std::string::npos ? m
                                                                                                : Window{};
}

TEST(HostSimIdle, IdleWindowsComeAfterAStretchWithoutActivityAndSignOffWhenLeft) {
  HostWorld w;
  w.host.signOn("Joe");
  w.host.setIdleLimits(10 * kMinute, 3 * kMinute);
  const Window room = w.host.openRoom("Lobby", RoomLayout::kRich);
  w.world.runFor(9 * kMinute);
  // A chat line is activity: the stretch starts again.
  ASSERT_TRUE(w.probe.sendLine(w.probe.ws.nthChild(room, "RICHCNTL", 2), "still here"));
  w.world.runFor(9 * kMinute);
  EXPECT_FALSE(IdlePalette(w.probe));
  w.world.runFor(kMinute + 1000);
  EXPECT_TRUE(IdlePalette(w.probe));
  EXPECT_TRUE(IdleModal(w.probe));
  EXPECT_TRUE(w.probe.ws.firstChild(IdlePalette(w.probe), "_AOL_Icon"));
  w.world.runFor(3 * kMinute);
  EXPECT_FALSE(w.host.signedOn());
  EXPECT_EQ(w.probe.screenName(), "");
  EXPECT_FALSE(IdlePalette(w.probe));
  EXPECT_FALSE(IdleModal(w.probe));
}

TEST(HostSimIdle, ClickingTheIdleIconsDismissesThemAndCountsAsActivity) {
  HostWorld w;
  w.host.signOn("Joe");
  w.host.setIdleLimits(10 * kMinute, 3 * kMinute);
  w.world.runFor(10 * kMinute + 1000);
  ASSERT_TRUE(IdlePalette(w.probe));
  ASSERT_TRUE(IdleModal(w.probe));
  w.world.runFor(2 * kMinute);
  // As the program's minute tick does it: the palette's icon, then the idle modal's.
  w.probe.ws.postClick(w.probe.ws.firstChild(IdlePalette(w.probe), "_AOL_Icon"));
  w.probe.ws.postClick(w.probe.ws.firstChild(IdleModal(w.probe), "_AOL_Icon"));
  ASSERT_TRUE(w.probe.waitFor([&] { return !IdlePalette(w.probe) && !IdleModal(w.probe); }));
  w.world.runFor(9 * kMinute);
  EXPECT_TRUE(w.host.signedOn());
  EXPECT_FALSE(IdlePalette(w.probe));
  w.world.runFor(2 * kMinute);
  EXPECT_TRUE(IdlePalette(w.probe));
  EXPECT_TRUE(w.host.signedOn());
}

}  // namespace
}  // namespace vantary::hostsim::testing
