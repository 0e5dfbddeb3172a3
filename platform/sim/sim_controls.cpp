// The base behaviour of the sim's window classes: default window processing, dialogs, MDI,
// and the standard controls (edit, list box, combo box, button, static, track bar, scroll bar).
#include <algorithm>

#include "platform/sim/sim_internal.h"

namespace vantary::platform::sim {

namespace {

using Impl = SimWorld::Impl;

constexpr std::uintptr_t kScMaximize = 0xF030;
constexpr int kStnDblClk = 1;        // STN_DBLCLK
constexpr int kCbnEditChange = 5;    // CBN_EDITCHANGE
constexpr int kListItemHeight = 16;  // the sim's row height for mouse positions
// What EM_LIMITTEXT with 0 sets, as the system does for single- and multi-line edits.
constexpr std::size_t kSingleLineMaxLimit = 0x7FFFFFFE;
constexpr std::size_t kMultiLineMaxLimit = 0xFFFFFFFF;
// Scroll codes of WM_HSCROLL/WM_VSCROLL, and the keys that produce them.
constexpr int kLineUp = 0;
constexpr int kLineDown = 1;
constexpr int kPageUp = 2;
constexpr int kPageDown = 3;
constexpr int kThumbTrack = 5;
constexpr int kTop = 6;
constexpr int kBottom = 7;
constexpr WParam kVkPrior = 0x21;
constexpr WParam kVkNext = 0x22;
constexpr WParam kVkEnd = 0x23;
constexpr WParam kVkHome = 0x24;
constexpr WParam kVkLeft = 0x25;
constexpr WParam kVkUp = 0x26;
constexpr WParam kVkRight = 0x27;
constexpr WParam kVkDown = 0x28;
constexpr int kIdCancel = msg::kIdCancel;

Point PointOf(LParam lParam) {
  const auto v = static_cast<std::uintptr_t>(lParam);
  return Point{static_cast<std::int16_t>(LowWord(v)), static_cast<std::int16_t>(HighWord(v))};
}

// An index carried in wParam: -1 arrives as the all-ones value.
std::intptr_t IndexOf(WParam wParam) { return static_cast<std::intptr_t>(wParam); }

bool ValidIndex(const WindowData& w, std::intptr_t index) {
  return index >= 0 && static_cast<std::size_t>(index) < w.items.size();
}

// WM_COMMAND with a notification code to the control's parent.
void Notify(Impl& world, Window control, int code) {
  const WindowData* w = world.find(control);
  if (w == nullptr || w->parent == 0) return;
  const auto wParam = static_cast<WParam>((static_cast<std::uint32_t>(w->controlId) & 0xFFFF) |
                                          (static_cast<std::uint32_t>(code) << 16));
  world.deliver(w->process, Window{w->parent},
                Message{msg::kCommand, wParam, static_cast<LParam>(control.value)}, false);
}

// WM_HSCROLL (or WM_VSCROLL for a vertical control) to the parent.
void NotifyScroll(Impl& world, Window control, int code, int position = 0) {
  const WindowData* w = world.find(control);
  if (w == nullptr || w->parent == 0) return;
  const std::uint32_t id = w->style.vertical ? msg::kVScroll : msg::kHScroll;
  const auto wParam = static_cast<WParam>((static_cast<std::uint32_t>(code) & 0xFFFF) |
                                          ((static_cast<std::uint32_t>(position) & 0xFFFF) << 16));
  world.deliver(w->process, Window{w->parent}, Message{id, wParam, static_cast<LParam>(control.value)},
                false);
}

// DefWindowProc.
LResult WindowProc(Impl& world, Window window, const Message& m) {
  WindowData* w = world.find(window);
  if (w == nullptr) return 0;
  switch (m.id) {
    case msg::kSetText:
      w->caption = TextAt(m.lParam);
      return 1;
    case msg::kGetText:
      return CopyToBuffer(w->caption, m.wParam, m.lParam);
    case msg::kGetTextLength:
      return static_cast<LResult>(w->caption.size());
    case msg::kClose:
      world.destroyWindow(window.value);
      return 0;
    case msg::kQueryEndSession:
      return 1;  // the session may end
    case msg::kSysCommand:
      switch (m.wParam & msg::kScMask) {
        case msg::kScMinimize:
          world.show(window.value, msg::kSwMinimize);
          break;
        case kScMaximize:
          world.show(window.value, msg::kSwShowMaximized);
          break;
        case msg::kScRestore:
          world.show(window.value, msg::kSwRestore);
          break;
        case msg::kScClose:
          world.sendOwn(window, Message{msg::kClose, 0, 0});
          break;
        case msg::kScMove:
          // The system's move loop; in the sim the window lands where the test said the
          // mouse would leave it.
          DragTo(world, window);
          break;
        default:
          break;
      }
      return 0;
    default:
      return 0;
  }
}

// DefDlgProc: closing a dialog is pressing its Cancel button, posted as the system does.
LResult DialogProc(Impl& world, Window window, const Message& m) {
  if (m.id == msg::kClose) {
    WindowData* w = world.find(window);
    std::uint32_t cancel = 0;
    for (std::uint32_t c : w->children) {
      const WindowData* child = world.find(c);
      if (child != nullptr && child->controlId == kIdCancel) {
        cancel = c;
        break;
      }
    }
    world.post(window, Message{msg::kCommand, static_cast<WParam>(kIdCancel), static_cast<LParam>(cancel)});
    return 0;
  }
  return WindowProc(world, window, m);
}

LResult MdiClientProc(Impl& world, Window window, const Message& m) {
  WindowData* w = world.find(window);
  const auto childOfThis = [&](WParam v) {
    const WindowData* c = world.find(static_cast<std::uint32_t>(v));
    return c != nullptr && c->parent == window.value;
  };
  switch (m.id) {
    case msg::kMdiGetActive: {
      if (m.lParam != 0) {
        const WindowData* active = world.find(w->activeChild);
        *reinterpret_cast<std::int32_t*>(m.lParam) = active != nullptr && active->maximized ? 1 : 0;
      }
      return static_cast<LResult>(w->activeChild);
    }
    case msg::kMdiActivate:
      if (childOfThis(m.wParam)) world.activateMdiChild(window.value, static_cast<std::uint32_t>(m.wParam));
      return 0;
    case msg::kMdiDestroy:
      if (childOfThis(m.wParam)) world.destroyWindow(static_cast<std::uint32_t>(m.wParam));
      return 0;
    default:
      return WindowProc(world, window, m);
  }
}

// DefMDIChildProc: closing a child asks its client to destroy it.
LResult MdiChildProc(Impl& world, Window window, const Message& m) {
  if (m.id == msg::kClose) {
    const WindowData* w = world.find(window);
    if (w->parent != 0) {
      world.sendOwn(Window{w->parent}, Message{msg::kMdiDestroy, window.value, 0});
    } else {
      world.destroyWindow(window.value);
    }
    return 0;
  }
  return WindowProc(world, window, m);
}

// ---- edit ----

void EditChanged(Impl& world, Window window) { Notify(world, window, msg::kEnChange); }

LResult EditProc(Impl& world, Window window, const Message& m) {
  WindowData* w = world.find(window);
  switch (m.id) {
    case msg::kSetText:
      // The contents change; the caption the window system keeps does not. The limit
      // applies to typing only, and a single-line edit reports the change.
      w->contents = TextAt(m.lParam);
      if (!w->style.multiline) EditChanged(world, window);
      return 1;
    case msg::kGetText:
      return CopyToBuffer(w->contents, m.wParam, m.lParam);
    case msg::kGetTextLength:
      return static_cast<LResult>(w->contents.size());
    case msg::kEmLimitText:
      w->limit = m.wParam != 0 ? static_cast<std::size_t>(m.wParam)
                               : (w->style.multiline ? kMultiLineMaxLimit : kSingleLineMaxLimit);
      return 0;
    case msg::kEmGetLimitText:
      return static_cast<LResult>(w->limit);
    case msg::kEmSetReadOnly:
      w->readOnly = m.wParam != 0;
      return 1;
    case msg::kChar: {
      // The sim has no caret: typing appends and Backspace takes the last character.
      const auto ch = static_cast<unsigned char>(m.wParam & 0xFF);
      if (w->readOnly) return 0;
      if (ch == 8) {
        if (w->contents.empty()) return 0;
        w->contents.pop_back();
      } else if (ch == 13 || ch == 9) {
        // Enter and Tab type only into a multi-line edit.
        if (!w->style.multiline) return 0;
        const std::string_view add = ch == 13 ? std::string_view("\r\n") : std::string_view("\t");
        if (w->contents.size() + add.size() > w->limit) return 0;
        w->contents += add;
      } else if (ch < 0x20 || ch == 0x7F) {
        return 0;
      } else {
        if (w->contents.size() >= w->limit) return 0;  // typing beyond the limit is refused
        w->contents += static_cast<char>(ch);
      }
      EditChanged(world, window);
      return 0;
    }
    default:
      return WindowProc(world, window, m);
  }
}

// ---- list box and combo box: the rows they share ----

// Inserts at `index` (-1: the end); the selection keeps its row.
LResult InsertItem(WindowData& w, std::intptr_t index, Text text, LResult error) {
  if (index == -1) index = static_cast<std::intptr_t>(w.items.size());
  if (index < 0 || static_cast<std::size_t>(index) > w.items.size()) return error;
  w.items.insert(w.items.begin() + index, ListItem{std::move(text), 0});
  if (w.selection >= index) ++w.selection;
  return index;
}

LResult DeleteItem(WindowData& w, std::intptr_t index, LResult error) {
  if (!ValidIndex(w, index)) return error;
  w.items.erase(w.items.begin() + index);
  if (w.selection == index) {
    w.selection = -1;
  } else if (w.selection > index) {
    --w.selection;
  }
  return static_cast<LResult>(w.items.size());
}

// Selects the row at a mouse position (rows of kListItemHeight pixels); true when the
// selection changed.
bool SelectAt(WindowData& w, LParam point) {
  const Point p = PointOf(point);
  if (p.y < 0) return false;
  const int row = p.y / kListItemHeight;
  if (row >= static_cast<int>(w.items.size()) || row == w.selection) return false;
  w.selection = row;
  return true;
}

// Up and Down move the selection by a row; true when it changed.
bool SelectByKey(WindowData& w, WParam key) {
  if (w.items.empty()) return false;
  int next = w.selection;
  if (key == kVkDown) {
    next = std::min(w.selection + 1, static_cast<int>(w.items.size()) - 1);
  } else if (key == kVkUp) {
    next = std::max(w.selection - 1, 0);
  } else {
    return false;
  }
  if (next == w.selection) return false;
  w.selection = next;
  return true;
}

LResult ListBoxProc(Impl& world, Window window, const Message& m) {
  WindowData* w = world.find(window);
  const std::intptr_t index = IndexOf(m.wParam);
  switch (m.id) {
    case msg::kLbAddString:
      return InsertItem(*w, -1, TextAt(m.lParam), msg::kLbErr);
    case msg::kLbInsertString:
      return InsertItem(*w, index, TextAt(m.lParam), msg::kLbErr);
    case msg::kLbDeleteString:
      return DeleteItem(*w, index, msg::kLbErr);
    case msg::kLbResetContent:
      w->items.clear();
      w->selection = -1;
      return 0;
    case msg::kLbGetCount:
      return static_cast<LResult>(w->items.size());
    case msg::kLbGetText: {
      // The caller's buffer is sized from LB_GETTEXTLEN: the whole row is copied.
      if (!ValidIndex(*w, index) || m.lParam == 0) return msg::kLbErr;
      const Text& t = w->items[static_cast<std::size_t>(index)].text;
      return CopyToBuffer(t, t.size() + 1, m.lParam);
    }
    case msg::kLbGetTextLen:
      if (!ValidIndex(*w, index)) return msg::kLbErr;
      return static_cast<LResult>(w->items[static_cast<std::size_t>(index)].text.size());
    case msg::kLbSetCurSel:
      // -1 clears the selection and still answers LB_ERR, as documented.
      if (index == -1) {
        w->selection = -1;
        return msg::kLbErr;
      }
      if (!ValidIndex(*w, index)) return msg::kLbErr;
      w->selection = static_cast<int>(index);
      return index;
    case msg::kLbGetCurSel:
      return w->selection;
    case msg::kLbSetItemData:
      if (!ValidIndex(*w, index)) return msg::kLbErr;
      w->items[static_cast<std::size_t>(index)].data = m.lParam;
      return 0;
    case msg::kLbGetItemData:
      if (!ValidIndex(*w, index)) return msg::kLbErr;
      return w->items[static_cast<std::size_t>(index)].data;
    case msg::kLbGetItemHeight:
      return kListItemHeight;
    case msg::kLButtonDown:
      if (SelectAt(*w, m.lParam) && w->style.notify) Notify(world, window, msg::kLbnSelChange);
      return 0;
    case msg::kLButtonDblClk: {
      const bool changed = SelectAt(*w, m.lParam);
      const bool notify = w->style.notify;
      if (changed && notify) Notify(world, window, msg::kLbnSelChange);
      if (notify) Notify(world, window, msg::kLbnDblClk);
      return 0;
    }
    case msg::kKeyDown:
      if (SelectByKey(*w, m.wParam) && w->style.notify) Notify(world, window, msg::kLbnSelChange);
      return 0;
    default:
      return WindowProc(world, window, m);
  }
}

// The text a combo box shows: its edit part, or the selected row of a drop-down list.
Text ComboText(const WindowData& w) {
  if (!w.style.dropDownList) return w.contents;
  if (!ValidIndex(w, w.selection)) return {};
  return w.items[static_cast<std::size_t>(w.selection)].text;
}

LResult ComboBoxProc(Impl& world, Window window, const Message& m) {
  WindowData* w = world.find(window);
  const std::intptr_t index = IndexOf(m.wParam);
  const bool editable = !w->style.dropDownList;
  switch (m.id) {
    case msg::kCbAddString:
      return InsertItem(*w, -1, TextAt(m.lParam), msg::kCbErr);
    case msg::kCbInsertString:
      return InsertItem(*w, index, TextAt(m.lParam), msg::kCbErr);
    case msg::kCbDeleteString:
      return DeleteItem(*w, index, msg::kCbErr);
    case msg::kCbResetContent:
      w->items.clear();
      w->selection = -1;
      if (editable) w->contents.clear();
      return 0;
    case msg::kCbGetCount:
      return static_cast<LResult>(w->items.size());
    case msg::kCbGetCurSel:
      return w->selection;
    case msg::kCbSetCurSel:
      // Out of range or -1: the selection is cleared and the answer is CB_ERR.
      if (!ValidIndex(*w, index)) {
        w->selection = -1;
        if (editable) w->contents.clear();
        return msg::kCbErr;
      }
      w->selection = static_cast<int>(index);
      if (editable) w->contents = w->items[static_cast<std::size_t>(index)].text;
      return index;
    case msg::kCbGetLbText: {
      if (!ValidIndex(*w, index) || m.lParam == 0) return msg::kCbErr;
      const Text& t = w->items[static_cast<std::size_t>(index)].text;
      return CopyToBuffer(t, t.size() + 1, m.lParam);
    }
    case msg::kCbGetLbTextLen:
      if (!ValidIndex(*w, index)) return msg::kCbErr;
      return static_cast<LResult>(w->items[static_cast<std::size_t>(index)].text.size());
    case msg::kCbSetItemData:
      if (!ValidIndex(*w, index)) return msg::kCbErr;
      w->items[static_cast<std::size_t>(index)].data = m.lParam;
      return 0;
    case msg::kCbGetItemData:
      if (!ValidIndex(*w, index)) return msg::kCbErr;
      return w->items[static_cast<std::size_t>(index)].data;
    case msg::kSetText: {
      const Text t = TextAt(m.lParam);
      if (editable) {
        w->contents = t;
        return 1;
      }
      // A drop-down list shows only its rows: the text selects the row that has it.
      for (std::size_t i = 0; i < w->items.size(); ++i) {
        if (text::EqualsNoCase(w->items[i].text, t)) {
          w->selection = static_cast<int>(i);
          return 1;
        }
      }
      return msg::kCbErr;
    }
    case msg::kGetText:
      return CopyToBuffer(ComboText(*w), m.wParam, m.lParam);
    case msg::kGetTextLength:
      return static_cast<LResult>(ComboText(*w).size());
    case msg::kChar: {
      if (!editable) return 0;
      const auto ch = static_cast<unsigned char>(m.wParam & 0xFF);
      if (ch == 8) {
        if (w->contents.empty()) return 0;
        w->contents.pop_back();
      } else if (ch < 0x20 || ch == 0x7F) {
        return 0;
      } else {
        w->contents += static_cast<char>(ch);
      }
      Notify(world, window, kCbnEditChange);
      return 0;
    }
    case msg::kKeyDown:
      if (SelectByKey(*w, m.wParam)) {
        if (editable) w->contents = w->items[static_cast<std::size_t>(w->selection)].text;
        Notify(world, window, msg::kCbnSelChange);
      }
      return 0;
    default:
      return WindowProc(world, window, m);
  }
}

// ---- button ----

void ButtonClicked(Impl& world, Window window) {
  WindowData* w = world.find(window);
  if (w == nullptr || !w->enabled) return;
  // An automatic check box toggles on the click: checked becomes unchecked, anything
  // else becomes checked.
  if (w->style.checkBox) w->check = (w->check & 1) != 0 ? 0 : 1;
  Notify(world, window, msg::kBnClicked);
}

LResult ButtonProc(Impl& world, Window window, const Message& m) {
  WindowData* w = world.find(window);
  switch (m.id) {
    case msg::kLButtonDown:
    case msg::kLButtonDblClk:
      if (w->enabled) w->pressed = true;
      return 0;
    case msg::kLButtonUp: {
      // A click is a press and a release inside the button.
      if (!w->pressed) return 0;
      w->pressed = false;
      const Point p = PointOf(m.lParam);
      const Rect r = world.screenRect(*w);
      if (p.x >= 0 && p.y >= 0 && p.x < r.width() && p.y < r.height()) ButtonClicked(world, window);
      return 0;
    }
    case msg::kKeyDown:
      if (m.wParam == msg::kVkSpace && w->enabled) w->pressed = true;
      return 0;
    case msg::kKeyUp:
      if (m.wParam == msg::kVkSpace && w->pressed) {
        w->pressed = false;
        ButtonClicked(world, window);
      }
      return 0;
    case msg::kBmClick:
      // As the system does it: a press and a release at the button's corner.
      if (!w->enabled) return 0;
      world.sendOwn(window, Message{msg::kLButtonDown, 0, 0});
      world.sendOwn(window, Message{msg::kLButtonUp, 0, 0});
      return 0;
    case msg::kBmGetCheck:
      return w->style.checkBox ? w->check : 0;
    case msg::kBmSetCheck:
      // A two-state check box keeps at most "checked": any other non-zero state, such
      // as (WPARAM)-1, checks it. A push button has no check state.
      if (w->style.checkBox) w->check = m.wParam != 0 ? 1 : 0;
      return 0;
    default:
      return WindowProc(world, window, m);
  }
}

// ---- static ----

LResult StaticProc(Impl& world, Window window, const Message& m) {
  const WindowData* w = world.find(window);
  if (m.id == msg::kLButtonDown && w->style.notify) {
    Notify(world, window, msg::kStnClicked);
    return 0;
  }
  if (m.id == msg::kLButtonDblClk && w->style.notify) {
    Notify(world, window, kStnDblClk);
    return 0;
  }
  return WindowProc(world, window, m);
}

// ---- track bar and scroll bar ----

int Clamp(const WindowData& w, std::int64_t v) {
  const int low = std::min(w.rangeMin, w.rangeMax);
  const int high = std::max(w.rangeMin, w.rangeMax);
  return static_cast<int>(std::clamp<std::int64_t>(v, low, high));
}

// The scroll code a key gives, or -1.
int ScrollCodeOf(WParam key) {
  switch (key) {
    case kVkLeft:
    case kVkUp:
      return kLineUp;
    case kVkRight:
    case kVkDown:
      return kLineDown;
    case kVkPrior:
      return kPageUp;
    case kVkNext:
      return kPageDown;
    case kVkHome:
      return kTop;
    case kVkEnd:
      return kBottom;
    default:
      return -1;
  }
}

LResult TrackBarProc(Impl& world, Window window, const Message& m) {
  WindowData* w = world.find(window);
  switch (m.id) {
    case msg::kTbmGetPos:
      return w->position;
    case msg::kTbmGetRangeMin:
      return w->rangeMin;
    case msg::kTbmGetRangeMax:
      return w->rangeMax;
    case msg::kTbmSetPos:
      // A program's change: clamped to the range, and no notification.
      w->position = Clamp(*w, m.lParam);
      return 0;
    case msg::kTbmSetRangeMin:
      w->rangeMin = static_cast<int>(m.lParam);
      w->position = Clamp(*w, w->position);
      return 0;
    case msg::kTbmSetRangeMax:
      w->rangeMax = static_cast<int>(m.lParam);
      w->position = Clamp(*w, w->position);
      return 0;
    case msg::kKeyDown: {
      // The user's change by keyboard: a line is 1, a page a fifth of the range.
      const int code = ScrollCodeOf(m.wParam);
      if (code < 0) return 0;
      const int page = std::max(1, (w->rangeMax - w->rangeMin) / 5);
      std::int64_t next = w->position;
      if (code == kLineUp) next -= 1;
      if (code == kLineDown) next += 1;
      if (code == kPageUp) next -= page;
      if (code == kPageDown) next += page;
      if (code == kTop) next = w->rangeMin;
      if (code == kBottom) next = w->rangeMax;
      const int clamped = Clamp(*w, next);
      if (clamped == w->position) return 0;
      w->position = clamped;
      NotifyScroll(world, window, code);
      return 0;
    }
    case msg::kKeyUp:
      if (ScrollCodeOf(m.wParam) >= 0) NotifyScroll(world, window, msg::kSbEndScroll);
      return 0;
    case msg::kLButtonDown: {
      // The user's change by mouse: the thumb goes to the pointer.
      const Rect r = world.screenRect(*w);
      const Point p = PointOf(m.lParam);
      const int along = w->style.vertical ? p.y : p.x;
      const int span = std::max(1, (w->style.vertical ? r.height() : r.width()) - 1);
      const std::int64_t range = std::int64_t{w->rangeMax} - w->rangeMin;
      w->position = Clamp(*w, w->rangeMin + (along * range + span / 2) / span);
      w->pressed = true;
      NotifyScroll(world, window, kThumbTrack, w->position);
      return 0;
    }
    case msg::kLButtonUp:
      if (!w->pressed) return 0;
      w->pressed = false;
      NotifyScroll(world, window, msg::kSbThumbPosition, w->position);
      NotifyScroll(world, window, msg::kSbEndScroll);
      return 0;
    default:
      return WindowProc(world, window, m);
  }
}

LResult ScrollBarProc(Impl& world, Window window, const Message& m) {
  WindowData* w = world.find(window);
  switch (m.id) {
    case msg::kSbmSetRange: {
      const int old = w->position;
      w->rangeMin = static_cast<int>(static_cast<std::intptr_t>(m.wParam));
      w->rangeMax = static_cast<int>(m.lParam);
      w->position = Clamp(*w, w->position);
      return w->position != old ? old : 0;
    }
    case msg::kSbmSetPos: {
      const int old = w->position;
      w->position = Clamp(*w, static_cast<std::intptr_t>(m.wParam));
      return old;
    }
    case msg::kSbmGetPos:
      return w->position;
    case msg::kKeyDown: {
      // A scroll bar only reports the user's wish; its owner moves the thumb.
      const int code = ScrollCodeOf(m.wParam);
      if (code >= 0) NotifyScroll(world, window, code);
      return 0;
    }
    case msg::kKeyUp:
      if (ScrollCodeOf(m.wParam) >= 0) NotifyScroll(world, window, msg::kSbEndScroll);
      return 0;
    default:
      return WindowProc(world, window, m);
  }
}

}  // namespace

LResult SimWorld::Impl::defaultProc(Window window, const Message& message) {
  const WindowData* w = find(window);
  if (w == nullptr) return 0;
  switch (w->kind) {
    case BaseKind::kPlain:
    case BaseKind::kMdiFrame:
      return WindowProc(*this, window, message);
    case BaseKind::kDialog:
      return DialogProc(*this, window, message);
    case BaseKind::kStatic:
      return StaticProc(*this, window, message);
    case BaseKind::kEdit:
      return EditProc(*this, window, message);
    case BaseKind::kListBox:
      return ListBoxProc(*this, window, message);
    case BaseKind::kComboBox:
      return ComboBoxProc(*this, window, message);
    case BaseKind::kButton:
      return ButtonProc(*this, window, message);
    case BaseKind::kTrackBar:
      return TrackBarProc(*this, window, message);
    case BaseKind::kScrollBar:
      return ScrollBarProc(*this, window, message);
    case BaseKind::kMdiClient:
      return MdiClientProc(*this, window, message);
    case BaseKind::kMdiChild:
      return MdiChildProc(*this, window, message);
  }
  return 0;
}

}  // namespace vantary::platform::sim
