// The waits and the timer control that every backend's event loop shares.
#include "platform/event_loop.h"

#include <algorithm>
#include <cmath>

namespace vantary::platform {

void EventLoop::pause(double seconds) {
  // A monotonic clock does not restart at midnight, so a wait across it ends on time.
  const double ms = std::isfinite(seconds) && seconds > 0 ? std::ceil(seconds * 1000.0) : 0.0;
  const std::uint64_t start = nowMs();
  const std::uint64_t target = start + static_cast<std::uint64_t>(std::min(ms, 1e12));
  for (;;) {
    pump();
    if (quitRequested()) return;
    const std::uint64_t now = nowMs();
    if (now >= target) return;
    waitForEvents(static_cast<std::uint32_t>(std::min<std::uint64_t>(target - now, 0xFFFFFFFFu)));
  }
}

bool EventLoop::waitUntil(const std::function<bool()>& done, std::uint32_t limitMs) {
  const std::uint64_t deadline = nowMs() + limitMs;
  for (;;) {
    pump();
    if (done()) return true;
    const std::uint64_t now = nowMs();
    if (now >= deadline || quitRequested()) return false;
    waitForEvents(static_cast<std::uint32_t>(std::min<std::uint64_t>(deadline - now, kPollStepMs)));
  }
}

bool EventLoop::waitUntil(const std::function<bool()>& done, std::uint32_t limitMs, const Deadline& overall) {
  return waitUntil(done, overall.left(limitMs));
}

Window EventLoop::waitForWindow(const std::function<Window()>& find, std::uint32_t limitMs) {
  Window found;
  waitUntil([&] { return static_cast<bool>(found = find()); }, limitMs);
  return found;
}

bool EventLoop::repeatUntil(const std::function<void()>& step, const std::function<bool()>& done,
                            std::uint32_t limitMs) {
  return waitUntil(
      [&] {
        step();
        return done();
      },
      limitMs);
}

std::uint32_t Deadline::left(std::uint32_t limitMs) const {
  const std::uint64_t now = loop_.nowMs();
  return now >= endMs_ ? 0 : static_cast<std::uint32_t>(std::min<std::uint64_t>(endMs_ - now, limitMs));
}

Timer::Timer(EventLoop& loop, std::uint32_t intervalMs, std::function<void()> tick)
    : loop_(loop), intervalMs_(intervalMs), state_(std::make_shared<State>()) {
  state_->tick = std::move(tick);
}

Timer::~Timer() { stop(); }

void Timer::setEnabled(bool enabled) {
  if (enabled) {
    // Like a form's timer: enabling an enabled timer changes nothing.
    if (!this->enabled()) start();
  } else {
    stop();
  }
}

void Timer::setInterval(std::uint32_t intervalMs) {
  intervalMs_ = intervalMs;
  if (enabled()) start();
}

void Timer::start() {
  stop();
  period_ = Period{period_.number + 1, loop_.nowMs()};
  // An interval of 0 keeps a form's timer from ticking at all.
  if (intervalMs_ == 0) return;
  id_ = loop_.startTimer(intervalMs_, [state = state_] {
    if (state->running) return;
    state->running = true;
    // Hold our own copy: the handler may destroy the Timer that owns `state->tick`. The
    // tick is over however it ends: a tick that throws must not stop the timer for good.
    auto keep = state;
    struct Done {
      std::shared_ptr<State>& s;
      ~Done() { s->running = false; }
    } done{keep};
    auto tick = keep->tick;
    if (tick) tick();
  });
}

void Timer::stop() {
  if (id_ != 0) {
    loop_.stopTimer(id_);
    id_ = 0;
  }
}

}  // namespace vantary::platform
