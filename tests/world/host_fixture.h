// The stand-in host and the program's host access library in one sim world: the host in
// its own process, the library in the program's process, as they run for real.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "host/host.h"
#include "hostsim/host_sim.h"
#include "platform/sim/sim_world.h"
#include "tests/stand_in_windows.h"
#include "tests/world/hostsim_probe.h"

namespace vantary::host::testing {

using hostsim::Generation;
using hostsim::RoomLayout;
using platform::Window;
namespace msg = platform::msg;

// A world with the process "host" running the stand-in host and the process "vantary"
// running the host access library. `style` is what the library's StyleSource returns;
// tests change it to change the colours and decorations of the lines the library builds.
struct HostFixture {
  explicit HostFixture(Generation generation = Generation::k5, const std::string& suffix = "")
      : world(hostsim::testing::FreshRoot(suffix)),
        hostProcess(world.addProcess("host", "aol")),
        programProcess(world.addProcess("vantary")),
        host(hostProcess.platform(), generation),
        lib(programProcess.platform(), [this] { return style; }) {}
  ~HostFixture() { hostsim::testing::ExpectNoHostFault(host); }

  platform::Platform& program() { return programProcess.platform(); }
  platform::WindowSystem& ws() { return programProcess.platform().windows; }
  void runFor(std::uint64_t ms) { world.runFor(ms); }

  // Signs the user on and opens a room with the user in it; returns the room.
  Window signOnInRoom(const std::string& screenName, const std::string& room = "Lobby",
                      RoomLayout layout = RoomLayout::kRich) {
    host.signOn(screenName);
    return host.openRoom(room, layout);
  }

  platform::sim::SimWorld world;
  platform::sim::SimProcess& hostProcess;
  platform::sim::SimProcess& programProcess;
  hostsim::HostSim host;
  ChatStyle style;
  Host lib;
};

// A third process that puts windows into and beside the host's, through the window
// system alone: windows the stand-in host does not make (a room-like window captioned
// with the user's buddy list, a modal that will not close, a transfer window with an odd
// text) placed where the program looks for the host's.
class Intruder {
 public:
  explicit Intruder(HostFixture& f)
      : process_(f.world.addProcess("intruder")), ws_(process_.platform().windows), mdi_(f.host.mdiClient()) {
    using platform::BaseKind;
    const vantary::testing::HostClass classes[] = {
        {"AOL Child", BaseKind::kMdiChild},  {"RICHCNTL", BaseKind::kEdit},
        {"_AOL_View", BaseKind::kEdit},      {"_AOL_Listbox", BaseKind::kListBox},
        {"_AOL_Combobox", BaseKind::kPlain}, {"_AOL_Icon", BaseKind::kPlain},
        {"_AOL_Static", BaseKind::kStatic}};
    vantary::testing::RegisterClasses(ws_, classes);
    platform::ClassSpec palette;
    palette.name = "_AOL_Palette";
    ws_.registerClass(palette);
    // Modals of this process close on WM_CLOSE unless they were made deaf to it.
    platform::ClassSpec modal;
    modal.name = "_AOL_Modal";
    modal.handler = [ws = &ws_, deaf = deaf_](Window w, const platform::Message& m) -> platform::LResult {
      if (m.id == msg::kClose && deaf->count(w) != 0) return 0;
      return ws->callDefault(w, m);
    };
    ws_.registerClass(modal);
  }

  platform::WindowSystem& ws() { return ws_; }

  // A host child window on top of the host's others.
  Window hostChild(const std::string& caption) { return make("AOL Child", caption, mdi_); }
  Window control(Window parent, const char* className, const std::string& caption = "") {
    return make(className, caption, parent);
  }
  // A host child with every child of a rich chat room.
  Window richRoomLike(const std::string& caption) {
    const Window w = hostChild(caption);
    for (const char* cls : vantary::testing::kRichRoomChildren) control(w, cls);
    return w;
  }
  // A top-level "_AOL_Palette" in front of every other window.
  Window palette(const std::string& caption) { return make("_AOL_Palette", caption, Window{}); }
  // A top-level "_AOL_Modal" in front of every other window.
  Window modal(const std::string& caption, bool closes = true) {
    const Window w = make("_AOL_Modal", caption, Window{});
    if (!closes) deaf_->insert(w);
    return w;
  }

 private:
  Window make(const char* className, const std::string& caption, Window parent) {
    return vantary::testing::MakeWindow(ws_, className, caption, parent);
  }

  platform::sim::SimProcess& process_;
  platform::WindowSystem& ws_;
  Window mdi_;
  std::shared_ptr<std::set<Window>> deaf_ = std::make_shared<std::set<Window>>();
};

}  // namespace vantary::host::testing
