// Window `color`: the two chat colours, Text1 (C1) and Text2 (C2), six hexadecimal
// digits each.
#include "windows/color_window.h"

namespace vantary::windows {

using platform::Platform;
using text::Text;
using toolkit::ControlType;
using toolkit::Form;
using toolkit::FormDesc;

namespace {

// The colour boxes take a six-digit hexadecimal colour and nothing longer.
constexpr int kColorChars = 6;

}  // namespace

std::unique_ptr<Form> MakeColorWindow(Platform& p) {
  auto form =
      std::make_unique<Form>(p, FormDesc{.name = "color", .caption = "color", .rect = {200, 200, 360, 330}});
  form->add({.name = "Label1",
             .type = ControlType::kLabel,
             .caption = " vantary : color changer",
             .rect = {0, 0, 160, 16}});
  form->add({.name = "Frame1", .type = ControlType::kFrame, .rect = {8, 20, 152, 56}});
  form->add({.name = "Frame2", .type = ControlType::kFrame, .rect = {8, 60, 152, 96}});
  form->add({.name = "Text1",
             .type = ControlType::kTextBox,
             .caption = "336699",
             .rect = {16, 28, 144, 48},
             .textLimit = kColorChars});
  form->add({.name = "Text2",
             .type = ControlType::kTextBox,
             .caption = "000000",
             .rect = {16, 68, 144, 88},
             .textLimit = kColorChars});
  form->add(
      {.name = "SSRibbon2", .type = ControlType::kButton, .caption = "save", .rect = {8, 102, 78, 124}});
  form->add(
      {.name = "SSRibbon1", .type = ControlType::kButton, .caption = "exit", .rect = {82, 102, 152, 124}});
  return form;
}

}  // namespace vantary::windows
