// The sim's world: processes, the virtual clock and event queue, process memory, and the
// test-facing SimWorld API.
#include <algorithm>
#include <array>
#include <chrono>
#include <limits>
#include <span>

#include "platform/sim/sim_internal.h"

namespace vantary::platform::sim {

namespace {

// Virtual time starts here rather than at 0, so no code can mistake "no time" for a time.
constexpr std::uint64_t kStartMs = 1'000'000;
constexpr std::uint64_t kDayMs = 24ull * 60 * 60 * 1000;
constexpr std::uint64_t kNoonMs = 12ull * 60 * 60 * 1000;
// A handler that posts itself again at once would keep one pump busy for ever; past this
// many items the pump returns and leaves the rest to the next one.
constexpr int kMaxItemsPerPump = 1'000'000;
// Each process's fake 32-bit address range: 16 MiB from (index + 1) * 16 MiB, all below
// 0x7FFFFFFF as the low memory of a real process is.
constexpr std::uint32_t kProcessMemorySpan = 0x01000000;
constexpr std::size_t kMaxProcesses = 120;
// Blocks are 16-byte aligned with a gap after each, so reading past a block's end fails.
constexpr std::uint32_t kBlockAlign = 16;

class SimLowMemoryBlock final : public LowMemoryBlock {
 public:
  SimLowMemoryBlock(std::shared_ptr<ProcessMemory> memory, std::uint32_t address)
      : memory_(std::move(memory)), address_(address) {}
  ~SimLowMemoryBlock() override { memory_->blocks.erase(address_); }
  std::uint32_t address() const override { return address_; }
  std::span<std::uint8_t> bytes() override { return memory_->blocks[address_]; }

 private:
  std::shared_ptr<ProcessMemory> memory_;
  std::uint32_t address_;
};

class SimProcessReader final : public ProcessReader {
 public:
  explicit SimProcessReader(std::shared_ptr<ProcessMemory> memory) : memory_(std::move(memory)) {}
  bool read(std::uint32_t address, std::span<std::uint8_t> out) override {
    if (out.size() > std::numeric_limits<std::uint32_t>::max() - std::uint64_t{address} + 1) return false;
    for (std::size_t i = 0; i < out.size(); ++i) {
      const std::uint8_t* byte = memory_->find(address + static_cast<std::uint32_t>(i));
      if (byte == nullptr) return false;
      out[i] = *byte;
    }
    return true;
  }

 private:
  std::shared_ptr<ProcessMemory> memory_;
};

}  // namespace

// ---- helpers ---------------------------------------------------------------------------------

LResult CopyToBuffer(std::string_view source, WParam capacity, LParam buffer) {
  if (capacity == 0 || buffer == 0) return 0;
  const std::size_t n = std::min<std::size_t>(source.size(), capacity - 1);
  char* out = reinterpret_cast<char*>(buffer);
  std::copy_n(source.data(), n, out);
  out[n] = '\0';
  return static_cast<LResult>(n);
}

Text TextAt(LParam pointer) {
  if (pointer == 0) return {};
  return Text(reinterpret_cast<const char*>(pointer));
}

std::uint8_t* ProcessMemory::find(std::uint32_t address) {
  auto it = blocks.upper_bound(address);
  if (it != blocks.begin()) {
    --it;
    if (address - it->first < it->second.size()) return &it->second[address - it->first];
  }
  auto loose_it = loose.find(address);
  return loose_it == loose.end() ? nullptr : &loose_it->second;
}

std::unique_ptr<LowMemoryBlock> AllocateLowMemory(SimWorld::Impl& world, ProcessId process,
                                                  std::size_t size) {
  ProcessImpl* p = world.process(process);
  if (p == nullptr || size == 0) return nullptr;
  ProcessMemory& memory = *p->memory;
  const std::uint64_t start =
      (std::uint64_t{memory.nextAddress} + kBlockAlign - 1) / kBlockAlign * kBlockAlign;
  if (start + size + kBlockAlign > memory.endAddress) return nullptr;
  const auto address = static_cast<std::uint32_t>(start);
  memory.blocks[address].assign(size, 0);
  memory.nextAddress = static_cast<std::uint32_t>(start + size + kBlockAlign);
  return std::make_unique<SimLowMemoryBlock>(p->memory, address);
}

std::unique_ptr<ProcessReader> OpenProcessReader(SimWorld::Impl& world, ProcessId process) {
  ProcessImpl* p = world.process(process);
  if (p == nullptr || world.memoryLocked.count(process) != 0) return nullptr;
  return std::make_unique<SimProcessReader>(p->memory);
}

// ---- processes -------------------------------------------------------------------------------

ProcessImpl::ProcessImpl(SimWorld::Impl& world, ProcessId id, Text name, Text programFolder,
                         std::uint32_t memoryBase)
    : memory(std::make_shared<ProcessMemory>()),
      id_(id),
      name_(std::move(name)),
      loop_(world, id),
      windows_(MakeWindowSystem(world, id)),
      dialogs_(MakeDialogs(world, id)),
      files_(MakeFiles(world, std::move(programFolder))),
      sound_(MakeSound(world)),
      tray_(MakeTray(world)),
      shell_(MakeShell(world, id)),
      screen_(MakeScreen(world)),
      random_(MakeRandom(id)),
      platform_{*windows_, loop_, *dialogs_, *files_, *sound_, *tray_, *shell_, *screen_, *random_} {
  memory->nextAddress = memoryBase;
  memory->endAddress = memoryBase + kProcessMemorySpan;
}

void ProcessImpl::writeMemory(std::uint32_t address, std::span<const std::uint8_t> bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::uint64_t at = std::uint64_t{address} + i;
    if (at > std::numeric_limits<std::uint32_t>::max()) break;
    const auto a = static_cast<std::uint32_t>(at);
    if (std::uint8_t* byte = memory->find(a)) {
      *byte = bytes[i];
    } else {
      memory->loose[a] = bytes[i];
    }
  }
}

ProcessImpl* SimWorld::Impl::process(ProcessId id) {
  for (auto& p : processes) {
    if (p->id() == id) return p.get();
  }
  return nullptr;
}

// ---- the world -------------------------------------------------------------------------------

SimWorld::Impl::Impl(std::filesystem::path rootFolder) : root(std::move(rootFolder)) {
  now = kStartMs;
  wallAnchorNow = kStartMs;
  wallAnchorOfDay = kNoonMs;
  worldLoop = std::make_unique<ProcessLoop>(*this, 0);
  const std::pair<const char*, BaseKind> standard[] = {
      {"Static", BaseKind::kStatic},       {"Edit", BaseKind::kEdit},
      {"ListBox", BaseKind::kListBox},     {"ComboBox", BaseKind::kComboBox},
      {"Button", BaseKind::kButton},       {"msctls_trackbar32", BaseKind::kTrackBar},
      {"ScrollBar", BaseKind::kScrollBar}, {"MDIClient", BaseKind::kMdiClient},
      {"#32770", BaseKind::kDialog},
  };
  for (const auto& [name, base] : standard) {
    auto info = std::make_shared<ClassInfo>();
    info->name = name;
    info->base = base;
    info->background =
        base == BaseKind::kEdit || base == BaseKind::kListBox ? Rgb(255, 255, 255) : Rgb(192, 192, 192);
    standardClasses[text::ToLower(name)] = std::move(info);
  }
}

SimWorld::Impl::~Impl() {
  // Windows hold handlers that may refer to the processes' services: drop them first.
  windows.clear();
  queue.clear();
  timers.clear();
  processes.clear();
}

// ---- event loop ------------------------------------------------------------------------------

bool SimWorld::Impl::hasRunnableItem() const {
  return std::any_of(queue.begin(), queue.end(), [&](const QueueItem& q) { return runnable(q.process); });
}

void SimWorld::Impl::pump() {
  // Messages and work posted while the pump runs (by the handlers it calls, too) run in
  // the same pump, as a PeekMessage loop takes them. Each item leaves the queue before it
  // runs, so a nested pump inside its handler never runs it again.
  int count = 0;
  for (;;) {
    bool ran = false;
    for (;;) {
      auto it =
          std::find_if(queue.begin(), queue.end(), [&](const QueueItem& q) { return runnable(q.process); });
      if (it == queue.end()) break;
      QueueItem item = std::move(*it);
      queue.erase(it);
      ran = true;
      if (item.window) {
        deliver(item.process, item.window, item.message, true);
      } else if (item.work) {
        item.work();
      }
      if (++count >= kMaxItemsPerPump) return;
    }
    // Due timers tick once each, in the order they fell due. A timer that fell due
    // several times while its process could not run ticks once, as WM_TIMER coalesces.
    // A few due timers, as at nearly every step, are gathered without the heap: a week
    // at the real minute takes some sixty million steps.
    using Due = std::pair<std::uint64_t, TimerId>;
    std::array<Due, 8> few;
    std::size_t fewCount = 0;
    std::vector<Due> many;
    for (const auto& [id, t] : timers) {
      if (t.due > now || !runnable(t.process)) continue;
      if (fewCount < few.size()) {
        few[fewCount++] = Due{t.due, id};
      } else {
        if (many.empty()) many.assign(few.begin(), few.end());
        many.emplace_back(t.due, id);
      }
    }
    const std::span<Due> due = many.empty() ? std::span<Due>(few.data(), fewCount) : std::span<Due>(many);
    std::sort(due.begin(), due.end());
    for (const auto& [when, id] : due) {
      auto it = timers.find(id);
      if (it == timers.end() || it->second.due > now || !runnable(it->second.process)) continue;
      TimerData& t = it->second;
      t.due += t.intervalMs;
      if (t.due <= now) t.due = now + t.intervalMs;
      // A copy: the tick may stop its own timer, which frees the stored function.
      std::function<void()> tick = t.tick;
      ran = true;
      if (tick) tick();
    }
    if (!ran || !hasRunnableItem()) break;
  }
}

void SimWorld::Impl::waitForEvents(std::uint32_t maxMs) {
  if (hasRunnableItem()) return;
  // Time moves to the next due timer at most, so a long wait lets each tick happen at
  // its own time.
  std::uint64_t target = now + maxMs;
  for (const auto& [id, t] : timers) {
    if (!runnable(t.process)) continue;
    if (t.due <= now) return;
    target = std::min(target, t.due);
  }
  now = target;
}

int SimWorld::Impl::run() {
  while (!quitFlag) {
    pump();
    if (quitFlag) break;
    const bool anyTimer =
        std::any_of(timers.begin(), timers.end(), [&](const auto& t) { return runnable(t.second.process); });
    // Nothing can ever happen again, so nothing can ask to quit: end rather than spin.
    if (!anyTimer && !hasRunnableItem()) return -1;
    waitForEvents(std::numeric_limits<std::uint32_t>::max());
  }
  return quitCode;
}

TimerId SimWorld::Impl::startTimer(ProcessId process, std::uint32_t intervalMs, std::function<void()> tick) {
  // The real system raises shorter periods to its minimum of about 10 ms.
  const std::uint32_t interval = std::max(intervalMs, kPollStepMs);
  const TimerId id = nextTimerId++;
  timers[id] = TimerData{interval, now + interval, process, std::move(tick)};
  return id;
}

void SimWorld::Impl::stopTimer(TimerId id) { timers.erase(id); }

void SimWorld::Impl::postWork(ProcessId process, std::function<void()> work) {
  QueueItem item;
  item.process = process;
  item.work = std::move(work);
  queue.push_back(std::move(item));
}

// The sim's calendar starts on the first of January 2026 and turns at each midnight.
TimeOfDay SimWorld::Impl::timeOfDay() const {
  const std::uint64_t wall = wallAnchorOfDay + (now - wallAnchorNow);
  const auto seconds = static_cast<int>(wall % kDayMs / 1000);
  const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::year{2026} / 1 / 1} +
                                         std::chrono::days{static_cast<int>(wall / kDayMs)}};
  return TimeOfDay{seconds / 3600,
                   seconds / 60 % 60,
                   seconds % 60,
                   static_cast<int>(date.year()),
                   static_cast<int>(static_cast<unsigned>(date.month())),
                   static_cast<int>(static_cast<unsigned>(date.day()))};
}

// ---- SimWorld --------------------------------------------------------------------------------

SimWorld::SimWorld(std::filesystem::path root) : impl_(std::make_unique<Impl>(std::move(root))) {
  std::error_code ec;
  std::filesystem::create_directories(impl_->root / "c" / "windows", ec);
}

SimWorld::~SimWorld() = default;

SimProcess& SimWorld::addProcess(const Text& name, const Text& programFolder) {
  const std::size_t index = impl_->processes.size();
  if (index >= kMaxProcesses) std::abort();  // far beyond any test's needs
  const auto id = static_cast<ProcessId>(1000 + 4 * index);
  const auto base = static_cast<std::uint32_t>((index + 1) * kProcessMemorySpan);
  impl_->processes.push_back(std::make_unique<ProcessImpl>(*impl_, id, name, programFolder, base));
  std::error_code ec;
  std::filesystem::create_directories(impl_->hostPath("C:\\" + programFolder), ec);
  return *impl_->processes.back();
}

EventLoop& SimWorld::loop() { return *impl_->worldLoop; }

void SimWorld::runFor(std::uint64_t ms) {
  const std::uint64_t target = impl_->now + ms;
  for (;;) {
    impl_->pump();
    if (impl_->now >= target) return;
    impl_->waitForEvents(static_cast<std::uint32_t>(
        std::min<std::uint64_t>(target - impl_->now, std::numeric_limits<std::uint32_t>::max())));
  }
}

void SimWorld::setScreenSize(Size pixels) { impl_->screenSize = pixels; }
void SimWorld::setCursor(Point p) { impl_->cursor = p; }
void SimWorld::setNextDragTarget(Point topLeft) { impl_->dragTarget = topLeft; }

bool SimWorld::dropFiles(Window target) {
  for (WindowData* d = impl_->find(target); d != nullptr;
       d = d->parent != 0 ? impl_->find(d->parent) : nullptr) {
    if (d->style.acceptsFiles) return impl_->post(Window{d->handle}, Message{msg::kDropFiles, 0, 0});
  }
  return false;
}

void SimWorld::setTimeOfDay(TimeOfDay t) {
  impl_->wallAnchorNow = impl_->now;
  const auto seconds = static_cast<std::int64_t>(t.hour) * 3600 + t.minute * 60 + t.second;
  const auto day = static_cast<std::int64_t>(kDayMs / 1000);
  impl_->wallAnchorOfDay = static_cast<std::uint64_t>(((seconds % day) + day) % day) * 1000;
}

void SimWorld::queueDialogAnswer(DialogAnswer answer) { impl_->dialogAnswers.push_back(std::move(answer)); }
const std::vector<DialogRecord>& SimWorld::dialogs() const { return impl_->dialogs; }
int SimWorld::unansweredDialogs() const { return impl_->unanswered; }

const std::vector<SoundRecord>& SimWorld::sounds() const { return impl_->sounds; }
const std::vector<TrayRecord>& SimWorld::trayEvents() const { return impl_->trayEvents; }
const std::vector<ShellRecord>& SimWorld::shellEvents() const { return impl_->shellEvents; }
void SimWorld::setStartProgramResult(bool ok) { impl_->startProgramResult = ok; }
const std::vector<Text>& SimWorld::outputLines(ProcessId process) const { return impl_->output[process]; }
void SimWorld::setTrayRefuses(bool refuses) { impl_->trayRefuses = refuses; }

namespace {
// Sends a message to every top-level window there is when it starts, as the system's
// broadcasts do; a window gone meanwhile is passed over.
template <typename Answer>
void SendToTopLevel(SimWorld::Impl& w, const Message& message, Answer answer) {
  const std::vector<std::uint32_t> windows = w.topLevel;
  for (const std::uint32_t handle : windows) {
    const WindowData* d = w.find(handle);
    if (d == nullptr) continue;
    answer(w.deliver(0, Window{handle}, message, false));
  }
}
}  // namespace

void SimWorld::restartShell() {
  impl_->trayIcons.clear();
  SendToTopLevel(*impl_, Message{kSimTaskbarCreated, 0, 0}, [](const auto&) {});
}

bool SimWorld::endSession() {
  bool ends = true;
  SendToTopLevel(*impl_, Message{msg::kQueryEndSession, 0, 0},
                 [&](const std::optional<LResult>& r) { ends = ends && (!r || *r != 0); });
  SendToTopLevel(*impl_, Message{msg::kEndSession, ends ? 1u : 0u, 0}, [](const auto&) {});
  return ends;
}

void SimWorld::setHung(ProcessId process, bool hung) {
  if (hung) {
    impl_->hung.insert(process);
  } else {
    impl_->hung.erase(process);
  }
}

void SimWorld::setMemoryLocked(ProcessId process, bool locked) {
  if (locked) {
    impl_->memoryLocked.insert(process);
  } else {
    impl_->memoryLocked.erase(process);
  }
}

void SimWorld::recordMessages(Window window) { impl_->recorded.insert(window.value); }
const std::vector<MessageRecord>& SimWorld::messageLog() const { return impl_->messageLog; }
void SimWorld::clearMessageLog() { impl_->messageLog.clear(); }
std::size_t SimWorld::windowCount() const { return impl_->windows.size(); }
const std::filesystem::path& SimWorld::root() const { return impl_->root; }

std::filesystem::path SimWorld::hostPath(std::string_view programPath) const {
  return impl_->hostPath(programPath);
}

SimProcess* SimWorld::process(ProcessId id) { return impl_->process(id); }

std::optional<FontSpec> SimWorld::fontOf(Window window) const {
  const WindowData* w = impl_->find(window);
  return w != nullptr ? w->font : std::nullopt;
}

std::optional<std::pair<Color, Color>> SimWorld::colorsOf(Window window) const {
  const WindowData* w = impl_->find(window);
  return w != nullptr ? w->colors : std::nullopt;
}

std::optional<Region> SimWorld::regionOf(Window window) const {
  const WindowData* w = impl_->find(window);
  return w != nullptr ? w->region : std::nullopt;
}

std::optional<Picture> SimWorld::pictureOf(Window window) const {
  const WindowData* w = impl_->find(window);
  return w != nullptr ? w->picture : std::nullopt;
}

bool SimWorld::shownInTaskbar(Window window) const {
  const WindowData* w = impl_->find(window);
  return w != nullptr && w->parent == 0 && w->inTaskbar;
}

Window SimWorld::foregroundWindow() const { return Window{impl_->foreground}; }

const std::vector<PopupMenuRecord>& SimWorld::popupMenus() const { return impl_->popups; }

std::optional<PopupMenuRecord> SimWorld::lastPopupMenu() const {
  if (impl_->popups.empty()) return std::nullopt;
  return impl_->popups.back();
}

void SimWorld::queuePopupChoice(std::uint32_t commandId) { impl_->popupChoices.push_back(commandId); }

}  // namespace vantary::platform::sim
