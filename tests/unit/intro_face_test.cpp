// The intro's timing and animation, and the console face's shape, dot and drag.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/sim/sim_world.h"
#include "tests/sim_root.h"
#include "windows/console_face.h"
#include "windows/intro.h"

namespace vantary::windows {
namespace {

using platform::Window;

namespace msg = platform::msg;
using platform::sim::SimWorld;

using vantary::testing::FreshRoot;

class IntroFaceTest : public ::testing::Test {
 protected:
  IntroFaceTest() : world_(FreshRoot()), process_(world_.addProcess("vantary")), p_(process_.platform()) {}

  SimWorld world_;
  platform::sim::SimProcess& process_;
  Platform& p_;
};

TEST_F(IntroFaceTest, IntroPlaysItsSoundAnimatesAndHandsOverOnce) {
  const auto sound = world_.hostPath(p_.files.programFolder() + "\\kestro.dll");
  std::filesystem::create_directories(sound.parent_path());
  std::ofstream(sound) << "RIFF";

  const auto start = p_.loop.nowMs();
  int handovers = 0;
  std::uint64_t handedOverAt = 0;
  Intro intro(p_, [&] {
    ++handovers;
    handedOverAt = p_.loop.nowMs() - start;
  });
  ASSERT_EQ(world_.sounds().size(), 1u);
  EXPECT_EQ(world_.sounds()[0].text, p_.files.programFolder() + "\\kestro.dll");
  EXPECT_TRUE(p_.windows.isTopmost(intro.form().window()));

  world_.runFor(10'000);
  EXPECT_EQ(handovers, 1);
  // One second before the first tick, then 1 + 6 x 0.2 + 0.4 + 1 seconds of animation.
  EXPECT_GE(handedOverAt, 4600u);
  EXPECT_LT(handedOverAt, 4800u);
  EXPECT_TRUE(intro.finished());
  EXPECT_FALSE(intro.form().alive());
}

TEST_F(IntroFaceTest, IntroLabelStopsSlidingOnceItReachedItsMark) {
  int leftAtHandover = -1;
  Intro* intro = nullptr;
  Intro running(p_, [&] { leftAtHandover = intro->form().controlRect("Label1").left; });
  intro = &running;
  std::vector<int> lefts;
  for (int tick = 0; tick < 5; ++tick) {
    lefts.push_back(running.form().controlRect("Label1").left);
    world_.runFor(100);
  }
  // 150 pixels is 2250 twips; it moves 200 twips (13 pixels) a tick until a tick finds its
  // left edge at 300 twips (20 pixels) or less, and moves once more in that tick.
  EXPECT_EQ(lefts, (std::vector<int>{150, 137, 124, 111, 98}));
  world_.runFor(10'000);
  EXPECT_EQ(leftAtHandover, 150 - 13 * 11);
}

TEST_F(IntroFaceTest, FaceIsCutToItsSkinAndStaysOnTop) {
  ConsoleFace face(p_, [](Point) {});
  const auto region = world_.regionOf(face.form().window());
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(*region, face.region());
  EXPECT_FALSE(region->contains({0, 0}));
  EXPECT_FALSE(region->contains({149, 35}));
  EXPECT_TRUE(region->contains({75, 18}));
  EXPECT_TRUE(p_.windows.isTopmost(face.form().window()));
  for (const char* counter : {"d", "h", "m", "d2", "h2", "m2"})
    EXPECT_EQ(face.form().text(counter), "0") << counter;
}

TEST_F(IntroFaceTest, DotOpensTheMenuAtTheMouseAndTurnsBoldWhilePressed) {
  std::vector<Point> opened;
  ConsoleFace face(p_, [&](Point at) { opened.push_back(at); });
  face.form().show();
  world_.setCursor({321, 123});
  const Window dot = face.form().control("Label3");
  p_.windows.send(dot, msg::kLButtonDown, 0, 0);
  EXPECT_TRUE(world_.fontOf(dot).value().bold);
  p_.windows.send(dot, msg::kLButtonUp, 0, 0);
  EXPECT_FALSE(world_.fontOf(dot).value().bold);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], (Point{321, 123}));
}

TEST_F(IntroFaceTest, DraggingTheFaceByACounterSnapsItToTheEdge) {
  ConsoleFace face(p_, [](Point) {});
  world_.setNextDragTarget({6, 300});
  p_.windows.send(face.form().control("h"), msg::kLButtonDown, 0, 0);
  EXPECT_EQ(face.form().rect().left, 0);
  EXPECT_EQ(face.form().rect().top, 300);
}

}  // namespace
}  // namespace vantary::windows
