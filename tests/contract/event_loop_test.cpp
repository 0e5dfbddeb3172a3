// Contract cases for message delivery and the event loop: sent messages run at once,
// posted ones when events are pumped, handlers may pump, timers tick while the program waits.
#include <set>

#include "tests/contract/contract_fixture.h"

namespace vantary::contract {
namespace {

using EventLoopContract = ContractTest;

constexpr std::uint32_t kFirst = msg::kApp + 1;
constexpr std::uint32_t kSecond = msg::kApp + 2;
constexpr std::uint32_t kThird = msg::kApp + 3;

TEST_F(EventLoopContract, SentMessagesRunAtOncePostedOnesWhenEventsArePumped) {
  const Window w = topLevel(recordingClass("target"));
  ASSERT_TRUE(ws().post(w, kFirst, 1, 2));
  EXPECT_TRUE(idsTo(w, msg::kApp, msg::kApp + 100).empty());
  EXPECT_TRUE(ws().send(w, kSecond).has_value());
  EXPECT_EQ(idsTo(w, msg::kApp, msg::kApp + 100), std::vector<std::uint32_t>{kSecond});
  loop().pump();
  EXPECT_EQ(idsTo(w, msg::kApp, msg::kApp + 100), (std::vector<std::uint32_t>{kSecond, kFirst}));
  EXPECT_EQ(received_.back().message.wParam, 1u);
  EXPECT_EQ(received_.back().message.lParam, 2);

  // Gone windows take nothing.
  ASSERT_TRUE(ws().destroy(w));
  EXPECT_FALSE(ws().send(w, kFirst).has_value());
  EXPECT_FALSE(ws().post(w, kFirst));
}

TEST_F(EventLoopContract, AHandlerThatPumpsRunsTheRestOfTheQueueButNotItself) {
  std::vector<std::string> order;
  platform::ClassSpec cls;
  cls.name = uniqueClass("pumper");
  cls.handler = [&](Window w, const Message& m) -> LResult {
    if (m.id == kFirst) {
      order.push_back("first begins");
      ws().post(w, kThird);
      loop().pump();
      order.push_back("first ends");
      return 0;
    }
    if (m.id == kSecond) order.push_back("second");
    if (m.id == kThird) order.push_back("third");
    return ws().callDefault(w, m);
  };
  ASSERT_TRUE(ws().registerClass(cls));
  const Window w = topLevel(cls.name);
  ws().post(w, kFirst);
  ws().post(w, kSecond);
  loop().pump();
  loop().pump();
  const std::vector<std::string> expected{"first begins", "second", "third", "first ends"};
  EXPECT_EQ(order, expected);
}

TEST_F(EventLoopContract, PostedWorkRunsInOrderAtTheNextPump) {
  std::vector<int> ran;
  loop().postWork([&] { ran.push_back(1); });
  loop().postWork([&] {
    ran.push_back(2);
    loop().postWork([&] { ran.push_back(3); });
  });
  EXPECT_TRUE(ran.empty());
  EXPECT_TRUE(loop().waitUntil([&] { return ran.size() == 3; }, 1000));
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST_F(EventLoopContract, TimerTicksWhileThePauseRuns) {
  int ticks = 0;
  platform::Timer timer(loop(), 100, [&] { ++ticks; });
  timer.setEnabled(true);
  loop().pump();
  EXPECT_EQ(ticks, 0);  // the first tick comes one interval after the start
  const std::uint64_t start = loop().nowMs();
  loop().pause(0.35);
  EXPECT_GE(loop().nowMs() - start, 350u);
  // Exactly 3 on the sim; the real system's timers may slip by a tick.
  EXPECT_GE(ticks, 2);
  EXPECT_LE(ticks, 4);
  timer.setEnabled(false);
  const int stopped = ticks;
  loop().pause(0.25);
  EXPECT_EQ(ticks, stopped);
}

TEST_F(EventLoopContract, TimerTickThatWaitsIsNotReenteredAndMayStopItself) {
  int depth = 0;
  int deepest = 0;
  int ticks = 0;
  std::unique_ptr<platform::Timer> timer;
  timer = std::make_unique<platform::Timer>(loop(), 20, [&] {
    ++ticks;
    ++depth;
    deepest = std::max(deepest, depth);
    EXPECT_TRUE(timer->ticking());
    loop().pause(0.1);  // five intervals pass inside the tick
    if (ticks == 2) timer->setEnabled(false);
    --depth;
  });
  timer->setEnabled(true);
  loop().pause(0.5);
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(ticks, 2);
  EXPECT_FALSE(timer->enabled());
  EXPECT_FALSE(timer->ticking());
}

TEST_F(EventLoopContract, RawTimersHaveFreshIdsAndStopFromTheirOwnTick) {
  std::set<platform::TimerId> ids;
  int ticks = 0;
  platform::TimerId self = 0;
  self = loop().startTimer(30, [&] {
    ++ticks;
    loop().stopTimer(self);
  });
  ids.insert(self);
  for (int i = 0; i < 5; ++i) {
    const platform::TimerId id = loop().startTimer(1000, [] {});
    ids.insert(id);
    loop().stopTimer(id);
  }
  EXPECT_EQ(ids.size(), 6u);
  EXPECT_EQ(ids.count(0), 0u);
  loop().pause(0.2);
  EXPECT_EQ(ticks, 1);
}

TEST_F(EventLoopContract, WaitUntilEndsAtItsLimitOrWhenDone) {
  const std::uint64_t start = loop().nowMs();
  EXPECT_FALSE(loop().waitUntil([] { return false; }, 120));
  EXPECT_GE(loop().nowMs() - start, 120u);

  bool flag = false;
  platform::Timer timer(loop(), 50, [&] { flag = true; });
  timer.setEnabled(true);
  const std::uint64_t before = loop().nowMs();
  EXPECT_TRUE(loop().waitUntil([&] { return flag; }, 5000));
  EXPECT_LT(loop().nowMs() - before, 5000u);
}

}  // namespace
}  // namespace vantary::contract
