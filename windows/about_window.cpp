// Window `about1`.
#include "windows/about_window.h"

#include "toolkit/title_strip.h"
#include "toolkit/window_utils.h"

namespace vantary::windows {

using platform::Platform;
using platform::Rect;
using text::Text;
using text::operator""_ansi;
using toolkit::ControlType;
using toolkit::FormDesc;

namespace {

constexpr int kWidthTwips = 4200;
constexpr int kHeightTwips = 2400;

}  // namespace

AboutWindow::AboutWindow(Platform& p, std::string_view screenName)
    : Form(p, FormDesc{.name = "about1",
                       .caption = "vantary : about",
                       .rect = {0, 0, toolkit::TwipsToPixelsX(p, kWidthTwips),
                                toolkit::TwipsToPixelsY(p, kHeightTwips)}}) {
  const auto at = [&p](int left, int top, int right, int bottom) {
    return toolkit::TwipsToPixels(p, left, top, right, bottom);
  };
  // The strip: the title drags the window, "_" minimizes it.
  add({.name = "Label7",
       .type = ControlType::kLabel,
       .caption = " vantary : about",
       .rect = at(0, 0, 3960, 240)});
  add({.name = "Label8", .type = ControlType::kLabel, .caption = "_", .rect = at(3960, 0, 4200, 240)});
  add({.name = "Frame1",
       .type = ControlType::kFrame,
       .caption = "about",
       .rect = at(60, 270, 4140, 2340),
       .acceptsDrops = true});
  add({.name = "Picture1", .type = ControlType::kPictureBox, .rect = at(180, 450, 1140, 1410)});
  add({.name = "Label1",
       .type = ControlType::kLabel,
       .caption = Text("vantary³"_ansi),
       .rect = at(180, 1470, 1140, 1710)});
  add({.name = "Label2",
       .type = ControlType::kLabel,
       .caption = screenName.empty() ? Text(kUnknownScreenName) : Text(screenName),
       .rect = at(1260, 450, 4020, 690)});
  add({.name = "Label3",
       .type = ControlType::kLabel,
       .caption = "tl.sv281  / * pre beta*",
       .rect = at(1260, 750, 4020, 990)});
  add({.name = "Label4",
       .type = ControlType::kLabel,
       .caption = "aols: aol30, aol95, aol40,  and aol50",
       .rect = at(1260, 1050, 4020, 1290)});
  add({.name = "Label5",
       .type = ControlType::kLabel,
       .caption = "thanks to the beta testers: nimbus, parsec, quillon and torvane",
       .rect = at(1260, 1350, 4020, 1830)});
  add({.name = "Label6",
       .type = ControlType::kLabel,
       .caption = "kestro",
       .rect = at(1260, 1890, 4020, 2130)});
  setFont("Frame1", {.face = "Tahoma", .pointSize = 8});

  toolkit::UseTitleStrip(*this, {.dragLabels = {"Label7"}, .minimizeLabel = "Label8"});
  const auto hide = [this] { toolkit::HideWindow(*this); };
  // The window's own background reports no click: its button's release stands for one.
  onMouseUp("", [hide](platform::Point) { hide(); });
  for (std::string_view name : {"Picture1", "Label1", "Label2", "Label3", "Label4", "Label5", "Label6"}) {
    onClick(name, hide);
  }
  onDrop("Frame1", hide);
  toolkit::CenterForm(p, window());
}

}  // namespace vantary::windows
