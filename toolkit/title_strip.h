// The title a borderless window of the program draws itself: labels that drag the window,
// a label that minimizes it, and the hover help a status label shows for whatever the
// mouse is over. Every window with its own title uses it, and each stays above other
// windows.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "toolkit/form.h"

namespace vantary::toolkit {

// What the status label says while the mouse is over an element: a control's name, or ""
// for the window's background.
struct HoverText {
  std::string_view element;
  std::string_view text;
};

struct TitleStrip {
  std::vector<Text> dragLabels;      // a mouse press on any of them drags the window
  Text minimizeLabel;                // a click on it minimizes the window ("": none)
  Text statusLabel;                  // the label the hover texts go to ("": no hover help)
  std::span<const HoverText> hover;  // the texts; an element not listed leaves the label as it is
  // A close from outside (Alt+F4, another program's WM_CLOSE) hides the window as its own
  // buttons do, so what it holds stays for the program and its next showing.
  bool closeHides = true;
};

// Wires the strip's events on the form and keeps the window above other windows. The hover
// table must outlive the form (a table of literals does).
void UseTitleStrip(Form& form, const TitleStrip& strip);

// Hides the window, leaving it in its normal state (not minimized) for its next showing.
void HideWindow(Form& form);
// Shows the window in its normal state: one minimized by its "_" comes back as it was.
void ShowRestored(Form& form);

}  // namespace vantary::toolkit
