// The event loop: clocks, timers, posted work, and the pump every wait of the program
// goes through.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/types.h"

namespace vantary::platform {

using TimerId = std::uint64_t;

// The local wall clock: the time of day, and the date it falls on.
struct TimeOfDay {
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
};

// The shortest step a poll without pending timers moves on by. The real system's timers
// are no finer than about 10 ms either.
inline constexpr std::uint32_t kPollStepMs = 10;

class Deadline;

class EventLoop {
 public:
  virtual ~EventLoop() = default;

  // Milliseconds on a monotonic clock: never jumps, not even at midnight.
  virtual std::uint64_t nowMs() = 0;
  // The local wall-clock time, for texts that show the time of day.
  virtual TimeOfDay timeOfDay() = 0;

  // A periodic timer. The first tick comes one interval after the start. Ids are never 0
  // and never reused.
  virtual TimerId startTimer(std::uint32_t intervalMs, std::function<void()> tick) = 0;
  // Stopping is allowed from inside the timer's own tick (and any other handler): the
  // loop keeps the running tick's function alive until it returns.
  virtual void stopTimer(TimerId id) = 0;
  // Work to run at the next pump, after the work posted before it.
  virtual void postWork(std::function<void()> work) = 0;

  // Runs everything pending now (posted messages and work, due timers) and returns
  // without waiting.
  virtual void pump() = 0;
  // Waits at most `maxMs` for something to happen. On the sim this is where virtual time
  // moves: up to the next due timer, or by `maxMs` when nothing is due sooner.
  virtual void waitForEvents(std::uint32_t maxMs) = 0;

  // The main loop: runs until quit() and returns its code.
  virtual int run() = 0;
  virtual void quit(int code) = 0;
  virtual bool quitRequested() = 0;

  // Pause: returns after `seconds` (fractions allowed), letting pending events run
  // meanwhile. Ends early only when the program is quitting.
  void pause(double seconds);
  // Lets pending events run until `done` holds or `limitMs` have passed. True when `done`
  // held. Every wait of the program for something outside it goes through here, so every
  // such wait has a named bound.
  bool waitUntil(const std::function<bool()>& done, std::uint32_t limitMs);
  // The same within a longer bound that several waits share: it ends when `overall` passes
  // even if `limitMs` has not.
  bool waitUntil(const std::function<bool()>& done, std::uint32_t limitMs, const Deadline& overall);
  // Lets pending events run until `find` gives a window or `limitMs` have passed. The
  // window found, by the look that found it; 0 when the limit passed first.
  Window waitForWindow(const std::function<Window()>& find, std::uint32_t limitMs);
  // A step with effects outside, repeated: lets pending events run, runs `step`, then asks
  // `done`, until `done` holds or `limitMs` have passed; true when it held. The first step
  // comes at once (after the events pending now), each later one after events ran again.
  // `done` only looks; whatever the step changes, it changes in `step`.
  bool repeatUntil(const std::function<void()>& step, const std::function<bool()>& done,
                   std::uint32_t limitMs);
};

// The end of an overall bound over a series of waits, each of which has its own limit as
// well (closing one window after another, each given a while to go).
class Deadline {
 public:
  Deadline(EventLoop& loop, std::uint32_t limitMs) : loop_(loop), endMs_(loop.nowMs() + limitMs) {}

  bool passed() const { return loop_.nowMs() >= endMs_; }
  // What is left of the bound, or `limitMs` when that is less.
  std::uint32_t left(std::uint32_t limitMs) const;

 private:
  EventLoop& loop_;
  std::uint64_t endMs_;
};

// A timer in the manner of a form's timer control: an interval, an enabled state, and a
// tick handler. Enabling a disabled timer (or changing the interval of an enabled one)
// starts its period afresh. A tick never starts while the previous tick of the same timer is still running
// (a handler that pumps events would otherwise run inside itself); such a tick is dropped.
class Timer {
 public:
  Timer(EventLoop& loop, std::uint32_t intervalMs, std::function<void()> tick);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void setEnabled(bool enabled);
  bool enabled() const { return id_ != 0; }
  void setInterval(std::uint32_t intervalMs);
  std::uint32_t interval() const { return intervalMs_; }
  // True while the tick handler runs.
  bool ticking() const { return state_->running; }

  // The current period: when it began on the loop's clock (the last enabling, or a new
  // interval) and its number, which is new at every beginning, even two at the same
  // moment. A handler whose ticks may be dropped counts the intervals since the beginning
  // itself.
  struct Period {
    std::uint64_t number = 0;
    std::uint64_t startMs = 0;
  };
  Period period() const { return period_; }

 private:
  void start();
  void stop();

  struct State {
    bool running = false;
    std::function<void()> tick;
  };

  EventLoop& loop_;
  std::uint32_t intervalMs_;
  std::shared_ptr<State> state_;
  TimerId id_ = 0;
  Period period_;
};

}  // namespace vantary::platform
