// The editor windows loaded together, and the rotation through the multiple messages.
#include "editors/editor_windows.h"

namespace vantary::editors {

using text::operator""_ansi;

EditorWindows::EditorWindows(Platform& p, const settings::SettingsPaths& paths, std::function<void()> view)
    : color(std::make_unique<windows::ColorWindow>(p, paths.data)),
      ascii(std::make_unique<windows::AsciiWindow>(
          p, paths.data, std::array<Text, 3>{paths.asciiList1, paths.asciiList2, paths.asciiList3})),
      messages(std::make_unique<windows::MessagesWindow>(p, paths.messages)),
      customs(std::make_unique<windows::CustomsWindow>(p, paths.data, std::move(view))) {}

Text DefaultMultipleMessage() { return Text("vantary³ by kestro · "_ansi) + Text(kWebAddress); }

Text NextMultipleMessage(Form& messages) {
  if (messages.items("rnd").empty()) messages.addItem("rnd", DefaultMultipleMessage());
  const std::vector<Text> entries = messages.items("rnd");
  if (entries.empty()) return Text{};  // the list took no entry (the window is gone)
  const int last = static_cast<int>(entries.size()) - 1;
  int next = messages.selectedIndex("rnd") + 1;
  if (next > last) next = 0;
  messages.select("rnd", next);
  return entries[static_cast<std::size_t>(next)];
}

}  // namespace vantary::editors
