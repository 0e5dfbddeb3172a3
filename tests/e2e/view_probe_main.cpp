// The end-to-end probe of vantary.exe's "vie&w" items against hostsim.exe: the test script
// starts hostsim.exe (signed on, --control FILE) and vantary.exe. This probe runs "h&elp",
// "ab&out" and "&greets" by WM_COMMAND and finds each window by its caption, as another
// program sees it: the help window with its greeting, the about window with the signed-on
// screen name, the credits window. Prints one line per check and ends with
// "view-e2e: N passed, M failed".
#include <cstdio>
#include <string>

#include "platform/win32/win32_platform.h"
#include "tests/e2e/e2e_support.h"
#include "text/ansi.h"

namespace {

using vantary::console::MenuCommand;
using vantary::e2e::Channel;
using vantary::e2e::Checks;
using vantary::e2e::kExitLimitMs;
using vantary::e2e::kHostStartLimitMs;
using vantary::e2e::kProgramStartLimitMs;
using vantary::e2e::Quoted;

using namespace vantary::platform;
using vantary::text::operator""_ansi;
using vantary::text::Text;

// How long a window may take to show after its item.
constexpr std::uint32_t kShowLimitMs = 10000;

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: view_probe.exe CONTROL_FILE [MINUTE_MS] (hostsim.exe runs with --control)\n");
    return 2;
  }
  vantary::platform::win32::Win32Platform system;
  Platform& p = system.platform();
  WindowSystem& ws = p.windows;
  Checks c("view-e2e");
  Channel channel(p, argv[1]);
  if (!c.check("hostsim's control channel answers file appears", channel.hostListening(kHostStartLimitMs)))
    return c.finish();
  const Text screenName = channel.stateValue("screen-name");

  const Window main = vantary::e2e::WaitForMainWindow(p, kProgramStartLimitMs);
  if (!c.check("vantary's main window appears", static_cast<bool>(main))) return c.finish();

  // A shown top-level window of that caption, and a child of it showing `text`.
  const auto shown = [&](MenuCommand item, std::string_view title, std::string_view text) {
    vantary::e2e::PostCommand(ws, main, item);
    Window w;
    p.loop.waitUntil([&] { return (w = ws.findWindow("", title)) && ws.isVisible(w); }, kShowLimitMs);
    if (!w) return std::string("no window ") + Quoted(Text(title));
    if (!ws.isVisible(w)) return std::string("hidden");
    // The text a control holds, as it answers for it: an edit's text is not its caption.
    bool found = false;
    for (Window child = ws.findChild(w, {}, ""); child && !found; child = ws.findChild(w, child, "")) {
      found = ws.text(child) == text;
    }
    if (!found) return std::string("no child showing ") + Quoted(Text(text));
    return std::string();
  };
  std::string why = shown(MenuCommand::kHelps, "vantary : help", "vantary help file");
  c.check("help opens, showing its greeting", why.empty(), why);
  why = shown(MenuCommand::kAbout, "vantary : about", screenName);
  c.check("about opens, showing the signed-on screen name", why.empty(), why);
  why = shown(MenuCommand::kGreets, "vantary : greets", "greetz");
  c.check("greets opens the credits", why.empty(), why);

  vantary::e2e::PostCommand(ws, main, MenuCommand::kEnd);
  c.check("vantary closes after end", vantary::e2e::WaitForMainWindowGone(p, main, kExitLimitMs));
  c.check("the host answers quit", channel.ask("quit").has_value());
  return c.finish();
}
