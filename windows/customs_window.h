// Window `customs`: the four custom lines Text1..Text4, the slider that shows as many of
// them as the user wants, the legend of the macros with its hover help, and view and save.
#pragma once

#include <functional>

#include "toolkit/form.h"
#include "windows/stored_boxes.h"

namespace vantary::windows {

// The window's size in twips: compact (the line boxes, the first legend labels, the
// slider and the buttons), extended ("more customs": the rest of the legend and "up").
inline constexpr int kCustomsCompactTwips = 2160;
inline constexpr int kCustomsExtendedTwips = 3200;
inline constexpr int kCustomsWidthTwips = 3735;

// Loads the lines "cus1".."cus4" of the data file into Text1..Text4 and shows the boxes
// that hold a line. The view button (SSRibbon1) runs `view`; save (SSRibbon2) stores the
// four lines and hides the window. The boxes are the custom lines in use, saved or not.
class CustomsWindow : public toolkit::Form {
 public:
  CustomsWindow(platform::Platform& p, text::Text dataFile, std::function<void()> view = {});

  // What the view button runs (the custom scroll sent once); empty: nothing.
  void setView(std::function<void()> view) { view_ = std::move(view); }
  // The boxes that hold keys of the data file (see StoredBoxes).
  StoredBoxes& stored() { return stored_; }

 private:
  void load();
  void showLines(int beyondFirst);
  void step();
  void save();

  text::Text dataFile_;
  StoredBoxes stored_;
  std::function<void()> view_;
};

}  // namespace vantary::windows
