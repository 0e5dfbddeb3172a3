// The event loop on the thread's message queue: the monotonic tick count, timers and
// posted work on a hidden message-only window, and the PeekMessage pump.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_services.h"

namespace vantary::platform::win32 {
namespace {

constexpr char kLoopClass[] = "vantary.EventLoop";
// The private message that carries one item of posted work to the loop's window.
constexpr UINT kWorkMessage = WM_APP + 0x2A1;
// A timer due this soon after another one's tick runs with it: one wake of the program
// for both instead of two. Under Wine every wake costs the program and the wineserver
// about as much as a quick look at the host, and the fast timers (the upload watcher at
// the system's fastest rate, the chat scanner) would otherwise each wake it on their own.
// A quarter of the timer's interval at most, so that no timer runs noticeably early, and
// no more than the system's own timer granularity.
constexpr std::uint64_t kCoalesceMs = 16;
std::uint64_t CoalesceSlack(std::uint32_t intervalMs) {
  return std::min<std::uint64_t>(kCoalesceMs, intervalMs / 4);
}

// A pump stops after this many messages, so a handler that posts without end cannot keep
// the pump from returning; what is left runs at the next pump.
constexpr int kPumpMessageLimit = 100000;

LRESULT CALLBACK LoopWindowProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam);

ATOM RegisterLoopClass() {
  static const ATOM atom = [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = LoopWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kLoopClass;
    return RegisterClassExA(&wc);
  }();
  return atom;
}

class Win32EventLoop final : public EventLoop {
 public:
  Win32EventLoop() {
    RegisterLoopClass();
    window_ = OwnWindow(CreateWindowExA(0, kLoopClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        GetModuleHandleA(nullptr), nullptr));
    if (window_) SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }

  ~Win32EventLoop() override {
    if (!window_) return;
    for (const auto& [id, timer] : timers_) KillTimer(window_.get(), static_cast<UINT_PTR>(id));
    // The window goes with its owner; from here on it no longer reaches this loop.
    SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
  }

  // Milliseconds since the system started, on 64 bits. GetTickCount64 is missing before
  // Vista and GetTickCount wraps after 49.7 days: each wrap is counted here, which holds
  // as long as the clock is read at least once in 49 days (every timer tick reads it).
  std::uint64_t nowMs() override {
    const DWORD tick = GetTickCount();
    if (tick < lastTick_) wrapped_ += std::uint64_t{1} << 32;
    lastTick_ = tick;
    return wrapped_ + tick;
  }

  TimeOfDay timeOfDay() override {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return TimeOfDay{t.wHour, t.wMinute, t.wSecond, t.wYear, t.wMonth, t.wDay};
  }

  TimerId startTimer(std::uint32_t intervalMs, std::function<void()> tick) override {
    const TimerId id = nextTimer_++;
    if (!window_ || !SetTimer(window_.get(), static_cast<UINT_PTR>(id), intervalMs, nullptr)) return id;
    timers_[id] =
        Entry{std::make_shared<std::function<void()>>(std::move(tick)), intervalMs, nowMs() + intervalMs};
    return id;
  }

  void stopTimer(TimerId id) override {
    if (timers_.erase(id) != 0 && window_) KillTimer(window_.get(), static_cast<UINT_PTR>(id));
  }

  void postWork(std::function<void()> work) override {
    work_.push_back(std::move(work));
    // A full queue refuses the message; the item then runs at the end of the next pump.
    if (!window_ || !PostMessageA(window_.get(), kWorkMessage, 0, 0)) ++unsignalled_;
  }

  void pump() override {
    MSG m;
    for (int n = 0; n < kPumpMessageLimit && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE); ++n) {
      if (m.message == WM_QUIT) {
        noteQuit(static_cast<int>(m.wParam));
        return;
      }
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    while (unsignalled_ > 0 && !work_.empty()) {
      --unsignalled_;
      runOneWork();
    }
  }

  void waitForEvents(std::uint32_t maxMs) override {
    MsgWaitForMultipleObjectsEx(0, nullptr, maxMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }

  int run() override {
    while (!quit_) {
      MSG m;
      const BOOL got = GetMessageA(&m, nullptr, 0, 0);
      if (got == 0) {
        noteQuit(static_cast<int>(m.wParam));
        break;
      }
      if (got == -1) break;
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    return exitCode_;
  }

  void quit(int code) override {
    // The flag ends the waits at once; the queued WM_QUIT ends a nested system loop.
    noteQuit(code);
    PostQuitMessage(code);
  }

  bool quitRequested() override { return quit_; }

  LRESULT handle(UINT id, WPARAM wParam) {
    if (id == WM_TIMER) {
      const auto fired = static_cast<TimerId>(wParam);
      if (timers_.find(fired) == timers_.end()) return 0;  // stopped while its tick was queued
      // The timers due within their slack run in this wake too, their periods started
      // afresh; each is looked up again before it runs, as a tick may stop or start any.
      const std::uint64_t now = nowMs();
      std::vector<TimerId> due{fired};
      for (const auto& [other, entry] : timers_) {
        if (other != fired && entry.dueMs <= now + CoalesceSlack(entry.intervalMs)) due.push_back(other);
      }
      for (const TimerId timer : due) runTick(timer, timer != fired);
      return 0;
    }
    if (id == kWorkMessage) {
      runOneWork();
      return 0;
    }
    return 0;
  }

 private:
  void noteQuit(int code) {
    if (!quit_) exitCode_ = code;
    quit_ = true;
  }

  // Runs one timer's tick; `early` when it rides on another timer's wake: its own system
  // timer starts afresh, and its next tick is due one interval after the one it took the
  // place of, so a timer that keeps riding on others keeps its own rate.
  void runTick(TimerId id, bool early) {
    auto found = timers_.find(id);
    if (found == timers_.end()) return;
    Entry& entry = found->second;
    const std::uint64_t now = nowMs();
    if (early && window_) SetTimer(window_.get(), static_cast<UINT_PTR>(id), entry.intervalMs, nullptr);
    const std::uint64_t next = entry.dueMs + entry.intervalMs;
    entry.dueMs = early && next > now ? next : now + entry.intervalMs;
    // Our own reference: the tick may stop its timer and so drop the map's one.
    std::shared_ptr<std::function<void()>> tick = entry.tick;
    try {
      if (*tick) (*tick)();
    } catch (...) {
      // A tick must not unwind through the system's dispatch.
    }
  }

  void runOneWork() {
    if (work_.empty()) return;
    std::function<void()> work = std::move(work_.front());
    work_.pop_front();
    try {
      if (work) work();
    } catch (...) {
      // Posted work must not unwind through the system's dispatch.
    }
  }

  struct Entry {
    std::shared_ptr<std::function<void()>> tick;
    std::uint32_t intervalMs = 0;
    std::uint64_t dueMs = 0;  // when its next tick is due on nowMs()
  };
  std::map<TimerId, Entry> timers_;
  TimerId nextTimer_ = 1;
  std::deque<std::function<void()>> work_;
  int unsignalled_ = 0;
  bool quit_ = false;
  int exitCode_ = 0;
  DWORD lastTick_ = 0;
  std::uint64_t wrapped_ = 0;
  // Last, so that it goes first: the window before the ticks and work it carried.
  OwnWindow window_;
};

LRESULT CALLBACK LoopWindowProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
  auto* loop = reinterpret_cast<Win32EventLoop*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (loop && (id == WM_TIMER || id == kWorkMessage)) return loop->handle(id, wParam);
  return DefWindowProcA(window, id, wParam, lParam);
}

}  // namespace

std::unique_ptr<EventLoop> MakeEventLoop() { return std::make_unique<Win32EventLoop>(); }

}  // namespace vantary::platform::win32
