// The editor windows whose controls hold what the status lines are made of while the
// program runs: `color` (the two chat colours), `auto` (the three decoration lines),
// `vantary2` (the multiple messages) and `customs` (the four custom lines). They are
// created hidden when the console loads and stay loaded until the program ends; the menu
// shows them. The rotation through the multiple messages lives beside them.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "settings/program_files.h"
#include "toolkit/form.h"
#include "windows/ascii_window.h"
#include "windows/color_window.h"
#include "windows/customs_window.h"
#include "windows/messages_window.h"

namespace vantary::editors {

using platform::Platform;
using text::Text;
using toolkit::Form;

// The program's web address, shown in the start and exit announcements and in the
// multiple message the rotation falls back on.
inline constexpr std::string_view kWebAddress = "kestro.example/vantary";

// The four windows, loaded hidden together, with the settings files they save to.
struct EditorWindows {
  // `view` is what the custom lines window's view button runs (the custom scroll sent
  // once); it can be given later with customs->setView.
  EditorWindows(Platform& p, const settings::SettingsPaths& paths, std::function<void()> view = {});

  std::unique_ptr<windows::ColorWindow> color;        // `color`
  std::unique_ptr<windows::AsciiWindow> ascii;        // `auto`
  std::unique_ptr<windows::MessagesWindow> messages;  // `vantary2`
  std::unique_ptr<windows::CustomsWindow> customs;    // `customs`
};

// The message the rotation adds when the list is empty: the author's web address.
Text DefaultMultipleMessage();

// The next multiple message of list `rnd` on `vantary2`: an empty list first gets the
// default entry; the selection moves one down and wraps from the last entry to the first,
// and the newly selected entry is the message. Entries go out 1, 2, ..., n, 1, ...; the
// first call after start gives entry 1.
Text NextMultipleMessage(Form& messages);

}  // namespace vantary::editors
