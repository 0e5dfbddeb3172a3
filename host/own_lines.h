// The lines the program itself has said in the room, kept until the room shows them, so
// that the program never takes its own status lines for the user's commands: the user
// chooses the trigger, the decorations and the custom lines freely, and any of them may
// start with the trigger and a command's name.
#pragma once

#include <cstdint>
#include <deque>
#include <string_view>

#include "text/ansi.h"

namespace vantary::host {

// A line as the room shows it, for comparing what was said with what arrived: every
// markup tag ("<...>") left out, TABs and line breaks as blanks, runs of blanks as one, no
// blank at either end. The host strips its formatting tags, shows a TAB as a blank and a
// line break as a further line, and the chat scanner joins such lines with a blank; so a
// line said and the message the scanner raises for it compare equal.
text::Text ShownForm(std::string_view line);

class OwnLines {
 public:
  // How many said lines are kept, and how long one is kept, waiting for the room to show
  // it. The chat scanner raises a line within a fraction of a second of its taking, or
  // some seconds later when the host was slow to answer, and the line is matched off as
  // it is raised, so the record holds the lines said since the scanner's last look; a line
  // that never shows (the room closed meanwhile) is forgotten after these bounds.
  static constexpr std::size_t kKept = 64;
  // The shortest message taken for the head of a longer line the host cut.
  static constexpr std::size_t kShortestCutHead = 32;
  static constexpr std::uint64_t kKeptMs = 10 * 60 * 1000;

  // The program is about to say `line` (it is in the room's input box) at `nowMs`. It is
  // recorded before Enter is pressed: the host may show it, and the chat scanner raise
  // it, while the sender still waits for the box to empty. A line the host never takes is
  // forgotten with the bounds above; until then a copy typed by the user is taken for it,
  // which costs at most a command not run, never one run that the user did not type.
  void said(std::string_view line, std::uint64_t nowMs);
  // True when `shown`, a message of the user's as the room shows it, is a line the
  // program said (or the head of one, as a host that cuts long lines shows it); that line
  // is then forgotten, so a later copy typed by the user counts.
  bool take(std::string_view shown, std::uint64_t nowMs);

 private:
  struct Said {
    text::Text shown;
    std::uint64_t atMs = 0;
  };
  void forgetOld(std::uint64_t nowMs);

  std::deque<Said> lines_;
};

}  // namespace vantary::host
