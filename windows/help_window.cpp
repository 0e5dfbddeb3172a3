// Window `help`: the eight topics and their texts.
#include "windows/help_window.h"

#include "toolkit/title_strip.h"
#include "toolkit/window_utils.h"

namespace vantary::windows {

using platform::Platform;
using platform::Rect;
using text::Text;
using text::operator""_ansi;
using toolkit::ControlType;
using toolkit::FormDesc;

namespace {

constexpr int kWidthTwips = 4200;
constexpr int kHeightTwips = 3000;
constexpr std::string_view kCrLf = "\r\n";

struct Topic {
  std::string_view item;   // the row of the list
  std::string_view title;  // the first line of the text
  std::string_view body;
};

// The "system" topic's body is five lines.
constexpr std::string_view kSystemBody =
    "well there is 2 parts to this \r\n"
    " 1) shutdown\r\n"
    "2) restart\r\n"
    " 1. it shutdown your computer if u need to shutdown very quickly! \r\n"
    "2. restart it will restart the computer and maybe can boot up vantary some computer are not "
    "compatible for this function.";

// In the order the list shows them.
constexpr Topic kTopics[] = {
    {"auto upchat", "· auto upchat ·"_ansi,
     "auto upchat is a function is a line of code which if it see a upload window it will upchat and hide "
     "and get it out of your way so u can talk/chat or do anything but do anything except send mails if u "
     "send mails it will feeze your upload at 100% so try not to send mails."},
    {"multiple messages", "· multiple messages ·"_ansi,
     "multiple messages is a function that u enter a list of reason y you afk or can't answer someone that "
     "imed you or try to talk to you. it scrolls down the list in order or randomly however u want it so "
     "enjoy this function."},
    {"customs scroll", "· custom scroll ·"_ansi,
     "okae! customs scrolls is here. custom scroll is a function that u can customize yourself its like "
     "making your own idlebot. u think of the ascii u think of the colors and what u want to scroll."},
    {"room before idle'n", "· room before idle'n ·"_ansi,
     "well this is not that much big of a deal. this is just a function that if u want to enter a private "
     "room before u enter. so if u want to idle in a private room in example mordelle it will go to "
     "mordelle and start idle'n."},
    {"im's before/after idle", "· im's before/after idle ·"_ansi,
     "well this will simple turns on or turn your ims when u idleon and idleoff. its a simple function."},
    {"system", "· system ·"_ansi, kSystemBody},
    {"scrolls", "· scrolls ·"_ansi,
     "there are 3 type of scrolls with time, reason, dl and ul /  time, reason only or / time, dl or ul "
     "stats. i made this program scroll the time cause sometimes people cheat so i have to do it this way "
     "with a default of 1 scroll even if u uncheck both unscroll on the menu."},
    {"idleon/idleoff", "· idleon/idleoff ·"_ansi,
     "idleon and idleoff is basicly u tell the program to kill the hourly 45 minute window that bothers "
     "you if u haven't been using aol or haven't moved the mouse so it don't really matter cause it has a "
     "internal timer so even if u do forget it will still kill the timer. "},
};

// The order the chosen row is tested in, which is not the list's: "idleon/idleoff" comes
// before "scrolls". Each row holds only its own item.
constexpr std::string_view kTestOrder[] = {
    "auto upchat", "multiple messages", "customs scroll", "room before idle'n", "im's before/after idle",
    "system",      "idleon/idleoff",    "scrolls",
};

}  // namespace

HelpWindow::HelpWindow(Platform& p)
    : Form(p, FormDesc{.name = "help",
                       .caption = "vantary : help",
                       .rect = {220, 160, 220 + toolkit::TwipsToPixelsX(p, kWidthTwips),
                                160 + toolkit::TwipsToPixelsY(p, kHeightTwips)}}) {
  const auto at = [&p](int left, int top, int right, int bottom) {
    return toolkit::TwipsToPixels(p, left, top, right, bottom);
  };
  add({.name = "Label1",
       .type = ControlType::kLabel,
       .caption = " vantary : help",
       .rect = at(0, 0, 3960, 240)});
  add({.name = "Label2", .type = ControlType::kLabel, .caption = "_", .rect = at(3960, 0, 4200, 240)});
  add({.name = "Combo1", .type = ControlType::kDropDownList, .rect = at(120, 300, 4080, 1800)});
  add({.name = "Text1",
       .type = ControlType::kMultiLineTextBox,
       .rect = at(120, 660, 4080, 2460),
       .readOnly = true});
  add({.name = "SSRibbon1",
       .type = ControlType::kButton,
       .caption = "okae",
       .rect = at(2880, 2550, 4080, 2880)});
  setFont("Label1", {.face = "Tahoma", .pointSize = 8});
  setFont("Combo1", {.face = "Tahoma", .pointSize = 8});
  setFont("Text1", {.face = "Arial", .pointSize = 8});

  toolkit::UseTitleStrip(*this, {.dragLabels = {"Label1"}, .minimizeLabel = "Label2"});
  for (const Topic& t : kTopics) addItem("Combo1", t.item);
  setLocked(kHelpGreeting);
  onClick("Combo1", [this] { showTopic(); });
  onClick("SSRibbon1", [this] {
    toolkit::PlayClick(platform());
    toolkit::HideWindow(*this);
  });
}

// The box stays read-only for the user; the program's own writes reach it all the same.
void HelpWindow::setLocked(std::string_view text) { setText("Text1", text); }

void HelpWindow::showTopic() {
  // The chosen row, read from the list: while the choice is reported, the box of a
  // drop-down list may still show the row before.
  const int row = selectedIndex("Combo1");
  const std::vector<Text> rows = items("Combo1");
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  const Text& chosen = rows[static_cast<std::size_t>(row)];
  for (std::string_view item : kTestOrder) {
    if (chosen.find(item) == Text::npos) continue;
    for (const Topic& t : kTopics) {
      if (t.item == item) setLocked(Text(t.title) + Text(kCrLf) + Text(kCrLf) + Text(t.body));
    }
  }
}

}  // namespace vantary::windows
