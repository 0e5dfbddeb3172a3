// vantary-sim: the whole program and the stand-in host in one process on the in-memory
// window system. It runs a scripted session — start, idle on, minutes with scrolls and a
// download, idle off, end — and prints the room as it goes, in UTF-8.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "console/program.h"
#include "hostsim/host_sim.h"
#include "hostsim/script.h"
#include "platform/sim/sim_world.h"
#include "text/text_ops.h"

namespace {

using namespace vantary;

// Prints the lines the room has shown since the last call, with the virtual time.
class RoomPrinter {
 public:
  RoomPrinter(hostsim::HostSim& host, platform::EventLoop& loop) : host_(host), loop_(loop) {}

  void print() {
    const platform::Window room = host_.currentRoom();
    if (!room) return;
    const std::uint64_t count = host_.transcriptLineCount(room);
    if (count <= printed_) return;
    const std::string transcript = host_.transcript(room);
    // The transcript holds the newest lines; print those the count says are new.
    const std::vector<std::string_view> lines =
        text::SplitLines(transcript, text::LineBreak::kCrLf, text::FinalBreak::kStartsLine);
    const std::uint64_t fresh = std::min<std::uint64_t>(count - printed_, lines.size());
    const std::uint64_t seconds = (loop_.nowMs() - startMs_) / 1000;
    for (std::size_t i = lines.size() - fresh; i < lines.size(); ++i) {
      std::printf("[%02llu:%02llu] %s\n", static_cast<unsigned long long>(seconds / 60),
                  static_cast<unsigned long long>(seconds % 60), text::ToUtf8(lines[i]).c_str());
    }
    std::fflush(stdout);
    printed_ = count;
  }

  void restart(std::uint64_t at) { startMs_ = at; }

 private:
  hostsim::HostSim& host_;
  platform::EventLoop& loop_;
  std::uint64_t printed_ = 0;
  std::uint64_t startMs_ = 0;
};

void Say(const char* what) {
  std::printf("--- %s\n", what);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  // The demo's files live in a folder of its own, fresh each run: a first start.
  std::filesystem::path root = std::filesystem::temp_directory_path() / "vantary-sim-demo";
  if (argc > 1) root = argv[1];
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);

  platform::sim::SimWorld world(root);
  auto& hostProcess = world.addProcess("hostsim", "aol");
  auto& programProcess = world.addProcess("vantary", "vantary");
  platform::Platform& hp = hostProcess.platform();
  platform::Platform& vp = programProcess.platform();

  hostsim::HostSim host(hp, hostsim::Generation::k5);
  hostsim::HostScript script(host, hp);
  host.signOn("DemoUser");
  const platform::Window room = host.openRoom("Lobby", hostsim::RoomLayout::kRich);
  for (const char* member : {"River Stone", "Skyler", "Ann Lee"}) host.join(room, member);
  script.setChatter(true, 20'000);

  RoomPrinter printer(host, vp.loop);
  printer.restart(vp.loop.nowMs());
  auto runMinutes = [&](double minutes) {
    const auto steps = static_cast<int>(minutes * 60);
    for (int i = 0; i < steps; ++i) {
      world.runFor(1000);
      printer.print();
    }
  };

  Say("vantary starts: the intro, then the console announces itself");
  console::Program program(vp);
  program.Start();
  runMinutes(0.1);
  if (!program.console()) {
    std::fprintf(stderr, "vantary-sim: the program did not start\n");
    return 1;
  }
  const platform::Window main = program.console()->form().window();
  auto command = [&](const char* item) {
    const console::MenuItemDef* def = console::FindMenuItem(item);
    if (def != nullptr) vp.windows.postCommand(main, static_cast<std::uint32_t>(def->command));
  };

  Say("idle on");
  command("idleon");
  runMinutes(3);

  Say("a download starts");
  host.startTransfer(hostsim::TransferKind::kDownload, "Song.MP3", 10 * 60 * 1000);
  runMinutes(3);

  Say("idle off");
  command("idleon");
  runMinutes(0.5);

  Say("end");
  command("end");
  runMinutes(0.1);
  return 0;
}
