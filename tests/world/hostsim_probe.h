// The stand-in host in a sim world, and a probe process that finds and drives the host's
// windows only through its own window system, as the program does.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hostsim/host_sim.h"
#include "platform/sim/sim_world.h"
#include "tests/sim_root.h"

namespace vantary::hostsim::testing {

using platform::Window;
namespace msg = platform::msg;

// Bound of every wait of the probe: a host that does not answer within this much virtual
// time has failed the test.
inline constexpr std::uint32_t kProbeWaitMs = 5000;

using vantary::testing::FreshRoot;

// Finds and drives the host's windows as another process.
class Probe {
 public:
  explicit Probe(platform::Platform& p) : ws(p.windows), loop(p.loop) {}

  Window frame() { return ws.findWindow("AOL Frame25", std::nullopt); }
  Window mdi() { return ws.firstChild(frame(), "MDICLIENT"); }

  // The host's child windows in their order, topmost first.
  std::vector<Window> hostChildren() {
    std::vector<Window> children;
    const Window client = mdi();
    if (!client) return children;
    for (Window c = ws.findChild(client, Window{}, "AOL Child"); c;
         c = ws.findChild(client, c, "AOL Child")) {
      children.push_back(c);
    }
    return children;
  }

  bool hasAll(Window w, std::initializer_list<const char*> classes) {
    for (const char* cls : classes) {
      if (!ws.firstChild(w, cls)) return false;
    }
    return true;
  }

  Window firstHostChild(const std::function<bool(Window)>& test) {
    for (Window c : hostChildren()) {
      if (test(c)) return c;
    }
    return Window{};
  }

  Window richRoom() {
    return firstHostChild([this](Window c) {
      return hasAll(c, {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"});
    });
  }
  Window plainRoom() {
    return firstHostChild([this](Window c) { return hasAll(c, {"_AOL_View", "_AOL_Icon", "_AOL_Listbox"}); });
  }
  Window memberInfo() {
    return firstHostChild([this](Window c) {
      return hasAll(c, {"_AOL_Checkbox", "_AOL_Static", "_AOL_Glyph"}) && ws.nthChild(c, "_AOL_Icon", 2);
    });
  }
  Window hostChild(const std::string& caption) {
    return firstHostChild([&](Window c) { return ws.caption(c) == caption; });
  }

  // The screen name between "Welcome, " and "!" of the Welcome window's caption.
  std::string screenName() {
    for (Window c : hostChildren()) {
      const std::string caption = ws.caption(c);
      if (caption.rfind("Welcome, ", 0) != 0) continue;
      const std::size_t bang = caption.find('!');
      return caption.substr(9, bang == std::string::npos ? std::string::npos : bang - 9);
    }
    return "";
  }

  std::string menuText(int menu, int item) {
    return ws.menuItemText(ws.subMenu(ws.menuOf(frame()), menu), item, 100);
  }

  // The command of the first menu item whose text contains `part` (without regard to
  // case), as the program looks items up.
  std::optional<std::uint32_t> menuCommand(const std::string& part) {
    const platform::Menu bar = ws.menuOf(frame());
    const int menus = ws.menuItemCount(bar);
    for (int m = 0; m < menus; ++m) {
      const platform::Menu sub = ws.subMenu(bar, m);
      const int items = ws.menuItemCount(sub);
      for (int i = 0; i < items; ++i) {
        if (text::ContainsNoCase(ws.menuItemText(sub, i, 100), part)) return ws.menuItemId(sub, i);
      }
    }
    return std::nullopt;
  }

  bool runMenuItem(const std::string& part) {
    const std::optional<std::uint32_t> id = menuCommand(part);
    if (id) ws.sendCommand(frame(), *id);
    return id.has_value();
  }

  // The generation as the program tells it from the menu bar: 5, 4, 3 or 2.
  int generation() {
    const std::string version = menuText(4, 9);
    const std::string contents = text::ToLower(menuText(6, 0));
    if (version.find("5.0") != std::string::npos) return 5;
    if (version.find("4.0") != std::string::npos) return 4;
    if (contents.rfind("&contents", 0) == 0) return 2;
    return 3;
  }

  // The host dialog and its first button, once it stands.
  Window hostDialog() { return ws.findWindow("#32770", "America Online"); }

  Window keywordBox() {
    const Window bar = ws.firstChild(ws.firstChild(frame(), "AOL Toolbar"), "_AOL_Toolbar");
    return ws.firstChild(ws.firstChild(bar, "_AOL_Combobox"), "Edit");
  }

  // As the program runs a keyword: the text, a blank, Enter.
  void runKeyword(const std::string& keyword) {
    const Window box = keywordBox();
    ws.setText(box, "");
    ws.setText(box, keyword);
    ws.sendChar(box, ' ');
    ws.sendChar(box, 13);
  }

  bool waitFor(const std::function<bool()>& done, std::uint32_t limitMs = kProbeWaitMs) {
    return loop.waitUntil(done, limitMs);
  }

  // Puts the line into the emptied input box and presses Enter until the host has taken
  // it (a line set over text the rich box holds is not taken).
  bool sendLine(Window input, const std::string& line, std::uint32_t limitMs = kProbeWaitMs) {
    ws.setText(input, "");
    ws.setText(input, line);
    return loop.repeatUntil([&] { ws.sendChar(input, 13); }, [&] { return ws.text(input).empty(); }, limitMs);
  }

  platform::WindowSystem& ws;
  platform::EventLoop& loop;
};

// Fails the running test when the stand-in host's own code faulted in it: the host
// catches what its handlers throw, so the test would not see it otherwise.
inline void ExpectNoHostFault(const HostSim& host) {
  if (host.faultCount() == 0) return;
  ADD_FAILURE() << "the stand-in host faulted " << host.faultCount() << " time(s), first in "
                << text::ToUtf8(host.firstFault().value_or("(not recorded)"));
}

// A world with the host process running the stand-in host and a probe process.
struct HostWorld {
  explicit HostWorld(Generation generation = Generation::k5, const std::string& suffix = "")
      : world(FreshRoot(suffix)),
        hostProcess(world.addProcess("host", "aol")),
        probeProcess(world.addProcess("probe")),
        host(hostProcess.platform(), generation),
        probe(probeProcess.platform()) {}
  ~HostWorld() { ExpectNoHostFault(host); }

  platform::sim::SimWorld world;
  platform::sim::SimProcess& hostProcess;
  platform::sim::SimProcess& probeProcess;
  HostSim host;
  Probe probe;
};

}  // namespace vantary::hostsim::testing
