// Window `auto`: the three decoration lines Combo1..Combo3 the status lines are built
// with, each with the drop-down list of the user's earlier choices.
#pragma once

#include <array>
#include <string_view>

#include "toolkit/form.h"
#include "windows/stored_boxes.h"

namespace vantary::windows {

using text::operator""_ansi;

// The first decoration lines the program starts with on a machine without stored ones.
inline constexpr std::string_view kAscii1Design = "°›"_ansi;
inline constexpr std::string_view kAscii2Design = "‹°"_ansi;
inline constexpr std::string_view kAscii3Design = "°`·–›"_ansi;

// Combo1..Combo3 with the design decoration lines, in their frames, with save and exit.
// Enter in a combo box adds its text to the end of its own list (empty texts and repeats
// too). Save stores the three lines ("autoascii1".."autoascii3" of the data file), writes
// each list to its file and hides the window; exit hides it and stores nothing.
class AsciiWindow : public toolkit::Form {
 public:
  // `lists`: the list files of Combo1, Combo2 and Combo3.
  AsciiWindow(platform::Platform& p, text::Text dataFile, std::array<text::Text, 3> lists);
  // The boxes that hold keys of the data file (see StoredBoxes).
  StoredBoxes& stored() { return stored_; }

 private:
  void fillLists();
  // Reads list `i`'s file into the front of its combo box's list; false when the file is
  // there but cannot be read now.
  bool readList(int i);
  void save();

  text::Text dataFile_;
  StoredBoxes stored_;
  std::array<text::Text, 3> lists_;
  bool listsRead_ = false;
  // Lists whose file was there but could not be read (another program held it): saving
  // them now would write over choices the window never had.
  std::array<bool, 3> unread_{};
};

}  // namespace vantary::windows
