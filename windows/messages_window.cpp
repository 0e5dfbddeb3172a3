// Window `vantary2`: the list `rnd` of multiple messages and its input box `rndtext`.
#include "windows/messages_window.h"

namespace vantary::windows {

using platform::Platform;
using text::Text;
using toolkit::ControlType;
using toolkit::Form;
using toolkit::FormDesc;

std::unique_ptr<Form> MakeMessagesWindow(Platform& p) {
  auto form = std::make_unique<Form>(
      p, FormDesc{.name = "vantary2", .caption = "vantary2", .rect = {200, 200, 420, 420}});
  form->add({.name = "Label1",
             .type = ControlType::kLabel,
             .caption = " vantary : messages",
             .rect = {0, 0, 180, 16}});
  form->add({.name = "Label5", .type = ControlType::kLabel, .rect = {180, 0, 200, 16}});
  form->add({.name = "Label2", .type = ControlType::kLabel, .caption = "_", .rect = {204, 0, 220, 16}});
  form->add({.name = "rnd", .type = ControlType::kListBox, .rect = {8, 20, 212, 140}});
  form->add(
      {.name = "rndtext", .type = ControlType::kTextBox, .caption = "reason", .rect = {8, 144, 212, 164}});
  form->add(
      {.name = "SSRibbon1", .type = ControlType::kButton, .caption = "save", .rect = {8, 168, 108, 190}});
  form->add(
      {.name = "SSRibbon2", .type = ControlType::kButton, .caption = "clear", .rect = {112, 168, 212, 190}});
  form->add({.name = "Label6", .type = ControlType::kLabel, .caption = "status", .rect = {8, 196, 212, 212}});
  return form;
}

}  // namespace vantary::windows
