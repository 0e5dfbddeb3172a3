// Faults of the stand-in host's own code: what its window handlers, script lines and
// timers throw stops there (nothing crosses the window system or the event loop), is
// recorded, and fails the test in which it happened.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <stdexcept>

#include "hostsim/script.h"
#include "tests/world/hostsim_probe.h"

namespace vantary::hostsim::testing {
namespace {

// The host process's event loop, failing on demand in the calls the host makes itself
// (clock, timers, posted work), as a bug in the host's own code would fail.
class FailingLoop final : public platform::EventLoop {
 public:
  explicit FailingLoop(platform::EventLoop& real) : real_(real) {}

  bool failing = false;

  std::uint64_t nowMs() override {
    check();
    return real_.nowMs();
  }
  platform::TimeOfDay timeOfDay() override { return real_.timeOfDay(); }
  platform::TimerId startTimer(std::uint32_t intervalMs, std::function<void()> tick) override {
    check();
    return real_.startTimer(intervalMs, std::move(tick));
  }
  void stopTimer(platform::TimerId id) override {
    check();
    real_.stopTimer(id);
  }
  void postWork(std::function<void()> work) override {
    check();
    real_.postWork(std::move(work));
  }
  void pump() override { real_.pump(); }
  void waitForEvents(std::uint32_t maxMs) override { real_.waitForEvents(maxMs); }
  int run() override { return real_.run(); }
  void quit(int code) override { real_.quit(code); }
  bool quitRequested() override { return real_.quitRequested(); }

 private:
  void check() {
    if (failing) throw std::runtime_error("the clock stopped");
  }

  platform::EventLoop& real_;
};

class FailingRandom final : public platform::Random {
 public:
  double nextFraction() override { throw std::runtime_error("no random numbers"); }
};

// The stand-in host and its script on the failing services, signed on in a room with a
// member, and a probe process. Like every world of the host, it fails the running test
// when it goes if the host faulted.
struct FaultyHost {
  FaultyHost()
      : world(FreshRoot()),
        hostProcess(world.addProcess("host", "aol")),
        probeProcess(world.addProcess("probe")),
        loop(hostProcess.platform().loop),
        platform{hostProcess.platform().windows,
                 loop,
                 hostProcess.platform().dialogs,
                 hostProcess.platform().files,
                 hostProcess.platform().sound,
                 hostProcess.platform().tray,
                 hostProcess.platform().shell,
                 hostProcess.platform().screen,
                 random},
        host(platform),
        script(host, platform),
        probe(probeProcess.platform()) {
    host.signOn("Joe");
    host.join(host.openRoom("Lobby", RoomLayout::kRich), "Ann");
  }
  ~FaultyHost() { ExpectNoHostFault(host); }

  platform::sim::SimWorld world;
  platform::sim::SimProcess& hostProcess;
  platform::sim::SimProcess& probeProcess;
  FailingLoop loop;
  FailingRandom random;
  platform::Platform platform;
  HostSim host;
  HostScript script;
  Probe probe;
};

TEST(HostSimFaults, AFaultInTheHostsOwnCodeIsRecordedAndFailsTheTest) {
  struct Case {
    const char* what;
    std::function<void(FaultyHost&)> act;
    const char* fault;  // the first fault as recorded and reported
  };
  const Case cases[] = {
      {"a window handler: Enter in the keyword box",
       [](FaultyHost& f) {
         f.loop.failing = true;
         f.probe.runKeyword("buddy");
         f.loop.failing = false;
       },
       "window handler of Edit, message 0x0102: the clock stopped"},
      {"a script line: wait",
       [](FaultyHost& f) {
         f.loop.failing = true;
         const ScriptResult r = f.script.run("wait 10");
         f.loop.failing = false;
         // The line fails as any line the host could not run; the script goes on.
         EXPECT_EQ(r.error, std::optional<Text>("the host could not run this line"));
         EXPECT_EQ(f.script.run("members").answer, (std::vector<Text>{"Joe", "Ann"}));
       },
       "script line \"wait 10\": the clock stopped"},
      {"a timer: chatter",
       [](FaultyHost& f) {
         f.script.setChatter(true, 100);
         f.world.runFor(1000);
         f.script.setChatter(false);
       },
       "chatter: no random numbers"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::optional<FaultyHost> f(std::in_place);
    ASSERT_EQ(f->host.faultCount(), 0);
    c.act(*f);
    EXPECT_GE(f->host.faultCount(), 1);
    EXPECT_EQ(f->host.firstFault(), std::optional<Text>(c.fault));
    // The host goes on: the act that faulted stays undone, the next one runs.
    EXPECT_EQ(f->script.run("say Ann: still here").error, std::nullopt);
    EXPECT_EQ(f->host.transcript(f->host.currentRoom()), "Ann:\tstill here");
    EXPECT_NONFATAL_FAILURE(f.reset(), c.fault);
  }
}

TEST(HostSimFaults, TheHostsWorldFailsTheTestInWhichTheHostFaulted) {
  std::optional<HostWorld> w(std::in_place);
  FailingRandom random;
  platform::Platform& real = w->hostProcess.platform();
  platform::Platform chatterless{real.windows, real.loop,  real.dialogs, real.files, real.sound,
                                 real.tray,    real.shell, real.screen,  random};
  std::optional<HostScript> script(std::in_place, w->host, chatterless);
  ASSERT_EQ(script->run("sign-on Joe").error, std::nullopt);
  ASSERT_EQ(script->run("open-room rich Lobby").error, std::nullopt);
  ASSERT_EQ(script->run("join Ann").error, std::nullopt);
  ASSERT_EQ(script->run("chatter on 100").error, std::nullopt);
  w->world.runFor(500);
  script.reset();
  EXPECT_NONFATAL_FAILURE(w.reset(), "first in chatter: no random numbers");
}

}  // namespace
}  // namespace vantary::hostsim::testing
