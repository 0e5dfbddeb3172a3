// Contract cases for message delivery and the event loop: sent messages run at once,
// posted ones when events are pumped, handlers may pump, timers tick while the program waits.
#include <set>
#include <string>
#include <vector>

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

// A fast timer and a slow one: the slow one keeps its own rate, whether or not it shares
// the fast one's wakes, and one stopped by the other's tick runs no more.
TEST_F(EventLoopContract, TimersRunningTogetherKeepTheirRates) {
  int fast = 0;
  int slow = 0;
  bool stopSlow = false;
  platform::TimerId slowId = loop().startTimer(100, [&] { ++slow; });
  const platform::TimerId fastId = loop().startTimer(1, [&] {
    ++fast;
    if (stopSlow && slowId != 0) {
      loop().stopTimer(slowId);
      slowId = 0;
    }
  });
  loop().pause(1.0);
  EXPECT_GE(fast, 20);
  EXPECT_GE(slow, 8);
  EXPECT_LE(slow, 11);
  stopSlow = true;
  loop().pause(0.05);
  const int stopped = slow;
  loop().pause(0.3);
  EXPECT_EQ(slow, stopped);
  loop().stopTimer(fastId);
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

TEST_F(EventLoopContract, WaitForWindowGivesTheWindowOnceItStandsAnd0AtTheLimit) {
  const Text cls = recordingClass("late");
  Window made;
  platform::Timer maker(loop(), 60, [&] {
    if (!made) made = topLevel(cls);
  });
  maker.setEnabled(true);
  const std::uint64_t start = loop().nowMs();
  const Window found = loop().waitForWindow([&] { return ws().findWindow(cls, std::nullopt); }, 5000);
  EXPECT_TRUE(found);
  EXPECT_EQ(found, made);
  EXPECT_GE(loop().nowMs() - start, 60u);
  EXPECT_LT(loop().nowMs() - start, 5000u);

  const std::uint64_t before = loop().nowMs();
  EXPECT_FALSE(
      loop().waitForWindow([&] { return ws().findWindow(uniqueClass("never"), std::nullopt); }, 120));
  EXPECT_GE(loop().nowMs() - before, 120u);
}

TEST_F(EventLoopContract, RepeatUntilStepsBeforeEachLookAndLetsEventsRunBetweenSteps) {
  // The step posts work; the look holds once the work of two steps has run. The first
  // step comes before any work of its own ran, each look right after its step.
  std::vector<std::string> order;
  int ran = 0;
  const bool done = loop().repeatUntil(
      [&] {
        order.push_back("step");
        loop().postWork([&] { order.push_back("work " + std::to_string(++ran)); });
      },
      [&] {
        order.push_back("look");
        return ran >= 2;
      },
      5000);
  EXPECT_TRUE(done);
  const std::vector<std::string> expected{"step", "look", "work 1", "step", "look", "work 2", "step", "look"};
  EXPECT_EQ(order, expected);
  loop().pump();  // the work of the last step, while what it writes to is still there

  // A look that never holds ends at the limit, the step repeated meanwhile.
  int steps = 0;
  const std::uint64_t start = loop().nowMs();
  EXPECT_FALSE(loop().repeatUntil([&] { ++steps; }, [] { return false; }, 120));
  EXPECT_GE(loop().nowMs() - start, 120u);
  EXPECT_GE(steps, 2);
}

TEST_F(EventLoopContract, AWaitWithinADeadlineEndsWhenEitherBoundPasses) {
  struct Case {
    const char* what;
    std::uint32_t overallMs;
    std::uint32_t limitMs;
    std::uint32_t endsAfterMs;  // the shorter of the two
  };
  const Case cases[] = {{"the deadline is nearer", 100, 5000, 100},
                        {"the wait's own limit is nearer", 5000, 80, 80}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const platform::Deadline overall(loop(), c.overallMs);
    const std::uint64_t start = loop().nowMs();
    EXPECT_FALSE(loop().waitUntil([] { return false; }, c.limitMs, overall));
    EXPECT_GE(loop().nowMs() - start, c.endsAfterMs);
    EXPECT_LT(loop().nowMs() - start, std::max(c.overallMs, c.limitMs));
    EXPECT_EQ(overall.passed(), c.overallMs == c.endsAfterMs);
  }

  // Once the deadline passed, a wait only looks.
  const platform::Deadline passed(loop(), 0);
  int looks = 0;
  const std::uint64_t start = loop().nowMs();
  EXPECT_FALSE(loop().waitUntil(
      [&] {
        ++looks;
        return false;
      },
      5000, passed));
  EXPECT_EQ(looks, 1);
  EXPECT_LT(loop().nowMs() - start, 1000u);
}

}  // namespace
}  // namespace vantary::contract
