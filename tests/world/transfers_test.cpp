// Reading the host's download windows, upload modals and the browser's download dialog
// through the library, with transfers running, absent, and hidden behind other modals.
#include <gtest/gtest.h>

#include "tests/world/host_fixture.h"
#include "text/text_ops.h"

namespace vantary::host::testing {
namespace {

using hostsim::TransferKind;
using text::DigitsOnly;

constexpr std::uint64_t kMinute = 60000;

TEST(Transfers, WithNoTransferEveryReaderIsEmpty) {
  HostFixture f;
  f.signOnInRoom("Joe");
  EXPECT_FALSE(f.lib.FindTransferWindow());
  EXPECT_FALSE(f.lib.FindDownloadWindow());
  EXPECT_FALSE(f.lib.FindUploadModal());
  EXPECT_FALSE(f.lib.FindActiveUploadModal());
  EXPECT_EQ(f.lib.GetTransferFileName(), "");
  EXPECT_EQ(f.lib.GetTransferTimeText(), "");
  EXPECT_EQ(DigitsOnly(f.lib.GetCaption(f.lib.FindDownloadWindow())), "");
  const BrowserDownload browser = f.lib.GetBrowserDownload();
  EXPECT_EQ(browser.status, "");
  EXPECT_EQ(browser.found, 0);
  const UploadTexts upload = f.lib.ReadUploadTexts();
  EXPECT_EQ(upload.file, "");
  EXPECT_EQ(upload.percent, "");
  EXPECT_EQ(upload.minutes, "");
  f.lib.RaiseDownloadWindow();
}

TEST(Transfers, ARunningDownloadIsReadBelowOtherWindows) {
  HostFixture f;
  f.host.signOn("Joe");
  f.host.startTransfer(TransferKind::kDownload, "song.mp3", 10 * kMinute);
  f.runFor(4 * kMinute + 30000);
  const Window room = f.host.openRoom("Lobby", RoomLayout::kRich);  // on top of the download

  const Window download = f.lib.FindDownloadWindow();
  ASSERT_TRUE(download);
  EXPECT_NE(download, room);
  EXPECT_EQ(f.lib.FindTransferWindow(), download);
  EXPECT_EQ(f.lib.GetTransferFileName(), "song.mp3");
  EXPECT_EQ(f.lib.GetTransferTimeText(), "About 6 minutes remaining.");
  EXPECT_EQ(DigitsOnly(f.lib.GetCaption(download)), "45");
  EXPECT_FALSE(f.lib.FindUploadModal());
  EXPECT_FALSE(f.lib.FindActiveUploadModal());

  // A child window asked to be topmost goes to the top of its siblings.
  const auto top = [&] { return f.lib.FirstHostChild([](Window) { return true; }); };
  EXPECT_EQ(top(), room);
  f.lib.RaiseDownloadWindow();
  EXPECT_EQ(top(), download);

  f.runFor(6 * kMinute);
  EXPECT_FALSE(f.lib.FindDownloadWindow());
  EXPECT_EQ(f.lib.GetTransferFileName(), "");
}

TEST(Transfers, ARunningUploadIsReadFromItsModal) {
  HostFixture f;
  f.signOnInRoom("Joe");
  f.host.startTransfer(TransferKind::kUpload, "Holiday PICS.zip", 2 * kMinute);
  f.runFor(kMinute);

  const Window modal = f.lib.FindUploadModal();
  ASSERT_TRUE(modal);
  EXPECT_EQ(f.lib.FindActiveUploadModal(), modal);
  // The upload is no host child: the download readers do not see it.
  EXPECT_FALSE(f.lib.FindTransferWindow());
  EXPECT_FALSE(f.lib.FindDownloadWindow());
  EXPECT_EQ(f.lib.GetTransferFileName(), "");
  const UploadTexts upload = f.lib.ReadUploadTexts();
  EXPECT_EQ(upload.file, "holiday pics.zip");
  EXPECT_EQ(upload.percent, "File Transfer - 50%");
  EXPECT_EQ(DigitsOnly(upload.percent), "50");
  EXPECT_EQ(upload.minutes, "About 1 minute remaining.");
}

// The host fills the upload modal's texts in when it next handles its events: the
// active-upload finder lets them run before it looks, so an upload just started is found.
TEST(Transfers, AnUploadJustStartedIsFoundByTheActiveUploadFinder) {
  HostFixture f;
  f.signOnInRoom("Joe");
  f.host.startTransfer(TransferKind::kUpload, "a.zip", 10 * kMinute);
  const Window modal = f.lib.FindActiveUploadModal();
  ASSERT_TRUE(modal);
  EXPECT_EQ(f.lib.GetText(modal), "File Transfer - 0%");
}

// Both upload finders test the first modal only: another modal in front hides the upload
// for that moment, and the upload texts are then that modal's.
TEST(Transfers, AnotherModalInFrontHidesTheUpload) {
  HostFixture f;
  f.signOnInRoom("Joe");
  f.host.startTransfer(TransferKind::kUpload, "a.zip", 10 * kMinute);
  f.runFor(1000);
  ASSERT_TRUE(f.lib.FindUploadModal());
  f.host.raiseIdleWindows();

  EXPECT_FALSE(f.lib.FindUploadModal());
  EXPECT_FALSE(f.lib.FindActiveUploadModal());
  const UploadTexts texts = f.lib.ReadUploadTexts();
  EXPECT_EQ(texts.percent, "America Online");
  EXPECT_EQ(texts.file.rfind("you have been idle for", 0), 0u) << texts.file;
  EXPECT_EQ(texts.minutes, "");

  // Once it is answered the upload is seen again.
  f.lib.KillIdleModal();
  f.runFor(100);
  EXPECT_TRUE(f.lib.FindActiveUploadModal());
}

// The file name is what follows the blank after the first "g" of the transfer window's
// first text; windows of any text are read without failing.
TEST(Transfers, TheFileNameFollowsTheVerbOfTheFirstText) {
  struct Case {
    const char* status;
    const char* file;
  };
  const Case cases[] = {
      {"Downloading song.mp3", "song.mp3"},
      {"Now Uploading my song.mp3", "my song.mp3"},
      {"Downloading", ""},
      {"Downloading ", ""},
      {"Receiving big.iso", "big.iso"},
      {"Transfer done", "ransfer done"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    HostFixture f;
    f.host.signOn("Joe");
    Intruder intruder(f);
    const Window w = intruder.hostChild("File Transfer - 12%");
    intruder.control(w, "_AOL_Static", c.status);
    intruder.control(w, "_AOL_Static", "About 2 minutes remaining.");
    EXPECT_EQ(f.lib.FindTransferWindow(), w);
    EXPECT_EQ(f.lib.GetTransferFileName(), c.file);
    EXPECT_EQ(f.lib.GetTransferTimeText(), "About 2 minutes remaining.");
    // Only a "Downloading" text makes it a download, also without the " - ".
    const Window download = std::string(c.status).find("Downloading") == 0 ? w : Window{};
    EXPECT_EQ(f.lib.FindDownloadWindow(), download);
    intruder.ws().setText(w, "File Transfer");
    EXPECT_FALSE(f.lib.FindTransferWindow());
    EXPECT_EQ(f.lib.GetTransferFileName(), "");
    EXPECT_EQ(f.lib.FindDownloadWindow(), download);
  }
}

TEST(Transfers, TheBrowserDialogGivesItsCaptionWithoutTheEnding) {
  struct Case {
    const char* caption;
    const char* status;
    int found;
  };
  const Case cases[] = {
      {"45% of setup.exe Completed", "45% of setup.exe", 17},
      {"12% of a.zip Copied", "12% of a.zip", 13},
      {"Download complete", "", 0},
      {"Completed", "", 0},
      {" Completed", "", 1},
      // The ending is cut by its length, wherever else the word occurs.
      {"45% of Completed Works.zip Completed", "45% of Completed Works.zip", 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    HostFixture f;
    f.host.openBrowserDownload(c.caption);
    const BrowserDownload b = f.lib.GetBrowserDownload();
    EXPECT_EQ(b.status, c.status);
    EXPECT_EQ(b.found, c.found);
  }
}

}  // namespace
}  // namespace vantary::host::testing
