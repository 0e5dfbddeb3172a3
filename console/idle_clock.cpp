// The idle clock's arithmetic and the length of the main timer's minute.
#include "console/idle_clock.h"

#include <algorithm>
#include <cstdlib>

#include "text/text_ops.h"

namespace vantary::console {

std::uint32_t ParseMinuteMs(const char* value) {
  if (value == nullptr) return kMinuteMs;
  const std::string_view s(value);
  // Ten digits already exceed the limit; the length test keeps the sum below in range.
  if (s.empty() || s.size() > 10 || text::DigitsOnly(s) != s) return kMinuteMs;
  std::uint64_t ms = 0;
  for (char c : s) ms = ms * 10 + static_cast<std::uint64_t>(c - '0');
  if (ms < 1 || ms > kMinuteMsLimit) return kMinuteMs;
  return static_cast<std::uint32_t>(ms);
}

std::uint32_t MinuteMsFromEnvironment() { return ParseMinuteMs(std::getenv(kMinuteVariable)); }

long long CounterValue(std::string_view caption) {
  return std::clamp(text::NumericInt(caption), 0LL, kCounterLimit);
}

long long TotalMinutes(std::string_view days, std::string_view hours, std::string_view minutes) {
  return (CounterValue(days) * 24 + CounterValue(hours)) * 60 + CounterValue(minutes);
}

Text Advanced(std::string_view caption, long long by) {
  return std::to_string(CounterValue(caption) + std::clamp(by, 0LL, kCounterLimit - CounterValue(caption)));
}

Carry CarryOver(std::string_view small, std::string_view large, long long base) {
  const long long value = CounterValue(small);
  if (value < base) return Carry{Text(small), Text(large), false};
  const long long units = std::min(CounterValue(large) + value / base, kCounterLimit);
  return Carry{std::to_string(value % base), std::to_string(units), true};
}

Text StoredCounter(std::string_view value) {
  if (value.empty()) return Text{};
  if (value.size() > 9 || text::DigitsOnly(value) != value) return "0";
  return Text(value);
}

long long IntervalOf(std::string_view digits) {
  if (digits.empty() || text::DigitsOnly(digits) != digits) return 0;
  const long long n = text::NumericInt(digits);
  return n >= kIntervalMin && n <= kIntervalMax ? n : 0;
}

}  // namespace vantary::console
