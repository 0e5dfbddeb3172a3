// The window system, for both sides of the glass: finding and driving other programs'
// windows, and registering classes and creating the program's own windows and menus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/messages.h"
#include "platform/types.h"

namespace vantary::platform {

class Picture;

// The behaviour a window class starts from. A class registered on a base kind behaves
// as that standard control (or frame) and its handler sees every message first; what the
// handler passes to WindowSystem::callDefault gets the base behaviour.
enum class BaseKind {
  kPlain,      // a plain window: default processing only
  kDialog,     // the dialog class "#32770"
  kStatic,     // "Static": caption text, pictures
  kEdit,       // "Edit": contents, length limit, read-only state
  kListBox,    // "ListBox": rows with item data and a selection
  kComboBox,   // "ComboBox": a drop-down list with an edit part
  kButton,     // "Button": push button, check box (see WindowStyle)
  kTrackBar,   // "msctls_trackbar32": the slider
  kScrollBar,  // "ScrollBar"
  kMdiFrame,   // a top-level window that hosts an MDI client
  kMdiClient,  // "MDIClient"
  kMdiChild,   // a window created inside an MDI client
};

// Styles the program and the stand-in host ask for. The backend maps them onto the real
// system's style bits.
struct WindowStyle {
  bool visible = false;
  bool child = false;    // a child control (parent given) rather than a top-level window
  bool popup = false;    // borderless top-level window without a caption bar
  bool caption = false;  // a caption bar with a system menu
  bool border = false;
  bool topmost = false;
  bool toolWindow = false;  // no task bar button
  bool disabled = false;
  bool multiline = false;     // edit: several lines
  bool readOnly = false;      // edit: the user cannot change it
  bool vertical = false;      // scroll bar or track bar orientation
  bool checkBox = false;      // button: an automatic check box
  bool dropDownList = false;  // combo box: the list drops down, the edit part is the selection
  bool notify = false;        // static and list box: report clicks to the parent
  bool sunken = false;
  bool acceptsFiles = false;  // takes files dropped on it from another program (WM_DROPFILES)
};

// What a handler gets and gives. Return callDefault(window, message) for the base
// behaviour. Handlers must not throw.
using WindowHandler = std::function<LResult(Window, const Message&)>;

struct ClassSpec {
  Text name;  // matched without regard to case, as the system does
  BaseKind base = BaseKind::kPlain;
  WindowHandler handler;  // may be empty: the base behaviour alone
  Color background = Rgb(192, 192, 192);
  bool doubleClicks = true;  // deliver WM_LBUTTONDBLCLK
};

struct WindowSpec {
  Text className;  // a registered class or a standard one ("Edit", "#32770", ...)
  Text caption;    // the window text at creation
  WindowStyle style;
  Window parent;      // 0 for a top-level window; an MDI client for an MDI child
  Rect rect;          // in pixels, relative to the parent's client area
  int controlId = 0;  // the child's identifier, reported in WM_COMMAND
  Window owner;       // top-level windows only: the owner window
};

struct FontSpec {
  Text face;  // "" keeps the system font
  int pointSize = 8;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

struct MenuItemFlags {
  bool checked = false;
  bool disabled = false;
  bool separator = false;
};

// Reads another process's memory. Open as long as the object lives; one is opened for one
// scan. A reader may remember which ranges it found readable, so memory freed after it read
// there once may still read (as zeros under Wine, where such reads give zeros; Windows fails
// them): a new reader sees the memory as it stands.
class ProcessReader {
 public:
  virtual ~ProcessReader() = default;
  // Reads exactly `out.size()` bytes at `address`; false when any byte cannot be read.
  virtual bool read(std::uint32_t address, std::span<std::uint8_t> out) = 0;
};

// A block of the calling process's memory at an address that fits in 32 bits, so that
// another process can be told its address in a 32-bit field. Freed with the object.
class LowMemoryBlock {
 public:
  virtual ~LowMemoryBlock() = default;
  virtual std::uint32_t address() const = 0;
  virtual std::span<std::uint8_t> bytes() = 0;
};

// A list row as wParam: -1 (no row) is every bit set, as the system reads it.
constexpr WParam RowParam(int row) { return static_cast<WParam>(static_cast<std::intptr_t>(row)); }

// How long a send to a window of another process may take before it is abandoned.
// A host that stops answering must not hang the program; a healthy host answers in well
// under a millisecond, a busy one in a few hundred.
inline constexpr std::uint32_t kForeignSendLimitMs = 2000;

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // ---- finding windows -------------------------------------------------------------
  // FindWindowA: the topmost top-level window of the class (any caption when `caption`
  // is empty). Class and caption are matched without regard to case.
  virtual Window findWindow(std::string_view className, std::optional<std::string_view> caption) = 0;
  // FindWindowExA: the next child of `parent` after `after` (0: the first) in z-order,
  // topmost first; `parent` 0 walks the top-level windows.
  virtual Window findChild(Window parent, Window after, std::string_view className,
                           std::optional<std::string_view> caption = std::nullopt) = 0;
  virtual bool exists(Window window) = 0;
  virtual Window parentOf(Window window) = 0;
  virtual Text className(Window window) = 0;
  virtual ProcessId processOf(Window window) = 0;
  virtual ProcessId currentProcess() = 0;
  // A count that grows whenever a window of another process is created, for skipping a
  // lookup that only a new window could change: the caller reads it before the lookup and
  // looks again only once it has grown. The real system tells of a creation by an event
  // delivered when events are next pumped, so a lookup may be skipped once more after
  // the window came. Where the system cannot tell at all, every reading is new.
  virtual std::uint64_t windowsCreatedElsewhere() = 0;
  // Runs `wake` from the event loop, as a message is handled, soon after a window of
  // another process is created or shown, where the system tells of it; `wake` should only
  // note that something came (several may come at once). False where the system cannot
  // tell: the caller then looks on a timer. One wake per window system: a new one replaces
  // it, an empty one ends it.
  virtual bool onWindowsChangedElsewhere(std::function<void()> wake) = 0;

  // ---- text ----------------------------------------------------------------------------
  // GetWindowTextA: for a window of another process the caption the window system keeps,
  // read without a message; for the program's own windows it asks the window.
  virtual Text caption(Window window) = 0;
  // WM_GETTEXTLENGTH then WM_GETTEXT: asks the control for its contents. A reported
  // length is never trusted beyond the buffer; "" when the window is gone or hangs.
  virtual Text text(Window window) = 0;
  // WM_SETTEXT. False when the window is gone or did not answer in time.
  virtual bool setText(Window window, std::string_view text) = 0;

  // ---- messages ------------------------------------------------------------------------
  // Sends and waits for the answer. Sends to another process are bounded by
  // kForeignSendLimitMs; nullopt when the window is gone or the send was abandoned.
  virtual std::optional<LResult> send(Window window, const Message& message) = 0;
  // WM_GETTEXTLENGTH asked in the system's wide characters: a number that changes with the
  // text as textLength does, for telling whether a text changed; not a size for a read.
  // Cheaper than textLength for another process's window under Wine, which answers an
  // ANSI WM_GETTEXTLENGTH by reading the whole text to count its bytes. Nullopt as send.
  virtual std::optional<LResult> wideTextLength(Window window) = 0;
  // The length readText sizes its buffer by and checks its copy against: WM_GETTEXTLENGTH.
  // The real system asks it in wide characters where the ANSI code page has one byte a
  // character, as the two counts are then the same and the wide one is the cheaper.
  virtual std::optional<LResult> readLength(Window window) { return send(window, msg::kGetTextLength); }
  // Queues the message; it runs when the owner's events are pumped.
  virtual bool post(Window window, const Message& message) = 0;
  // The base behaviour for a message of the program's own window (see ClassSpec).
  virtual LResult callDefault(Window window, const Message& message) = 0;

  // ---- state and placement -------------------------------------------------------------
  // ShowWindow with a msg::kSw* command. True when the window exists (and so was told).
  virtual bool show(Window window, int showCommand) = 0;
  virtual bool isVisible(Window window) = 0;  // IsWindowVisible
  virtual bool isMinimized(Window window) = 0;
  virtual bool isMaximized(Window window) = 0;
  // EnableWindow. True when the window exists (and so was told).
  virtual bool enable(Window window, bool enabled) = 0;
  virtual bool isEnabled(Window window) = 0;
  virtual Rect windowRect(Window window) = 0;  // screen coordinates, pixels
  virtual Rect clientRect(Window window) = 0;  // origin 0,0
  // MoveWindow: position relative to the parent's client area (the screen for top-level).
  virtual bool move(Window window, const Rect& rect, bool repaint) = 0;
  // SetWindowPos with an insert-after of msg::kHwnd* or a window value, and msg::kSwp* flags.
  virtual bool setPosition(Window window, std::intptr_t insertAfter, const Rect& rect,
                           std::uint32_t flags) = 0;
  virtual bool isTopmost(Window window) = 0;
  virtual bool setForeground(Window window) = 0;
  // Puts a child window under all its siblings (SetWindowPos with HWND_BOTTOM): siblings
  // clip their painting against the windows above them, so a panel below paints only
  // where no other control lies.
  virtual bool sendToBack(Window window) = 0;
  virtual bool destroy(Window window) = 0;

  // ---- the program's own windows -------------------------------------------------------
  virtual bool registerClass(const ClassSpec& desc) = 0;
  virtual Window create(const WindowSpec& desc) = 0;
  virtual bool setFont(Window window, const FontSpec& font) = 0;
  virtual bool setColors(Window window, Color text, Color background) = 0;
  // Shows the picture in a static control (a picture box) at its natural size.
  virtual bool setPicture(Window window, const Picture& picture) = 0;
  // SetWindowRgn: the window shows and takes the mouse only inside the region.
  virtual bool setRegion(Window window, const Region& region) = 0;
  virtual bool showInTaskbar(Window window, bool shown) = 0;
  // Lets the user move the window with the mouse button that is down (the system's own
  // move loop); returns when the button is released.
  virtual void dragWithMouse(Window window) = 0;
  virtual bool invalidate(Window window) = 0;

  // ---- menus ---------------------------------------------------------------------------
  virtual Menu createMenuBar() = 0;
  virtual Menu createPopupMenu() = 0;
  virtual bool appendMenuItem(Menu menu, std::uint32_t id, std::string_view caption,
                              MenuItemFlags flags = {}) = 0;
  virtual bool appendSubmenu(Menu menu, Menu submenu, std::string_view caption) = 0;
  virtual bool setMenu(Window window, Menu menu) = 0;  // the window's menu bar
  virtual bool checkMenuItem(Menu menu, std::uint32_t id, bool checked) = 0;
  virtual bool enableMenuItem(Menu menu, std::uint32_t id, bool enabled) = 0;
  virtual bool setMenuItemCaption(Menu menu, std::uint32_t id, std::string_view caption) = 0;
  virtual bool isMenuItemChecked(Menu menu, std::uint32_t id) = 0;
  virtual bool isMenuItemEnabled(Menu menu, std::uint32_t id) = 0;
  virtual Text menuItemCaption(Menu menu, std::uint32_t id) = 0;
  // Shows a pop-up menu at a screen point; a chosen item arrives at `owner` as WM_COMMAND.
  virtual bool trackPopupMenu(Menu menu, Window owner, Point at) = 0;
  // Reading any window's menu bar (GetMenu, GetMenuItemCount, GetSubMenu, GetMenuItemID,
  // GetMenuStringA with a buffer of `maxChars`). Items are addressed by position from 0.
  virtual Menu menuOf(Window window) = 0;
  virtual int menuItemCount(Menu menu) = 0;  // -1 when it cannot be read
  virtual Menu subMenu(Menu menu, int position) = 0;
  virtual std::uint32_t menuItemId(Menu menu, int position) = 0;  // 0xFFFFFFFF for a submenu
  virtual Text menuItemText(Menu menu, int position, int maxChars = 100) = 0;

  // ---- other processes' memory -------------------------------------------------------
  // OpenProcess for reading; null when the process cannot be opened.
  virtual std::unique_ptr<ProcessReader> openProcess(ProcessId process) = 0;
  virtual std::unique_ptr<LowMemoryBlock> allocateLowMemory(std::size_t size) = 0;

  // ---- typed helpers over send and post ----------------------------------------------
  std::optional<LResult> send(Window w, std::uint32_t id, WParam wp = 0, LParam lp = 0) {
    return send(w, Message{id, wp, lp});
  }
  bool post(Window w, std::uint32_t id, WParam wp = 0, LParam lp = 0) { return post(w, Message{id, wp, lp}); }
  // WM_CHAR with one character (13 is Enter).
  bool sendChar(Window w, unsigned char ch) { return send(w, msg::kChar, ch, 0).has_value(); }
  // A press of a key: WM_KEYDOWN then WM_KEYUP.
  bool sendKey(Window w, WParam key) {
    bool down = send(w, msg::kKeyDown, key, 0).has_value();
    bool up = send(w, msg::kKeyUp, key, 0).has_value();
    return down && up;
  }
  bool postKey(Window w, WParam key) {
    bool down = post(w, msg::kKeyDown, key, 0);
    bool up = post(w, msg::kKeyUp, key, 0);
    return down && up;
  }
  // The left button pressed or released at the control's corner (both parameters 0): the
  // halves of a click, for a click that lets events run between them.
  bool sendMouseDown(Window w) { return send(w, msg::kLButtonDown, 0, 0).has_value(); }
  bool sendMouseUp(Window w) { return send(w, msg::kLButtonUp, 0, 0).has_value(); }
  bool postMouseDown(Window w) { return post(w, msg::kLButtonDown, 0, 0); }
  bool postMouseUp(Window w) { return post(w, msg::kLButtonUp, 0, 0); }
  // A click at the control's corner: WM_LBUTTONDOWN then WM_LBUTTONUP, both parameters 0.
  bool sendClick(Window w) {
    bool down = sendMouseDown(w);
    bool up = sendMouseUp(w);
    return down && up;
  }
  bool postClick(Window w) {
    bool down = postMouseDown(w);
    bool up = postMouseUp(w);
    return down && up;
  }
  // WM_LBUTTONDBLCLK alone, posted: a list box opens its selected row on it.
  bool postDoubleClick(Window w) { return post(w, msg::kLButtonDblClk, 0, 0); }
  // WM_CLOSE, posted: the window closes in its own time, or refuses.
  bool postClose(Window w) { return post(w, msg::kClose, 0, 0); }
  // WM_COMMAND with a menu item's identifier and lParam 0, as choosing the item sends it.
  bool sendCommand(Window w, std::uint32_t id) { return send(w, msg::kCommand, id, 0).has_value(); }
  bool postCommand(Window w, std::uint32_t id) { return post(w, msg::kCommand, id, 0); }

  // WM_GETTEXTLENGTH: the length the control reports, not trusted beyond a buffer; nullopt
  // when the window is gone or does not answer.
  std::optional<LResult> textLength(Window w) { return send(w, msg::kGetTextLength, 0, 0); }
  // EM_LIMITTEXT: the most characters the user may type into an edit.
  bool setTextLimit(Window w, std::size_t chars) {
    return send(w, msg::kEmLimitText, static_cast<WParam>(chars), 0).has_value();
  }

  // The control helpers below are true when the window answered (whatever it did with the
  // value) and give nullopt when it is gone or does not answer.
  // Check boxes. BM_GETCHECK: the state (msg::kBstChecked or msg::kBstUnchecked); BM_SETCHECK
  // with a msg::kBst* state.
  std::optional<LResult> checkState(Window w) { return send(w, msg::kBmGetCheck, 0, 0); }
  bool setCheck(Window w, WParam state) { return send(w, msg::kBmSetCheck, state, 0).has_value(); }

  // List boxes, rows from 0. A getter gives the list's answer: msg::kLbErr for a row that
  // is not there (or, from listSelection, when no row is selected). listSelect(-1) clears
  // the selection.
  std::optional<LResult> listCount(Window w) { return send(w, msg::kLbGetCount, 0, 0); }
  std::optional<LResult> listItemData(Window w, int row) {
    return send(w, msg::kLbGetItemData, RowParam(row), 0);
  }
  // The height of a row in pixels, for pressing on a row as the mouse does.
  std::optional<LResult> listItemHeight(Window w) { return send(w, msg::kLbGetItemHeight, 0, 0); }
  std::optional<LResult> listSelection(Window w) { return send(w, msg::kLbGetCurSel, 0, 0); }
  bool listSelect(Window w, int row) { return send(w, msg::kLbSetCurSel, RowParam(row), 0).has_value(); }
  // LB_ADDSTRING: the new row's index.
  std::optional<LResult> listAdd(Window w, std::string_view item);
  bool listClear(Window w) { return send(w, msg::kLbResetContent, 0, 0).has_value(); }
  // LB_DELETESTRING: the row goes; a selected row leaves no selection.
  bool listRemove(Window w, int row) { return send(w, msg::kLbDeleteString, RowParam(row), 0).has_value(); }
  // LB_GETTEXTLEN then LB_GETTEXT; nullopt for a row that is not there. For the program's
  // own lists: across processes Wine answers LB_GETTEXT in UTF-16.
  std::optional<Text> listItemText(Window w, int row);

  // Combo boxes: the same for their list (msg::kCbErr where a list box gives kLbErr). The
  // edit part is the combo box's own text (text, setText).
  std::optional<LResult> comboCount(Window w) { return send(w, msg::kCbGetCount, 0, 0); }
  std::optional<LResult> comboSelection(Window w) { return send(w, msg::kCbGetCurSel, 0, 0); }
  bool comboSelect(Window w, int row) { return send(w, msg::kCbSetCurSel, RowParam(row), 0).has_value(); }
  std::optional<LResult> comboAdd(Window w, std::string_view item);
  bool comboClear(Window w) { return send(w, msg::kCbResetContent, 0, 0).has_value(); }
  std::optional<Text> comboItemText(Window w, int row);

  // Track bars (sliders): the control keeps the position within its range, and a position
  // set here is not reported to the parent.
  std::optional<LResult> trackPosition(Window w) { return send(w, msg::kTbmGetPos, 0, 0); }
  bool setTrackPosition(Window w, int position) {
    return send(w, msg::kTbmSetPos, 1, position).has_value();  // wParam 1: redraw
  }
  bool setTrackRange(Window w, int min, int max) {
    const bool low = send(w, msg::kTbmSetRangeMin, 0, min).has_value();
    const bool high = send(w, msg::kTbmSetRangeMax, 1, max).has_value();  // redraw once, at the end
    return low && high;
  }
  // Scroll bars: the same.
  std::optional<LResult> scrollPosition(Window w) { return send(w, msg::kSbmGetPos, 0, 0); }
  bool setScrollPosition(Window w, int position) {
    return send(w, msg::kSbmSetPos, static_cast<WParam>(position), 1).has_value();  // lParam 1: redraw
  }
  // A position outside the new range is brought to its nearer end: the systems differ on
  // whether SBM_SETRANGE does so itself (Wine keeps the old position).
  bool setScrollRange(Window w, int min, int max) {
    if (!send(w, msg::kSbmSetRange, static_cast<WParam>(min), max)) return false;
    const std::optional<LResult> position = scrollPosition(w);
    if (!position) return false;
    if (*position < min) return setScrollPosition(w, min);
    if (*position > max) return setScrollPosition(w, max);
    return true;
  }

  // The n-th child of a class (n from 1), asking for the first and then n-1 times for the
  // next one after the previous one. A missing parent has no children: it does not fall
  // back to the top-level windows as findChild(0, ...) does.
  Window nthChild(Window parent, std::string_view className, int n) {
    Window w;
    if (!parent) return w;
    for (int i = 0; i < n; ++i) {
      w = findChild(parent, w, className);
      if (!w) return Window{};
    }
    return w;
  }
  Window firstChild(Window parent, std::string_view className) { return nthChild(parent, className, 1); }

  // How many reads readText tries of a text that keeps changing length while it is read.
  static constexpr int kTextReadAttempts = 3;
  // The control's whole text as it stood at one moment: WM_GETTEXTLENGTH, WM_GETTEXT, then
  // WM_GETTEXTLENGTH again (the lengths by readLength). Unlike text(), it tells "no answer" from "": nullopt
  // when the window is gone or does not answer, when the text is longer than `limit` (WM_GETTEXT would give
  // only its head), or when it changed length during each of kTextReadAttempts reads. The other process runs
  // between the sends: a text that grew after the first length would come back cut at the buffer's end, so
  // the buffer holds two characters more than that length: a copy that fills it may have been cut (and the
  // text changed again since) and is read again; and the count copied must be the length
  // the control gives afterwards.
  std::optional<Text> readText(Window w, std::size_t limit) {
    for (int attempt = 0; attempt < kTextReadAttempts; ++attempt) {
      // The last try asks the ANSI length itself, for a control whose two counts differ.
      const bool last = attempt == kTextReadAttempts - 1;
      const auto lengthNow = [&] { return last ? send(w, msg::kGetTextLength) : readLength(w); };
      const std::optional<LResult> length = lengthNow();
      if (!length || *length < 0) return std::nullopt;
      const auto before = static_cast<std::size_t>(*length);
      if (before > limit) return std::nullopt;
      Text buffer(before + 2, '\0');
      const std::optional<LResult> copied =
          send(w, msg::kGetText, static_cast<WParam>(buffer.size()), reinterpret_cast<LParam>(buffer.data()));
      if (!copied) return std::nullopt;
      const std::optional<LResult> after = lengthNow();
      if (!after) return std::nullopt;
      // The count copied is trusted only inside the buffer, short of filling it, and up to
      // the terminator.
      if (*copied < 0 || *copied + 1 >= static_cast<LResult>(buffer.size()) || *after != *copied) continue;
      const auto count = static_cast<std::size_t>(*copied);
      if (buffer.find('\0') != count) continue;
      if (count > limit) return std::nullopt;
      buffer.resize(count);
      return buffer;
    }
    return std::nullopt;
  }
};

}  // namespace vantary::platform
