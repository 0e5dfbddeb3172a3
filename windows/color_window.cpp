// Window `color`: the two chat colours, Text1 (C1) and Text2 (C2), six hexadecimal
// digits each, and how they are stored.
#include "windows/color_window.h"

#include <algorithm>
#include <cctype>

#include "platform/messages.h"
#include "settings/program_files.h"
#include "settings/settings_store.h"
#include "toolkit/title_strip.h"
#include "toolkit/window_utils.h"

namespace vantary::windows {

using platform::Platform;
using text::Text;
using toolkit::ControlType;
using toolkit::FormDesc;
namespace msg = platform::msg;

namespace {

// The boxes the data file fills.
constexpr StoredBox kStored[] = {{"Text1", "color"}, {"Text2", "color2"}};

// The colour boxes take a six-digit hexadecimal colour and nothing longer.
constexpr int kColorChars = 6;
constexpr int kWidthTwips = 2400;
constexpr int kHeightTwips = 1950;
constexpr std::string_view kTitle = "vantary : color changer";

}  // namespace

bool IsChatColor(std::string_view text) {
  return text.size() == static_cast<std::size_t>(kColorChars) &&
         std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

ColorWindow::ColorWindow(Platform& p, Text dataFile)
    : Form(p, FormDesc{.name = "color",
                       .caption = "color",
                       .rect = {200, 200, 200 + toolkit::TwipsToPixelsX(p, kWidthTwips),
                                200 + toolkit::TwipsToPixelsY(p, kHeightTwips)}}),
      dataFile_(std::move(dataFile)),
      stored_(*this, dataFile_, kStored) {
  add({.name = "Label1",
       .type = ControlType::kLabel,
       .caption = " vantary : color changer",
       .rect = {0, 0, 160, 16}});
  add({.name = "Frame1", .type = ControlType::kFrame, .rect = {8, 20, 152, 56}});
  add({.name = "Frame2", .type = ControlType::kFrame, .rect = {8, 60, 152, 96}});
  add({.name = "Text1",
       .type = ControlType::kTextBox,
       .caption = Text(kColor1Design),
       .rect = {16, 28, 144, 48},
       .textLimit = kColorChars});
  add({.name = "Text2",
       .type = ControlType::kTextBox,
       .caption = Text(kColor2Design),
       .rect = {16, 68, 144, 88},
       .textLimit = kColorChars});
  add({.name = "SSRibbon2", .type = ControlType::kButton, .caption = "save", .rect = {8, 102, 78, 124}});
  add({.name = "SSRibbon1", .type = ControlType::kButton, .caption = "exit", .rect = {82, 102, 152, 124}});

  toolkit::UseTitleStrip(*this, {.dragLabels = {"Label1"}});
  const auto enterStores = [this](int key) {
    if (key == static_cast<int>(msg::kVkReturn)) storeAndClose();
  };
  onKeyDown("Text1", enterStores);
  onKeyDown("Text2", enterStores);
  onClick("SSRibbon2", [this] { storeAndClose(); });
  onClick("SSRibbon1", [this] { toolkit::HideWindow(*this); });
}

void ColorWindow::storeAndClose() {
  stored_.takeStored();
  Platform& p = platform();
  const Text c1 = text("Text1");
  const Text c2 = text("Text2");
  // A box that holds no colour still goes into the lines as typed, but the user is told
  // before it is stored, so that a slip of the keyboard does not go unnoticed.
  Text notColors;
  for (const Text& c : {c1, c2}) {
    if (IsChatColor(c)) continue;
    notColors += (notColors.empty() ? "\"" : ", \"") + c + "\"";
  }
  if (!notColors.empty()) {
    p.dialogs.messageBox(window(),
                         notColors +
                             " is not a colour of six hexadecimal digits (such as 336699); the lines use "
                             "it as it is.",
                         kTitle, msg::kMbOk | msg::kMbIconWarning);
  }
  const bool stored1 = settings::WriteSetting(p.files, settings::kSection, "color", c1, dataFile_);
  const bool stored2 = settings::WriteSetting(p.files, settings::kSection, "color2", c2, dataFile_);
  if (!stored1 || !stored2) {
    // Nothing typed is lost without a word: the window stays open with the colours.
    p.dialogs.messageBox(window(),
                         "the colours could not be saved to " + dataFile_ +
                             ". they are used until vantary ends; save again to keep them.",
                         kTitle, msg::kMbOk | msg::kMbIconError);
    return;
  }
  toolkit::HideWindow(*this);
}

}  // namespace vantary::windows
