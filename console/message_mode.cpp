// The message mode and the scroll switches of the options menu: what the main timer says
// at a scroll moment (the single reason, the multiple messages or the custom lines),
// whether the reason line goes out, immune scrolls, and the items that open the editors.
// Each click is written to the configuration file at once.
#include "console/console.h"
#include "toolkit/title_strip.h"

namespace vantary::console {

namespace {

constexpr std::string_view kReasonTitle = "vantary : reason";
constexpr std::string_view kReasonPrompt = "enter a reason, this will leave a message.";

}  // namespace

// The three message modes are one choice: exactly one item is checked, and only the
// chosen mode's editor can be opened.
void Console::setMessageMode(std::string_view mode) {
  menu_->check("rea2", mode == "rea2");
  menu_->check("mm", mode == "mm");
  menu_->check("custom", mode == "custom");
  menu_->enable("editmul", mode == "mm");
  menu_->enable("editcus", mode == "custom");
}

// Choosing the single reason asks for it; a cancelled box leaves the empty reason, as the
// user chose the mode without one. The checked item does nothing (".rea" changes the
// reason).
void Console::ReasonModeCommand() {
  if (menu_->checked("rea2")) return;
  setMessageMode("rea2");
  const std::optional<Text> answer = inputBox(kReasonPrompt, kReasonTitle);
  form_->setText("gook", answer.value_or(Text{}));
  storeConfig("reason", form_->text("gook"));
  storeConfig("mm", "1");
}

void Console::MultipleMessagesCommand() {
  if (menu_->checked("mm")) return;
  setMessageMode("mm");
  storeConfig("mm", "0");
}

void Console::CustomModeCommand() {
  if (menu_->checked("custom")) return;
  setMessageMode("custom");
  storeConfig("mm", "3");
}

void Console::ReasonLineToggle() {
  if (menu_->checked("rea")) {
    menu_->check("rea", false);
    storeConfig("reas", "0");
  } else {
    menu_->check("rea", true);
    menu_->check("immune", false);
    storeConfig("reas", "1");
  }
}

// Immune scrolls lock the two scroll switches: they are greyed, their check marks kept.
void Console::ImmuneToggle() {
  const bool on = !menu_->checked("immune");
  menu_->check("immune", on);
  menu_->enable("dlul", !on);
  menu_->enable("rea", !on);
  storeConfig("immune", on ? "1" : "0");
}

void Console::LaggFreeToggle() {
  const bool on = !menu_->checked("laggfree");
  menu_->check("laggfree", on);
  storeConfig("laggfree", on ? "1" : "0");
}

// An editor minimized by its "_" comes back as it was.
void Console::EditCustomCommand() { toolkit::ShowRestored(*editors_->customs); }
void Console::EditMultipleCommand() { toolkit::ShowRestored(*editors_->messages); }
void Console::EditAsciiCommand() { toolkit::ShowRestored(*editors_->ascii); }
void Console::ColorCommand() { toolkit::ShowRestored(*editors_->color); }

}  // namespace vantary::console
