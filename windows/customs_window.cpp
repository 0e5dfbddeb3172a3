// Window `customs`: the four custom lines Text1..Text4, the slider that shows as many of
// them as the user wants, the legend of the macros with its hover help, and view and save.
#include "windows/customs_window.h"

#include "platform/messages.h"
#include "settings/program_files.h"
#include "settings/settings_store.h"
#include "toolkit/title_strip.h"
#include "toolkit/window_utils.h"

namespace vantary::windows {

using platform::Platform;
using platform::Rect;
using text::Text;
using toolkit::ControlType;
using toolkit::FormDesc;
namespace msg = platform::msg;

namespace {

// The boxes the data file fills.
constexpr StoredBox kStored[] = {{"Text1", "cus1"}, {"Text2", "cus2"}, {"Text3", "cus3"}, {"Text4", "cus4"}};

constexpr std::string_view kTitle = "vantary : customs";
constexpr std::string_view kLines[] = {"Text1", "Text2", "Text3", "Text4"};

// HScroll1, the older stepper beside the slider: its value means nothing, so a wide range
// with the thumb in the middle keeps both of its arrows live.
constexpr int kStepperMax = 32766;
constexpr int kStepperStart = kStepperMax / 2;

// The legend of the macros: the compact area shows the first six, the extended area the
// rest, three to a row.
struct Legend {
  std::string_view name;
  std::string_view caption;
};
constexpr Legend kLegend[] = {
    {"Label3", "x = dl or ul"},   {"Label4", "t$ = cur time"}, {"Label5", "r$ = reason"},
    {"Label6", "xpe$ = per"},     {"Label7", "xml$ = minl"},   {"Label8", "xf$ = file"},
    {"Label9", "as1$ = ascii1"},  {"Label10", "v$ = version"}, {"Label14", "m1$ = idle minutes"},
    {"Label15", "as2$ = ascii2"}, {"Label16", "c$ = kestro"},  {"Label17", "h1$ = idle hours"},
    {"Label18", "as3$ = ascii3"}, {"Label19", "a$ = ao ver"},  {"Label20", "d1$ = idle days"},
    {"Label21", "ie$ = msie dl"},
};
constexpr int kCompactLegend = 6;

constexpr toolkit::HoverText kHover[] = {
    {"", "unknown"},
    {"Label2", "minimize"},
    {"Label12", "status bar"},
    {"Label13", "move form"},
    {"Label11", "click for more options"},
    {"Text1", "textbox 1 editor"},
    {"Text2", "textbox 2 editor"},
    {"Text3", "textbox 3 editor"},
    {"Text4", "textbox 4 editor"},
    {"SSRibbon1", "scrolls in chatroom"},
    {"SSRibbon2", "save // exit"},
    {"Label3", "x = dl or ul"},
    {"Label7", "x = dl or ul [ example 'dlml$' ] / minutes left"},
    {"Label6", "x = dl or ul [ example 'dlpe$' ] / percent"},
    {"Label8", "x = dl or ul [ example 'dlf$' ] / file"},
    {"Label5", "r$ = current single reason"},
    {"Label4", "t$ = current time"},
    {"Label19", "a$ = get current aol version"},
    {"Label16", "c$ = kestro"},
    {"Label21", "ie$ = msie dl status"},
    {"Label10", "v$ = gets vantary version"},
    {"Label14", "m1$ = scrolls minutes"},
    {"Label17", "h1$ = scrolls hours"},
    {"Label20", "d1$ = scrolls days"},
    {"Label9", "as1$ = ascii # 1"},
    {"Label15", "as2$ = ascii # 2"},
    {"Label18", "as3$ = ascii # 3"},
};

}  // namespace

CustomsWindow::CustomsWindow(Platform& p, Text dataFile, std::function<void()> view)
    : Form(p, FormDesc{.name = "customs",
                       .caption = "customs",
                       .rect = {200, 200, 200 + toolkit::TwipsToPixelsX(p, kCustomsWidthTwips),
                                200 + toolkit::TwipsToPixelsY(p, kCustomsCompactTwips)}}),
      dataFile_(std::move(dataFile)),
      stored_(*this, dataFile_, kStored),
      view_(std::move(view)) {
  // The layout is in twips, as the window's heights are, so that it keeps its shape on a
  // screen of another resolution.
  const auto at = [&p](int left, int top, int right, int bottom) {
    return toolkit::TwipsToPixels(p, left, top, right, bottom);
  };
  add({.name = "Label1",
       .type = ControlType::kLabel,
       .caption = " vantary : customs",
       .rect = at(0, 0, 2400, 240)});
  add({.name = "Label13", .type = ControlType::kLabel, .rect = at(2400, 0, 3495, 240)});
  add({.name = "Label2", .type = ControlType::kLabel, .caption = "_", .rect = at(3495, 0, 3735, 240)});
  for (int i = 0; i < 4; ++i) {
    const int top = 285 + i * 255;
    add({.name = Text(kLines[i]),
         .type = ControlType::kTextBox,
         .rect = at(120, top, 3615, top + 240),
         .visible = i == 0});
  }
  for (int i = 0; i < static_cast<int>(std::size(kLegend)); ++i) {
    const bool compact = i < kCompactLegend;
    const int row = compact ? i / 3 : (i - kCompactLegend) / 3;
    const int left = 120 + (i % 3) * 1185;
    const int top = compact ? 1320 + row * 180 : 2190 + row * 180;
    add({.name = Text(kLegend[i].name),
         .type = ControlType::kLabel,
         .caption = Text(kLegend[i].caption),
         .rect = at(left, top, left + 1170, top + 180)});
  }
  add({.name = "Slider1", .type = ControlType::kSlider, .rect = at(120, 1710, 1440, 1935)});
  // HScroll1 sits beside the slider rather than under it, so that the user can reach both.
  add({.name = "HScroll1", .type = ControlType::kScrollBar, .rect = at(1470, 1740, 1770, 1905)});
  add({.name = "SSRibbon1",
       .type = ControlType::kButton,
       .caption = "view",
       .rect = at(1830, 1710, 2700, 1935)});
  add({.name = "SSRibbon2",
       .type = ControlType::kButton,
       .caption = "save",
       .rect = at(2745, 1710, 3615, 1935)});
  add({.name = "Frame1", .type = ControlType::kFrame, .rect = at(0, 1950, 3735, 2160)});
  add({.name = "Label12",
       .type = ControlType::kLabel,
       .caption = "status",
       .rect = at(120, 1980, 2400, 2130)});
  add({.name = "Label11",
       .type = ControlType::kLabel,
       .caption = "more customs",
       .rect = at(2430, 1980, 3615, 2130)});
  add({.name = "SSRibbon3",
       .type = ControlType::kButton,
       .caption = "up",
       .rect = at(2490, 2745, 3615, 3150)});
  setRange("Slider1", 0, 3);
  setRange("HScroll1", 0, kStepperMax);
  setValue("HScroll1", kStepperStart);

  toolkit::UseTitleStrip(*this, {.dragLabels = {"Label1", "Label13"},
                                 .minimizeLabel = "Label2",
                                 .statusLabel = "Label12",
                                 .hover = kHover});
  onChange("Slider1", [this] { showLines(value("Slider1")); });
  // The thumb goes back to the middle after every step, so neither end is ever reached and
  // a click in either side of the trough always steps.
  onChange("HScroll1", [this] {
    step();
    setValue("HScroll1", kStepperStart);
  });
  onClick("SSRibbon1", [this] {
    if (view_) {
      const std::function<void()> run = view_;
      run();
    }
  });
  onClick("SSRibbon2", [this] { save(); });
  onClick("SSRibbon3", [this] { setHeight(toolkit::TwipsToPixelsY(platform(), kCustomsCompactTwips)); });
  onClick("Label11", [this] { setHeight(toolkit::TwipsToPixelsY(platform(), kCustomsExtendedTwips)); });
  onMouseDown("Label11", [this](platform::Point) { setFont("Label11", {.italic = true}); });
  onMouseUp("Label11", [this](platform::Point) { setFont("Label11", {.italic = false}); });
  // A box still holding the digit its line number was left with empties at the first
  // click into it; the fourth box has no such rule.
  for (int i = 0; i < 3; ++i) {
    const Text name(kLines[i]);
    onMouseUp(name, [this, name, digit = std::to_string(i + 1)](platform::Point) {
      if (text(name) == digit) setText(name, "");
    });
  }
  load();
}

void CustomsWindow::load() {
  const std::optional<text::Text> data = settings::ReadSettingsFile(platform().files, dataFile_);
  if (!data && settings::FileExists(platform().files, dataFile_)) stored_.markUnread();
  for (const StoredBox& box : kStored)
    setText(box.control, data ? settings::SettingIn(*data, settings::kSection, box.key) : "");
  // The boxes holding a line show, in this order, each putting the slider at its place.
  // A value set here does not run the slider's change rule (only the user's moves do), so
  // the loaded lines stay shown and the slider ends at the highest box shown.
  if (!text("Text2").empty()) {
    showControl("Text2", true);
    setValue("Slider1", 1);
  }
  if (!text("Text4").empty()) {
    showControl("Text4", true);
    setValue("Slider1", 3);
  }
  if (!text("Text3").empty()) {
    showControl("Text3", true);
    setValue("Slider1", 2);
  }
  for (int i = 0; i < 4; ++i) {
    if (controlVisible(kLines[i])) setValue("Slider1", i);
  }
}

// The slider's rule: Text1 and the next `beyondFirst` boxes show, the rest hide.
void CustomsWindow::showLines(int beyondFirst) {
  for (int i = 1; i < 4; ++i) showControl(kLines[i], i <= beyondFirst);
}

// HScroll1's three-line stepper, which never touches Text4.
void CustomsWindow::step() {
  if (controlVisible("Text3")) {
    showControl("Text3", false);
  } else if (!controlVisible("Text2") && controlVisible("Text1")) {
    showControl("Text2", true);
  } else if (controlVisible("Text2")) {
    showControl("Text3", true);
  }
}

void CustomsWindow::save() {
  Platform& p = platform();
  toolkit::PlayClick(p);
  stored_.takeStored();
  bool saved = true;
  for (int i = 0; i < 4; ++i) {
    saved = settings::WriteSetting(p.files, settings::kSection, "cus" + std::to_string(i + 1),
                                   text(kLines[i]), dataFile_) &&
            saved;
  }
  if (!saved) {
    p.dialogs.messageBox(window(),
                         "the custom lines could not be saved to " + dataFile_ +
                             ". they are used until vantary ends; save again to keep them.",
                         kTitle, msg::kMbOk | msg::kMbIconError);
    return;
  }
  toolkit::HideWindow(*this);
}

}  // namespace vantary::windows
