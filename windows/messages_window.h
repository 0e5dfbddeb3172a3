// Window `vantary2`: the list `rnd` of multiple messages, its input box `rndtext`, and
// the file the list is saved to.
#pragma once

#include "toolkit/form.h"

namespace vantary::windows {

// The list (in the order entries were added), the input box, save and clear, and the
// status label with the window's hover help. Enter in `rndtext` adds its text at the end
// of the list (an empty box is answered with "enter a reason!"); a double click on an
// entry takes it back into the box; save writes the list to its file and hides the
// window; clear empties the list, not the file.
class MessagesWindow : public toolkit::Form {
 public:
  MessagesWindow(platform::Platform& p, text::Text listFile);

  // Reads the list file into the front of the list (entries added since stay after it).
  // False when the file is there but cannot be read now (another program holds it): the
  // window then reads it again before it saves, and never writes over it unread.
  bool readList();

 private:
  void enter();
  void takeBack();
  void save();

  text::Text listFile_;
  bool unread_ = false;
};

}  // namespace vantary::windows
