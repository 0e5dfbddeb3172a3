// Window `auto`: the three decoration lines Combo1..Combo3 the status lines are built
// with.
#include "windows/ascii_window.h"

namespace vantary::windows {

using platform::Platform;
using text::Text;
using toolkit::ControlType;
using toolkit::Form;
using toolkit::FormDesc;

std::unique_ptr<Form> MakeAsciiWindow(Platform& p) {
  auto form =
      std::make_unique<Form>(p, FormDesc{.name = "auto", .caption = "auto", .rect = {200, 200, 420, 400}});
  form->add({.name = "Label2",
             .type = ControlType::kLabel,
             .caption = " vantary :  ascii editor",
             .rect = {0, 0, 200, 16}});
  form->add({.name = "Label3", .type = ControlType::kLabel, .caption = "_", .rect = {204, 0, 220, 16}});
  const std::string_view designs[] = {kAscii1Design, kAscii2Design, kAscii3Design};
  for (int i = 0; i < 3; ++i) {
    const int top = 20 + i * 48;
    const Text n = std::to_string(i + 1);
    form->add({.name = "SSFrame" + n,
               .type = ControlType::kFrame,
               .caption = "ascii" + n,
               .rect = {8, top, 212, top + 44}});
    form->add({.name = "Combo" + n,
               .type = ControlType::kComboBox,
               .caption = Text(designs[i]),
               .rect = {16, top + 16, 204, top + 36}});
  }
  form->add(
      {.name = "SSRibbon1", .type = ControlType::kButton, .caption = "save", .rect = {8, 170, 108, 192}});
  form->add(
      {.name = "SSRibbon2", .type = ControlType::kButton, .caption = "exit", .rect = {112, 170, 212, 192}});
  return form;
}

}  // namespace vantary::windows
