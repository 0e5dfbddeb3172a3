// The console driven from outside: a command line's switches, and the journal through
// which an idle session survives a program that did not end (killed, crashed, the power
// cut).
#include <algorithm>
#include <charconv>
#include <string>

#include "console/console.h"
#include "platform/messages.h"
#include "settings/settings_store.h"

namespace vantary::console {
namespace {

namespace msg = platform::msg;

constexpr std::string_view kJournalSection = "journal";
constexpr std::string_view kJournalTitle = "vantary : last session";

// A count the journal holds: digits only, and below the counters' limit.
std::optional<long long> JournalNumber(std::string_view contents, std::string_view key) {
  const Text value = settings::SettingIn(contents, kJournalSection, key);
  long long n = 0;
  const auto [at, error] = std::from_chars(value.data(), value.data() + value.size(), n);
  if (value.empty() || error != std::errc{} || at != value.data() + value.size() || n < 0)
    return std::nullopt;
  return n;
}

}  // namespace

void Console::RunSwitches(std::vector<SwitchCall> switches, std::function<void(const IdleState&)> answer) {
  // Like the user's chat commands, switches run also while a box of the console stands:
  // a scheduler's /idleon must not wait for a user who is away.
  runInTurn(
      [this, switches = std::move(switches), answer = std::move(answer)] {
        const std::shared_ptr<bool> alive = alive_;
        answering_ = true;
        bool ended = false;
        for (const SwitchCall& s : switches) {
          switch (s.what) {
            case Switch::kIdleOn:
              chatIdleOn();
              break;
            case Switch::kIdleOff:
              chatIdleOff();
              break;
            case Switch::kReason:
              setReason(s.argument);
              break;
            case Switch::kEnd:
              EndCommand();
              ended = true;
              break;
            case Switch::kStatus:
              break;
          }
          if (!*alive || ended) break;
        }
        IdleState state;
        if (ended || !*alive) {
          state.running = false;
        } else {
          state = State();
        }
        if (answer) answer(state);
      },
      true);
}

IdleState Console::State() {
  toolkit::Form& f = *form_;
  IdleState state;
  state.engaged = idling();
  state.minutesAway = state.engaged ? TotalMinutes(f.text("d"), f.text("h"), f.text("m")) : 0;
  state.overallMinutes = overallMinutes();
  return state;
}

void Console::BringForward() { leaveTray(); }

void Console::writeJournal() {
  if (!idling()) return removeJournal();
  const IdleState state = State();
  const Text contents = "[" + Text(kJournalSection) + "]\r\nengaged=" + (state.engaged ? "1" : "0") +
                        "\r\naway=" + std::to_string(state.minutesAway) +
                        "\r\noverall=" + std::to_string(state.overallMinutes) +
                        "\r\nimoff=" + (instantMessagesOff_ ? "1" : "0") + "\r\n";
  // A journal that cannot be written now is written again at the next minute.
  p_.files.writeFileAtomic(paths_.journal, contents);
}

void Console::removeJournal() {
  if (p_.files.fileExists(paths_.journal)) p_.files.removeFile(paths_.journal);
}

void Console::recoverJournal() {
  if (!p_.files.fileExists(paths_.journal)) return;
  const std::optional<std::string> contents = p_.files.readFile(paths_.journal);
  if (!contents) {
    // Held by another program: kept as it is, for a later start.
    tellLater(
        paths_.journal +
            " could not be read: what vantary's last session left behind is not known. the file is kept.",
        kJournalTitle, msg::kMbOk | msg::kMbIconWarning);
    return;
  }
  const std::optional<long long> overall = JournalNumber(*contents, "overall");
  const std::optional<long long> imoff = JournalNumber(*contents, "imoff");
  removeJournal();
  if (!overall || !imoff || *imoff > 1) {
    tellLater(paths_.journal + " was damaged: nothing of vantary's last session was put back.", kJournalTitle,
              msg::kMbOk | msg::kMbIconWarning);
    return;
  }
  Text told = "vantary did not end normally last time.";
  if (*imoff == 1) {
    if (!host_->GetScreenName().empty()) {
      switchInstantMessages(true);
      told += " it switched your instant messages back on.";
    } else {
      told +=
          " it had switched your instant messages off, and nobody is signed on now: switch them on once "
          "you are.";
    }
  }
  // The overall time was stored at each minute; what the journal counted beyond it (a
  // write of the data file that failed) is added. A data file not read yet is joined later.
  const long long stored = overallMinutes();
  if (!overallUnread_ && *overall > stored) {
    setOverallMinutes(*overall);
    const long long total = overallMinutes();
    saveOverall();
    told +=
        " " + std::to_string(total - stored) + " minutes of its last session were added to the overall time.";
  }
  tellLater(told, kJournalTitle, msg::kMbOk | msg::kMbIconInformation);
}

}  // namespace vantary::console
