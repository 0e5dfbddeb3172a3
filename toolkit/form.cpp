// The program's own windows: a window with named controls and named event handlers.
#include "toolkit/form.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <utility>

#include "platform/messages.h"

namespace vantary::toolkit {
namespace {

namespace msg = platform::msg;
using platform::BaseKind;
using platform::LResult;
using platform::Message;

// Notification codes of the controls, in the high word of WM_COMMAND's wParam.
constexpr int kStnDblClk = 1;
constexpr int kCbnEditChange = 5;

int NextFormNumber() {
  static std::atomic<int> counter{0};
  return ++counter;
}

struct TypeInfo {
  const char* suffix;
  BaseKind base;
};

TypeInfo InfoOf(ControlType type) {
  switch (type) {
    case ControlType::kLabel:
      return {"Label", BaseKind::kStatic};
    case ControlType::kTextBox:
    case ControlType::kMultiLineTextBox:
      return {"TextBox", BaseKind::kEdit};
    case ControlType::kPictureBox:
      return {"PictureBox", BaseKind::kStatic};
    case ControlType::kListBox:
      return {"ListBox", BaseKind::kListBox};
    case ControlType::kComboBox:
    case ControlType::kDropDownList:
      return {"ComboBox", BaseKind::kComboBox};
    case ControlType::kButton:
    case ControlType::kCheckBox:
      return {"Button", BaseKind::kButton};
    case ControlType::kSlider:
      return {"Slider", BaseKind::kTrackBar};
    case ControlType::kScrollBar:
      return {"ScrollBar", BaseKind::kScrollBar};
    case ControlType::kFrame:
      return {"Frame", BaseKind::kStatic};
    case ControlType::kLine:
      return {"Line", BaseKind::kStatic};
  }
  return {"Label", BaseKind::kStatic};
}

constexpr ControlType kAllTypes[] = {ControlType::kLabel,   ControlType::kTextBox,   ControlType::kPictureBox,
                                     ControlType::kListBox, ControlType::kComboBox,  ControlType::kButton,
                                     ControlType::kSlider,  ControlType::kScrollBar, ControlType::kFrame,
                                     ControlType::kLine};

const platform::FontSpec kControlFont{.face = "MS Sans Serif", .pointSize = 8};

bool IsList(ControlType t) { return t == ControlType::kListBox; }
bool IsCombo(ControlType t) { return t == ControlType::kComboBox || t == ControlType::kDropDownList; }
bool TakesKeys(ControlType t) {
  return t == ControlType::kTextBox || t == ControlType::kMultiLineTextBox || IsCombo(t);
}

// A new scroll bar's range, as the program's scroll bars have always started.
constexpr int kScrollBarMax = 32767;

}  // namespace

struct Form::Core {
  struct Control {
    Text name;
    ControlType type;
    Window window;
    bool visible = true;  // the control's own state, whether or not the form is shown
  };
  using MessageHandler = std::function<std::optional<LResult>(const Message&)>;

  Platform* p = nullptr;
  Window window;
  Text classPrefix;
  std::map<Text, Control, std::less<>> controls;
  std::map<std::uint32_t, Text> names;  // control window -> name
  std::vector<Window> frames;           // in the order they were made
  std::map<Text, Handler, std::less<>> clicks, doubleClicks, changes, drops;
  std::map<Text, MouseHandler, std::less<>> mouseDowns, mouseUps, mouseMoves;
  std::map<Text, KeyHandler, std::less<>> keyDowns;
  // Sliders and scroll bars: the value last reported (or set by the program), and a
  // scroll bar's range, which the control does not tell.
  std::map<std::uint32_t, int> values;
  std::map<std::uint32_t, std::pair<int, int>> ranges;
  // The program sets a value now: what the control reports meanwhile is no move of the user.
  bool settingValue = false;
  std::map<std::uint32_t, Handler> commands;
  std::map<std::uint32_t, MessageHandler> messages;
  Handler close;
  Handler closeRequest;

  const Control* find(std::string_view name) const {
    auto it = controls.find(name);
    return it == controls.end() ? nullptr : &it->second;
  }
  const Control* byWindow(Window w) const {
    auto it = names.find(w.value);
    return it == names.end() ? nullptr : find(it->second);
  }

  // Handlers may unload the form: each runs from its own copy.
  static void Run(const std::map<Text, Handler, std::less<>>& table, std::string_view name) {
    auto it = table.find(name);
    if (it == table.end() || !it->second) return;
    Handler h = it->second;
    h();
  }
  static void RunMouse(const std::map<Text, MouseHandler, std::less<>>& table, std::string_view name,
                       platform::LParam lp) {
    auto it = table.find(name);
    if (it == table.end() || !it->second) return;
    MouseHandler h = it->second;
    const auto v = static_cast<std::uintptr_t>(lp);
    h(Point{static_cast<std::int16_t>(platform::LowWord(v)),
            static_cast<std::int16_t>(platform::HighWord(v))});
  }

  int position(const Control& c) const {
    auto& ws = p->windows;
    const auto at = c.type == ControlType::kSlider ? ws.trackPosition(c.window) : ws.scrollPosition(c.window);
    return static_cast<int>(at.value_or(0));
  }

  // WM_HSCROLL or WM_VSCROLL from a slider or a scroll bar: a scroll bar's thumb moves as
  // the user asked; the change handler runs when the value moved.
  void scrolled(const Control& c, const Message& m) {
    if (settingValue) return;
    const int code = platform::LowWord(m.wParam);
    if (c.type == ControlType::kScrollBar) {
      const auto [low, high] =
          ranges.count(c.window.value) ? ranges[c.window.value] : std::pair{0, kScrollBarMax};
      const int page = std::max(1, (high - low) / 10);
      const int at = position(c);
      int next = at;
      switch (code) {
        case msg::kSbLineLeft:
          next = at - 1;
          break;
        case msg::kSbLineRight:
          next = at + 1;
          break;
        case msg::kSbPageLeft:
          next = at - page;
          break;
        case msg::kSbPageRight:
          next = at + page;
          break;
        case msg::kSbThumbPosition:
        case msg::kSbThumbTrack:
          next = platform::HighWord(m.wParam);
          break;
        case msg::kSbLeft:
          next = low;
          break;
        case msg::kSbRight:
          next = high;
          break;
        default:
          break;
      }
      next = std::clamp(next, std::min(low, high), std::max(low, high));
      if (next != at) p->windows.setScrollPosition(c.window, next);
    }
    const int now = position(c);
    auto last = values.find(c.window.value);
    if (last != values.end() && last->second == now) return;
    values[c.window.value] = now;
    const Text name = c.name;
    Run(changes, name);
  }

  void command(const Message& m) {
    const int code = platform::HighWord(m.wParam);
    if (m.lParam == 0) {
      auto it = commands.find(static_cast<std::uint32_t>(platform::LowWord(m.wParam)));
      if (it != commands.end() && it->second) {
        Handler h = it->second;
        h();
      }
      return;
    }
    const Control* c = byWindow(Window{static_cast<std::uint32_t>(m.lParam)});
    if (c == nullptr) return;
    const Text name = c->name;
    switch (c->type) {
      case ControlType::kButton:
      case ControlType::kCheckBox:
        if (code == msg::kBnClicked) Run(clicks, name);
        break;
      case ControlType::kLabel:
      case ControlType::kPictureBox:
      case ControlType::kFrame:
      case ControlType::kLine:
        if (code == msg::kStnClicked) Run(clicks, name);
        if (code == kStnDblClk) Run(doubleClicks, name);
        break;
      case ControlType::kTextBox:
      case ControlType::kMultiLineTextBox:
        if (code == msg::kEnChange) Run(changes, name);
        break;
      case ControlType::kListBox:
        if (code == msg::kLbnSelChange) Run(clicks, name);
        if (code == msg::kLbnDblClk) Run(doubleClicks, name);
        break;
      case ControlType::kComboBox:
      case ControlType::kDropDownList:
        if (code == msg::kCbnSelChange) Run(clicks, name);
        if (code == kCbnEditChange) Run(changes, name);
        break;
      case ControlType::kSlider:
      case ControlType::kScrollBar:
        break;
    }
  }

  LResult formMessage(Window w, const Message& m) {
    // A message handler of the form comes first: the tray's callback arrives as the
    // mouse-move message, which is no mouse move of the form.
    if (auto it = messages.find(m.id); it != messages.end() && it->second) {
      MessageHandler h = it->second;
      if (auto answer = h(m)) return *answer;
    }
    switch (m.id) {
      case msg::kCommand:
        command(m);
        return 0;
      case msg::kHScroll:
      case msg::kVScroll:
        if (const Control* c = byWindow(Window{static_cast<std::uint32_t>(m.lParam)})) {
          if (c->type == ControlType::kSlider || c->type == ControlType::kScrollBar) scrolled(*c, m);
        }
        return 0;
      case msg::kLButtonDown:
        RunMouse(mouseDowns, "", m.lParam);
        break;
      case msg::kLButtonUp:
        RunMouse(mouseUps, "", m.lParam);
        break;
      case msg::kMouseMove:
        RunMouse(mouseMoves, "", m.lParam);
        break;
      case msg::kLButtonDblClk:
        Run(doubleClicks, "");
        break;
      case msg::kClose:
        if (closeRequest) {
          Handler h = closeRequest;
          h();
          return 0;
        }
        if (close) {
          Handler h = close;
          h();
        }
        break;
      case msg::kDestroy:
        window = Window{};
        break;
      default:
        break;
    }
    return p->windows.callDefault(w, m);
  }

  LResult controlMessage(Window w, const Message& m) {
    const Control* c = byWindow(w);
    // A press on a list selects the row under the pointer first, so the handler of the
    // press reads the row that was pressed.
    if (c != nullptr && m.id == msg::kLButtonDown && IsList(c->type)) {
      const Text name = c->name;
      const LResult result = p->windows.callDefault(w, m);
      if (byWindow(w) != nullptr) RunMouse(mouseDowns, name, m.lParam);
      return result;
    }
    if (c != nullptr) {
      const Text name = c->name;
      if (m.id == msg::kKeyDown && TakesKeys(c->type)) {
        auto it = keyDowns.find(name);
        if (it != keyDowns.end() && it->second) {
          KeyHandler h = it->second;
          h(static_cast<int>(m.wParam));
        }
      }
      if (m.id == msg::kLButtonDown) RunMouse(mouseDowns, name, m.lParam);
      if (m.id == msg::kLButtonUp) RunMouse(mouseUps, name, m.lParam);
      if (m.id == msg::kDropFiles) Run(drops, name);
      if (m.id == msg::kMouseMove) RunMouse(mouseMoves, name, m.lParam);
    }
    return p->windows.callDefault(w, m);
  }
};

int TwipsToPixelsX(Platform& p, int twips) {
  const int t = p.screen.twipsPerPixelX() > 0 ? p.screen.twipsPerPixelX() : 15;
  return static_cast<int>(std::lround(static_cast<double>(twips) / t));
}

int TwipsToPixelsY(Platform& p, int twips) {
  const int t = p.screen.twipsPerPixelY() > 0 ? p.screen.twipsPerPixelY() : 15;
  return static_cast<int>(std::lround(static_cast<double>(twips) / t));
}

Rect TwipsToPixels(Platform& p, int left, int top, int right, int bottom) {
  return Rect{TwipsToPixelsX(p, left), TwipsToPixelsY(p, top), TwipsToPixelsX(p, right),
              TwipsToPixelsY(p, bottom)};
}

Form::Form(Platform& platform, const FormDesc& desc)
    : p_(platform), name_(desc.name), core_(std::make_shared<Core>()) {
  core_->p = &p_;
  core_->classPrefix = "vantary " + desc.name + " #" + std::to_string(NextFormNumber());
  std::weak_ptr<Core> weak = core_;

  // No exception crosses a window handler: a handler that throws loses its event.
  auto guarded = [](auto&& body) -> LResult {
    try {
      return body();
    } catch (...) {
      return 0;
    }
  };

  platform::ClassSpec formClass;
  formClass.name = core_->classPrefix;
  // The classes outlive the form (a class stays registered); their handlers hold only
  // the platform and a weak link to the form's state.
  Platform* pp = &p_;
  formClass.handler = [weak, guarded, pp](Window w, const Message& m) -> LResult {
    auto core = weak.lock();
    if (!core) return pp->windows.callDefault(w, m);
    return guarded([&] { return core->formMessage(w, m); });
  };
  p_.windows.registerClass(formClass);

  for (ControlType type : kAllTypes) {
    const TypeInfo info = InfoOf(type);
    platform::ClassSpec controlClass;
    controlClass.name = core_->classPrefix + " " + info.suffix;
    controlClass.base = info.base;
    controlClass.handler = [weak, guarded, pp](Window w, const Message& m) -> LResult {
      auto core = weak.lock();
      if (!core) return pp->windows.callDefault(w, m);
      return guarded([&] { return core->controlMessage(w, m); });
    };
    p_.windows.registerClass(controlClass);
  }

  platform::WindowSpec window;
  window.className = core_->classPrefix;
  window.caption = desc.caption;
  window.rect = desc.rect;
  window.style.visible = desc.visible;
  window.style.popup = !desc.titleBar;
  window.style.caption = desc.titleBar;
  window.style.toolWindow = !desc.taskbarButton;
  core_->window = p_.windows.create(window);
}

Form::~Form() { unload(); }

Window Form::window() const { return core_->window; }

bool Form::alive() const { return core_->window && p_.windows.exists(core_->window); }

Window Form::add(const ControlDesc& desc) {
  if (!core_->window) return Window{};
  const TypeInfo info = InfoOf(desc.type);
  platform::WindowSpec child;
  child.className = core_->classPrefix + " " + info.suffix;
  child.caption = desc.caption;
  child.parent = core_->window;
  child.rect = desc.rect;
  child.controlId = static_cast<int>(core_->controls.size()) + 1;
  child.style.child = true;
  child.style.visible = desc.visible;
  child.style.readOnly = desc.readOnly;
  child.style.notify = true;
  child.style.multiline = desc.type == ControlType::kMultiLineTextBox;
  child.style.checkBox = desc.type == ControlType::kCheckBox;
  child.style.dropDownList = desc.type == ControlType::kDropDownList;
  child.style.sunken = desc.type == ControlType::kLine;
  child.style.acceptsFiles = desc.acceptsDrops;
  const Window w = p_.windows.create(child);
  if (!w) return w;
  if (desc.textLimit > 0) p_.windows.setTextLimit(w, static_cast<std::size_t>(desc.textLimit));
  // Every control speaks in the dialog font the program's windows are laid out for, not
  // the larger system font a control gets by default.
  p_.windows.setFont(w, kControlFont);
  // A combo box's text is its edit part, which the caption at creation does not fill.
  if (IsCombo(desc.type) && !desc.caption.empty()) p_.windows.setText(w, desc.caption);
  core_->controls[desc.name] = Core::Control{desc.name, desc.type, w, desc.visible};
  core_->names[w.value] = desc.name;
  if (desc.type == ControlType::kScrollBar) setRange(desc.name, 0, kScrollBarMax);
  if (desc.type == ControlType::kSlider || desc.type == ControlType::kScrollBar) {
    core_->values[w.value] = value(desc.name);
  }
  // A frame groups the controls that lie on it: frames stay under every other control,
  // whatever the order they were made in, or they would paint over what they hold.
  if (desc.type == ControlType::kFrame || desc.type == ControlType::kLine) core_->frames.push_back(w);
  for (const Window frame : core_->frames) p_.windows.sendToBack(frame);
  return w;
}

Window Form::control(std::string_view name) const {
  const Core::Control* c = core_->find(name);
  return c != nullptr ? c->window : Window{};
}

Text Form::nameOf(Window window) const {
  const Core::Control* c = core_->byWindow(window);
  return c != nullptr ? c->name : Text{};
}

Text Form::text(std::string_view name) const {
  const Window w = control(name);
  return w ? p_.windows.text(w) : Text{};
}

void Form::setText(std::string_view name, std::string_view value) {
  if (const Window w = control(name)) p_.windows.setText(w, value);
}

long long Form::number(std::string_view name) const { return text::NumericInt(text(name)); }

void Form::showControl(std::string_view name, bool visible) {
  auto it = core_->controls.find(name);
  if (it == core_->controls.end()) return;
  it->second.visible = visible;
  p_.windows.show(it->second.window, visible ? msg::kSwShow : msg::kSwHide);
}

bool Form::controlVisible(std::string_view name) const {
  const Core::Control* c = core_->find(name);
  return c != nullptr && c->visible;
}

void Form::enableControl(std::string_view name, bool enabled) {
  if (const Window w = control(name)) p_.windows.enable(w, enabled);
}

void Form::moveControl(std::string_view name, const Rect& rect) {
  if (const Window w = control(name)) p_.windows.move(w, rect, true);
}

Rect Form::controlRect(std::string_view name) const {
  const Window w = control(name);
  if (!w) return Rect{};
  const Rect screen = p_.windows.windowRect(w);
  const Rect form = p_.windows.windowRect(core_->window);
  return Rect{screen.left - form.left, screen.top - form.top, screen.right - form.left,
              screen.bottom - form.top};
}

void Form::setFont(std::string_view name, const platform::FontSpec& font) {
  if (const Window w = control(name)) p_.windows.setFont(w, font);
}

void Form::addItem(std::string_view name, std::string_view item) {
  const Core::Control* c = core_->find(name);
  if (c == nullptr) return;
  if (IsCombo(c->type)) {
    p_.windows.comboAdd(c->window, item);
  } else {
    p_.windows.listAdd(c->window, item);
  }
}

void Form::removeItem(std::string_view name, int index) {
  const Core::Control* c = core_->find(name);
  if (c == nullptr || !IsList(c->type)) return;
  p_.windows.listRemove(c->window, index);
  // The systems differ on where the selection goes when its row does; it goes nowhere.
  p_.windows.listSelect(c->window, -1);
}

void Form::clearItems(std::string_view name) {
  const Core::Control* c = core_->find(name);
  if (c == nullptr) return;
  if (IsCombo(c->type)) {
    p_.windows.comboClear(c->window);
  } else {
    p_.windows.listClear(c->window);
  }
}

std::vector<Text> Form::items(std::string_view name) const {
  std::vector<Text> out;
  const Core::Control* c = core_->find(name);
  if (c == nullptr || !(IsCombo(c->type) || IsList(c->type))) return out;
  const bool combo = IsCombo(c->type);
  auto& ws = p_.windows;
  const platform::LResult count = (combo ? ws.comboCount(c->window) : ws.listCount(c->window)).value_or(0);
  for (int row = 0; row < count; ++row) {
    // A row that cannot be read stays in its place as "".
    out.push_back(
        (combo ? ws.comboItemText(c->window, row) : ws.listItemText(c->window, row)).value_or(Text{}));
  }
  return out;
}

void Form::prependItems(std::string_view name, std::span<const Text> first) {
  const std::vector<Text> after = items(name);
  clearItems(name);
  for (const Text& item : first) addItem(name, item);
  for (const Text& item : after) addItem(name, item);
}

int Form::selectedIndex(std::string_view name) const {
  const Core::Control* c = core_->find(name);
  if (c == nullptr) return -1;
  const auto r =
      IsCombo(c->type) ? p_.windows.comboSelection(c->window) : p_.windows.listSelection(c->window);
  return r && *r >= 0 ? static_cast<int>(*r) : -1;
}

void Form::select(std::string_view name, int index) {
  const Core::Control* c = core_->find(name);
  if (c == nullptr) return;
  if (IsCombo(c->type)) {
    p_.windows.comboSelect(c->window, index);
  } else {
    p_.windows.listSelect(c->window, index);
  }
}

int Form::value(std::string_view name) const {
  const Core::Control* c = core_->find(name);
  if (c == nullptr) return 0;
  const auto position = c->type == ControlType::kSlider ? p_.windows.trackPosition(c->window)
                                                        : p_.windows.scrollPosition(c->window);
  return static_cast<int>(position.value_or(0));
}

void Form::setValue(std::string_view name, int value) {
  const Core::Control* c = core_->find(name);
  if (c == nullptr) return;
  // The program's own change is no change of the user's, whether or not the control
  // reports it.
  const std::shared_ptr<Core> core = core_;
  core->settingValue = true;
  if (c->type == ControlType::kSlider) {
    p_.windows.setTrackPosition(c->window, value);
  } else {
    p_.windows.setScrollPosition(c->window, value);
  }
  core->settingValue = false;
  core->values[c->window.value] = core->position(*c);
}

void Form::setRange(std::string_view name, int min, int max) {
  const Core::Control* c = core_->find(name);
  if (c == nullptr) return;
  const std::shared_ptr<Core> core = core_;
  core->settingValue = true;
  if (c->type == ControlType::kSlider) {
    p_.windows.setTrackRange(c->window, min, max);
  } else {
    p_.windows.setScrollRange(c->window, min, max);
    core->ranges[c->window.value] = {min, max};
  }
  core->settingValue = false;
  core->values[c->window.value] = core->position(*c);
}

bool Form::checked(std::string_view name) const {
  const Window w = control(name);
  return w && p_.windows.checkState(w).value_or(0) != 0;
}

void Form::setChecked(std::string_view name, bool checked) {
  if (const Window w = control(name)) {
    p_.windows.setCheck(w, checked ? msg::kBstChecked : msg::kBstUnchecked);
  }
}

void Form::show() { p_.windows.show(core_->window, msg::kSwShow); }
void Form::hide() { p_.windows.show(core_->window, msg::kSwHide); }
bool Form::visible() const { return p_.windows.isVisible(core_->window); }
void Form::minimize() { p_.windows.show(core_->window, msg::kSwMinimize); }
void Form::maximize() { p_.windows.show(core_->window, msg::kSwShowMaximized); }
void Form::restore() { p_.windows.show(core_->window, msg::kSwRestore); }
Rect Form::rect() const { return p_.windows.windowRect(core_->window); }
void Form::move(const Rect& rect) { p_.windows.move(core_->window, rect, true); }

void Form::setHeight(int pixels) {
  const Rect r = rect();
  move(Rect{r.left, r.top, r.right, r.top + pixels});
}

void Form::onClick(std::string_view name, Handler handler) { core_->clicks[Text(name)] = std::move(handler); }
void Form::onDoubleClick(std::string_view name, Handler handler) {
  core_->doubleClicks[Text(name)] = std::move(handler);
}
void Form::onChange(std::string_view name, Handler handler) {
  core_->changes[Text(name)] = std::move(handler);
}
void Form::onKeyDown(std::string_view name, KeyHandler handler) {
  core_->keyDowns[Text(name)] = std::move(handler);
}
void Form::onMouseDown(std::string_view name, MouseHandler handler) {
  core_->mouseDowns[Text(name)] = std::move(handler);
}
void Form::onMouseUp(std::string_view name, MouseHandler handler) {
  core_->mouseUps[Text(name)] = std::move(handler);
}
void Form::onMouseMove(std::string_view name, MouseHandler handler) {
  core_->mouseMoves[Text(name)] = std::move(handler);
}
void Form::onDrop(std::string_view name, Handler handler) { core_->drops[Text(name)] = std::move(handler); }
void Form::onCommand(std::uint32_t id, Handler handler) { core_->commands[id] = std::move(handler); }
void Form::onMessage(std::uint32_t message,
                     std::function<std::optional<platform::LResult>(const platform::Message&)> handler) {
  core_->messages[message] = std::move(handler);
}
void Form::onClose(Handler handler) { core_->close = std::move(handler); }
void Form::onCloseRequest(Handler handler) { core_->closeRequest = std::move(handler); }

platform::Timer& Form::addTimer(std::string_view name, std::uint32_t intervalMs, Handler tick) {
  auto& slot = timers_[Text(name)];
  slot = std::make_unique<platform::Timer>(p_.loop, intervalMs, std::move(tick));
  return *slot;
}

platform::Timer* Form::timer(std::string_view name) {
  auto it = timers_.find(name);
  return it == timers_.end() ? nullptr : it->second.get();
}

void Form::unload() {
  for (auto& [name, t] : timers_) t->setEnabled(false);
  const Window w = core_->window;
  // Handlers stop first: the window's last messages find no handler to run.
  auto old = std::exchange(core_, std::make_shared<Core>());
  core_->p = &p_;
  core_->classPrefix = old->classPrefix;
  if (w && p_.windows.exists(w)) p_.windows.destroy(w);
}

}  // namespace vantary::toolkit
