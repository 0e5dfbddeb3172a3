// The auto upchat watcher: hides the upload modal as soon as it appears, tells the room
// once per upload, and keeps the host's idle palette and idle modals clicked away.
#pragma once

#include <functional>

#include "host/host.h"
#include "platform/event_loop.h"

namespace vantary::host {

// The line the watcher sends when it has put an upload modal away.
Text AutoUpchatLine(const ChatStyle& style);

// Two timers: `Timer1` watches for the upload modal, `Timer2` waits for it to go. Three
// states: off (both stopped), watching (Timer1) and waiting for the upload to end (Timer2).
// The console's window `auto` owns it. Every window it looks for comes by being created
// (the upload modal, the idle modals, the palette) or shown (the Welcome window): where
// the system tells of those, Timer1 looks at the system's fastest rate only for
// kBusyLookMs after a window came, and else every kQuietLookMs, so a watcher with nothing
// happening costs four wakes a second instead of a thousand. Where the system cannot tell,
// it looks at the fastest rate all the time.
class AutoUpchat {
 public:
  enum class State { kOff, kWatching, kWaiting };

  // Both timers' fastest interval; the system raises it to its shortest period.
  static constexpr std::uint32_t kIntervalMs = 1;
  // How long Timer1 looks at the fastest rate after a window of another process came or
  // showed (the host builds a window in steps, each its own creation), and its rate when
  // none came for that long: the safety look for a window shown where the system tells of
  // no showing, as Wine does for the Welcome window.
  static constexpr std::uint32_t kBusyLookMs = 1000;
  static constexpr std::uint32_t kQuietLookMs = 250;
  // The Welcome window is looked after at most every this many milliseconds: it only
  // keeps the host's front tidy, while the upload modal and the idle windows are looked
  // for at every tick.
  static constexpr std::uint64_t kWelcomeLookMs = 100;

  // `idleSessionRuns` tells whether an idle session runs (the console's `idleon` caption
  // is "idle of&f"); `disableMainTimer` stops the console's main timer.
  AutoUpchat(Host& host, std::function<bool()> idleSessionRuns, std::function<void()> disableMainTimer);
  ~AutoUpchat();
  AutoUpchat(const AutoUpchat&) = delete;
  AutoUpchat& operator=(const AutoUpchat&) = delete;

  // The menu item `autoup`: checked starts watching, unchecked stops it. While an upload
  // is being waited for, the choice takes effect when the upload ends: the watcher then
  // watches again only if the item is checked.
  void setEnabled(bool enabled);
  bool enabled() const { return wanted_; }
  State state() const;

  // One look of the watching timer (Timer1): what its tick does, for the benchmarks.
  void watchTick();

 private:
  void waitTick();  // Timer2
  void keepWelcomeHidden();
  // A window of another process came or showed: Timer1 looks at the fastest rate a while.
  void wake();

  Host& host_;
  std::function<bool()> idleSessionRuns_;
  std::function<void()> disableMainTimer_;
  bool wanted_ = false;
  platform::Timer timer1_;
  platform::Timer timer2_;
  // The Welcome window hidden last (0: none was found) and the host window that was on top
  // of the host's windows then, in the host's MDI client. While the same window is on top,
  // no window has come up since; the host's windows are walked again only when another is
  // on top or the Welcome window hidden is shown again.
  Window mdi_;
  Window top_;
  Window welcome_;
  bool welcomeLooked_ = false;  // the first tick looks
  std::uint64_t welcomeLookedMs_ = 0;
  // Whether the system tells of windows coming, and until when Timer1 looks fast.
  bool told_ = false;
  std::uint64_t busyUntilMs_ = 0;
  // Whether the last lookup found neither a host modal nor the palette, and the count of
  // windows created elsewhere read before it: until that count grows, neither can be there.
  bool noneThere_ = false;
  std::uint64_t createdBeforeLookup_ = 0;
};

}  // namespace vantary::host
