// Window `color`: the two chat colours, Text1 (C1) and Text2 (C2), six hexadecimal
// digits each, and how they are stored.
#pragma once

#include <string_view>

#include "toolkit/form.h"
#include "windows/stored_boxes.h"

namespace vantary::windows {

// The colours the program starts with where none is stored.
inline constexpr std::string_view kColor1Design = "336699";
inline constexpr std::string_view kColor2Design = "000000";

// True when the text is a colour a chat line can carry: six hexadecimal digits.
bool IsChatColor(std::string_view text);

// Text1 and Text2, six characters each, with save and exit. Enter in either box or save
// stores both colours ("color" and "color2" of the data file) and hides the window; exit
// hides it and stores nothing. The boxes are the colours in use, stored or not.
class ColorWindow : public toolkit::Form {
 public:
  ColorWindow(platform::Platform& p, text::Text dataFile);

  void storeAndClose();
  // The boxes that hold keys of the data file (see StoredBoxes).
  StoredBoxes& stored() { return stored_; }

 private:
  text::Text dataFile_;
  StoredBoxes stored_;
};

}  // namespace vantary::windows
