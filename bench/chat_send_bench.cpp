// The round trip of one chat line: SendChatLine finding the room, saving the user's
// input, setting the line, pressing Enter until the stand-in host has taken it, and
// putting the input back, all on the sim.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "host/host.h"
#include "hostsim/host_sim.h"
#include "platform/sim/sim_world.h"

namespace {

using namespace vantary;

void BM_SendChatLine(benchmark::State& state) {
  const auto root = std::filesystem::temp_directory_path() / "vantary-bench" / "chat_send";
  std::filesystem::remove_all(root);
  platform::sim::SimWorld world(root);
  auto& hostProcess = world.addProcess("host", "aol");
  auto& programProcess = world.addProcess("vantary");
  hostsim::HostSim host(hostProcess.platform(), hostsim::Generation::k5);
  host.signOn("Joe");
  const platform::Window room = host.openRoom("Lobby", hostsim::RoomLayout::kRich);
  // A full room: the finders walk past other host windows and the people list is long.
  for (int i = 0; i < 22; ++i) host.join(room, "Member" + std::to_string(i));
  host::Host lib(programProcess.platform(), [] { return host::ChatStyle{}; });
  const text::Text line = host::StatusPrefix(host::ChatStyle{}, "-=-") + "> vantary engaged";
  auto& ws = programProcess.platform().windows;
  ws.setText(ws.nthChild(room, "RICHCNTL", 2), "half typed");
  for (auto _ : state) lib.SendChatLine(line);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SendChatLine);

}  // namespace
