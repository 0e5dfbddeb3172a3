// The editor windows whose controls hold settings while the program runs: `color` (the
// two chat colours), `auto` (the three decoration lines), `vantary2` (the multiple
// messages) and `customs` (the four custom lines). They are created hidden when the
// console loads and stay loaded until the program ends. The rotation through the
// multiple messages lives beside them.
#pragma once

#include <memory>
#include <string_view>

#include "toolkit/form.h"

namespace vantary::editors {

using platform::Platform;
using text::Text;
using toolkit::Form;

// The program's web address, shown in the start and exit announcements and in the
// multiple message the rotation falls back on.
inline constexpr std::string_view kWebAddress = "kestro.example/vantary";

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
