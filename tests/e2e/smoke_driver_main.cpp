// The driving half of the two-process smoke test: finds the owner's windows through the
// real window system and drives them as the program drives the host, then measures the
// costs the program's waits are built on. Prints one line per check and ends with
// "smoke: N passed, M failed".
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/win32_platform.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/smoke_protocol.h"
#include "text/ansi.h"

namespace {

using vantary::e2e::Checks;
using vantary::e2e::Quoted;

using namespace vantary::platform;
using namespace vantary::smoke;
using vantary::text::operator""_ansi;

// How long the owner may take to come up under a cold Wine.
constexpr std::uint32_t kOwnerStartLimitMs = 30000;
// How long the owner may take to act on a posted message.
constexpr std::uint32_t kReactionLimitMs = 5000;

template <typename F>
double MicrosecondsEach(int times, F&& f) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < times; ++i) f();
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / times;
}

}  // namespace

int main() {
  vantary::platform::win32::Win32Platform system;
  Platform& p = system.platform();
  WindowSystem& ws = p.windows;
  Checks c("smoke");

  Window owner;
  p.loop.waitUntil([&] { return static_cast<bool>(owner = ws.findWindow(kOwnerClass, kOwnerCaption)); },
                   kOwnerStartLimitMs);
  c.check("finds the owner by class and caption", static_cast<bool>(owner));
  if (!owner) return c.finish();
  c.check("class names match without regard to case",
          ws.findWindow("vantarysmokeOWNER", std::nullopt) == owner);
  c.check("the owner is another process", ws.processOf(owner) != ws.currentProcess());
  c.check("reads the owner's caption", ws.caption(owner) == kOwnerCaption, Quoted(ws.caption(owner)));

  auto count = [&](Counter which) { return ws.send(owner, kQueryCount, which).value_or(-1); };

  // The edit: the caption the window system keeps and the contents the control holds.
  const Window edit = ws.firstChild(owner, "Edit");
  c.check("finds the edit", static_cast<bool>(edit));
  // The window system keeps the creation text as the edit's caption; the edit keeps its
  // contents apart, and a foreign GetWindowText reads the caption without asking the edit.
  c.check("GetWindowText of a foreign edit reads its caption", ws.caption(edit) == kEditCaption,
          Quoted(ws.caption(edit)));
  c.check("WM_GETTEXT asks the edit for its contents", ws.text(edit) == kEditContents, Quoted(ws.text(edit)));
  const std::string accented(" vantarý³ · café – ok"_ansi);
  c.check("WM_SETTEXT reaches the foreign edit", ws.setText(edit, accented));
  c.check("Windows-1252 text crosses the process boundary byte for byte", ws.text(edit) == accented,
          Quoted(ws.text(edit)));
  c.check("the owner sees the edit change", count(kEditChanges) >= 1);
  ws.setText(edit, "");
  const bool typed = ws.sendChar(edit, 'h') && ws.sendChar(edit, 'i');
  c.check("characters sent to the edit are typed into it", typed && ws.text(edit) == "hi",
          Quoted(ws.text(edit)));

  // A static keeps its text as its caption.
  const Window label = ws.firstChild(owner, "Static");
  c.check("a foreign static's caption follows its text", ws.setText(label, "new label") &&
                                                             ws.caption(label) == "new label" &&
                                                             ws.text(label) == "new label");

  // The button and the check box tell their parent about a click.
  const Window button = ws.findChild(owner, {}, "Button", "Go");
  c.check("a click on the button reaches its parent as BN_CLICKED",
          button && ws.sendClick(button) && count(kButtonClicks) == 1);
  const Window check = ws.findChild(owner, {}, "Button", "Away");
  ws.send(check, msg::kBmClick);
  c.check("BM_CLICK checks the check box",
          ws.send(check, msg::kBmGetCheck).value_or(-1) == static_cast<LResult>(msg::kBstChecked));
  c.check("the check box's click reaches its parent", count(kCheckClicks) == 1);

  // The list box row's item data leads into the owner's memory: record, name block, name.
  const Window list = ws.firstChild(owner, "ListBox");
  c.check("the list box has its rows", ws.send(list, msg::kLbGetCount).value_or(-1) == 3);
  const auto data = static_cast<std::uint32_t>(ws.send(list, msg::kLbGetItemData, kMemberRow).value_or(0));
  c.check("the member row's item data is a 32-bit address", data != 0, std::to_string(data));
  auto reader = ws.openProcess(ws.processOf(list));
  c.check("opens the owner's process for reading", reader != nullptr);
  if (reader) {
    std::uint8_t pointer[4] = {};
    const bool gotPointer = reader->read(data + kRecordNameOffset, pointer);
    const std::uint32_t nameBlock =
        pointer[0] | (pointer[1] << 8) | (pointer[2] << 16) | (static_cast<std::uint32_t>(pointer[3]) << 24);
    std::uint8_t name[16] = {};
    const bool gotName = gotPointer && reader->read(nameBlock + kNameOffset, name);
    const std::string member(reinterpret_cast<const char*>(name),
                             strnlen(reinterpret_cast<const char*>(name), 16));
    c.check("reads the member's name through the record", gotName && member == kMemberName, Quoted(member));
    std::uint8_t nothing[4] = {};
    c.check("a read of unmapped memory fails", !reader->read(0x100, nothing));
  }

  // A posted command runs when the owner pumps its queue.
  c.check("posts WM_COMMAND", ws.post(owner, msg::kCommand, kSmokeCommand, 0));
  c.check("the posted command arrives",
          p.loop.waitUntil([&] { return count(kCommands) == 1; }, kReactionLimitMs));

  const LResult ticks = count(kTimerTicks);
  c.check("the owner's timer keeps ticking",
          p.loop.waitUntil([&] { return count(kTimerTicks) >= ticks + 2; }, kReactionLimitMs));

  c.check("the owner reads its own menu bar back", count(kMenuReadBack) == 1);
  const Menu foreign = ws.menuOf(owner);
  std::printf("info: foreign menu handle %s, item count %d\n", foreign ? "present" : "absent",
              ws.menuItemCount(foreign));

  // A message box of the owner, answered from here with its own button.
  ws.post(owner, kAskQuestion);
  Window box;
  p.loop.waitUntil([&] { return static_cast<bool>(box = ws.findWindow("#32770", kQuestionTitle)); },
                   kReactionLimitMs);
  c.check("finds the owner's message box by its title", static_cast<bool>(box));
  const Window yes = box ? ws.findChild(box, {}, "Button", "&Yes") : Window{};
  c.check("the message box has a Yes button", static_cast<bool>(yes));
  if (yes) ws.send(yes, msg::kBmClick);
  c.check("pressing Yes answers the owner's question",
          p.loop.waitUntil([&] { return count(kYesAnswers) == 1; }, kReactionLimitMs));
  c.check("the message box is gone", p.loop.waitUntil([&] { return !ws.exists(box); }, kReactionLimitMs));

  // What the waits of the program cost.
  const double send = MicrosecondsEach(2000, [&] { ws.send(owner, 0); });  // WM_NULL
  const double find = MicrosecondsEach(2000, [&] { ws.findChild(owner, {}, "Button", std::nullopt); });
  const double caption = MicrosecondsEach(2000, [&] { ws.caption(edit); });
  const double text = MicrosecondsEach(2000, [&] { ws.text(edit); });
  const double pump = MicrosecondsEach(20000, [&] { p.loop.pump(); });
  std::printf(
      "measure: cross-process SendMessage %.1f us, FindWindowExA %.1f us, GetWindowText %.1f us, "
      "text (two sends) %.1f us, empty pump %.2f us\n",
      send, find, caption, text, pump);

  ws.post(owner, msg::kClose);
  c.check("the owner closes on WM_CLOSE", p.loop.waitUntil([&] { return !ws.exists(owner); }, 10000));
  return c.finish();
}
