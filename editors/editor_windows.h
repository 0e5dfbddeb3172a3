// The windows whose controls hold settings while the program runs: `color` (the two chat
// colours), `auto` (the three decoration lines), `vantary2` (the multiple messages) and
// `customs` (the four custom lines). They are created hidden when the console loads and
// stay loaded until the program ends; their editing behaviour lives beside them.
#pragma once

#include <memory>

#include "platform/platform.h"
#include "windows/form.h"

namespace vantary::editors {

using platform::Platform;
using text::Text;
using windows::Form;
using text::operator""_ansi;

// The program's web address, shown in the start and exit announcements and in the
// multiple message the rotation falls back on.
inline constexpr std::string_view kWebAddress = "kestro.example/vantary";

// The first decoration lines the program starts with on a machine without stored ones.
inline constexpr std::string_view kAscii1Design = "°›"_ansi;
inline constexpr std::string_view kAscii2Design = "‹°"_ansi;
inline constexpr std::string_view kAscii3Design = "°`·–›"_ansi;

// Window `color`: Text1 (C1, "336699") and Text2 (C2, "000000"), six characters each.
std::unique_ptr<Form> MakeColorWindow(Platform& p);
// Window `auto`: Combo1..Combo3 with the design decoration lines.
std::unique_ptr<Form> MakeAsciiWindow(Platform& p);
// Window `vantary2`: the list `rnd` of multiple messages and the input box `rndtext`.
std::unique_ptr<Form> MakeMessagesWindow(Platform& p);
// Window `customs`: the custom lines Text1..Text4, filled from "cus1".."cus4" of the data
// file at `dataFile` when the window loads.
std::unique_ptr<Form> MakeCustomsWindow(Platform& p, std::string_view dataFile);

// The four windows, loaded hidden together.
struct EditorWindows {
  EditorWindows(Platform& p, std::string_view dataFile);

  std::unique_ptr<Form> color;     // `color`
  std::unique_ptr<Form> ascii;     // `auto`
  std::unique_ptr<Form> messages;  // `vantary2`
  std::unique_ptr<Form> customs;   // `customs`
};

// The message the rotation adds when the list is empty: the author's web address.
Text DefaultMultipleMessage();

// The next multiple message of list `rnd` on `vantary2`: an empty list first gets the
// default entry; the selection moves one down and wraps from the last entry to the first,
// and the newly selected entry is the message. Entries go out 1, 2, ..., n, 1, ...; the
// first call after start gives entry 1.
Text NextMultipleMessage(Form& messages);

}  // namespace vantary::editors
