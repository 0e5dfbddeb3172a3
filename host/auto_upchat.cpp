// The auto upchat watcher's two timers and what each tick does.
#include "host/auto_upchat.h"

#include <utility>

#include "host/host_windows.h"
#include "platform/messages.h"

namespace vantary::host {

namespace msg = platform::msg;
using text::operator""_ansi;

Text AutoUpchatLine(const ChatStyle& style) {
  return StatusPrefix(style, "‹¡!·"_ansi) + Text("> vantarý³ · u.win found/auto upchat ·"_ansi);
}

AutoUpchat::AutoUpchat(Host& host, std::function<bool()> idleSessionRuns,
                       std::function<void()> disableMainTimer)
    : host_(host),
      idleSessionRuns_(std::move(idleSessionRuns)),
      disableMainTimer_(std::move(disableMainTimer)),
      timer1_(host.platform().loop, kIntervalMs, [this] { watchTick(); }),
      timer2_(host.platform().loop, kIntervalMs, [this] { waitTick(); }) {}

void AutoUpchat::setEnabled(bool enabled) {
  wanted_ = enabled;
  // While the upload is waited for, watching again would announce the same upload twice;
  // the wait decides when it ends.
  if (timer2_.enabled()) return;
  timer1_.setEnabled(enabled);
}

AutoUpchat::State AutoUpchat::state() const {
  if (timer2_.enabled()) return State::kWaiting;
  if (timer1_.enabled()) return State::kWatching;
  return State::kOff;
}

void AutoUpchat::watchTick() {
  if (idleSessionRuns_ && !idleSessionRuns_() && disableMainTimer_) disableMainTimer_();
  host_.HideUploadModal();
  host_.HideWelcome();
  host_.ClickPaletteAndModalIcons();
  host_.KillIdleModal();
  host_.KillIdleTimer();
  if (!host_.FindActiveUploadModal()) return;
  host_.DetachUploadModal();
  const Window modal = host_.platform().windows.findWindow(kModalClass, std::nullopt);
  host_.SendChatLine(AutoUpchatLine(host_.style()));
  host_.HideUploadModal();
  if (!modal) return;
  auto& ws = host_.platform().windows;
  ws.show(modal, msg::kSwHide);
  ws.show(modal, msg::kSwMinimize);
  timer2_.setEnabled(true);
  timer1_.setEnabled(false);
}

void AutoUpchat::waitTick() {
  if (host_.FindActiveUploadModal()) return;
  timer2_.setEnabled(false);
  timer1_.setEnabled(wanted_);
}

}  // namespace vantary::host
