// The items of the "vie&w" menu: the credits, about and help windows.
#include "console/console.h"
#include "toolkit/title_strip.h"

namespace vantary::console {

// A credits window closed by its "end" is gone; the item makes a new one. The state
// changes run only on a window that is shown (minimized, say): on a hidden one they would
// show it before its time.
void Console::GreetsCommand() {
  if (!credits_ || !credits_->alive()) credits_ = std::make_unique<windows::CreditsWindow>(p_);
  if (credits_->visible()) {
    credits_->maximize();
    credits_->restore();
  }
  credits_->show();
}

// The about window reads the screen name once, when it is made; afterwards it is only
// hidden and shown again. Help and about come back as they were when minimized by "_".
void Console::AboutCommand() {
  if (!about_ || !about_->alive())
    about_ = std::make_unique<windows::AboutWindow>(p_, host_->GetScreenName());
  toolkit::ShowRestored(*about_);
}

void Console::HelpCommand() {
  if (!help_ || !help_->alive()) help_ = std::make_unique<windows::HelpWindow>(p_);
  toolkit::ShowRestored(*help_);
}

}  // namespace vantary::console
