// Window `awayset`: its boxes, its two switches and its buttons.
#include "windows/away_settings_window.h"

#include "toolkit/title_strip.h"
#include "toolkit/window_utils.h"

namespace vantary::windows {

using platform::Platform;
using platform::Rect;
using toolkit::ControlType;
using toolkit::FormDesc;

namespace {

constexpr int kWidthTwips = 4200;
constexpr int kHeightTwips = 3960;

}  // namespace

AwaySettingsWindow::AwaySettingsWindow(Platform& p, std::function<bool(const AwaySettings&)> onSave)
    : Form(p, FormDesc{.name = "awayset",
                       .caption = std::string(kAwaySettingsCaption),
                       .rect = {240, 160, 240 + toolkit::TwipsToPixelsX(p, kWidthTwips),
                                160 + toolkit::TwipsToPixelsY(p, kHeightTwips)}}) {
  const auto at = [&p](int left, int top, int right, int bottom) {
    return toolkit::TwipsToPixels(p, left, top, right, bottom);
  };
  add({.name = "Label1",
       .type = ControlType::kLabel,
       .caption = " " + std::string(kAwaySettingsCaption),
       .rect = at(0, 0, 3960, 240)});
  add({.name = "Label2", .type = ControlType::kLabel, .caption = "_", .rect = at(3960, 0, 4200, 240)});
  add({.name = "Label3",
       .type = ControlType::kLabel,
       .caption = "watched members, one a line",
       .rect = at(120, 300, 4080, 540)});
  add({.name = "Text1", .type = ControlType::kMultiLineTextBox, .rect = at(120, 540, 4080, 1500)});
  add({.name = "Label4",
       .type = ControlType::kLabel,
       .caption = "the reply (macros as in the custom lines)",
       .rect = at(120, 1620, 4080, 1860)});
  add({.name = "Text2", .type = ControlType::kTextBox, .rect = at(120, 1860, 4080, 2160), .textLimit = 700});
  add({.name = "Label5",
       .type = ControlType::kLabel,
       .caption = "minutes before a member is answered again",
       .rect = at(120, 2280, 3360, 2520)});
  add({.name = "Text3", .type = ControlType::kTextBox, .rect = at(3480, 2250, 4080, 2550), .textLimit = 4});
  add({.name = "Check1",
       .type = ControlType::kCheckBox,
       .caption = "keep an away log",
       .rect = at(120, 2700, 4080, 2940)});
  add({.name = "Check2",
       .type = ControlType::kCheckBox,
       .caption = "auto-reply",
       .rect = at(120, 3000, 4080, 3240)});
  add({.name = "SSRibbon1",
       .type = ControlType::kButton,
       .caption = "save",
       .rect = at(1680, 3450, 2820, 3780)});
  add({.name = "SSRibbon2",
       .type = ControlType::kButton,
       .caption = "exit",
       .rect = at(2940, 3450, 4080, 3780)});
  setFont("Label1", {.face = "Tahoma", .pointSize = 8});

  toolkit::UseTitleStrip(*this, {.dragLabels = {"Label1"}, .minimizeLabel = "Label2"});
  onClick("SSRibbon1", [this, save = std::move(onSave)] {
    toolkit::PlayClick(platform());
    if (!save || save(held())) toolkit::HideWindow(*this);
  });
  onClick("SSRibbon2", [this] {
    toolkit::PlayClick(platform());
    toolkit::HideWindow(*this);
  });
}

void AwaySettingsWindow::fill(const AwaySettings& s) {
  setText("Text1", s.watch);
  setText("Text2", s.reply);
  setText("Text3", s.period);
  setChecked("Check1", s.keepLog);
  setChecked("Check2", s.autoReply);
}

AwaySettings AwaySettingsWindow::held() const {
  return AwaySettings{text("Text1"), text("Text2"), text("Text3"), checked("Check1"), checked("Check2")};
}

}  // namespace vantary::windows
