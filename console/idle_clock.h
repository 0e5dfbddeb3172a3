// The idle clock's arithmetic, the length of the main timer's minute, and the console
// face's view of the clock.
#pragma once

#include <cstdint>
#include <string_view>

#include "text/ansi.h"
#include "toolkit/form.h"

namespace vantary::console {

using text::Text;

// The main timer's minute, and how an outside setting may shorten it for demonstrations
// and end-to-end runs. It changes nothing but the main timer.
inline constexpr std::uint32_t kMinuteMs = 60000;
inline constexpr const char* kMinuteVariable = "VANTARY_MINUTE_MS";

// A whole number of milliseconds from 1 to kMinuteMsLimit, written in digits only;
// anything else (unset, empty, blanks, signs, fractions, 0, too large) gives kMinuteMs.
// A day is the longest minute the setting takes: nothing longer makes sense, and it keeps
// the value well within the timer's range.
inline constexpr std::uint32_t kMinuteMsLimit = 24u * 60u * 60u * 1000u;
std::uint32_t ParseMinuteMs(const char* value);
// ParseMinuteMs of the environment variable.
std::uint32_t MinuteMsFromEnvironment();

// The largest value a clock counter holds. Counters come from the data file, which a user
// may have edited: a huge number is held here rather than overflowing when one is added,
// and a negative or non-numeric one counts as 0.
inline constexpr long long kCounterLimit = 999'999'999'999LL;
long long CounterValue(std::string_view caption);
// A time held as day, hour and minute counters, in minutes. Counters are held below
// kCounterLimit, so the sum of two such times fits.
long long TotalMinutes(std::string_view days, std::string_view hours, std::string_view minutes);
// The caption of a counter that has advanced by `by` minutes, hours or days.
Text Advanced(std::string_view caption, long long by = 1);

// How early a tick of the main timer may come and still count its minute: the real
// system's timers run on a coarser clock than the loop's, so a tick a few milliseconds
// short of the minute is that minute's tick, not one that finds no minute to count. Never
// more than half the minute, which a short demonstration minute may be.
inline constexpr std::uint32_t kTickEarlyMs = 100;

// A counter and the next larger unit: when `small` holds `base` or more, the whole units
// in it move into `large` and `small` keeps the rest, so a stored 75 minutes becomes
// 1 hour 15 minutes rather than getting stuck above the roll-over. True when it rolled.
struct Carry {
  Text small;
  Text large;
  bool rolled = false;
};
Carry CarryOver(std::string_view small, std::string_view large, long long base);

// A stored overall counter as the console shows it: a value the program could have
// written (digits only, nine at most) is kept as it stands, "" stays "", and anything
// else, which only a damaged or hand-edited file holds, becomes "0".
Text StoredCounter(std::string_view value);

// The scroll interval's range, in minutes.
inline constexpr long long kIntervalMin = 1;
inline constexpr long long kIntervalMax = 12;
// The interval as a stored or typed text gives it: the number from 1 to 12, or 0 when the
// text is no such number. Only digits count: "4.5", "-3" or "12abc" are no interval.
long long IntervalOf(std::string_view digits);

// The visible console face's copy of the current idle clock: labels d, h, m and the
// leading-zero labels d2, h2, m2. The main timer writes it on each tick and idle off
// resets it.
class ClockFace {
 public:
  virtual ~ClockFace() = default;
  virtual Text label(std::string_view name) = 0;
  virtual void setLabel(std::string_view name, std::string_view caption) = 0;
  // Shows or hides the face (it hides while the program sits in the tray).
  virtual void setShown(bool shown) = 0;
};

// A face that is a Form with those six labels.
class FormClockFace : public ClockFace {
 public:
  explicit FormClockFace(toolkit::Form& form) : form_(form) {}
  Text label(std::string_view name) override { return form_.text(name); }
  void setLabel(std::string_view name, std::string_view caption) override { form_.setText(name, caption); }
  void setShown(bool shown) override { shown ? form_.show() : form_.hide(); }

 private:
  toolkit::Form& form_;
};

}  // namespace vantary::console
