// One of the program's own windows with its named controls: controls are created and
// found by name, their captions and texts read and written by name, and their events
// (click, double click, change, key down, mouse down/up/move) reach handlers registered by
// name.
// Every window of the program (the console, the editors, the presentation windows) is
// a Form. A control may also take files dropped on it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "text/ansi.h"

namespace vantary::toolkit {

using platform::Platform;
using platform::Point;
using platform::Rect;
using platform::Window;
using text::Text;

enum class ControlType {
  kLabel,    // a caption; reports clicks and mouse buttons
  kTextBox,  // an edit box (hidden ones hold settings)
  kMultiLineTextBox,
  kPictureBox,  // shows a picture
  kListBox,
  kComboBox,      // drop-down with an edit part
  kDropDownList,  // drop-down list: the text is the chosen row
  kButton,
  kCheckBox,
  kSlider,     // a track bar
  kScrollBar,  // a horizontal scroll bar
  kFrame,      // a plain panel that groups controls
  kLine,       // a thin sunken rule, for decoration
};

struct ControlDesc {
  Text name;
  ControlType type = ControlType::kLabel;
  Text caption;  // the caption, or a text box's text
  Rect rect;     // pixels, in the form's client area
  bool visible = true;
  bool readOnly = false;
  int textLimit = 0;          // text boxes: 0 is no limit
  bool acceptsDrops = false;  // files dropped on it from another program run its drop handler
};

struct FormDesc {
  Text name;     // the form's own name ("vantary", "frmSplash", ...)
  Text caption;  // the window caption
  Rect rect;     // pixels, on the screen
  bool visible = false;
  bool titleBar = false;  // false: a borderless window that draws its own title
  bool taskbarButton = false;
};

// Twips (1/1440 inch) of the program's window sizes and positions, in pixels.
int TwipsToPixelsX(Platform& p, int twips);
int TwipsToPixelsY(Platform& p, int twips);
// A rectangle given in twips, in pixels.
Rect TwipsToPixels(Platform& p, int left, int top, int right, int bottom);

class Form {
 public:
  using Handler = std::function<void()>;
  using MouseHandler = std::function<void(Point)>;
  using KeyHandler = std::function<void(int key)>;  // the virtual key (13 is Enter)

  Form(Platform& platform, const FormDesc& desc);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Platform& platform() { return p_; }
  const Text& name() const { return name_; }
  // 0 once the window is gone (closed by the system or destroyed).
  Window window() const;
  bool alive() const;

  // ---- controls ----
  Window add(const ControlDesc& desc);
  // The control of that name, or 0.
  Window control(std::string_view name) const;
  // The name of a control window of this form ("" for the form itself or a stranger).
  Text nameOf(Window window) const;
  // The control's caption or text ("" when there is no such control).
  Text text(std::string_view name) const;
  void setText(std::string_view name, std::string_view value);
  // The numeric value of the control's caption, as captions holding numbers are read.
  long long number(std::string_view name) const;
  void showControl(std::string_view name, bool visible);
  bool controlVisible(std::string_view name) const;
  void enableControl(std::string_view name, bool enabled);
  void moveControl(std::string_view name, const Rect& rect);
  Rect controlRect(std::string_view name) const;
  void setFont(std::string_view name, const platform::FontSpec& font);
  // List and combo boxes.
  void addItem(std::string_view name, std::string_view item);
  // List boxes: the row goes, and no row is selected afterwards.
  void removeItem(std::string_view name, int index);
  void clearItems(std::string_view name);
  std::vector<Text> items(std::string_view name) const;
  // Puts `first` in front of the rows the list already has, in their order.
  void prependItems(std::string_view name, std::span<const Text> first);
  int selectedIndex(std::string_view name) const;  // -1 when none
  void select(std::string_view name, int index);
  // Sliders and scroll bars. A value the program sets never runs the change handler: only
  // the user's moves do. A scroll bar moves its thumb itself, a line per arrow and a tenth
  // of its range per page, and reports a change only when its value moved (an arrow at
  // the end of the range, or the end of a scroll, is no change).
  int value(std::string_view name) const;
  void setValue(std::string_view name, int value);
  void setRange(std::string_view name, int min, int max);
  // Check boxes.
  bool checked(std::string_view name) const;
  void setChecked(std::string_view name, bool checked);

  // ---- the form itself ----
  void show();
  void hide();
  bool visible() const;
  void minimize();
  void maximize();
  void restore();
  Rect rect() const;  // on the screen
  void move(const Rect& rect);
  void setHeight(int pixels);

  // ---- events (name "" is the form itself) ----
  void onClick(std::string_view name, Handler handler);
  void onDoubleClick(std::string_view name, Handler handler);
  void onChange(std::string_view name, Handler handler);
  // A key pressed in a text box or a combo box (its edit part too), before the control
  // takes it.
  void onKeyDown(std::string_view name, KeyHandler handler);
  void onMouseDown(std::string_view name, MouseHandler handler);
  void onMouseUp(std::string_view name, MouseHandler handler);
  void onMouseMove(std::string_view name, MouseHandler handler);
  // Files dropped on a control that accepts drops (ControlDesc::acceptsDrops).
  void onDrop(std::string_view name, Handler handler);
  // Menu commands (WM_COMMAND with no control) and any other command identifier.
  void onCommand(std::uint32_t id, Handler handler);
  // A message of the form window, seen before the events above (the tray's callback
  // comes as the mouse-move message). Return a value to answer it, nullopt to let the
  // events and the default processing run.
  void onMessage(std::uint32_t message,
                 std::function<std::optional<platform::LResult>(const platform::Message&)> handler);
  // Runs when the window is closed by the user or the system (before it goes).
  void onClose(Handler handler);
  // A close asked for from outside (WM_CLOSE from the user, Alt+F4 or another program)
  // runs this instead: the window stays, and the handler decides what becomes of it.
  void onCloseRequest(Handler handler);

  // ---- timers, in the manner of a form's timer controls ----
  platform::Timer& addTimer(std::string_view name, std::uint32_t intervalMs, Handler tick);
  platform::Timer* timer(std::string_view name);

  // Destroys the window and every control; handlers no longer run. Idempotent.
  void unload();

  struct Core;

 private:
  Platform& p_;
  Text name_;
  std::shared_ptr<Core> core_;
  std::map<Text, std::unique_ptr<platform::Timer>, std::less<>> timers_;
};

}  // namespace vantary::toolkit
