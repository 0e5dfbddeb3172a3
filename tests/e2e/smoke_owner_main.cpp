// The owning half of the two-process smoke test: a window of a registered class with the
// controls a host window has, which the driver (another process) finds and drives. It
// writes what it receives to a log file and ends on WM_CLOSE or after a bounded time.
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/win32_platform.h"
#include "tests/e2e/smoke_protocol.h"

namespace {

using namespace vantary::platform;
using namespace vantary::smoke;

class Log {
 public:
  explicit Log(const char* path) : file_(std::fopen(path, "w")) {}
  ~Log() {
    if (file_) std::fclose(file_);
  }
  Log(const Log&) = delete;
  Log& operator=(const Log&) = delete;
  void line(const std::string& s) {
    if (!file_) return;
    std::fprintf(file_, "%s\n", s.c_str());
    std::fflush(file_);
  }

 private:
  std::FILE* file_;
};

void PutLe32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

WindowSpec Describe(const char* className, const char* caption, const WindowStyle& style, Window parent,
                    Rect rect, int id = 0) {
  WindowSpec desc;
  desc.className = className;
  desc.caption = caption;
  desc.style = style;
  desc.parent = parent;
  desc.rect = rect;
  desc.controlId = id;
  return desc;
}

}  // namespace

int main(int argc, char** argv) {
  Log log(argc > 1 ? argv[1] : "smoke_owner.log");
  vantary::platform::win32::Win32Platform system;
  Platform& p = system.platform();
  WindowSystem& ws = p.windows;

  std::array<LResult, kCounterCount> counts{};
  Window owner;
  Window edit;

  const bool registered = ws.registerClass(ClassSpec{
      kOwnerClass, BaseKind::kPlain, [&](Window w, const Message& m) -> LResult {
        switch (m.id) {
          case msg::kCommand: {
            const int id = LowWord(m.wParam);
            const int code = HighWord(m.wParam);
            log.line("command id=" + std::to_string(id) + " code=" + std::to_string(code));
            if (id == kButtonId && code == msg::kBnClicked) ++counts[kButtonClicks];
            if (id == kCheckId && code == msg::kBnClicked) ++counts[kCheckClicks];
            if (id == kEditId && code == msg::kEnChange) ++counts[kEditChanges];
            if (id == kSmokeCommand && m.lParam == 0) ++counts[kCommands];
            return 0;
          }
          case kQueryCount:
            return m.wParam < kCounterCount ? counts[m.wParam] : -1;
          case kAskQuestion: {
            log.line("question shown");
            const int answer = p.dialogs.messageBox(w, "Shall the smoke test go on?", kQuestionTitle,
                                                    msg::kMbYesNo | msg::kMbIconQuestion);
            log.line("question answered " + std::to_string(answer));
            if (answer == msg::kIdYes) ++counts[kYesAnswers];
            return 0;
          }
          case msg::kClose:
            log.line("close");
            p.loop.quit(0);
            return 0;
          default:
            return ws.callDefault(w, m);
        }
      }});

  WindowStyle top;
  top.visible = true;
  top.caption = true;
  // The caption the driver looks for comes last, when every control is in place.
  owner = ws.create(Describe(kOwnerClass, "starting", top, {}, Rect{60, 60, 480, 380}));
  if (!registered || !owner) {
    log.line("failed to create the owner window");
    return 3;
  }

  WindowStyle child;
  child.child = true;
  child.visible = true;
  WindowStyle bordered = child;
  bordered.border = true;
  edit = ws.create(Describe("Edit", kEditCaption, bordered, owner, Rect{10, 10, 300, 34}, kEditId));
  // The contents change after creation: a foreign GetWindowText still reads the caption.
  ws.send(edit, msg::kSetText, 0, reinterpret_cast<LParam>(kEditContents));
  counts[kEditChanges] = 0;

  Window list = ws.create(Describe("ListBox", "", bordered, owner, Rect{10, 50, 200, 150}, kListId));
  for (const char* row : {"first", "SmokeMember", "third"}) {
    ws.send(list, msg::kLbAddString, 0, reinterpret_cast<LParam>(row));
  }
  auto block = ws.allocateLowMemory(256);
  if (block) {
    auto bytes = block->bytes();
    std::memset(bytes.data(), 0xA5, bytes.size());
    PutLe32(bytes, kRecordNameOffset, block->address() + kNameBlockAt);
    std::memcpy(bytes.data() + kNameBlockAt + kNameOffset, kMemberName, sizeof kMemberName);
    ws.send(list, msg::kLbSetItemData, kMemberRow, static_cast<LParam>(block->address()));
    log.line("member record at " + std::to_string(block->address()));
  } else {
    log.line("no low memory block");
  }

  ws.create(Describe("Button", "Go", child, owner, Rect{220, 50, 300, 74}, kButtonId));
  ws.create(Describe("Static", "label", child, owner, Rect{220, 110, 300, 130}, kLabelId));
  WindowStyle check = child;
  check.checkBox = true;
  ws.create(Describe("Button", "Away", check, owner, Rect{220, 80, 300, 104}, kCheckId));

  Menu bar = ws.createMenuBar();
  Menu file = ws.createPopupMenu();
  ws.appendMenuItem(file, kMenuOpen, "&Open");
  ws.appendMenuItem(file, kMenuExit, "E&xit");
  ws.appendSubmenu(bar, file, "&File");
  ws.setMenu(owner, bar);
  const Menu read = ws.menuOf(owner);
  const Menu sub = ws.subMenu(read, 0);
  counts[kMenuReadBack] = ws.menuItemCount(read) == 1 && ws.menuItemText(read, 0) == "&File" &&
                          ws.menuItemCount(sub) == 2 && ws.menuItemId(sub, 1) == kMenuExit &&
                          ws.menuItemText(sub, 1) == "E&xit";

  p.loop.startTimer(50, [&] { ++counts[kTimerTicks]; });
  p.loop.startTimer(kOwnerLifeMs, [&] {
    log.line("nobody closed the owner in time");
    p.loop.quit(2);
  });

  ws.setText(owner, kOwnerCaption);
  log.line("ready");
  const int code = p.loop.run();
  log.line("exit " + std::to_string(code) + " after " + std::to_string(counts[kTimerTicks]) + " ticks");
  return code;
}
