// Window `away`: its list of kept lines and its two buttons.
#include "windows/away_window.h"

#include "platform/messages.h"
#include "toolkit/title_strip.h"
#include "toolkit/window_utils.h"

namespace vantary::windows {

using platform::Platform;
using platform::Rect;
using toolkit::ControlType;
using toolkit::FormDesc;

namespace {

constexpr int kWidthTwips = 6000;
constexpr int kHeightTwips = 3600;

}  // namespace

AwayWindow::AwayWindow(Platform& p, std::function<void()> onClear)
    : Form(p, FormDesc{.name = "away",
                       .caption = std::string(kAwayCaption),
                       .rect = {200, 140, 200 + toolkit::TwipsToPixelsX(p, kWidthTwips),
                                140 + toolkit::TwipsToPixelsY(p, kHeightTwips)}}) {
  const auto at = [&p](int left, int top, int right, int bottom) {
    return toolkit::TwipsToPixels(p, left, top, right, bottom);
  };
  add({.name = "Label1",
       .type = ControlType::kLabel,
       .caption = " " + std::string(kAwayCaption),
       .rect = at(0, 0, 5760, 240)});
  add({.name = "Label2", .type = ControlType::kLabel, .caption = "_", .rect = at(5760, 0, 6000, 240)});
  add({.name = "List1", .type = ControlType::kListBox, .rect = at(120, 300, 5880, 3000)});
  add({.name = "SSRibbon1",
       .type = ControlType::kButton,
       .caption = "clear",
       .rect = at(3360, 3120, 4560, 3450)});
  add({.name = "SSRibbon2",
       .type = ControlType::kButton,
       .caption = "okae",
       .rect = at(4680, 3120, 5880, 3450)});
  setFont("Label1", {.face = "Tahoma", .pointSize = 8});
  setFont("List1", {.face = "Arial", .pointSize = 8});

  toolkit::UseTitleStrip(*this, {.dragLabels = {"Label1"}, .minimizeLabel = "Label2"});
  onClick("SSRibbon1", [this, clear = std::move(onClear)] {
    toolkit::PlayClick(platform());
    clearItems("List1");
    if (clear) clear();
  });
  onClick("SSRibbon2", [this] {
    toolkit::PlayClick(platform());
    toolkit::HideWindow(*this);
  });
}

void AwayWindow::setRows(const std::vector<text::Text>& rows) {
  clearItems("List1");
  for (const text::Text& row : rows) addItem("List1", row);
  if (!rows.empty()) {
    platform().windows.send(control("List1"), platform::msg::kLbSetCurSel,
                            platform::RowParam(static_cast<int>(rows.size()) - 1), 0);
  }
}

}  // namespace vantary::windows
