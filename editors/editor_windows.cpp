// The settings-holding windows `color`, `auto`, `vantary2` and `customs`, and the rotation
// through the multiple messages.
#include "editors/editor_windows.h"

#include "settings/settings_store.h"

namespace vantary::editors {
namespace {

using windows::ControlType;
using windows::FormDesc;

// The section of every key of the program's settings files.
constexpr std::string_view kSection = "vantari";

// The colour boxes take a six-digit hexadecimal colour and nothing longer.
constexpr int kColorChars = 6;

FormDesc Desc(std::string_view name, std::string_view caption, platform::Rect rect) {
  FormDesc d;
  d.name = Text(name);
  d.caption = Text(caption);
  d.rect = rect;
  d.visible = false;
  return d;
}

}  // namespace

std::unique_ptr<Form> MakeColorWindow(Platform& p) {
  auto form = std::make_unique<Form>(p, Desc("color", "color", {200, 200, 360, 330}));
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

std::unique_ptr<Form> MakeAsciiWindow(Platform& p) {
  auto form = std::make_unique<Form>(p, Desc("auto", "auto", {200, 200, 420, 400}));
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

std::unique_ptr<Form> MakeMessagesWindow(Platform& p) {
  auto form = std::make_unique<Form>(p, Desc("vantary2", "vantary2", {200, 200, 420, 420}));
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

std::unique_ptr<Form> MakeCustomsWindow(Platform& p, std::string_view dataFile) {
  auto form = std::make_unique<Form>(p, Desc("customs", "customs", {200, 200, 449, 344}));
  form->add({.name = "Label1",
             .type = ControlType::kLabel,
             .caption = " vantary : customs",
             .rect = {0, 0, 200, 16}});
  form->add({.name = "Label13", .type = ControlType::kLabel, .rect = {200, 0, 230, 16}});
  form->add({.name = "Label2", .type = ControlType::kLabel, .caption = "_", .rect = {232, 0, 248, 16}});
  for (int i = 1; i <= 4; ++i) {
    const int top = 20 + (i - 1) * 24;
    const Text n = std::to_string(i);
    form->add({.name = "Text" + n,
               .type = ControlType::kTextBox,
               .caption = settings::ReadSetting(p.files, kSection, "cus" + n, dataFile),
               .rect = {8, top, 240, top + 20},
               .visible = i == 1});
  }
  return form;
}

EditorWindows::EditorWindows(Platform& p, std::string_view dataFile)
    : color(MakeColorWindow(p)),
      ascii(MakeAsciiWindow(p)),
      messages(MakeMessagesWindow(p)),
      customs(MakeCustomsWindow(p, dataFile)) {}

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
