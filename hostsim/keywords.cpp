// Keywords: the toolbar's keyword box, the Keyword window, and what the host does with a
// keyword (private rooms, instant messages, the buddy list).
#include "hostsim/host_impl.h"
#include "text/text_ops.h"

namespace vantary::hostsim {
namespace {

constexpr std::string_view kPrivateRoomKeyword = "aol://2719:2-2-";
constexpr std::string_view kInstantMessageKeyword = "aol://9293:";

// A keyword as typed, without the blanks and line breaks around it.
Text TrimBlanks(std::string_view s) { return Text(text::Trim(s, text::kBlanksAndLineBreaks)); }

// The host shows a private room's name as its servers keep it: each word with a capital
// first letter and the rest in lower case, the words apart by one blank ("QUIET  corner"
// is shown "Quiet Corner"). Names that differ only in case and blanks are one room.
Text RoomCaption(const Text& name) {
  Text caption;
  bool blank = true;
  for (const char c : text::ToLower(name)) {
    if (c == ' ' || c == '\t') {
      blank = true;
      continue;
    }
    if (blank && !caption.empty()) caption += ' ';
    caption += blank ? text::ToUpperChar(c) : c;
    blank = false;
  }
  return caption;
}

}  // namespace

// Enter in the keyword box, or its Go icon. The host's keyword box keeps the keyword it
// runs from the keys typed into it (its completion from the keyword history works on
// keystrokes): a keyword set into the box with WM_SETTEXT alone is not known to the host,
// and Enter leaves it standing unrun. A key typed after it (the program types a blank)
// makes the host take the box's text. Where the blank lands depends on the caret, so the
// keyword is taken without blanks around it.
bool HostSim::Impl::takeKeyword(Window box) {
  if (!keywordTyped) return false;
  const Text keyword = TrimBlanks(ws.text(box));
  ws.setText(box, "");
  if (keyword.empty()) return false;
  noteActivity();
  defer([this, keyword] { runKeyword(keyword); });
  return true;
}

void HostSim::Impl::runKeyword(const Text& keyword) {
  if (!signedOn) return;
  keywords.push_back(keyword);
  const Text lower = text::ToLower(keyword);
  if (lower.starts_with(kPrivateRoomKeyword)) {
    enterPrivateRoom(keyword.substr(kPrivateRoomKeyword.size()));
  } else if (lower.starts_with(kInstantMessageKeyword)) {
    openInstantMessage(TrimBlanks(keyword.substr(kInstantMessageKeyword.size())));
  } else {
    const Text key = NameKey(keyword);
    if (key == "buddy" || key == "buddylist" || key == "buddylists") openBuddyList();
  }
}

void HostSim::Impl::openKeywordWindow() {
  if (const Window existing = firstWithRole(WindowRole::kKeyword)) {
    bringToTop(existing);
    for (const auto& [control, c] : controls) {
      if (c.owner == existing && c.role == ControlRole::kKeywordEdit) ws.setText(control, "");
    }
    return;
  }
  const Window w = makeChild("Keyword", Rect{100, 100, 480, 230}, WindowRole::kKeyword);
  if (!w) return;
  makeControl(w, "_AOL_Static", "Type a keyword or Web address and click Go", Rect{10, 10, 370, 30});
  const Window edit = makeControl(w, "_AOL_Edit", "", Rect{10, 36, 370, 58});
  const Window go = makeControl(w, "_AOL_Icon", "Go", Rect{10, 70, 80, 110});
  makeControl(w, "_AOL_Icon", "Search", Rect{90, 70, 160, 110});
  const auto run = [this, w, edit] {
    const Text keyword = TrimBlanks(ws.text(edit));
    if (ws.exists(w)) ws.destroy(w);
    if (!keyword.empty()) runKeyword(keyword);
  };
  setClick(go, w, run);
  Control c;
  c.owner = w;
  c.role = ControlRole::kKeywordEdit;
  c.click = run;
  setControl(edit, c);
}

// The host is in one chat room at a time: entering a private room leaves the others. A
// full room is answered with the host's dialog and changes nothing.
void HostSim::Impl::enterPrivateRoom(const Text& requested) {
  const Text name = TrimBlanks(requested);
  if (name.empty()) return;
  const Text key = NameKey(name);
  if (fullRooms.count(key) != 0) {
    showHostDialog("The room you requested is full. Please try again later.");
    return;
  }
  Window same;
  std::vector<Window> others;
  for (const auto& room : rooms) {
    if (NameKey(room->name) == key) {
      same = room->window;
    } else {
      others.push_back(room->window);
    }
  }
  for (Window w : others) {
    if (ws.exists(w)) ws.destroy(w);
  }
  if (same) {
    bringToTop(same);
    return;
  }
  openRoom(RoomCaption(name), privateLayout);
}

}  // namespace vantary::hostsim
