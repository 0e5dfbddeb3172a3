// The main window's menu commands: each item's identifier to the console command it runs.
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
};

}  // namespace

// A command reaches the window as a click on the item or as a posted WM_COMMAND; a greyed
// item does nothing either way.
void Console::runMenuItem(std::uint32_t command) {
  // The start-up routine lets events run while it waits for the host; a command that comes
  // in then (posted by another program, before the face even shows) runs once the routine
  // is done, so it never interleaves with the settings being read or the in-stats lines.
  if (starting_) {
    deferred_.push_back(command);
    return;
  }
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
