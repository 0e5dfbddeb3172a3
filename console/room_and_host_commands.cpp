// The menu's room and instant-message options, the chat-enter command, and the items that
// run one operation of the host access library.
#include "console/console.h"
#include "text/text_ops.h"
#include "toolkit/window_utils.h"

namespace vantary::console {

using text::operator""_ansi;

namespace {

constexpr std::string_view kRoomTitle = "vantary : room enter";
constexpr std::string_view kSetRoomPrompt = "enter room name before idle";
constexpr std::string_view kChatEnterPrompt = "room enter, please type in a room.";
// The pause after the room keyword before the room is told, so the line lands in it.
constexpr double kChatEnterPauseSeconds = 0.8;

}  // namespace

// "roo&m before idle'n": the room's name can be set only while the option is on; the
// stored name is kept either way.
void Console::RoomIdleToggle() {
  const bool on = !menu_->checked("roomidle");
  menu_->check("roomidle", on);
  menu_->enable("setroom", on);
  storeConfig("roomenter", on ? "1" : "0");
}

// A cancelled box stores the empty name, which idle on then leaves alone (no room).
void Console::SetRoomCommand() {
  form_->setText("roomenter2", inputBox(kSetRoomPrompt, kRoomTitle).value_or(Text{}));
  storeConfig("setroom", form_->text("roomenter2"));
}

void Console::InstantMessagesOffToggle() {
  const bool on = !menu_->checked("offbe");
  menu_->check("offbe", on);
  storeConfig("offbe", on ? "1" : "0");
}

void Console::InstantMessagesOnToggle() {
  const bool on = !menu_->checked("onaf");
  menu_->check("onaf", on);
  storeConfig("onaf", on ? "1" : "0");
}

// Enters a private room now. A name of blanks only names no room: nothing is run, as for
// a cancelled box.
void Console::ChatEnterCommand() {
  const Text room = inputBox(kChatEnterPrompt, kRoomTitle).value_or(Text{});
  if (text::Trim(room).empty() || host_->GetScreenName().empty()) return;
  if (text::NumericValue(host_->GetHostVersionText()) != 95) {
    host_->EnterPrivateRoomPersistent(room);
    return;
  }
  host_->RunKeywordWindow(Text(kPrivateRoomKeyword) + room);
  toolkit::Pause(p_, kChatEnterPauseSeconds);
  host_->SendPlainChatLine(style().ascii1 + Text(" vantarý³ · enter'd . "_ansi) + room);
}

// The items that act on the host's windows for a signed-on user only.
void Console::runForSignedOn(void (host::Host::*operation)()) {
  if (host_->GetScreenName().empty()) return;
  (host_.get()->*operation)();
}

void Console::UpchatCommand() { runForSignedOn(&host::Host::Upchat); }
void Console::UnupchatCommand() { runForSignedOn(&host::Host::Unupchat); }
void Console::WaitCommand() { runForSignedOn(&host::Host::CycleAboutBox); }
void Console::WelcomeCommand() {
  if (!host_->GetScreenName().empty()) host_->HideWelcome();
}
void Console::GlyphCommand() { runForSignedOn(&host::Host::CloseGlyph); }
void Console::ModalCommand() { runForSignedOn(&host::Host::CloseModals); }
void Console::SignOffCommand() { runForSignedOn(&host::Host::SignOff); }
void Console::HideHostCommand() { host_->HideHost(); }
void Console::ShowHostCommand() { host_->ShowHost(); }

}  // namespace vantary::console
