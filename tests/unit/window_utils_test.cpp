// The window utilities on the sim: snapping, shaping, sounds, pauses and the erase.
#include "toolkit/window_utils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/sim/sim_world.h"
#include "tests/sim_root.h"

namespace vantary::toolkit {
namespace {

using platform::Picture;
using platform::Point;
using platform::Rect;
using platform::Region;
using platform::Rgb;
using platform::WindowSpec;
using platform::sim::SimWorld;

using vantary::testing::FreshRoot;

class WindowUtilsTest : public ::testing::Test {
 protected:
  WindowUtilsTest() : world_(FreshRoot()), process_(world_.addProcess("vantary")), p_(process_.platform()) {
    world_.setScreenSize({1024, 768});
    platform::ClassSpec form;
    form.name = "ThunderForm";
    p_.windows.registerClass(form);
  }

  Window Form(Rect r) {
    WindowSpec desc;
    desc.className = "ThunderForm";
    desc.caption = "form";
    desc.style.visible = true;
    desc.style.popup = true;
    desc.rect = r;
    return p_.windows.create(desc);
  }

  void WriteProgramFile(const char* name) {
    const auto path = world_.hostPath(p_.files.programFolder() + "\\" + name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "RIFF";
  }

  SimWorld world_;
  platform::sim::SimProcess& process_;
  Platform& p_;
};

// Screen 1024 x 768 pixels is 15360 x 11520 twips; without a task bar the bottom limit is
// 11520 - 45 = 11475 twips (765 pixels).
TEST_F(WindowUtilsTest, KeepOnScreenSnapsToTheEdgesAndTheBottomLimit) {
  struct Case {
    const char* what;
    Rect before;
    Point after;
  };
  const Case cases[] = {
      {"100 twips from the left edge snaps to 0", {7, 300, 107, 350}, {0, 300}},
      {"near the top snaps to 0", {300, 10, 400, 60}, {300, 0}},
      {"past the right edge is pulled in", {1000, 300, 1100, 350}, {924, 300}},
      {"within 210 twips of the right edge snaps to it", {914, 300, 1014, 350}, {924, 300}},
      {"below the bottom limit is pulled up onto it", {300, 740, 400, 790}, {300, 715}},
      {"well inside stays put", {300, 300, 400, 350}, {300, 300}},
  };
  for (const Case& c : cases) {
    const Window w = Form(c.before);
    KeepOnScreen(p_, w);
    const Rect r = p_.windows.windowRect(w);
    EXPECT_EQ(r.left, c.after.x) << c.what;
    EXPECT_EQ(r.top, c.after.y) << c.what;
    EXPECT_EQ(r.width(), c.before.width()) << c.what;
    p_.windows.destroy(w);
  }
}

TEST_F(WindowUtilsTest, KeepOnScreenKeepsWindowsAboveTheTaskBar) {
  auto& shell = world_.addProcess("explorer");
  platform::ClassSpec trayClass;
  trayClass.name = "Shell_TrayWnd";
  shell.platform().windows.registerClass(trayClass);
  WindowSpec bar;
  bar.className = "Shell_TrayWnd";
  bar.style.visible = true;
  bar.style.popup = true;
  bar.rect = {0, 738, 1024, 768};
  ASSERT_TRUE(shell.platform().windows.create(bar));

  // tq = 738 / 3 = 246; limit = 11520 - 492 - 45 = 10983 twips; a 750-twip window ends
  // with its top at 10233 twips, 682.2 pixels.
  const Window w = Form({300, 700, 400, 750});
  KeepOnScreen(p_, w);
  EXPECT_EQ(p_.windows.windowRect(w).top, 682);
}

TEST_F(WindowUtilsTest, DragAndKeepOnScreenSnapsWhereTheUserDroppedTheWindow) {
  const Window w = Form({300, 300, 400, 350});
  world_.setNextDragTarget({5, 400});
  DragAndKeepOnScreen(p_, w);
  EXPECT_EQ(p_.windows.windowRect(w).left, 0);
  EXPECT_EQ(p_.windows.windowRect(w).top, 400);
}

TEST_F(WindowUtilsTest, StayOnTopCenterAndScatter) {
  const Window w = Form({0, 0, 200, 100});
  EXPECT_FALSE(p_.windows.isTopmost(w));
  StayOnTop(p_, w);
  EXPECT_TRUE(p_.windows.isTopmost(w));

  CenterForm(p_, w);
  EXPECT_EQ(p_.windows.windowRect(w), (Rect{412, 334, 612, 434}));

  ScatterForm(p_, w);
  const Rect r = p_.windows.windowRect(w);
  EXPECT_GE(r.left, 0);
  EXPECT_LT(r.left, 1024);
  EXPECT_GE(r.top, 0);
  EXPECT_LT(r.top, 768);
  EXPECT_EQ(r.width(), 200);
}

TEST(BuildWindowRegion, CutsAwayThePixelZeroColour) {
  const auto magenta = Rgb(255, 0, 255);
  Picture face(4, 3, Rgb(10, 20, 30));
  face.setPixel(0, 0, magenta);
  face.setPixel(3, 0, magenta);
  face.setPixel(0, 2, magenta);
  face.setPixel(3, 2, magenta);
  face.setPixel(1, 1, magenta);  // a hole splits the middle row in two runs

  platform::Color used = 0;
  const Region region = BuildWindowRegion(face, 0, &used);
  EXPECT_EQ(used, magenta);
  EXPECT_EQ(region.rects, (std::vector<Rect>{{1, 0, 3, 1}, {0, 1, 1, 2}, {2, 1, 4, 2}, {1, 2, 3, 3}}));
  EXPECT_FALSE(region.contains({0, 0}));
  EXPECT_FALSE(region.contains({1, 1}));
  EXPECT_TRUE(region.contains({3, 1}));
}

TEST(BuildWindowRegion, OneColourPictureGivesAnEmptyRegionAndAGivenColourIsUsed) {
  const Picture plain(8, 8, Rgb(1, 2, 3));
  EXPECT_TRUE(BuildWindowRegion(plain, -1).empty());
  // A colour of 1 or more is taken as given: nothing of this picture has it.
  const Region whole = BuildWindowRegion(plain, Rgb(0, 0, 9));
  EXPECT_EQ(whole.rects.size(), 8u);
  EXPECT_EQ(whole.rects.front(), (Rect{0, 0, 8, 1}));
  EXPECT_TRUE(BuildWindowRegion(Picture{}, 0).empty());
}

TEST_F(WindowUtilsTest, SoundsPlayOnlyFilesThatExist) {
  const std::string folder = p_.files.programFolder();
  PlayMusic(p_, folder + "\\greets.mid");
  PlayWave(p_, folder + "\\click.wav");
  PlayWave(p_, "");
  EXPECT_TRUE(world_.sounds().empty());

  WriteProgramFile("greets.mid");
  WriteProgramFile("click.wav");
  PlayMusic(p_, folder + "\\greets.mid");
  StopMusic(p_, folder + "\\greets.mid");
  PlayWave(p_, folder + "\\click.wav");
  const auto& sounds = world_.sounds();
  ASSERT_EQ(sounds.size(), 5u);
  EXPECT_EQ(sounds[0].text.rfind("open \"" + folder + "\\greets.mid\" alias ", 0), 0u) << sounds[0].text;
  EXPECT_EQ(sounds[4].kind, platform::sim::SoundRecord::Kind::kWave);
  EXPECT_EQ(sounds[4].flags, 3u);
}

TEST_F(WindowUtilsTest, PauseLetsATimerFireAndEndsAcrossMidnight) {
  world_.setTimeOfDay({23, 59, 59});
  int ticks = 0;
  platform::Timer timer(p_.loop, 500, [&] { ++ticks; });
  timer.setEnabled(true);
  const auto start = p_.loop.nowMs();
  Pause(p_, 2.0);
  EXPECT_GE(p_.loop.nowMs() - start, 2000u);
  EXPECT_LT(p_.loop.nowMs() - start, 2100u);
  EXPECT_EQ(ticks, 4);
  EXPECT_EQ(p_.loop.timeOfDay().hour, 0);
}

TEST_F(WindowUtilsTest, EraseLabelTakesTheCaptionAwayFromItsEnd) {
  const Window form = Form({0, 0, 200, 100});
  WindowSpec desc;
  desc.className = "Static";
  desc.caption = "abc  ";
  desc.style.child = true;
  desc.style.visible = true;
  desc.parent = form;
  desc.rect = {0, 0, 100, 20};
  const Window label = p_.windows.create(desc);
  world_.recordMessages(label);

  const auto start = p_.loop.nowMs();
  EraseLabel(p_, label);
  EXPECT_EQ(p_.windows.text(label), "");
  EXPECT_GE(p_.loop.nowMs() - start, 300u);

  // One step per character; the pointer a logged WM_SETTEXT carried is gone by now, so
  // the steps are counted, and the last one left the caption empty.
  int steps = 0;
  for (const auto& record : world_.messageLog()) {
    if (record.message.id == platform::msg::kSetText) ++steps;
  }
  EXPECT_EQ(steps, 5);
}

TEST_F(WindowUtilsTest, EraseLabelOnAnEmptyCaptionOnlyPauses) {
  const Window form = Form({0, 0, 200, 100});
  WindowSpec desc;
  desc.className = "Static";
  desc.style.child = true;
  desc.parent = form;
  const Window label = p_.windows.create(desc);
  const auto start = p_.loop.nowMs();
  EraseLabel(p_, label);
  const auto took = p_.loop.nowMs() - start;
  EXPECT_GE(took, 303u);
  EXPECT_LT(took, 400u);
}

TEST_F(WindowUtilsTest, EraseLabelStopsWhenItsWindowClosesMeanwhile) {
  const Window form = Form({0, 0, 200, 100});
  WindowSpec desc;
  desc.className = "Static";
  desc.caption = "a long credit line  ";
  desc.style.child = true;
  desc.parent = form;
  const Window label = p_.windows.create(desc);
  // The user presses "end" while the caption is being erased.
  platform::Timer closer(p_.loop, 310, [&] { p_.windows.destroy(form); });
  closer.setEnabled(true);
  EraseLabel(p_, label);
  EXPECT_FALSE(p_.windows.exists(label));
  EXPECT_LT(p_.loop.nowMs(), 1'000'000'000u);
}

TEST(Picture, BitmapFilesRoundTripAndDamagedOnesAreRefused) {
  Picture picture(3, 2, Rgb(1, 2, 3));
  picture.setPixel(2, 1, Rgb(200, 100, 50));
  const std::string bmp = picture.toBmp();
  const auto back = Picture::fromBmp(bmp);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, picture);

  EXPECT_FALSE(Picture::fromBmp("").has_value());
  EXPECT_FALSE(Picture::fromBmp(bmp.substr(0, 60)).has_value());  // pixel rows cut off
  std::string huge = bmp;
  huge[18] = '\xFF';
  huge[19] = '\xFF';
  huge[20] = '\xFF';
  huge[21] = '\x7F';  // a width of two thousand million pixels
  EXPECT_FALSE(Picture::fromBmp(huge).has_value());
  EXPECT_EQ(picture.pixel(-1, 0), platform::kInvalidColor);
  EXPECT_EQ(picture.pixel(3, 0), platform::kInvalidColor);
}

}  // namespace
}  // namespace vantary::toolkit
