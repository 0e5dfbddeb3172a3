// The host paths that run all day on the sim, so a change shows its cost without Wine: the
// auto upchat watcher's tick, the member scan of a 500-member room, and a simulated day at
// the real minute with the watcher and the chat scanner running in a quiet room (its CPU
// time times seven is the week's, reported as "week_cpu_s").
#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "host/auto_upchat.h"
#include "host/chat_scanner.h"
#include "host/host.h"
#include "hostsim/host_sim.h"
#include "platform/sim/sim_world.h"

namespace {

using namespace vantary;

// A signed-on host in a rich room with `members` people besides the user.
struct HostRoom {
  HostRoom(const char* name, int members)
      : world(std::filesystem::temp_directory_path() / "vantary-bench" / name),
        hostProcess(world.addProcess("host", "aol")),
        programProcess(world.addProcess("vantary")),
        host(hostProcess.platform(), hostsim::Generation::k5),
        lib(programProcess.platform(), [] { return host::ChatStyle{}; }) {
    host.signOn("Joe");
    room = host.openRoom("Lobby", hostsim::RoomLayout::kRich);
    for (int i = 0; i < members; ++i) host.join(room, "Member" + std::to_string(i));
  }

  platform::sim::SimWorld world;
  platform::sim::SimProcess& hostProcess;
  platform::sim::SimProcess& programProcess;
  hostsim::HostSim host;
  host::Host lib;
  platform::Window room;
};

// One look of the watcher at a host showing nothing to hide or click (its Welcome window
// hidden at the first look).
void BM_WatcherTick(benchmark::State& state) {
  HostRoom r("watcher", 4);
  host::AutoUpchat watcher(
      r.lib, [] { return true; }, [] {});
  watcher.watchTick();
  for (auto _ : state) watcher.watchTick();
}
BENCHMARK(BM_WatcherTick);

// The member scan of a room of 500 that finds nobody, so every record is read.
void BM_MemberScan500(benchmark::State& state) {
  HostRoom r("member_scan", 500);
  for (auto _ : state) benchmark::DoNotOptimize(r.lib.FindRoomMember("nobody of that name"));
}
BENCHMARK(BM_MemberScan500)->Unit(benchmark::kMillisecond);

// A day of the real 60,000 ms minute with the watcher ticking every 10 ms and the scanner
// looking every kChatPollMs, in a room where nothing is said.
void BM_DayWithWatcherAndScanner(benchmark::State& state) {
  double cpuSeconds = 0;
  for (auto _ : state) {
    HostRoom r("day", 4);
    host::AutoUpchat watcher(
        r.lib, [] { return true; }, [] {});
    host::ChatScanner scanner(r.lib, nullptr);
    watcher.setEnabled(true);
    scanner.start();
    const std::clock_t start = std::clock();
    r.world.runFor(std::uint64_t{24} * 60 * 60 * 1000);
    cpuSeconds += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  }
  state.counters["week_cpu_s"] = 7 * cpuSeconds / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DayWithWatcherAndScanner)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
