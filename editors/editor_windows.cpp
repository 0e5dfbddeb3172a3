// The editor windows loaded together, and the rotation through the multiple messages.
#include "editors/editor_windows.h"

#include "windows/ascii_window.h"
#include "windows/color_window.h"
#include "windows/customs_window.h"
#include "windows/messages_window.h"

namespace vantary::editors {

using text::operator""_ansi;

EditorWindows::EditorWindows(Platform& p, std::string_view dataFile)
    : color(windows::MakeColorWindow(p)),
      ascii(windows::MakeAsciiWindow(p)),
      messages(windows::MakeMessagesWindow(p)),
      customs(windows::MakeCustomsWindow(p, dataFile)) {}

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
