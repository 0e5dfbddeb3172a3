// The sim's window system: the window table, z-order, message delivery, placement, menus,
// and the WindowSystem each process sees.
#include <algorithm>

#include "platform/sim/sim_internal.h"

namespace vantary::platform::sim {

namespace {

constexpr int kSizeRestored = 0;   // SIZE_RESTORED
constexpr int kSizeMinimized = 1;  // SIZE_MINIMIZED
constexpr int kSizeMaximized = 2;  // SIZE_MAXIMIZED
constexpr int kSwShowMinNoActive = 7;
constexpr int kSwShowNa = 8;
constexpr int kSwShowDefault = 10;
constexpr int kSwForceMinimize = 11;
// Where the system parks a minimized top-level window, and the size it reports there.
constexpr Rect kMinimizedRect{-32000, -32000, -32000 + 160, -32000 + 28};
// A text longer than this is cut when read: a length a hostile window reports is never
// trusted to size a buffer beyond it.
constexpr LResult kMaxTextLength = 1 << 20;
constexpr std::uint32_t kSubmenuId = 0xFFFFFFFF;
// Menus nest no deeper than this when searched by command (a menu put inside itself
// must not loop).
constexpr int kMaxMenuDepth = 16;

}  // namespace

// ---- the window table -------------------------------------------------------------------------

WindowData* SimWorld::Impl::find(Window w) {
  auto it = windows.find(w.value);
  return it == windows.end() ? nullptr : it->second.get();
}

std::vector<std::uint32_t>& SimWorld::Impl::siblingsOf(const WindowData& w) {
  if (w.parent != 0) {
    if (WindowData* p = find(w.parent)) return p->children;
  }
  return topLevel;
}

void SimWorld::Impl::insertTopLevel(std::uint32_t handle, bool isTopmost) {
  // Topmost windows stay above all others: a window goes to the top of its own band.
  auto at = topLevel.begin();
  if (!isTopmost) {
    at = std::find_if(topLevel.begin(), topLevel.end(), [&](std::uint32_t h) {
      const WindowData* w = find(h);
      return w == nullptr || !w->topmost;
    });
  }
  topLevel.insert(at, handle);
}

void SimWorld::Impl::removeFromSiblings(const WindowData& w) {
  auto& list = siblingsOf(w);
  list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
}

void SimWorld::Impl::raise(WindowData& w) {
  removeFromSiblings(w);
  if (w.parent != 0) {
    auto& list = siblingsOf(w);
    list.insert(list.begin(), w.handle);
  } else {
    insertTopLevel(w.handle, w.topmost);
  }
}

std::optional<LResult> SimWorld::Impl::deliver(ProcessId caller, Window target, const Message& message,
                                               bool posted) {
  WindowData* w = find(target);
  if (w == nullptr) return std::nullopt;
  if (!posted && caller != w->process && hung.count(w->process) != 0) {
    // SendMessageTimeout with abort-if-hung: the caller waits out the bound, then gives up.
    now += kForeignSendLimitMs;
    return std::nullopt;
  }
  if (recorded.count(target.value) != 0) messageLog.push_back(MessageRecord{target, message, posted});
  // The class outlives the call even when the handler destroys the window.
  std::shared_ptr<const ClassInfo> cls = w->cls;
  if (cls->handler) return cls->handler(target, message);
  return defaultProc(target, message);
}

LResult SimWorld::Impl::sendOwn(Window target, const Message& message) {
  const WindowData* w = find(target);
  if (w == nullptr) return 0;
  return deliver(w->process, target, message, false).value_or(0);
}

bool SimWorld::Impl::post(Window target, const Message& message) {
  const WindowData* w = find(target);
  if (w == nullptr) return false;
  QueueItem item;
  item.process = w->process;
  item.window = target;
  item.message = message;
  queue.push_back(std::move(item));
  return true;
}

void SimWorld::Impl::destroyWindow(std::uint32_t handle, bool notify) {
  WindowData* w = find(handle);
  if (w == nullptr || w->destroying) return;
  w->destroying = true;
  // Owned windows go before their owner, as the system destroys them.
  std::vector<std::uint32_t> owned;
  for (std::uint32_t h : topLevel) {
    const WindowData* t = find(h);
    if (t != nullptr && t->owner == handle) owned.push_back(h);
  }
  for (std::uint32_t h : owned) destroyWindow(h);
  if (foreground == handle) foreground = 0;
  // WM_DESTROY reaches the window first, then its children as they go; while the window
  // handles it, its children still exist.
  if (notify) sendOwn(Window{handle}, Message{msg::kDestroy, 0, 0});
  w = find(handle);
  if (w == nullptr) return;
  const std::vector<std::uint32_t> children = w->children;
  for (std::uint32_t c : children) destroyWindow(c);
  w = find(handle);
  if (w == nullptr) return;
  const std::uint32_t parent = w->parent;
  removeFromSiblings(*w);
  if (w->menu != 0 && parent == 0) destroyMenu(w->menu);
  windows.erase(handle);
  recorded.erase(handle);

  // The MDI client activates the next child when the active one goes.
  WindowData* client = find(parent);
  if (client != nullptr && client->kind == BaseKind::kMdiClient && client->activeChild == handle) {
    client->activeChild = 0;
    if (!client->children.empty()) activateMdiChild(parent, client->children.front());
  }
}

void SimWorld::Impl::activateMdiChild(std::uint32_t clientHandle, std::uint32_t child) {
  WindowData* client = find(clientHandle);
  WindowData* c = find(child);
  if (client == nullptr || c == nullptr || c->parent != clientHandle) return;
  raise(*c);
  const std::uint32_t old = client->activeChild;
  if (old == child) return;
  client->activeChild = child;
  // WM_MDIACTIVATE: wParam the child losing activation, lParam the one gaining it.
  const Message note{msg::kMdiActivate, old, static_cast<LParam>(child)};
  if (old != 0) sendOwn(Window{old}, note);
  sendOwn(Window{child}, note);
}

Rect SimWorld::Impl::screenRect(const WindowData& w) {
  if (w.parent == 0) {
    if (w.minimized) return kMinimizedRect;
    if (w.maximized) return Rect{0, 0, screenSize.width, screenSize.height};
    return w.rect;
  }
  const WindowData* p = find(w.parent);
  const Rect origin = p != nullptr ? screenRect(*p) : Rect{};
  Rect r = w.rect;
  if (w.maximized) r = Rect{0, 0, origin.width(), origin.height()};
  return Rect{origin.left + r.left, origin.top + r.top, origin.left + r.right, origin.top + r.bottom};
}

void SimWorld::Impl::moveTo(std::uint32_t handle, const Rect& rect) {
  WindowData* w = find(handle);
  if (w == nullptr) return;
  const Rect old = w->rect;
  w->rect = rect;
  if (old.left != rect.left || old.top != rect.top) {
    sendOwn(Window{handle}, Message{msg::kMove, 0, MakeLParam(rect.left, rect.top)});
  }
  if (old.width() != rect.width() || old.height() != rect.height()) {
    sendOwn(Window{handle}, Message{msg::kSize, kSizeRestored, MakeLParam(rect.width(), rect.height())});
  }
}

// Tells the processes that watch for it that a window of `process` came or showed, each
// from a turn of its own loop.
void SimWorld::Impl::windowsChangedBy(ProcessId process) {
  for (const auto& [watcher, wake] : windowWakes) {
    if (watcher == process || !windowWakesPosted.insert(watcher).second) continue;
    postWork(watcher, [this, id = watcher] {
      windowWakesPosted.erase(id);
      const auto found = windowWakes.find(id);
      if (found == windowWakes.end()) return;
      const std::function<void()> run = found->second;
      run();
    });
  }
}

bool SimWorld::Impl::show(std::uint32_t handle, int command) {
  WindowData* w = find(handle);
  if (w == nullptr) return false;
  if (command != msg::kSwHide && !w->visible) windowsChangedBy(w->process);
  const bool wasVisible = w->visible;
  const bool wasMinimized = w->minimized;
  const bool wasMaximized = w->maximized;
  bool visible = true;
  bool minimized = w->minimized;
  bool maximized = w->maximized;
  bool activate = true;
  switch (command) {
    case msg::kSwHide:
      visible = false;
      activate = false;
      break;
    case msg::kSwShow:
      break;
    case kSwShowNa:
      activate = false;
      break;
    case msg::kSwShowNormal:
    case kSwShowDefault:
    case msg::kSwShowNoActivate:
      minimized = false;
      maximized = false;
      activate = command != msg::kSwShowNoActivate;
      break;
    case msg::kSwRestore:
      // A maximized window that was minimized comes back maximized.
      maximized = w->minimized ? w->restoreMaximized : false;
      minimized = false;
      break;
    case msg::kSwShowMinimized:
    case msg::kSwMinimize:
    case kSwShowMinNoActive:
    case kSwForceMinimize:
      if (!w->minimized) w->restoreMaximized = w->maximized;
      minimized = true;
      maximized = false;
      activate = false;
      break;
    case msg::kSwShowMaximized:
      minimized = false;
      maximized = true;
      break;
    default:
      return wasVisible;
  }
  // WM_SHOWWINDOW comes while the window still has its old state.
  if (visible != wasVisible) sendOwn(Window{handle}, Message{msg::kShowWindow, visible ? 1u : 0u, 0});
  w = find(handle);
  if (w == nullptr) return wasVisible;
  w->visible = visible;
  w->minimized = minimized;
  w->maximized = maximized;
  if (minimized != wasMinimized || maximized != wasMaximized) {
    const Rect r = screenRect(*w);
    const int kind = minimized ? kSizeMinimized : maximized ? kSizeMaximized : kSizeRestored;
    sendOwn(Window{handle},
            Message{msg::kSize, static_cast<WParam>(kind), MakeLParam(r.width(), r.height())});
  }
  w = find(handle);
  if (w != nullptr && w->parent == 0 && visible && activate && (!wasVisible || wasMinimized)) {
    raise(*w);
    foreground = handle;
  }
  if (!visible && foreground == handle) foreground = 0;
  return wasVisible;
}

// ---- menus -------------------------------------------------------------------------------------

MenuItemData* SimWorld::Impl::menuItemByCommand(std::uint32_t menu, std::uint32_t id, int depth) {
  if (depth > kMaxMenuDepth) return nullptr;
  auto it = menus.find(menu);
  if (it == menus.end()) return nullptr;
  // As MF_BYCOMMAND: items in order, each submenu searched where it stands.
  for (MenuItemData& item : it->second.items) {
    if (item.submenu != 0) {
      if (MenuItemData* found = menuItemByCommand(item.submenu, id, depth + 1)) return found;
    } else if (item.id == id && !item.separator) {
      return &item;
    }
  }
  return nullptr;
}

void SimWorld::Impl::destroyMenu(std::uint32_t menu, int depth) {
  if (depth > kMaxMenuDepth) return;
  auto it = menus.find(menu);
  if (it == menus.end()) return;
  std::vector<std::uint32_t> subs;
  for (const MenuItemData& item : it->second.items) {
    if (item.submenu != 0) subs.push_back(item.submenu);
  }
  menus.erase(it);
  for (std::uint32_t s : subs) destroyMenu(s, depth + 1);
}

// ---- the window system a process sees ----------------------------------------------------------

namespace {

class SimWindowSystem final : public WindowSystem {
 public:
  SimWindowSystem(SimWorld::Impl& world, ProcessId process) : w_(world), process_(process) {}

  Window findWindow(std::string_view className, std::optional<std::string_view> caption) override {
    return findChild(Window{}, Window{}, className, caption);
  }

  Window findChild(Window parent, Window after, std::string_view className,
                   std::optional<std::string_view> caption) override {
    // Read in place: nothing below changes the window table.
    const std::vector<std::uint32_t>* children = &w_.topLevel;
    if (parent) {
      const WindowData* p = w_.find(parent);
      if (p == nullptr) return {};
      children = &p->children;
    }
    const std::vector<std::uint32_t>& list = *children;
    std::size_t start = 0;
    if (after) {
      auto it = std::find(list.begin(), list.end(), after.value);
      if (it == list.end()) return {};
      start = static_cast<std::size_t>(it - list.begin()) + 1;
    }
    for (std::size_t i = start; i < list.size(); ++i) {
      const WindowData* c = w_.find(list[i]);
      if (c == nullptr) continue;
      if (!className.empty() && !text::EqualsNoCase(c->cls->name, className)) continue;
      if (caption && !text::EqualsNoCase(c->caption, *caption)) continue;
      return Window{c->handle};
    }
    return {};
  }

  bool exists(Window window) override { return w_.find(window) != nullptr; }

  Window parentOf(Window window) override {
    const WindowData* d = w_.find(window);
    return d != nullptr ? Window{d->parent} : Window{};
  }

  Text className(Window window) override {
    const WindowData* d = w_.find(window);
    return d != nullptr ? d->cls->name : Text{};
  }

  ProcessId processOf(Window window) override {
    const WindowData* d = w_.find(window);
    return d != nullptr ? d->process : 0;
  }

  ProcessId currentProcess() override { return process_; }

  // The sim's texts are bytes: their length in wide characters is the same.
  std::optional<LResult> wideTextLength(Window window) override { return textLength(window); }

  std::uint64_t windowsCreatedElsewhere() override {
    const auto own = w_.windowsCreatedBy.find(process_);
    return w_.windowsCreated - (own == w_.windowsCreatedBy.end() ? 0 : own->second);
  }

  bool onWindowsChangedElsewhere(std::function<void()> wake) override {
    if (wake) {
      w_.windowWakes[process_] = std::move(wake);
    } else {
      w_.windowWakes.erase(process_);
    }
    return true;
  }

  Text caption(Window window) override {
    const WindowData* d = w_.find(window);
    if (d == nullptr) return {};
    // GetWindowTextA asks only the caller's own windows; another process's window gives
    // the text the window system keeps, even when that process hangs.
    if (d->process != process_) return d->caption;
    return text(window);
  }

  Text text(Window window) override {
    const std::optional<LResult> length = send(window, Message{msg::kGetTextLength, 0, 0});
    if (!length) return {};
    const LResult capacity = std::clamp<LResult>(*length, 0, kMaxTextLength) + 1;
    std::string buffer(static_cast<std::size_t>(capacity), '\0');
    const std::optional<LResult> copied = send(window, Message{msg::kGetText, static_cast<WParam>(capacity),
                                                               reinterpret_cast<LParam>(buffer.data())});
    if (!copied) return {};
    // The count the window reports is trusted no further than the buffer.
    const auto count = static_cast<std::size_t>(std::clamp<LResult>(*copied, 0, capacity - 1));
    buffer.resize(count);
    const std::size_t nul = buffer.find('\0');
    if (nul != std::string::npos) buffer.resize(nul);
    return buffer;
  }

  bool setText(Window window, std::string_view text) override {
    const std::string copy(text);
    return send(window, Message{msg::kSetText, 0, reinterpret_cast<LParam>(copy.c_str())}).has_value();
  }

  std::optional<LResult> send(Window window, const Message& message) override {
    return w_.deliver(process_, window, message, false);
  }

  bool post(Window window, const Message& message) override { return w_.post(window, message); }

  LResult callDefault(Window window, const Message& message) override {
    return w_.defaultProc(window, message);
  }

  bool show(Window window, int showCommand) override {
    if (w_.find(window) == nullptr) return false;
    w_.show(window.value, showCommand);
    return true;
  }

  bool isVisible(Window window) override {
    const WindowData* d = w_.find(window);
    if (d == nullptr) return false;
    // IsWindowVisible: the window and every ancestor have the visible style.
    for (; d != nullptr; d = d->parent != 0 ? w_.find(d->parent) : nullptr) {
      if (!d->visible) return false;
    }
    return true;
  }

  bool isMinimized(Window window) override {
    const WindowData* d = w_.find(window);
    return d != nullptr && d->minimized;
  }

  bool isMaximized(Window window) override {
    const WindowData* d = w_.find(window);
    return d != nullptr && d->maximized;
  }

  bool enable(Window window, bool enabled) override {
    WindowData* d = w_.find(window);
    if (d == nullptr) return false;
    if (d->enabled != enabled) {
      d->enabled = enabled;
      if (!enabled) d->pressed = false;
      w_.sendOwn(window, Message{msg::kEnable, enabled ? 1u : 0u, 0});
    }
    return true;
  }

  bool isEnabled(Window window) override {
    const WindowData* d = w_.find(window);
    return d != nullptr && d->enabled;
  }

  Rect windowRect(Window window) override {
    const WindowData* d = w_.find(window);
    return d != nullptr ? w_.screenRect(*d) : Rect{};
  }

  Rect clientRect(Window window) override {
    const WindowData* d = w_.find(window);
    if (d == nullptr) return {};
    const Rect r = w_.screenRect(*d);
    return Rect{0, 0, r.width(), r.height()};
  }

  bool move(Window window, const Rect& rect, bool /*repaint*/) override {
    if (w_.find(window) == nullptr) return false;
    w_.moveTo(window.value, rect);
    return true;
  }

  bool setPosition(Window window, std::intptr_t insertAfter, const Rect& rect, std::uint32_t flags) override {
    WindowData* d = w_.find(window);
    if (d == nullptr) return false;
    if ((flags & msg::kSwpNoZOrder) == 0) reorder(*d, insertAfter);
    d = w_.find(window);
    if (d == nullptr) return false;
    Rect r = d->rect;
    if ((flags & msg::kSwpNoMove) == 0) {
      r = Rect{rect.left, rect.top, rect.left + r.width(), rect.top + r.height()};
    }
    if ((flags & msg::kSwpNoSize) == 0) {
      r.right = r.left + rect.width();
      r.bottom = r.top + rect.height();
    }
    w_.moveTo(window.value, r);
    if ((flags & msg::kSwpShowWindow) != 0) {
      w_.show(window.value, (flags & msg::kSwpNoActivate) != 0 ? kSwShowNa : msg::kSwShow);
    } else if ((flags & msg::kSwpHideWindow) != 0) {
      w_.show(window.value, msg::kSwHide);
    }
    return w_.find(window) != nullptr;
  }

  bool isTopmost(Window window) override {
    const WindowData* d = w_.find(window);
    return d != nullptr && d->parent == 0 && d->topmost;
  }

  bool sendToBack(Window window) override {
    WindowData* d = w_.find(window);
    if (d == nullptr || d->parent == 0) return false;
    w_.removeFromSiblings(*d);
    w_.siblingsOf(*d).push_back(d->handle);
    return true;
  }

  bool setForeground(Window window) override {
    WindowData* d = w_.find(window);
    while (d != nullptr && d->parent != 0) d = w_.find(d->parent);
    if (d == nullptr) return false;
    w_.raise(*d);
    w_.foreground = d->handle;
    return true;
  }

  bool destroy(Window window) override {
    const WindowData* d = w_.find(window);
    // A process can destroy only its own windows.
    if (d == nullptr || d->process != process_) return false;
    w_.destroyWindow(window.value);
    return true;
  }

  bool registerClass(const ClassSpec& desc) override {
    ProcessImpl* p = w_.process(process_);
    if (p == nullptr || desc.name.empty()) return false;
    const Text key = text::ToLower(desc.name);
    if (p->classes.count(key) != 0) return false;
    auto info = std::make_shared<ClassInfo>();
    info->name = desc.name;
    info->base = desc.base;
    info->handler = desc.handler;
    info->background = desc.background;
    info->doubleClicks = desc.doubleClicks;
    p->classes[key] = std::move(info);
    return true;
  }

  Window create(const WindowSpec& desc) override {
    ProcessImpl* p = w_.process(process_);
    if (p == nullptr) return {};
    std::shared_ptr<const ClassInfo> cls;
    const Text key = text::ToLower(desc.className);
    if (auto it = p->classes.find(key); it != p->classes.end()) {
      cls = it->second;
    } else if (auto sit = w_.standardClasses.find(key); sit != w_.standardClasses.end()) {
      cls = sit->second;
    } else {
      return {};
    }
    WindowData* parent = nullptr;
    if (desc.parent) {
      parent = w_.find(desc.parent);
      if (parent == nullptr) return {};
    } else if (desc.style.child) {
      return {};  // a child window needs a parent
    }
    const bool mdiChild = parent != nullptr && parent->kind == BaseKind::kMdiClient;

    auto d = std::make_unique<WindowData>();
    const std::uint32_t handle = w_.nextHandle;
    w_.nextHandle += 4;
    d->handle = handle;
    d->process = process_;
    d->cls = cls;
    d->kind = cls->base;
    if (mdiChild && (cls->base == BaseKind::kPlain || cls->base == BaseKind::kDialog ||
                     cls->base == BaseKind::kMdiFrame)) {
      d->kind = BaseKind::kMdiChild;
    }
    d->caption = desc.caption;
    d->style = desc.style;
    d->style.child = parent != nullptr;
    d->parent = desc.parent.value;
    if (parent == nullptr && w_.find(desc.owner) != nullptr) d->owner = desc.owner.value;
    d->rect = desc.rect;
    d->controlId = desc.controlId;
    d->enabled = !desc.style.disabled;
    d->topmost = parent == nullptr && desc.style.topmost;
    d->readOnly = desc.style.readOnly;
    d->inTaskbar = !desc.style.toolWindow && d->owner == 0;
    if (d->kind == BaseKind::kEdit || (d->kind == BaseKind::kComboBox && !desc.style.dropDownList)) {
      d->contents = desc.caption;
    }
    w_.windows[handle] = std::move(d);
    ++w_.windowsCreated;
    ++w_.windowsCreatedBy[process_];
    w_.windowsChangedBy(process_);
    if (parent != nullptr) {
      // A new child goes below its siblings; an MDI child on top of them.
      auto& list = parent->children;
      if (mdiChild) {
        list.insert(list.begin(), handle);
      } else {
        list.push_back(handle);
      }
    } else {
      w_.insertTopLevel(handle, desc.style.topmost);
    }

    if (w_.sendOwn(Window{handle}, Message{msg::kCreate, 0, 0}) == -1) {
      w_.destroyWindow(handle, false);
      return {};
    }
    WindowData* made = w_.find(Window{handle});
    if (made == nullptr) return {};
    if (desc.style.visible) {
      made->visible = true;
      if (made->parent == 0) w_.foreground = handle;
    }
    if (mdiChild) w_.activateMdiChild(desc.parent.value, handle);
    return Window{handle};
  }

  bool setFont(Window window, const FontSpec& font) override {
    WindowData* d = w_.find(window);
    if (d == nullptr) return false;
    d->font = font;
    return true;
  }

  bool setColors(Window window, Color textColor, Color background) override {
    WindowData* d = w_.find(window);
    if (d == nullptr) return false;
    d->colors = std::make_pair(textColor, background);
    return true;
  }

  bool setPicture(Window window, const Picture& picture) override {
    WindowData* d = w_.find(window);
    if (d == nullptr) return false;
    d->picture = picture;
    return true;
  }

  bool setRegion(Window window, const Region& region) override {
    WindowData* d = w_.find(window);
    if (d == nullptr) return false;
    d->region = region;
    return true;
  }

  bool showInTaskbar(Window window, bool shown) override {
    WindowData* d = w_.find(window);
    if (d == nullptr) return false;
    d->inTaskbar = shown;
    return true;
  }

  void dragWithMouse(Window window) override { DragTo(w_, window); }

  bool invalidate(Window window) override { return w_.find(window) != nullptr; }

  // ---- menus ----

  Menu createMenuBar() override { return newMenu(false); }
  Menu createPopupMenu() override { return newMenu(true); }

  bool appendMenuItem(Menu menu, std::uint32_t id, std::string_view caption, MenuItemFlags flags) override {
    auto it = w_.menus.find(menu.value);
    if (it == w_.menus.end()) return false;
    MenuItemData item;
    item.id = id;
    item.caption = flags.separator ? Text{} : Text(caption);
    item.checked = flags.checked;
    item.disabled = flags.disabled;
    item.separator = flags.separator;
    it->second.items.push_back(std::move(item));
    return true;
  }

  bool appendSubmenu(Menu menu, Menu submenu, std::string_view caption) override {
    auto it = w_.menus.find(menu.value);
    if (it == w_.menus.end() || w_.menus.count(submenu.value) == 0 || menu == submenu) return false;
    MenuItemData item;
    item.id = kSubmenuId;
    item.caption = Text(caption);
    item.submenu = submenu.value;
    it->second.items.push_back(std::move(item));
    return true;
  }

  bool setMenu(Window window, Menu menu) override {
    WindowData* d = w_.find(window);
    // Only a top-level window has a menu bar.
    if (d == nullptr || d->parent != 0) return false;
    if (menu && w_.menus.count(menu.value) == 0) return false;
    d->menu = menu.value;
    return true;
  }

  bool checkMenuItem(Menu menu, std::uint32_t id, bool checked) override {
    MenuItemData* item = w_.menuItemByCommand(menu.value, id);
    if (item == nullptr) return false;
    item->checked = checked;
    return true;
  }

  bool enableMenuItem(Menu menu, std::uint32_t id, bool enabled) override {
    MenuItemData* item = w_.menuItemByCommand(menu.value, id);
    if (item == nullptr) return false;
    item->disabled = !enabled;
    return true;
  }

  bool setMenuItemCaption(Menu menu, std::uint32_t id, std::string_view caption) override {
    MenuItemData* item = w_.menuItemByCommand(menu.value, id);
    if (item == nullptr) return false;
    item->caption = Text(caption);
    return true;
  }

  bool isMenuItemChecked(Menu menu, std::uint32_t id) override {
    const MenuItemData* item = w_.menuItemByCommand(menu.value, id);
    return item != nullptr && item->checked;
  }

  bool isMenuItemEnabled(Menu menu, std::uint32_t id) override {
    const MenuItemData* item = w_.menuItemByCommand(menu.value, id);
    return item != nullptr && !item->disabled;
  }

  Text menuItemCaption(Menu menu, std::uint32_t id) override {
    const MenuItemData* item = w_.menuItemByCommand(menu.value, id);
    return item != nullptr ? item->caption : Text{};
  }

  bool trackPopupMenu(Menu menu, Window owner, Point at) override {
    if (w_.menus.count(menu.value) == 0 || w_.find(owner) == nullptr) return false;
    w_.popups.push_back(PopupMenuRecord{menu, owner, at, process_});
    if (!w_.popupChoices.empty()) {
      const std::uint32_t id = w_.popupChoices.front();
      w_.popupChoices.pop_front();
      w_.post(owner, Message{msg::kCommand, id, 0});
    }
    return true;
  }

  Menu menuOf(Window window) override {
    const WindowData* d = w_.find(window);
    return d != nullptr ? Menu{d->menu} : Menu{};
  }

  int menuItemCount(Menu menu) override {
    const MenuData* m = findMenu(menu);
    return m != nullptr ? static_cast<int>(m->items.size()) : -1;
  }

  Menu subMenu(Menu menu, int position) override {
    const MenuItemData* item = itemAt(menu, position);
    return item != nullptr ? Menu{item->submenu} : Menu{};
  }

  std::uint32_t menuItemId(Menu menu, int position) override {
    const MenuItemData* item = itemAt(menu, position);
    if (item == nullptr || item->submenu != 0) return kSubmenuId;
    return item->id;
  }

  Text menuItemText(Menu menu, int position, int maxChars) override {
    const MenuItemData* item = itemAt(menu, position);
    if (item == nullptr || maxChars <= 0) return {};
    // GetMenuStringA with a buffer of maxChars keeps maxChars-1 characters and the NUL.
    return item->caption.substr(0, static_cast<std::size_t>(maxChars - 1));
  }

  std::unique_ptr<ProcessReader> openProcess(ProcessId process) override {
    return OpenProcessReader(w_, process);
  }

  std::unique_ptr<LowMemoryBlock> allocateLowMemory(std::size_t size) override {
    return AllocateLowMemory(w_, process_, size);
  }

 private:
  Menu newMenu(bool popup) {
    const std::uint32_t handle = w_.nextMenu;
    w_.nextMenu += 4;
    w_.menus[handle].popup = popup;
    return Menu{handle};
  }

  const MenuData* findMenu(Menu menu) {
    auto it = w_.menus.find(menu.value);
    return it == w_.menus.end() ? nullptr : &it->second;
  }

  const MenuItemData* itemAt(Menu menu, int position) {
    const MenuData* m = findMenu(menu);
    if (m == nullptr || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return nullptr;
    return &m->items[static_cast<std::size_t>(position)];
  }

  // SetWindowPos's z-order part.
  void reorder(WindowData& d, std::intptr_t insertAfter) {
    auto& list = w_.siblingsOf(d);
    if (d.parent != 0) {
      // Among child windows there is no topmost band: "topmost" is the top.
      if (insertAfter == msg::kHwndBottom) {
        w_.removeFromSiblings(d);
        list.push_back(d.handle);
      } else if (insertAfter == msg::kHwndTop || insertAfter == msg::kHwndTopmost ||
                 insertAfter == msg::kHwndNoTopmost) {
        w_.raise(d);
      } else {
        placeAfter(d, static_cast<std::uint32_t>(insertAfter));
      }
      return;
    }
    switch (insertAfter) {
      case msg::kHwndTopmost:
        d.topmost = true;
        w_.raise(d);
        break;
      case msg::kHwndNoTopmost:
        if (d.topmost) {
          d.topmost = false;
          w_.raise(d);  // to the top of the windows that are not topmost
        }
        break;
      case msg::kHwndTop:
        w_.raise(d);
        break;
      case msg::kHwndBottom:
        // The bottom of the z-order is below every topmost window, so the window loses
        // its topmost place.
        d.topmost = false;
        w_.removeFromSiblings(d);
        list.push_back(d.handle);
        break;
      default: {
        const WindowData* other = w_.find(static_cast<std::uint32_t>(insertAfter));
        if (other == nullptr || other->parent != 0) return;
        // Placed among topmost windows it becomes one; below a window that is not
        // topmost it stops being one.
        d.topmost = other->topmost;
        placeAfter(d, other->handle);
        break;
      }
    }
  }

  void placeAfter(WindowData& d, std::uint32_t other) {
    if (other == d.handle) return;
    auto& list = w_.siblingsOf(d);
    if (std::find(list.begin(), list.end(), other) == list.end()) return;
    w_.removeFromSiblings(d);
    auto at = std::find(list.begin(), list.end(), other);
    list.insert(at + 1, d.handle);
  }

  SimWorld::Impl& w_;
  ProcessId process_;
};

}  // namespace

void DragTo(SimWorld::Impl& world, Window window) {
  WindowData* d = world.find(window);
  if (d == nullptr || !world.dragTarget) return;
  const Point target = *world.dragTarget;
  world.dragTarget.reset();
  // The target is a screen point; a child's rectangle is relative to its parent.
  Point origin;
  if (d->parent != 0) {
    if (const WindowData* p = world.find(d->parent)) {
      const Rect pr = world.screenRect(*p);
      origin = Point{pr.left, pr.top};
    }
  }
  const Rect r = d->rect;
  const int left = target.x - origin.x;
  const int top = target.y - origin.y;
  world.moveTo(d->handle, Rect{left, top, left + r.width(), top + r.height()});
}

std::unique_ptr<WindowSystem> MakeWindowSystem(SimWorld::Impl& world, ProcessId process) {
  return std::make_unique<SimWindowSystem>(world, process);
}

}  // namespace vantary::platform::sim
