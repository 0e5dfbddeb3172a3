// The chat-scanning control's cost per look at a room whose transcript holds the host's
// usual hundred lines: with nothing new, and with one new line each time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "host/chat_scanner.h"
#include "hostsim/host_sim.h"
#include "platform/sim/sim_world.h"

namespace {

using namespace vantary;

struct ScannedRoom {
  ScannedRoom()
      : world(std::filesystem::temp_directory_path() / "vantary-bench" / "chat_scanner"),
        hostProcess(world.addProcess("host", "aol")),
        programProcess(world.addProcess("vantary")),
        host(hostProcess.platform(), hostsim::Generation::k5),
        lib(programProcess.platform(), nullptr),
        scanner(lib, [this](const text::Text&, const text::Text&) { ++events; }) {
    host.signOn("Joe");
    room = host.openRoom("Lobby", hostsim::RoomLayout::kRich);
    for (int i = 0; i < 100; ++i) say(i);
    scanner.start();
  }
  void say(int i) { host.say(room, "Bob", "a line of chat of a usual length, number " + std::to_string(i)); }

  platform::sim::SimWorld world;
  platform::sim::SimProcess& hostProcess;
  platform::sim::SimProcess& programProcess;
  hostsim::HostSim host;
  host::Host lib;
  host::ChatScanner scanner;
  platform::Window room;
  long events = 0;
};

void BM_ChatScannerLookNothingNew(benchmark::State& state) {
  ScannedRoom r;
  for (auto _ : state) r.scanner.poll();
  state.counters["parses"] = static_cast<double>(r.scanner.stats().parses);
}
BENCHMARK(BM_ChatScannerLookNothingNew);

void BM_ChatScannerLookOneNewLine(benchmark::State& state) {
  ScannedRoom r;
  int i = 100;
  for (auto _ : state) {
    state.PauseTiming();
    r.say(i++);
    state.ResumeTiming();
    r.scanner.poll();
  }
  if (r.events != i - 100) state.SkipWithError("an event was lost or raised twice");
}
BENCHMARK(BM_ChatScannerLookOneNewLine);

// The host's own half of a new line (the transcript rebuilt and set), for scale.
void BM_HostShowsOneNewLine(benchmark::State& state) {
  ScannedRoom r;
  int i = 100;
  for (auto _ : state) r.say(i++);
}
BENCHMARK(BM_HostShowsOneNewLine);

}  // namespace
