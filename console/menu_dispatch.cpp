// The main window's menu commands: each item's identifier to the console command it runs.
#include <algorithm>
#include <functional>

#include "console/console.h"

namespace vantary::console {
namespace {

// The items whose commands the console itself owns. Other items are run by the handlers
// the rest of the program registers (Console::setMenuHandler); an item with neither does
// nothing.
struct OwnCommand {
  MenuCommand item;
  void (Console::*run)();
};
constexpr OwnCommand kOwnCommands[] = {
    {MenuCommand::kIdleOn, &Console::IdleCommand},
    {MenuCommand::kEnd, &Console::EndCommand},
    {MenuCommand::kScrollInt, &Console::IntervalCommand},
    {MenuCommand::kCurIdle, &Console::CurIdleCommand},
    {MenuCommand::kOverall, &Console::OverallCommand},
    {MenuCommand::kOverallClear, &Console::OverallClearCommand},
    {MenuCommand::kScrolTrans, &Console::ScrollTransferCommand},
    {MenuCommand::kDlul, &Console::DlulToggle},
    {MenuCommand::kAutoUp, &Console::AutoUpToggle},
    {MenuCommand::kRea2, &Console::ReasonModeCommand},
    {MenuCommand::kMm, &Console::MultipleMessagesCommand},
    {MenuCommand::kCustom, &Console::CustomModeCommand},
    {MenuCommand::kRea, &Console::ReasonLineToggle},
    {MenuCommand::kImmune, &Console::ImmuneToggle},
    {MenuCommand::kLaggFree, &Console::LaggFreeToggle},
    {MenuCommand::kEditCus, &Console::EditCustomCommand},
    {MenuCommand::kEditMul, &Console::EditMultipleCommand},
    {MenuCommand::kEditAscii, &Console::EditAsciiCommand},
    {MenuCommand::kSdaf, &Console::ColorCommand},
    {MenuCommand::kRoomIdle, &Console::RoomIdleToggle},
    {MenuCommand::kSetRoom, &Console::SetRoomCommand},
    {MenuCommand::kOffBe, &Console::InstantMessagesOffToggle},
    {MenuCommand::kOnAf, &Console::InstantMessagesOnToggle},
    {MenuCommand::kEnterPr, &Console::ChatEnterCommand},
    {MenuCommand::kUpchat, &Console::UpchatCommand},
    {MenuCommand::kUnup, &Console::UnupchatCommand},
    {MenuCommand::kWait, &Console::WaitCommand},
    {MenuCommand::kWelcome, &Console::WelcomeCommand},
    {MenuCommand::kGlyph, &Console::GlyphCommand},
    {MenuCommand::kModal, &Console::ModalCommand},
    {MenuCommand::kSf, &Console::SignOffCommand},
    {MenuCommand::kHide, &Console::HideHostCommand},
    {MenuCommand::kShow, &Console::ShowHostCommand},
    {MenuCommand::kMini, &Console::MinimizeCommand},
    {MenuCommand::kShutdown, &Console::ShutdownCommand},
    {MenuCommand::kReboot, &Console::RebootCommand},
    {MenuCommand::kTunedeck, &Console::TunedeckCommand},
    {MenuCommand::kGreets, &Console::GreetsCommand},
    {MenuCommand::kAbout, &Console::AboutCommand},
    {MenuCommand::kHelps, &Console::HelpCommand},
    {MenuCommand::kAwayLog, &Console::AwayLogToggle},
    {MenuCommand::kAwayReply, &Console::AutoReplyToggle},
    {MenuCommand::kAwayView, &Console::AwayViewCommand},
    {MenuCommand::kAwaySet, &Console::AwaySettingsCommand},
};

}  // namespace

// A command reaches the window as a click on the item or as a posted WM_COMMAND.
void Console::runMenuItem(std::uint32_t command) {
  runInTurn([this, command] { runMenuItemNow(command); });
}

// Most commands wait for the host and let events run meanwhile; a command, a click or a
// chat command that comes in then (another program may post a burst of them) would run
// inside the first one's wait, and a burst would nest without end. Each waits its turn
// instead, and the waiting ones run one after another from here, never one inside the
// other.
void Console::runInTurn(Handler command, bool chat) {
  waiting_.push_back(Waiting{std::move(command), chat});
  if (!chat) {
    if (!busy_) runWaiting();
    return;
  }
  const auto isChat = std::mem_fn(&Waiting::chat);
  if (std::count_if(waiting_.begin(), waiting_.end(), isChat) >
      static_cast<std::ptrdiff_t>(kMostWaitingChats))
    waiting_.erase(std::find_if(waiting_.begin(), waiting_.end(), isChat));
  // Chat commands run from a turn of the loop of their own, so that the scanner raises
  // every line of its look first and a burst said at once waits here, where the backlog
  // rules apply, rather than running one by one inside the look.
  if (chatsPosted_) return;
  chatsPosted_ = true;
  const std::weak_ptr<bool> alive = alive_;
  p_.loop.postWork([this, alive] {
    const std::shared_ptr<bool> token = alive.lock();
    if (!token || !*token) return;
    chatsPosted_ = false;
    if (!busy_) {
      runWaiting();
    } else if (boxesOpen_ > 0 && !atSafePoint_) {
      // A box's wait is a safe point: the command that opened it goes on only once the box
      // is answered, whatever ran meanwhile. Chat commands never open a box, and those that
      // come while one runs here wait for it, so nothing nests deeper than one chat command.
      runChatsAtSafePoint();
    }
  });
}

void Console::runChatsAtSafePoint() {
  const std::shared_ptr<bool> alive = alive_;
  atSafePoint_ = true;
  for (;;) {
    const auto next = std::find_if(waiting_.begin(), waiting_.end(), std::mem_fn(&Waiting::chat));
    if (next == waiting_.end() || p_.loop.quitRequested()) break;
    const Handler run = std::move(next->run);
    waiting_.erase(next);
    run();
    if (!*alive) return;
  }
  atSafePoint_ = false;
}

int Console::messageBox(std::string_view text, std::string_view title, std::uint32_t style) {
  ++boxesOpen_;
  const int answer = p_.dialogs.messageBox(form_->window(), text, title, style);
  --boxesOpen_;
  return answer;
}

std::optional<Text> Console::inputBox(std::string_view prompt, std::string_view title) {
  ++boxesOpen_;
  std::optional<Text> answer = p_.dialogs.inputBox(prompt, title);
  --boxesOpen_;
  return answer;
}

void Console::tellLater(Text text, std::string_view title, std::uint32_t style) {
  toTell_.push_back(Told{std::move(text), Text(title), style});
  tellTimer_->setEnabled(true);
}

void Console::tellWaiting() {
  if (busy_ || ticking_ || boxesOpen_ > 0) return;
  const std::shared_ptr<bool> alive = alive_;
  while (!toTell_.empty()) {
    const Told told = std::move(toTell_.front());
    toTell_.pop_front();
    messageBox(told.text, told.title, told.style);
    if (!*alive) return;
  }
  tellTimer_->setEnabled(false);
}

void Console::runWaiting() {
  const std::shared_ptr<bool> alive = alive_;
  busy_ = true;
  while (!waiting_.empty() && !p_.loop.quitRequested()) {
    const Handler next = std::move(waiting_.front().run);
    waiting_.pop_front();
    next();
    if (!*alive) return;
  }
  busy_ = false;
}

// A greyed item does nothing, whether clicked or posted; it is tested when the command's
// turn comes, since the command before it may have greyed or enabled it.
void Console::runMenuItemNow(std::uint32_t command) {
  const std::string_view name = MenuItemName(command);
  if (name.empty() || !menu_->enabled(name)) return;
  if (auto it = menuHandlers_.find(command); it != menuHandlers_.end() && it->second) {
    Handler h = it->second;
    h();
    return;
  }
  for (const OwnCommand& own : kOwnCommands) {
    if (static_cast<std::uint32_t>(own.item) == command) {
      (this->*own.run)();
      return;
    }
  }
}

}  // namespace vantary::console
