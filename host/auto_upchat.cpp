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
      timer2_(host.platform().loop, kIntervalMs, [this] { waitTick(); }) {
  told_ = host_.platform().windows.onWindowsChangedElsewhere([this] { wake(); });
  if (told_) timer1_.setInterval(kQuietLookMs);
}

AutoUpchat::~AutoUpchat() { host_.platform().windows.onWindowsChangedElsewhere({}); }

void AutoUpchat::wake() {
  busyUntilMs_ = host_.platform().loop.nowMs() + kBusyLookMs;
  if (timer1_.enabled() && timer1_.interval() != kIntervalMs) timer1_.setInterval(kIntervalMs);
}

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

// The tick runs every 10 ms or so: what cannot have changed is not looked at again. Every
// idle window and the upload modal is a host modal or the host's palette, so without
// either there is nothing to hide or click; and neither comes but by being created, so
// after a lookup that found neither, they are looked for again only once a window was
// created elsewhere. The Welcome window is looked for again only when it may have come
// back (see keepWelcomeHidden).
void AutoUpchat::watchTick() {
  if (told_ && timer1_.enabled() && timer1_.interval() == kIntervalMs &&
      host_.platform().loop.nowMs() >= busyUntilMs_) {
    timer1_.setInterval(kQuietLookMs);
  }
  if (idleSessionRuns_ && !idleSessionRuns_() && disableMainTimer_) disableMainTimer_();
  auto& ws = host_.platform().windows;
  keepWelcomeHidden();
  const std::uint64_t created = ws.windowsCreatedElsewhere();
  if (noneThere_ && created == createdBeforeLookup_) return;
  createdBeforeLookup_ = created;
  noneThere_ = !ws.findWindow(kModalClass, std::nullopt) && !ws.findWindow(kPaletteClass, std::nullopt);
  if (noneThere_) return;
  host_.HideUploadModal();
  host_.ClickPaletteAndModalIcons();
  host_.KillIdleModal();
  host_.KillIdleTimer();
  if (!host_.FindActiveUploadModal()) return;
  host_.DetachUploadModal();
  const Window modal = ws.findWindow(kModalClass, std::nullopt);
  host_.SendChatLine(AutoUpchatLine(host_.style()));
  host_.HideUploadModal();
  if (!modal) return;
  ws.show(modal, msg::kSwHide);
  ws.show(modal, msg::kSwMinimize);
  timer2_.setEnabled(true);
  timer1_.setEnabled(false);
}

// At most every kWelcomeLookMs. A host window that comes up goes on top of the others,
// so while the window on top is the one seen at the last walk, the Welcome window can only
// have come back by being shown again, which one look at the window hidden tells.
void AutoUpchat::keepWelcomeHidden() {
  const std::uint64_t now = host_.platform().loop.nowMs();
  if (welcomeLooked_ && now - welcomeLookedMs_ < kWelcomeLookMs) return;
  welcomeLooked_ = true;
  welcomeLookedMs_ = now;
  auto& ws = host_.platform().windows;
  const Window top = mdi_ ? ws.findChild(mdi_, Window{}, kChildClass) : Window{};
  if (top && top == top_ && (!welcome_ || !ws.isVisible(welcome_))) return;
  mdi_ = host_.FindMdiClient();
  top_ = ws.findChild(mdi_, Window{}, kChildClass);
  welcome_ = host_.HideWelcome();
}

void AutoUpchat::waitTick() {
  if (host_.FindActiveUploadModal()) return;
  timer2_.setEnabled(false);
  timer1_.setEnabled(wanted_);
}

}  // namespace vantary::host
