// The command list window and the explanations of its commands.
#include "windows/command_list.h"

#include "toolkit/window_utils.h"

namespace vantary::windows {
namespace {

using platform::Point;
using text::Text;
using toolkit::ControlType;
using toolkit::FormDesc;
using toolkit::TwipsToPixelsX;
using toolkit::TwipsToPixelsY;

constexpr int kWidthTwips = 1815;

// Each item's explanation, in the order the items are tested against a pressed item:
// the trigger goes between the head and the tail.
struct Explanation {
  std::string_view item;
  std::string_view head;
  bool withTrigger;
  std::string_view tail;
};
constexpr Explanation kExplanations[] = {
    {"trig x", "change trigger ", true, "trig x"},
    {"gon", "simply ghost", false, ""},
    {"goff", "simply unghost", false, ""},
    {"cmds", "view commands", false, ""},
    {"cmdh", "hide commands", false, ""},
    {"signoff", "signoff aol", false, ""},
    {"status", "scrolls dl or ul stats", false, ""},
    {"imson", "enable ims", false, ""},
    {"imsoff", "disable ims", false, ""},
    {"pr x", "private room ", true, "pr x"},
    {"rea x", "reason ", true, "rea x"},
    {"idleon", "enables idlebot", false, ""},
    {"idleoff", "disable idlebot", false, ""},
};

}  // namespace

// Every item whose text the pressed one contains sets the explanation, in the order of
// the table; each list item contains only its own.
Text CommandExplanation(std::string_view item, std::string_view trigger) {
  Text explanation;
  for (const Explanation& e : kExplanations) {
    if (item.find(e.item) == std::string_view::npos) continue;
    explanation = Text(e.head) + (e.withTrigger ? Text(trigger) : Text()) + Text(e.tail);
  }
  return explanation;
}

CommandList::CommandList(platform::Platform& p, std::function<Text()> trigger)
    : form_(p,
            FormDesc{.name = "coms",
                     .caption = "coms",
                     .rect = {0, 0, TwipsToPixelsX(p, kWidthTwips), TwipsToPixelsY(p, kCommandListTwips)}}),
      trigger_(std::move(trigger)) {
  const int width = TwipsToPixelsX(p, kWidthTwips);
  const int listHeight = TwipsToPixelsY(p, kCommandListTwips);
  form_.add({.name = "List1", .type = ControlType::kListBox, .rect = {0, 0, width, listHeight}});
  form_.add({.name = "Label1",
             .type = ControlType::kLabel,
             .caption = "coms",
             .rect = {0, listHeight, width, TwipsToPixelsY(p, kCommandListExplainedTwips)}});
  form_.setFont("Label1", {.face = "Tahoma", .pointSize = 8});
  for (std::string_view item : kCommandListItems) form_.addItem("List1", item);
  toolkit::StayOnTop(p, form_.window());
  form_.onMouseDown("List1", [this](Point) { pressed(); });
  form_.onMouseUp("List1", [this](Point) { released(); });
  // Closed from outside it is only put away: ".cmds" shows it again.
  form_.onCloseRequest([this] { form_.hide(); });
}

void CommandList::pressed() {
  const int selected = form_.selectedIndex("List1");
  if (selected < 0) return;
  const std::vector<Text> items = form_.items("List1");
  if (static_cast<std::size_t>(selected) >= items.size()) return;
  const Text explanation =
      CommandExplanation(items[static_cast<std::size_t>(selected)], trigger_ ? trigger_() : "");
  if (explanation.empty()) return;
  form_.setText("Label1", explanation);
  form_.setHeight(TwipsToPixelsY(form_.platform(), kCommandListExplainedTwips));
}

void CommandList::released() { form_.setHeight(TwipsToPixelsY(form_.platform(), kCommandListTwips)); }

}  // namespace vantary::windows
