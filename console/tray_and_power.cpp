// The tray, the power questions and the companion program: "&minimize" puts the program
// into the tray, "&shutdown" and "&reboot" end the Windows session after asking, and
// "tunedeck" starts the program that lies beside vantary.exe.
#include "console/console.h"
#include "platform/messages.h"

namespace vantary::console {

namespace {

namespace msg = platform::msg;

constexpr std::uint32_t kLButtonDblClk = 0x0203;
constexpr std::uint32_t kRButtonUp = 0x0205;
// The mouse messages the tray sends its icon's owner, in the low word of lParam.
constexpr std::uint32_t kFirstMouseMessage = 0x0200;
constexpr std::uint32_t kLastMouseMessage = 0x020E;

constexpr std::string_view kShutdownQuestion = "are you sure you want to exit windows?";
constexpr std::string_view kRebootQuestion = "are u sure u want to reboot?";
constexpr std::string_view kRebootTitle = "vantary : reboot";
constexpr std::string_view kTunedeckTitle = "vantary : tunedeck";
constexpr std::string_view kTrayRefused =
    "the task bar did not take vantary's icon, so its face stays on the screen. try again in a moment.";

}  // namespace

platform::TrayIcon Console::trayIcon() const {
  return platform::TrayIcon{.owner = form_->window(),
                            .id = kTrayIconId,
                            .flags = 7,
                            .callbackMessage = kTrayCallbackMessage,
                            .tip = Text(MainWindowCaption())};
}

// The icon goes into the tray and the console face away. The main window stays hidden and
// the face is a tool window, so no task-bar button remains: the face goes only once the
// shell has taken the icon, else nothing would be left to bring vantary back.
void Console::MinimizeCommand() {
  if (!inTray_) inTray_ = p_.tray.addIcon(trayIcon());
  if (!inTray_) {
    messageBox(kTrayRefused, MainWindowCaption(), msg::kMbOk | msg::kMbIconWarning);
    return;
  }
  if (face_ != nullptr) face_->setShown(false);
}

// A shell that starts again (after a crash, or late at log-on) has an empty tray. The icon
// goes back; a shell that will not take it gets the face shown instead.
void Console::trayRecreated() {
  if (!inTray_) return;
  inTray_ = p_.tray.addIcon(trayIcon());
  if (!inTray_ && face_ != nullptr) face_->setShown(true);
}

// Windows may end the process as soon as this returns: the overall time counted so far is
// stored, the instant messages the program switched off go back on while the host still
// answers, the icon leaves the tray, and nothing more runs. Nothing goes to the room: the
// host is ending with the session.
void Console::sessionEnds() {
  if (idling()) countMinutes(minutesDue());
  saveOverall();
  leaveTray();
  timer1_->setEnabled(false);
  scanner_->stop();
  autoUpchat_->setEnabled(false);
  if (instantMessagesOff_ && !host_->GetScreenName().empty()) switchInstantMessages(true);
  removeJournal();
  p_.loop.quit(0);
}

// The callback comes as the mouse-move message. It is the icon's only while the icon is
// in the tray, and only with the icon's identifier and a mouse message in the low word
// and nothing in the high one; anything else is an ordinary message of the window.
std::optional<platform::LResult> Console::trayCallback(const platform::Message& m) {
  const auto lp = static_cast<std::uintptr_t>(m.lParam);
  const std::uint32_t mouse = platform::LowWord(lp);
  if (!inTray_ || m.wParam != kTrayIconId || platform::HighWord(lp) != 0 || mouse < kFirstMouseMessage ||
      mouse > kLastMouseMessage) {
    return std::nullopt;
  }
  if (mouse == kLButtonDblClk) {
    p_.windows.setForeground(form_->window());
    leaveTray();
    if (face_ != nullptr) face_->setShown(true);
  } else if (mouse == kRButtonUp) {
    p_.windows.setForeground(form_->window());
    showMenu(p_.screen.cursor());
  }
  return platform::LResult{0};
}

void Console::leaveTray() {
  if (!inTray_) return;
  p_.tray.deleteIcon(trayIcon());
  inTray_ = false;
}

// Yes shuts the system down and turns it off (the shutdown privilege is switched on by the
// platform); No changes nothing.
void Console::ShutdownCommand() {
  const int answer = messageBox(kShutdownQuestion, MainWindowCaption(), msg::kMbYesNo | msg::kMbIconQuestion);
  if (answer == msg::kIdYes) p_.shell.exitWindows(platform::kEwxShutdown | platform::kEwxPowerOff);
}

// Yes restarts the system; No changes nothing.
void Console::RebootCommand() {
  const int answer = messageBox(kRebootQuestion, kRebootTitle, msg::kMbYesNo | msg::kMbIconQuestion);
  if (answer == msg::kIdYes) p_.shell.exitWindows(platform::kEwxReboot);
}

// The companion program lies beside vantary.exe. One that is missing or cannot start is
// named to the user; the program goes on.
void Console::TunedeckCommand() {
  const Text path = p_.files.programFolder() + "\\tunedeck.exe";
  if (p_.shell.startProgram(path, msg::kSwShowNormal)) return;
  const Text why = p_.files.fileExists(path) ? path + " could not be started."
                                             : "tunedeck is not there: " + path + " is missing.";
  messageBox(why, kTunedeckTitle, msg::kMbOk | msg::kMbIconWarning);
}

}  // namespace vantary::console
