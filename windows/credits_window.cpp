// Window `frmquorle`: the credits, their music and their erase animation.
#include "windows/credits_window.h"

#include "toolkit/title_strip.h"
#include "toolkit/window_utils.h"

namespace vantary::windows {

using platform::Platform;
using platform::Rect;
using platform::Window;
using text::Text;
using toolkit::ControlType;
using toolkit::FormDesc;

namespace {

constexpr int kWidthTwips = 3600;
constexpr int kHeightTwips = 1500;
constexpr std::uint32_t kRunDelayMs = 700;
// The pause after each name but the last, once it is erased.
constexpr double kBetweenNames = 0.5;

}  // namespace

CreditsWindow::CreditsWindow(Platform& p)
    : Form(p, FormDesc{.name = "frmquorle",
                       .caption = "vantary : greets",
                       .rect = {0, 0, toolkit::TwipsToPixelsX(p, kWidthTwips),
                                toolkit::TwipsToPixelsY(p, kHeightTwips)}}),
      music_(p.files.programFolder() + "\\greets.mid") {
  const auto at = [&p](int left, int top, int right, int bottom) {
    return toolkit::TwipsToPixels(p, left, top, right, bottom);
  };
  add({.name = "Label2",
       .type = ControlType::kLabel,
       .caption = " vantary : greets",
       .rect = at(0, 0, 2400, 240)});
  add({.name = "Label3", .type = ControlType::kLabel, .rect = at(2400, 0, 3360, 240)});
  add({.name = "Label4", .type = ControlType::kLabel, .caption = "_", .rect = at(3360, 0, 3600, 240)});
  add({.name = "lblgreets",
       .type = ControlType::kLabel,
       .caption = "greetz",
       .rect = at(120, 360, 3480, 960)});
  add({.name = "SSRibbon1",
       .type = ControlType::kButton,
       .caption = "start",
       .rect = at(120, 1080, 1740, 1380)});
  add({.name = "SSRibbon2",
       .type = ControlType::kButton,
       .caption = "end",
       .rect = at(1860, 1080, 3480, 1380)});
  // Two nested rules around the window below its title, for decoration.
  for (int ring = 0; ring < 2; ++ring) {
    const int in = 30 + ring * 45;
    const int top = 255 + ring * 45;
    const Rect sides[] = {at(in, top, kWidthTwips - in, top + 30),
                          at(in, kHeightTwips - in - 30, kWidthTwips - in, kHeightTwips - in),
                          at(in, top, in + 30, kHeightTwips - in),
                          at(kWidthTwips - in - 30, top, kWidthTwips - in, kHeightTwips - in)};
    for (int side = 0; side < 4; ++side) {
      add({.name = "Line" + std::to_string(ring * 4 + side + 1),
           .type = ControlType::kLine,
           .rect = sides[side]});
    }
  }
  setFont("Label2", {.face = "Tahoma", .pointSize = 8});

  // Closed from outside it ends as its "end" does; "&greets" makes a new one.
  toolkit::UseTitleStrip(
      *this, {.dragLabels = {"Label2", "Label3"}, .minimizeLabel = "Label4", .closeHides = false});
  // A tick that comes while the run waits finds the tick still running and does nothing,
  // and "start" on an enabled timer changes nothing: one run at a time.
  addTimer("Timer1", kRunDelayMs, [this] { run(); });
  onClick("SSRibbon1", [this] { timer("Timer1")->setEnabled(true); });
  onClick("SSRibbon2", [this] { end(); });
  // Closed by the system rather than by "end": the music stops all the same.
  onClose([this] { stopRun(); });
  toolkit::CenterForm(p, window());
}

CreditsWindow::~CreditsWindow() {
  if (running_) stopRun();
  *open_ = false;
}

void CreditsWindow::run() {
  // Everything the run needs once `this` may be gone is copied here.
  const std::shared_ptr<bool> open = open_;
  Platform& p = platform();
  const Text music = music_;
  const Window panel = control("lblgreets");
  running_ = true;
  toolkit::PlayMusic(p, music);
  for (std::size_t i = 0; i < kCredits.size(); ++i) {
    p.windows.setText(panel, kCredits[i]);
    toolkit::EraseLabel(p, panel);
    if (!*open) return;
    if (i + 1 < kCredits.size()) {
      toolkit::Pause(p, kBetweenNames);
      if (!*open) return;
    }
  }
  p.windows.setText(panel, kCreditsEnd);
  toolkit::StopMusic(p, music);
  timer("Timer1")->setEnabled(false);
  running_ = false;
}

void CreditsWindow::stopRun() {
  *open_ = false;
  running_ = false;
  if (platform::Timer* t = timer("Timer1")) t->setEnabled(false);
  toolkit::StopMusic(platform(), music_);
}

void CreditsWindow::end() {
  stopRun();
  toolkit::PlayClick(platform());
  minimize();
  unload();
}

}  // namespace vantary::windows
