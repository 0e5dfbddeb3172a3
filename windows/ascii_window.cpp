// Window `auto`: the three decoration lines Combo1..Combo3 the status lines are built
// with, each with the drop-down list of the user's earlier choices.
#include "windows/ascii_window.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "settings/program_files.h"
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

// The boxes the data file fills.
constexpr StoredBox kStored[] = {
    {"Combo1", "autoascii1"}, {"Combo2", "autoascii2"}, {"Combo3", "autoascii3"}};

constexpr std::string_view kTitle = "vantary : ascii editor";

}  // namespace

AsciiWindow::AsciiWindow(Platform& p, Text dataFile, std::array<Text, 3> lists)
    : Form(p, FormDesc{.name = "auto", .caption = "auto", .rect = {200, 200, 420, 400}}),
      dataFile_(std::move(dataFile)),
      stored_(*this, dataFile_, kStored),
      lists_(std::move(lists)) {
  add({.name = "Label2",
       .type = ControlType::kLabel,
       .caption = " vantary :  ascii editor",
       .rect = {0, 0, 200, 16}});
  add({.name = "Label3", .type = ControlType::kLabel, .caption = "_", .rect = {204, 0, 220, 16}});
  const std::string_view designs[] = {kAscii1Design, kAscii2Design, kAscii3Design};
  for (int i = 0; i < 3; ++i) {
    const int top = 20 + i * 48;
    const Text n = std::to_string(i + 1);
    add({.name = "SSFrame" + n,
         .type = ControlType::kFrame,
         .caption = "ascii" + n,
         .rect = {8, top, 212, top + 44}});
    add({.name = "Combo" + n,
         .type = ControlType::kComboBox,
         .caption = Text(designs[i]),
         .rect = {16, top + 16, 204, top + 36}});
    onKeyDown("Combo" + n, [this, name = "Combo" + n](int key) {
      if (key == static_cast<int>(msg::kVkReturn)) addItem(name, text(name));
    });
  }
  add({.name = "SSRibbon1", .type = ControlType::kButton, .caption = "save", .rect = {8, 170, 108, 192}});
  add({.name = "SSRibbon2", .type = ControlType::kButton, .caption = "exit", .rect = {112, 170, 212, 192}});

  toolkit::UseTitleStrip(*this, {.dragLabels = {"Label2"}, .minimizeLabel = "Label3"});
  onClick("SSRibbon1", [this] { save(); });
  onClick("SSRibbon2", [this] { toolkit::HideWindow(*this); });
  // The lists are read when the window first shows: on the machine's first start the
  // console creates the list files only after the window is made, and a list read before
  // that would come up empty and be saved so, losing what the files were given.
  onMessage(msg::kShowWindow, [this](const platform::Message& m) -> std::optional<platform::LResult> {
    if (m.wParam != 0) fillLists();
    return std::nullopt;
  });
}

void AsciiWindow::fillLists() {
  if (listsRead_) return;
  listsRead_ = true;
  for (int i = 0; i < 3; ++i) unread_[static_cast<std::size_t>(i)] = !readList(i);
}

bool AsciiWindow::readList(int i) {
  Platform& p = platform();
  const Text& path = lists_[static_cast<std::size_t>(i)];
  const std::optional<std::vector<Text>> stored = settings::ReadListEntries(p.files, path);
  if (!stored) return false;
  // The file's choices come first, before any added since; the current line stays, as the
  // text of the edit part is not a row of the list.
  const Text name = "Combo" + std::to_string(i + 1);
  const Text current = text(name);
  prependItems(name, *stored);
  if (text(name) != current) setText(name, current);
  return true;
}

void AsciiWindow::save() {
  Platform& p = platform();
  toolkit::PlayClick(p);
  fillLists();  // a list never read is not written over with nothing
  stored_.takeStored();
  bool saved = true;
  for (int i = 0; i < 3; ++i) {
    const Text n = std::to_string(i + 1);
    saved =
        settings::WriteSetting(p.files, settings::kSection, "autoascii" + n, text("Combo" + n), dataFile_) &&
        saved;
  }
  for (int i = 0; i < 3; ++i) {
    // A list whose file could not be read is read now, or left as it is.
    bool& unread = unread_[static_cast<std::size_t>(i)];
    if (unread) unread = !readList(i);
    if (unread) {
      saved = false;
      continue;
    }
    // Each choice is written so that it reads back whole, commas, quotes and outer blanks
    // and all.
    const std::vector<Text> choices = items("Combo" + std::to_string(i + 1));
    saved = settings::SaveList(p.files, lists_[static_cast<std::size_t>(i)], choices) && saved;
  }
  if (!saved) {
    p.dialogs.messageBox(
        window(),
        "the ascii lines could not all be saved: a file could not be written, or a list file could "
        "not be read and is kept as it is. they are used until vantary ends; save again to keep them.",
        kTitle, msg::kMbOk | msg::kMbIconError);
    return;
  }
  toolkit::HideWindow(*this);
}

}  // namespace vantary::windows
