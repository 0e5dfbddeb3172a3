// The intro window and its animation.
#include "windows/intro.h"

#include "toolkit/window_utils.h"

namespace vantary::windows {
namespace {

using platform::Rect;
using platform::Window;
using text::Text;
using toolkit::CenterForm;
using toolkit::ControlType;
using toolkit::FormDesc;
using toolkit::Pause;
using toolkit::PlayWave;
using toolkit::ScatterForm;
using toolkit::StayOnTop;
using toolkit::TwipsToPixelsX;

using platform::Picture;
using platform::Rgb;

constexpr int kWidth = 240;
constexpr int kHeight = 120;
// The label slides 200 twips to the left every tick until its left edge has reached
// 300 twips.
constexpr int kSlideStepTwips = 200;
constexpr int kSlideStopTwips = 300;
constexpr double kPictureSeconds = 0.2;

}  // namespace

Picture IntroPicture(int index) {
  // Four frames of a growing bar on a dark ground: enough to show the animation run.
  Picture picture(kWidth, kHeight, Rgb(20, 22, 34));
  const int bar = (index + 1) * kWidth / 5;
  for (int y = kHeight / 2 - 6; y < kHeight / 2 + 6; ++y) {
    for (int x = 20; x < 20 + bar; ++x) picture.setPixel(x, y, Rgb(51, 102, 153));
  }
  return picture;
}

Intro::Intro(Platform& platform, std::function<void()> done)
    : form_(platform,
            FormDesc{.name = "intro", .caption = "vantary", .rect = {300, 300, 300 + kWidth, 300 + kHeight}}),
      done_(std::move(done)) {
  // The label is made first: a control made earlier lies above those made after it, and
  // the label slides over the pictures.
  form_.add({.name = "Label1",
             .type = ControlType::kLabel,
             .caption = "vantary: tl-v12",
             .rect = {150, 96, 240, 112}});
  for (int i = 1; i <= 4; ++i) {
    const Text name = "Picture" + std::to_string(i);
    const Window w = form_.add(
        {.name = name, .type = ControlType::kPictureBox, .rect = {0, 0, kWidth, kHeight}, .visible = false});
    if (w) platform.windows.setPicture(w, IntroPicture(i - 1));
  }
  form_.addTimer("Timer1", 1000, [this] { animate(); });
  form_.addTimer("Timer2", 100, [this] { slide(); }).setEnabled(true);
  form_.onCloseRequest([this] { finish(); });

  // Above other windows before it shows, so it never shows beneath one.
  StayOnTop(platform, form_.window());
  form_.show();
  PlayWave(platform, platform.files.programFolder() + "\\kestro.dll");
  form_.timer("Timer1")->setEnabled(true);
}

void Intro::slide() {
  Platform& p = form_.platform();
  const Rect r = form_.controlRect("Label1");
  const int leftTwips = r.left * p.screen.twipsPerPixelX();
  if (leftTwips <= kSlideStopTwips) form_.timer("Timer2")->setEnabled(false);
  const int step = TwipsToPixelsX(p, kSlideStepTwips);
  form_.moveControl("Label1", Rect{r.left - step, r.top, r.right - step, r.bottom});
}

void Intro::animate() {
  // The animation runs inside one tick and lets events run meanwhile: a second tick must
  // not start it again, and an intro closed meanwhile has handed over already.
  if (animating_ || finished_) return;
  animating_ = true;
  Platform& p = form_.platform();
  StayOnTop(p, form_.window());
  Pause(p, 1.0);
  for (const char* picture : {"Picture1", "Picture2", "Picture3", "Picture3", "Picture2", "Picture1"}) {
    if (finished_) return;
    form_.showControl(picture, true);
    Pause(p, kPictureSeconds);
    form_.showControl(picture, false);
  }
  if (finished_) return;
  form_.showControl("Picture4", true);
  Pause(p, 0.4);
  Pause(p, 1.0);
  if (finished_) return;
  ScatterForm(p, form_.window());
  CenterForm(p, form_.window());
  finish();
}

void Intro::finish() {
  if (finished_) return;
  finished_ = true;
  form_.timer("Timer1")->setEnabled(false);
  form_.timer("Timer2")->setEnabled(false);
  if (done_) done_();
  form_.unload();
}

}  // namespace vantary::windows
