// Window `vantary2`: the list `rnd` of multiple messages, its input box `rndtext`, and
// the file the list is saved to.
#include "windows/messages_window.h"

#include "platform/messages.h"
#include "settings/settings_store.h"
#include "toolkit/title_strip.h"
#include "toolkit/window_utils.h"

namespace vantary::windows {

using platform::Platform;
using text::Text;
using toolkit::ControlType;
using toolkit::FormDesc;
namespace msg = platform::msg;

namespace {

constexpr std::string_view kTitle = "vantary : messages";

constexpr toolkit::HoverText kHover[] = {
    {"", "unknown"},
    {"Label2", "minimize editor"},
    {"Label5", "move form"},
    {"Label6", "status bar"},
    {"rnd", "dbl click to remove reas"},
    {"rndtext", "click 2 enter reas"},
    {"SSRibbon1", "save // exit"},
    {"SSRibbon2", "clears rnd msgs."},
};

}  // namespace

MessagesWindow::MessagesWindow(Platform& p, Text listFile)
    : Form(p, FormDesc{.name = "vantary2", .caption = "vantary2", .rect = {200, 200, 420, 420}}),
      listFile_(std::move(listFile)) {
  add({.name = "Label1",
       .type = ControlType::kLabel,
       .caption = " vantary : messages",
       .rect = {0, 0, 180, 16}});
  add({.name = "Label5", .type = ControlType::kLabel, .rect = {180, 0, 200, 16}});
  add({.name = "Label2", .type = ControlType::kLabel, .caption = "_", .rect = {204, 0, 220, 16}});
  add({.name = "rnd", .type = ControlType::kListBox, .rect = {8, 20, 212, 140}});
  add({.name = "rndtext", .type = ControlType::kTextBox, .caption = "reason", .rect = {8, 144, 212, 164}});
  add({.name = "SSRibbon1", .type = ControlType::kButton, .caption = "save", .rect = {8, 168, 108, 190}});
  add({.name = "SSRibbon2", .type = ControlType::kButton, .caption = "clear", .rect = {112, 168, 212, 190}});
  add({.name = "Label6", .type = ControlType::kLabel, .caption = "status", .rect = {8, 196, 212, 212}});

  toolkit::UseTitleStrip(*this, {.dragLabels = {"Label1", "Label5"},
                                 .minimizeLabel = "Label2",
                                 .statusLabel = "Label6",
                                 .hover = kHover});
  onKeyDown("rndtext", [this](int key) {
    if (key == static_cast<int>(msg::kVkReturn)) enter();
  });
  onDoubleClick("rnd", [this] { takeBack(); });
  onClick("SSRibbon1", [this] { save(); });
  onClick("SSRibbon2", [this] {
    toolkit::PlayClick(platform());
    clearItems("rnd");
  });
}

void MessagesWindow::enter() {
  const Text reason = text("rndtext");
  if (reason.empty()) {
    platform().dialogs.messageBox(window(), "enter a reason!", kTitle, msg::kMbOk);
    return;
  }
  addItem("rnd", reason);
  setText("rndtext", "");
}

void MessagesWindow::takeBack() {
  const int selected = selectedIndex("rnd");
  const std::vector<Text> entries = items("rnd");
  if (selected < 0 || static_cast<std::size_t>(selected) >= entries.size()) return;
  setText("rndtext", entries[static_cast<std::size_t>(selected)]);
  removeItem("rnd", selected);
}

bool MessagesWindow::readList() {
  const std::optional<std::vector<Text>> stored = settings::ReadListEntries(platform().files, listFile_);
  unread_ = !stored;
  if (stored) prependItems("rnd", *stored);
  return stored.has_value();
}

void MessagesWindow::save() {
  Platform& p = platform();
  toolkit::PlayClick(p);
  // A file that could not be read at start is read now, its messages before those added
  // since; while it still cannot be read it is left as it is.
  if (unread_ && !readList()) {
    p.dialogs.messageBox(window(),
                         listFile_ +
                             " could not be read, so it is kept as it is. the messages are used "
                             "until vantary ends; save again to keep them.",
                         kTitle, msg::kMbOk | msg::kMbIconError);
    return;
  }
  // Each entry is written so that it reads back whole, commas, quotes and outer blanks
  // and all.
  const std::vector<Text> entries = items("rnd");
  if (!settings::SaveList(p.files, listFile_, entries)) {
    // The list stays in the open window: nothing the user built is lost without a word.
    p.dialogs.messageBox(window(),
                         "the messages could not be saved to " + listFile_ +
                             ". they are used until vantary ends; save again to keep them.",
                         kTitle, msg::kMbOk | msg::kMbIconError);
    return;
  }
  toolkit::HideWindow(*this);
}

}  // namespace vantary::windows
