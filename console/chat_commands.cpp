// The chat commands: lines the signed-on user types into the room behind the trigger run
// the console from the room, each answered with a line in the room.
//
// Who may command: only a message the room shows as the user's own, that is the sender
// the chat scanner read in front of ":" and TAB equals the signed-on screen name byte for
// byte. The host shows a TAB inside a text as a blank and a line break as a further line
// without a name, so nobody else can make a line pass for the user's; names that differ
// in case, blanks or look-alike characters are other names. The program's own lines are
// the user's too, as the room shows them: they are recognised (host::OwnLines) and never
// run, whatever the trigger, decorations and custom lines are.
//
// The command word is the text up to its first blank and must equal the trigger followed
// by a command's name, case and all. A command's argument is the text after the command
// word and the one blank behind it: with the one-character trigger the commands were laid
// out for, that is the fixed position each command has always cut at (".rea " is five
// characters, so the reason starts at the sixth), and a longer or empty trigger set from
// the console's own box moves the argument with it rather than cutting into it. The trigger
// is never empty: one missing or unreadable at start is "." (see Load).
#include "console/console.h"
#include "console/status_lines.h"
#include "text/text_ops.h"

namespace vantary::console {
namespace {

using text::operator""_ansi;
using text::DigitsOnly;
using text::RemoveSpaces;
using text::ToLower;

constexpr std::string_view kBot = " vantarý³ · "_ansi;
// Behind the answer of a command whose setting could not be written: it holds until the
// program ends, and is written once the file takes it.
constexpr std::string_view kNotSaved = " · not saved yet"_ansi;

// The argument of a command word: the text after the word and the blank behind it; ""
// when the line ends before it.
Text ArgumentAfter(std::string_view line, std::size_t wordLength) {
  const std::size_t start = wordLength + 1;
  return start < line.size() ? Text(line.substr(start)) : Text();
}

}  // namespace

// The program's own lines are matched off as the scanner raises them, before any command
// waits its turn: a burst of commands has its answers said while the commands still wait,
// and the record then holds only the lines said since the scanner's last look, however
// long the wait.
void Console::ChatLine(const Text& sender, const Text& line) {
  const Text screenName = host_->GetScreenName();
  if (screenName.empty()) return;
  if (sender != screenName) return noteAway(sender, line, screenName);
  if (host_->TakeOwnLine(line)) return;
  runInTurn([this, sender, line, saidMs = p_.loop.nowMs()] { chatLineNow(sender, line, saidMs); }, true);
}

void Console::chatLineNow(const Text& sender, const Text& line, std::uint64_t saidMs) {
  // The commands in the order they are tried; the first whose name matches runs.
  struct Command {
    std::string_view name;
    bool takesArgument;
    void (*run)(Console&, const Text& argument);
  };
  static constexpr Command kCommands[] = {
      {"idleon", false, [](Console& c, const Text&) { c.chatIdleOn(); }},
      {"idleoff", false, [](Console& c, const Text&) { c.chatIdleOff(); }},
      {"rea", true, [](Console& c, const Text& a) { c.chatReason(a); }},
      {"pr", true,
       [](Console& c, const Text& a) {
         if (a.empty()) return c.chatStatus(Text(kBot) + c.trigger() + "pr x");
         c.host_->EnterPrivateRoom(a);
       }},
      {"imson", false,
       [](Console& c, const Text&) {
         c.switchInstantMessages(true);
         c.chatStatus(Text(kBot) + "im status: on");
       }},
      {"imsoff", false,
       [](Console& c, const Text&) {
         c.switchInstantMessages(false);
         c.chatStatus(Text(kBot) + "im status: off");
       }},
      {"status", false, [](Console& c, const Text&) { c.chatTransferStatus(); }},
      {"signoff", false, [](Console& c, const Text&) { c.host_->SignOff(); }},
      {"cmds", false,
       [](Console& c, const Text&) {
         toolkit::Form& coms = c.commandList_->form();
         if (coms.visible()) return c.chatStatusEx(Text(kBot) + "commands are visible already.");
         coms.show();
         c.chatStatusEx(Text(kBot) + "view'n commands.");
       }},
      {"cmdh", false,
       [](Console& c, const Text&) {
         toolkit::Form& coms = c.commandList_->form();
         if (!coms.visible()) return c.chatStatusEx(Text(kBot) + "commands are hidden already.");
         coms.hide();
         c.chatStatusEx(Text(kBot) + "commands hide'n.");
       }},
      {"trig", true, [](Console& c, const Text& a) { c.chatTrigger(a); }},
      {"x", true,
       [](Console& c, const Text& a) {
         if (a.empty()) return c.chatStatus(Text(kBot) + c.trigger() + "x x");
         c.host_->IgnoreMember(a);
       }},
      {"unx", true,
       [](Console& c, const Text& a) {
         if (a.empty()) return c.chatStatus(Text(kBot) + c.trigger() + "unx x");
         c.host_->UnignoreMember(a);
       }},
      {"clear", false,
       [](Console& c, const Text&) {
         if (c.answering_) c.host_->SendClearLine();
       }},
      {"gon", false,
       [](Console& c, const Text&) {
         c.host_->GhostOn();
         c.chatStatus(Text(kBot) + "user ghost'd.");
       }},
      {"goff", false,
       [](Console& c, const Text&) {
         c.host_->GhostOff();
         c.chatStatus(Text(kBot) + "user unghost'd.");
       }},
  };

  // The user may have signed off, or another name on, while the command waited.
  const Text screenName = host_->GetScreenName();
  if (screenName.empty()) return;
  if (sender != screenName) return noteAway(sender, line, screenName);
  const Text trigger = this->trigger();
  if (line.compare(0, trigger.size(), trigger) != 0) return;

  const std::string_view word = std::string_view(line).substr(0, line.find(' '));
  for (const Command& command : kCommands) {
    if (word.size() != trigger.size() + command.name.size() || word.substr(trigger.size()) != command.name) {
      continue;
    }
    const bool answered = answering_;
    answering_ = p_.loop.nowMs() - saidMs <= kChatAnswerStaleMs;
    command.run(*this, command.takesArgument ? ArgumentAfter(line, word.size()) : Text());
    answering_ = answered;
    return;
  }
}

Text Console::trigger() const { return form_->text("txttrig"); }

void Console::chatStatus(std::string_view text) {
  if (!answering_) return;
  const host::ChatStyle s = style();
  host_->SendChatLine(host::StatusPrefix(s, s.ascii1) + ">" + Text(text));
}

void Console::chatStatusEx(std::string_view text) {
  if (!answering_) return;
  const host::ChatStyle s = style();
  host_->SendChatLineEx(host::StatusPrefix(s, s.ascii1) + ">" + Text(text), false, false);
}

void Console::chatIdleOn() {
  if (menu_->caption("idleon") != kIdleOnCaption) return;
  startSession();
}

void Console::chatIdleOff() {
  if (menu_->caption("idleon") != kIdleOffCaption) return;
  // Unlike the menu's idle off, no pause: the room is told at once.
  endSession(false);
}

void Console::chatReason(const Text& reason) {
  if (reason.empty()) return chatStatus(Text(kBot) + trigger() + "rea x");
  const bool saved = setReason(reason);
  chatStatus(Text(kBot) + "rea: " + ToLower(reason) + (saved ? Text() : Text(kNotSaved)));
}

bool Console::setReason(const Text& reason) {
  setMessageMode("rea2");
  form_->setText("gook", reason);
  const bool reasonSaved = storeConfig("reason", reason);
  return storeConfig("mm", "1") && reasonSaved;
}

// An argument of blanks only names no trigger: the user is told a trigger is needed; no
// argument at all is answered with the command's usage.
void Console::chatTrigger(const Text& argument) {
  const Text wanted = RemoveSpaces(argument);
  if (wanted.size() >= 2) return chatStatusEx(Text(kBot) + "trigger too long");
  if (wanted.empty()) {
    if (argument.empty()) return chatStatus(Text(kBot) + trigger() + "trig x");
    return chatStatus(Text(kBot) + "u must have a trigger");
  }
  form_->setText("txttrig", wanted);
  const bool saved = storeConfig("trig", wanted);
  chatStatus(Text(kBot) + "trigger: " + wanted + (saved ? Text() : Text(kNotSaved)));
}

// The running transfer: a download's file, percent and time left, or an upload's, or the
// word that there is none.
void Console::chatTransferStatus() {
  if (!answering_) return;
  toolkit::Form& f = *form_;
  const host::ChatStyle s = style();
  if (host_->FindTransferWindow()) {
    host_->RaiseDownloadWindow();
    f.setText("s1", host_->GetDownloadTimeText());
    f.setText("s1", CleanTimeLeft(f.text("s1")));
    host_->SendChatLine(host::StatusPrefix(s, s.ascii1) + "> file: " + ToLower(host_->GetTransferFileName()) +
                        Text("\r\n·"_ansi));
    host_->SendChatLine(host::StatusPrefix(s, s.ascii2) +
                        "> percent: " + DigitsOnly(host_->GetCaption(host_->FindDownloadWindow())) +
                        " . minleft:\r\n" + RemoveSpaces(f.text("s1")) + Text(" ·"_ansi));
  } else if (host_->FindUploadModal()) {
    RefreshUploadLabels();
    host_->SendChatLine(host::StatusPrefix(s, s.ascii1) + "> file: " + f.text("lblfile") + Text(" ·"_ansi));
    host_->SendChatLine(host::StatusPrefix(s, s.ascii2) +
                        "></u></b></s></i> percent: " + DigitsOnly(f.text("lblper")) +
                        " . minleft: " + DigitsOnly(f.text("lblmins")) + Text(" ·"_ansi));
  } else {
    chatStatusEx(Text(kBot) + "not ul'n or dl'n.");
  }
}

}  // namespace vantary::console
