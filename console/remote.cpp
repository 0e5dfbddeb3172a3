// The first start's door and a later start's hand-over.
#include "console/remote.h"

#include <charconv>
#include <string>

#include "platform/messages.h"

namespace vantary::console {
namespace {

namespace msg = platform::msg;
using platform::Window;

// A hidden window of the program's own, found by its caption.
std::unique_ptr<toolkit::Form> HiddenWindow(Platform& p, std::string_view name, std::string_view caption) {
  toolkit::FormDesc desc;
  desc.name = Text(name);
  desc.caption = Text(caption);
  desc.rect = {0, 0, 10, 10};
  return std::make_unique<toolkit::Form>(p, desc);
}

// The bytes WM_COPYDATA brought with the tag, read while the message is handled.
std::optional<std::string_view> Carried(const platform::Message& m, std::uintptr_t tag) {
  const auto* data = reinterpret_cast<const msg::CopyData*>(m.lParam);
  if (data == nullptr || data->tag != tag || (data->size > 0 && data->data == nullptr)) return std::nullopt;
  return std::string_view(static_cast<const char*>(data->data), data->size);
}

bool SendCarried(Platform& p, Window to, Window from, std::uintptr_t tag, std::string_view bytes) {
  const msg::CopyData data{tag, static_cast<std::uint32_t>(bytes.size()), bytes.data()};
  const std::optional<platform::LResult> taken = p.windows.send(
      to, platform::Message{msg::kCopyData, from.value, reinterpret_cast<platform::LParam>(&data)});
  return taken.value_or(0) != 0;
}

// A number at the head of `text`, up to the line break; what follows it is left in `text`.
std::optional<long long> TakeNumber(std::string_view& text) {
  const std::size_t end = text.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  long long value = 0;
  const auto [at, error] = std::from_chars(text.data(), text.data() + end, value);
  if (error != std::errc{} || at != text.data() + end) return std::nullopt;
  text.remove_prefix(end + 1);
  return value;
}

}  // namespace

Launch::Launch(Platform& platform, std::vector<Text> arguments, ConsoleOptions options,
               std::function<void(int)> done)
    : p_(platform), options_(options), done_(std::move(done)) {
  CommandLine line = ParseCommandLine(arguments);
  if (line.error) {
    finish(kExitUsage, *line.error);
    return;
  }
  switches_ = std::move(line.switches);
  claim_ = p_.shell.claimInstance(kInstanceName);
  if (claim_ == nullptr) {
    handOver();
    return;
  }
  // No vantary runs: only /idleon starts one (with the other switches run after it).
  if (!switches_.empty() && !HasSwitch(switches_, Switch::kIdleOn)) {
    claim_.reset();
    finish(kExitNotRunning, StatusReport(IdleState{.running = false}));
    return;
  }
  runHere(std::move(switches_));
}

Launch::~Launch() { *alive_ = false; }

void Launch::runHere(std::vector<SwitchCall> switches) {
  // The door opens before the intro, so a start that comes meanwhile finds it and waits
  // for the program to be ready rather than starting a second one.
  window_ = HiddenWindow(p_, "door", kDoorCaption);
  window_->onMessage(msg::kCopyData, [this](const platform::Message& m) -> std::optional<platform::LResult> {
    const std::optional<std::string_view> carried = Carried(m, kSwitchesTag);
    if (!carried) return platform::LResult{0};
    std::string_view rest = *carried;
    const std::optional<long long> answerTo = TakeNumber(rest);
    std::optional<std::vector<SwitchCall>> decoded = DecodeSwitches(rest);
    if (!answerTo || !decoded) return platform::LResult{0};
    // The switches run from a turn of their own, never inside another process's send.
    const std::weak_ptr<bool> alive = alive_;
    p_.loop.postWork([this, alive, answer = Window{static_cast<std::uint32_t>(*answerTo)},
                      calls = std::move(*decoded)]() mutable {
      if (const auto token = alive.lock(); token && *token) request(std::move(calls), answer);
    });
    return platform::LResult{1};
  });
  program_ = std::make_unique<Program>(p_, options_);
  program_->Start();
  if (switches.empty()) return;
  // The program's own switches write their line here, as a later start's would.
  const bool status = HasSwitch(switches, Switch::kStatus);
  program_->Request(std::move(switches), [this, status](const IdleState& state) {
    if (status) p_.shell.writeOutputLine(StatusReport(state));
  });
}

void Launch::request(std::vector<SwitchCall> switches, Window answerTo) {
  if (!program_) return;
  const std::weak_ptr<bool> alive = alive_;
  program_->Request(std::move(switches), [this, alive, answerTo](const IdleState& state) {
    const auto token = alive.lock();
    if (!token || !*token || !window_) return;
    SendCarried(p_, answerTo, window_->window(), kAnswerTag,
                std::to_string(ExitCodeOf(state)) + "\n" + StatusReport(state));
  });
}

// A later start: the door is looked for until it answers, then the answer waited for.
void Launch::handOver() {
  window_ = HiddenWindow(p_, "answer", "vantary : answer");
  window_->onMessage(msg::kCopyData, [this](const platform::Message& m) -> std::optional<platform::LResult> {
    const std::optional<std::string_view> carried = Carried(m, kAnswerTag);
    if (!carried || !handedOver_ || finished_) return platform::LResult{0};
    std::string_view line = *carried;
    const std::optional<long long> code = TakeNumber(line);
    if (!code || *code < kExitEngaged || *code > kExitNotRunning) return platform::LResult{0};
    const Text written = HasSwitch(switches_, Switch::kStatus) ? Text(line) : Text();
    const int exitCode = static_cast<int>(*code);
    // Ended from a turn of its own: the door's send is still waiting for this answer.
    const std::weak_ptr<bool> alive = alive_;
    p_.loop.postWork([this, alive, exitCode, written] {
      if (const auto token = alive.lock(); token && *token) finish(exitCode, written);
    });
    return platform::LResult{1};
  });
  lookingSinceMs_ = p_.loop.nowMs();
  timer_ = std::make_unique<platform::Timer>(p_.loop, kDoorLookMs, [this] { lookForDoor(); });
  timer_->setEnabled(true);
  lookForDoor();
}

void Launch::lookForDoor() {
  if (finished_) return;
  const std::uint64_t waited = p_.loop.nowMs() - lookingSinceMs_;
  if (handedOver_) {
    if (waited >= kAnswerWaitMs) finish(kExitNoAnswer, "vantary: the running vantary did not answer in time");
    return;
  }
  const Window door = p_.windows.findWindow("", kDoorCaption);
  if (door && p_.windows.processOf(door) != p_.windows.currentProcess() &&
      SendCarried(p_, door, window_->window(), kSwitchesTag,
                  std::to_string(window_->window().value) + "\n" + EncodeSwitches(switches_))) {
    handedOver_ = true;
    lookingSinceMs_ = p_.loop.nowMs();
    return;
  }
  if (waited >= kDoorWaitMs)
    finish(kExitNoAnswer, "vantary: another vantary runs on this desktop but does not answer");
}

void Launch::finish(int code, std::string_view line) {
  if (finished_) return;
  finished_ = true;
  if (timer_) timer_->setEnabled(false);
  if (!line.empty()) p_.shell.writeOutputLine(line);
  // Told from a turn of its own, so a caller may start the loop after the constructor.
  const std::weak_ptr<bool> alive = alive_;
  p_.loop.postWork([this, alive, code] {
    if (const auto token = alive.lock(); token && *token && done_) done_(code);
  });
}

}  // namespace vantary::console
