// The console face window: its skin, its counters and the dot that opens the menu.
#include "windows/console_face.h"

#include "toolkit/window_utils.h"

namespace vantary::windows {
namespace {

using platform::Window;
using text::Text;
using toolkit::BuildWindowRegion;
using toolkit::ControlType;
using toolkit::DragAndKeepOnScreen;
using toolkit::FormDesc;
using toolkit::StayOnTop;

using platform::Color;
using platform::Picture;
using platform::Rgb;
using text::operator""_ansi;

constexpr int kSkinWidth = 150;
constexpr int kSkinHeight = 36;
constexpr int kCornerRadius = 9;
constexpr Color kCutAway = Rgb(255, 0, 255);
constexpr Color kPlate = Rgb(36, 40, 56);
constexpr Color kRim = Rgb(112, 124, 160);

// Distance test for the rounded corners of the plate.
bool InsideRounded(int x, int y, int w, int h, int r) {
  const int cx = x < r ? r : (x >= w - r ? w - r - 1 : x);
  const int cy = y < r ? r : (y >= h - r ? h - r - 1 : y);
  const int dx = x - cx;
  const int dy = y - cy;
  return dx * dx + dy * dy <= r * r;
}

struct Counter {
  const char* name;
  int left;
};
// Days, hours and minutes, each after its leading-zero label, with a dash between them.
constexpr Counter kCounters[] = {{"d2", 14}, {"d", 22}, {"h2", 44}, {"h", 52}, {"m2", 74}, {"m", 82}};

}  // namespace

Picture FaceSkin() {
  Picture skin(kSkinWidth, kSkinHeight, kCutAway);
  for (int y = 0; y < kSkinHeight; ++y) {
    for (int x = 0; x < kSkinWidth; ++x) {
      if (!InsideRounded(x, y, kSkinWidth, kSkinHeight, kCornerRadius)) continue;
      const bool rim = !InsideRounded(x, y, kSkinWidth, kSkinHeight, kCornerRadius) ||
                       !InsideRounded(x - 1, y, kSkinWidth - 2, kSkinHeight, kCornerRadius) ||
                       !InsideRounded(x, y - 1, kSkinWidth, kSkinHeight - 2, kCornerRadius) || x == 0 ||
                       y == 0 || x == kSkinWidth - 1 || y == kSkinHeight - 1;
      skin.setPixel(x, y, rim ? kRim : kPlate);
    }
  }
  return skin;
}

ConsoleFace::ConsoleFace(Platform& platform, std::function<void(Point)> openMenu)
    : form_(platform, FormDesc{.name = "frmSplash",
                               .caption = "vantary",
                               .rect = {200, 200, 200 + kSkinWidth, 200 + kSkinHeight}}),
      openMenu_(std::move(openMenu)) {
  const platform::FontSpec small{.face = "Small Fonts", .pointSize = 7};
  for (const Counter& c : kCounters) {
    form_.add(
        {.name = c.name, .type = ControlType::kLabel, .caption = "0", .rect = {c.left, 11, c.left + 8, 25}});
    form_.setFont(c.name, small);
  }
  form_.add({.name = "Label2(0)", .type = ControlType::kLabel, .caption = "-", .rect = {34, 11, 40, 25}});
  form_.add({.name = "Label2(1)", .type = ControlType::kLabel, .caption = "-", .rect = {64, 11, 70, 25}});
  form_.add(
      {.name = "Label3", .type = ControlType::kLabel, .caption = Text("·"_ansi), .rect = {124, 8, 136, 28}});
  form_.setFont("Label3", {.face = "Tahoma", .pointSize = 12});
  // The skin lies beneath the labels: it is made last, so it is last in the z-order.
  form_.add({.name = "Picture1", .type = ControlType::kPictureBox, .rect = {0, 0, kSkinWidth, kSkinHeight}});

  const Picture skin = FaceSkin();
  if (const Window picture = form_.control("Picture1")) platform.windows.setPicture(picture, skin);
  region_ = BuildWindowRegion(skin, 0);
  platform.windows.setRegion(form_.window(), region_);
  StayOnTop(platform, form_.window());

  form_.onMouseDown("", [this](Point) { drag(); });
  form_.onMouseDown("Picture1", [this](Point) { drag(); });
  for (const Counter& c : kCounters) form_.onMouseDown(c.name, [this](Point) { drag(); });
  form_.onMouseDown("Label3", [this](Point) {
    form_.setFont("Label3", {.face = "Tahoma", .pointSize = 12, .bold = true});
  });
  form_.onMouseUp("Label3", [this](Point) { form_.setFont("Label3", {.face = "Tahoma", .pointSize = 12}); });
  form_.onClick("Label3", [this] {
    if (openMenu_) openMenu_(form_.platform().screen.cursor());
  });
}

void ConsoleFace::drag() { DragAndKeepOnScreen(form_.platform(), form_.window()); }

}  // namespace vantary::windows
