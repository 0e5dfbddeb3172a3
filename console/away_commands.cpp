// The away log and the auto-reply while the user is away: the lines kept for the away
// window and away.log, the answers to members who name the user, and their menu items.
#include <algorithm>

#include "console/console.h"
#include "platform/messages.h"
#include "text/text_ops.h"
#include "toolkit/title_strip.h"

namespace vantary::console {
namespace {

namespace msg = platform::msg;
using text::operator""_ansi;

// Every status line and reply of any vantary carries its name: such a line is never
// answered, so two idlers naming each other's users never answer each other back.
constexpr std::string_view kBrand = "vantarý³"_ansi;
constexpr std::string_view kAwayTitle = "vantary : away";
// How many replies sent are remembered, for telling a member who repeats one.
constexpr std::size_t kRepliesRemembered = 8;

}  // namespace

void Console::noteAway(const Text& sender, const Text& line, const Text& screenName) {
  if (!idling() || SameMember(sender, screenName)) return;
  const bool named = NamesMember(line, screenName);
  const bool watched = std::any_of(watched_.begin(), watched_.end(),
                                   [&](const Text& member) { return SameMember(member, sender); });
  if (!named && !watched) return;
  if (menu_->checked("awaylog"))
    keepAway(AwayEntry{p_.loop.timeOfDay(), scanner_->roomCaption(), sender, line});
  if (named && menu_->checked("awayreply")) replyAway(sender, line);
}

// The line is kept for the window at once; away.log takes it with any lines it could not
// take before. A file that is held or read-only loses nothing: the lines wait, within the
// file's bound, and the user is told once.
void Console::keepAway(AwayEntry entry) {
  awayUnwritten_ = AppendBounded(awayUnwritten_, AwayLogLine(entry), kAwayLogLimit);
  away_.push_back(std::move(entry));
  if (awayWindow_ && awayWindow_->visible()) showAway();
  const bool there = p_.files.fileExists(paths_.awayLog);
  const std::optional<std::string> contents = there ? p_.files.readFile(paths_.awayLog) : std::string();
  if (contents &&
      p_.files.writeFileAtomic(paths_.awayLog, AppendBounded(*contents, awayUnwritten_, kAwayLogLimit))) {
    awayUnwritten_.clear();
    awayUnwrittenTold_ = false;
    return;
  }
  if (awayUnwrittenTold_) return;
  awayUnwrittenTold_ = true;
  tellLater(paths_.awayLog +
                " could not be written. the away window shows what was said, and the file takes it " +
                "once it can be written.",
            kAwayTitle, msg::kMbOk | msg::kMbIconWarning);
}

void Console::replyAway(const Text& member, const Text& line) {
  // Never to a line of any vantary's, nor to one repeating a reply of this one's; nothing
  // while the host holds a line of the program's back, where a reply would feed the flood.
  const Text lower = text::ToLower(line);
  if (line.find(kBrand) != Text::npos) return;
  for (const Text& sent : repliesSent_) {
    if (!sent.empty() && lower.find(sent) != Text::npos) return;
  }
  if (host_->LineWaiting() || !replyPace_.take(member, p_.loop.nowMs(), replyPeriodMs_)) return;
  // The answer is remembered as it is decided, so a line repeating it is known for one
  // even while the answer still waits its turn.
  const Text body = custom_->expand(replyText_, "");
  repliesSent_.push_back(text::ToLower(body));
  if (repliesSent_.size() > kRepliesRemembered) repliesSent_.pop_front();
  runInTurn(
      [this, member, body] {
        if (idling())
          sendStatus(style().ascii2, Text(" vantarý³ · "_ansi) + text::ToLower(member) + ": " + body);
      },
      true);
}

void Console::showAway() {
  if (!awayWindow_) awayWindow_ = std::make_unique<windows::AwayWindow>(p_, [this] { away_.clear(); });
  std::vector<Text> rows;
  rows.reserve(away_.size());
  for (const AwayEntry& e : away_) rows.push_back(AwayWindowRow(e));
  awayWindow_->setRows(rows);
  toolkit::ShowRestored(*awayWindow_);
}

void Console::AwayViewCommand() { showAway(); }

void Console::AwaySettingsCommand() {
  if (!awaySettings_) {
    awaySettings_ = std::make_unique<windows::AwaySettingsWindow>(
        p_, [this](const windows::AwaySettings& s) { return saveAwaySettings(s); });
  }
  Text watch;
  for (const Text& member : watched_) watch += (watch.empty() ? "" : "\r\n") + member;
  awaySettings_->fill(windows::AwaySettings{watch, replyText_, std::to_string(replyPeriodMs_ / 60'000),
                                            menu_->checked("awaylog"), menu_->checked("awayreply")});
  toolkit::ShowRestored(*awaySettings_);
}

// What is saved holds at once; a write that fails is kept and told as every settings write
// of the console is (see store).
bool Console::saveAwaySettings(const windows::AwaySettings& s) {
  const Text period(text::Trim(s.period));
  const std::optional<std::uint32_t> minutes = ReplyPeriodOf(period);
  if (!minutes) {
    messageBox("enter a number of minutes between ( 1 - 1440 )", windows::kAwaySettingsCaption,
               msg::kMbOk | msg::kMbIconError);
    return false;
  }
  // One member a line; stored joined by commas, which no screen name holds.
  watched_.clear();
  for (std::string_view line : text::SplitLines(s.watch)) {
    const std::string_view member = text::Trim(line);
    if (!member.empty() && member.find(',') == std::string_view::npos) watched_.emplace_back(member);
  }
  Text stored;
  for (const Text& member : watched_) stored += (stored.empty() ? "" : ",") + member;
  replyText_ = text::Trim(s.reply).empty() ? Text(kDefaultReplyText) : s.reply;
  replyPeriodMs_ = std::uint64_t{*minutes} * 60'000;
  menu_->check("awaylog", s.keepLog);
  menu_->check("awayreply", s.autoReply);
  storeConfig("watch", stored);
  storeConfig("replytext", replyText_);
  storeConfig("replyperiod", period);
  storeConfig("awaylog", s.keepLog ? "1" : "0");
  storeConfig("awayreply", s.autoReply ? "1" : "0");
  return true;
}

void Console::AwayLogToggle() {
  const bool on = !menu_->checked("awaylog");
  menu_->check("awaylog", on);
  storeConfig("awaylog", on ? "1" : "0");
}

void Console::AutoReplyToggle() {
  const bool on = !menu_->checked("awayreply");
  menu_->check("awayreply", on);
  storeConfig("awayreply", on ? "1" : "0");
}

}  // namespace vantary::console
