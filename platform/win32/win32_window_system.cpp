// The window system on user32 and gdi32: finding and driving any process's windows with
// bounded sends, and the program's own classes, windows, menus, regions, fonts, colours
// and pictures.
//
// Every window of the program that the backend knows about runs through one window
// procedure, WindowProc. A class registered on a standard control is a superclass: it
// keeps the control's class data and remembers the control's own procedure, which
// callDefault reaches. A standard control created through create() is subclassed the same
// way, so that the backend sees it go and can free what it holds for it (font, brush,
// picture).
//
// A drop-down combo box's edit part is a window of its own, which has the keyboard while
// the user types into the combo box. Its keys are handed to the combo box's handler as
// the combo box's own (as the sim's combo box gets them), and the handler's default
// processing of such a key goes to the edit part's own procedure: the combo box's
// procedure would pass the key back to the edit part, and round again. A key that the
// combo box gets itself (another program sends it) runs its handler once too: the combo
// box passes it on to its edit part, which then takes it without a second event.
//
// Colours set with setColors are answered in the parent's dispatch: the system asks the
// parent (WM_CTLCOLOR*) how to paint a control, so the parent's procedure looks up the
// control's colours before its handler runs. A parent of another class of our thread is
// subclassed for that when the colours are set.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/picture.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_services.h"

namespace vantary::platform::win32 {
namespace {

// WM_COPYDATA's record passes through as the system's own.
static_assert(sizeof(msg::CopyData) == sizeof(COPYDATASTRUCT) &&
              offsetof(msg::CopyData, tag) == offsetof(COPYDATASTRUCT, dwData) &&
              offsetof(msg::CopyData, size) == offsetof(COPYDATASTRUCT, cbData) &&
              offsetof(msg::CopyData, data) == offsetof(COPYDATASTRUCT, lpData));

HWND ToHwnd(Window w) { return reinterpret_cast<HWND>(HandleBits(w.value)); }
Window FromHwnd(HWND h) { return Window{HandleValue(reinterpret_cast<std::intptr_t>(h))}; }
HMENU ToHmenu(Menu m) { return reinterpret_cast<HMENU>(HandleBits(m.value)); }
Menu FromHmenu(HMENU h) { return Menu{HandleValue(reinterpret_cast<std::intptr_t>(h))}; }
HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// A text for an A-function: it ends at the first zero byte, as the function would read it.
std::string CText(std::string_view s) { return std::string(s.substr(0, s.find('\0'))); }

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// What the default processing of a window is.
enum class DefaultKind { kWindow, kBaseProc, kFrame, kMdiChild };

struct ClassInfo {
  std::string name;
  BaseKind base = BaseKind::kPlain;
  WindowHandler handler;
  WNDPROC baseProc = nullptr;
  const void* owner = nullptr;
  GdiObject<HBRUSH> background;
  // After the brush, so that the class goes before the brush it paints with.
  RegisteredClass atom;
};

struct WindowEntry {
  std::shared_ptr<ClassInfo> cls;  // null for a subclassed standard control
  HWND comboOfEdit = nullptr;      // the edit part of this combo box of ours
  DefaultKind kind = DefaultKind::kWindow;
  BaseKind base = BaseKind::kPlain;
  WNDPROC baseProc = nullptr;
  HWND mdiClient = nullptr;  // frames: the MDI client DefFrameProc works with
  const void* owner = nullptr;
  bool created = false;  // made by create(), so destroyed with its window system
  // What the backend holds for the window until it goes.
  GdiObject<HFONT> font;
  GdiObject<HBITMAP> picture;
  GdiObject<HBRUSH> colorBrush;
  bool hasColors = false;
  COLORREF textColor = 0;
  COLORREF backColor = 0;
};

// The program has one user-interface thread; these tables belong to it.
std::unordered_map<HWND, std::shared_ptr<WindowEntry>> g_windows;
std::unordered_map<ATOM, std::shared_ptr<ClassInfo>> g_classesByAtom;
std::unordered_map<std::string, std::shared_ptr<ClassInfo>> g_classesByName;  // lower case

LRESULT CALLBACK WindowProc(HWND hwnd, UINT id, WPARAM wParam, LPARAM lParam);

// A key of a combo box's edit part while the combo box's handler has it.
struct ComboKey {
  HWND combo;
  HWND edit;
  UINT id;
  WPARAM wParam;
  LPARAM lParam;
  WNDPROC editProc;
  bool passedOn = false;  // the handler's default processing has given it to the edit part
};
ComboKey* g_comboKey = nullptr;
// The combo box whose handler has a key now.
HWND g_comboTakingKey = nullptr;

bool IsKeyMessage(UINT id) { return id == WM_KEYDOWN || id == WM_KEYUP || id == WM_CHAR; }

// Sets a variable for a scope and puts its old value back after it.
template <typename T>
class ScopedValue {
 public:
  ScopedValue(T& variable, T value) : variable_(variable), old_(variable) { variable_ = value; }
  ~ScopedValue() { variable_ = old_; }
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;

 private:
  T& variable_;
  T old_;
};

struct StandardClass {
  const char* name;
  BaseKind kind;
};
constexpr StandardClass kStandardClasses[] = {
    {"#32770", BaseKind::kDialog},
    {"Static", BaseKind::kStatic},
    {"Edit", BaseKind::kEdit},
    {"ListBox", BaseKind::kListBox},
    {"ComboBox", BaseKind::kComboBox},
    {"Button", BaseKind::kButton},
    {TRACKBAR_CLASSA, BaseKind::kTrackBar},
    {"ScrollBar", BaseKind::kScrollBar},
    {"MDIClient", BaseKind::kMdiClient},
};

const char* StandardClassOf(BaseKind kind) {
  for (const auto& c : kStandardClasses) {
    if (c.kind == kind) return c.name;
  }
  return nullptr;
}

std::optional<BaseKind> StandardKindOf(std::string_view className) {
  const std::string lower = Lower(className);
  for (const auto& c : kStandardClasses) {
    if (Lower(c.name) == lower) return c.kind;
  }
  return std::nullopt;
}

std::shared_ptr<WindowEntry> FindEntry(HWND hwnd) {
  auto found = g_windows.find(hwnd);
  return found == g_windows.end() ? nullptr : found->second;
}

bool OnOurThread(HWND hwnd) { return GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId(); }

// The entry of a window of one of our classes, made at its first message (which comes
// before CreateWindowEx returns, so the handler sees WM_NCCREATE and WM_CREATE).
std::shared_ptr<WindowEntry> EntryForClassWindow(HWND hwnd) {
  const auto atom = static_cast<ATOM>(GetClassWord(hwnd, GCW_ATOM));
  auto cls = g_classesByAtom.find(atom);
  if (cls == g_classesByAtom.end()) return nullptr;
  auto entry = std::make_shared<WindowEntry>();
  entry->cls = cls->second;
  entry->base = cls->second->base;
  entry->baseProc = cls->second->baseProc;
  entry->owner = cls->second->owner;
  const LONG_PTR exStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
  if (exStyle & WS_EX_MDICHILD) {
    entry->kind = DefaultKind::kMdiChild;
  } else if (entry->base == BaseKind::kMdiFrame) {
    entry->kind = DefaultKind::kFrame;
  } else if (entry->baseProc) {
    entry->kind = DefaultKind::kBaseProc;
  } else {
    entry->kind = DefaultKind::kWindow;
  }
  g_windows[hwnd] = entry;
  return entry;
}

HWND MdiClientOf(HWND frame, WindowEntry& entry) {
  if (entry.mdiClient && IsWindow(entry.mdiClient) && GetParent(entry.mdiClient) == frame)
    return entry.mdiClient;
  entry.mdiClient = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
  if (!entry.mdiClient) {
    // A client of one of our own classes built on the MDI client.
    for (HWND c = GetWindow(frame, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      auto child = FindEntry(c);
      if (child && child->base == BaseKind::kMdiClient) {
        entry.mdiClient = c;
        break;
      }
    }
  }
  return entry.mdiClient;
}

LRESULT DefaultProcessing(HWND hwnd, UINT id, WPARAM wParam, LPARAM lParam) {
  if (ComboKey* key = g_comboKey; key != nullptr && !key->passedOn && key->combo == hwnd && key->id == id &&
                                  key->wParam == wParam && key->lParam == lParam) {
    key->passedOn = true;
    if (!IsWindow(key->edit)) return 0;
    return CallWindowProcA(key->editProc, key->edit, id, wParam, lParam);
  }
  auto entry = FindEntry(hwnd);
  if (!entry) return DefWindowProcA(hwnd, id, wParam, lParam);
  switch (entry->kind) {
    case DefaultKind::kBaseProc:
      return CallWindowProcA(entry->baseProc, hwnd, id, wParam, lParam);
    case DefaultKind::kFrame:
      return DefFrameProcA(hwnd, MdiClientOf(hwnd, *entry), id, wParam, lParam);
    case DefaultKind::kMdiChild:
      return DefMDIChildProcA(hwnd, id, wParam, lParam);
    case DefaultKind::kWindow:
      break;
  }
  return DefWindowProcA(hwnd, id, wParam, lParam);
}

bool IsControlColorMessage(UINT id) {
  return id == WM_CTLCOLORSTATIC || id == WM_CTLCOLOREDIT || id == WM_CTLCOLORLISTBOX ||
         id == WM_CTLCOLORBTN || id == WM_CTLCOLORSCROLLBAR;
}

// Draws the window's own picture or colour as its background. True when it did.
bool EraseBackground(HWND hwnd, const WindowEntry& entry, HDC dc) {
  const bool control = entry.base != BaseKind::kPlain && entry.base != BaseKind::kMdiFrame &&
                       entry.base != BaseKind::kMdiChild && entry.base != BaseKind::kDialog;
  if (control || (!entry.picture && !entry.hasColors)) return false;
  RECT client{};
  GetClientRect(hwnd, &client);
  if (entry.hasColors) {
    FillRect(dc, &client, entry.colorBrush.get());
  } else {
    auto brush = reinterpret_cast<HBRUSH>(GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND));
    FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
  }
  if (entry.picture) {
    BITMAP bm{};
    GetObjectA(entry.picture.get(), sizeof bm, &bm);
    const MemoryDc memory(CreateCompatibleDC(dc));
    const SelectedObject shown(memory.get(), entry.picture.get());
    BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory.get(), 0, 0, SRCCOPY);
  }
  return true;
}

LRESULT Dispatch(HWND hwnd, UINT id, WPARAM wParam, LPARAM lParam) {
  auto entry = FindEntry(hwnd);
  if (!entry) entry = EntryForClassWindow(hwnd);
  if (!entry) return DefWindowProcA(hwnd, id, wParam, lParam);

  if (IsControlColorMessage(id)) {
    auto control = FindEntry(reinterpret_cast<HWND>(lParam));
    if (control && control->hasColors) {
      auto dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, control->textColor);
      SetBkColor(dc, control->backColor);
      return reinterpret_cast<LRESULT>(control->colorBrush.get());
    }
  }
  if (id == WM_ERASEBKGND && EraseBackground(hwnd, *entry, reinterpret_cast<HDC>(wParam))) return 1;

  std::optional<ScopedValue<HWND>> takingKey;
  if (IsKeyMessage(id)) {
    if (HWND combo = entry->comboOfEdit; combo != nullptr && combo != g_comboTakingKey && IsWindow(combo)) {
      ComboKey key{combo, hwnd, id, wParam, lParam, entry->baseProc};
      const ScopedValue<ComboKey*> handed(g_comboKey, &key);
      return Dispatch(combo, id, wParam, lParam);
    }
    if (entry->base == BaseKind::kComboBox && entry->cls) {
      // A key that comes back to the combo box while its handler has one is no new key.
      if (g_comboTakingKey == hwnd) return DefaultProcessing(hwnd, id, wParam, lParam);
      takingKey.emplace(g_comboTakingKey, hwnd);
    }
  }

  // Our own copy: the handler may destroy the window and so drop the table's entry.
  const std::shared_ptr<ClassInfo> cls = entry->cls;
  LRESULT result;
  if (cls && cls->handler) {
    result =
        cls->handler(FromHwnd(hwnd), Message{id, static_cast<WParam>(wParam), static_cast<LParam>(lParam)});
  } else {
    result = DefaultProcessing(hwnd, id, wParam, lParam);
  }
  // The dropped files' record is the receiver's to free, whatever its handler did.
  if (id == WM_DROPFILES) DragFinish(reinterpret_cast<HDROP>(wParam));
  if (id == WM_NCDESTROY) g_windows.erase(hwnd);
  return result;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT id, WPARAM wParam, LPARAM lParam) {
  try {
    return Dispatch(hwnd, id, wParam, lParam);
  } catch (...) {
    // A handler must not throw; if one does, the system still gets an answer.
    try {
      if (id == WM_NCDESTROY) g_windows.erase(hwnd);
      return DefaultProcessing(hwnd, id, wParam, lParam);
    } catch (...) {
      return 0;
    }
  }
}

class Win32ProcessReader final : public ProcessReader {
 public:
  explicit Win32ProcessReader(KernelHandle process) : process_(std::move(process)) {}
  Win32ProcessReader(const Win32ProcessReader&) = delete;
  Win32ProcessReader& operator=(const Win32ProcessReader&) = delete;

  bool read(std::uint32_t address, std::span<std::uint8_t> out) override {
    if (out.empty()) return true;
    const auto from = static_cast<std::uintptr_t>(address);
    SIZE_T got = 0;
    if (!ReadProcessMemory(process_.get(), reinterpret_cast<const void*>(from), out.data(), out.size(),
                           &got) ||
        got != out.size()) {
      return false;
    }
    // Wine reads reserved and freed pages as zeros instead of failing, so a read of
    // nothing but zeros (a record that went, or never was) is taken only once its pages
    // are found committed and readable. A read that brought data needs no question: a
    // record in a block of its own costs no query of its region.
    const bool allZero = std::all_of(out.begin(), out.end(), [](std::uint8_t b) { return b == 0; });
    return !allZero || Committed(from, out.size());
  }

 private:
  // Whether the range lies in committed, readable pages. Every region found so is
  // remembered for the reader's life (one scan), so a scan asks at most once per region;
  // the next scan asks afresh, so records that moved or went meanwhile are checked again.
  bool Committed(std::uintptr_t from, std::size_t size) {
    const std::uintptr_t end = from + size;
    if (end < from) return false;
    for (std::uintptr_t at = from; at < end;) {
      if (const std::uintptr_t known = KnownRegionEnd(at)) {
        at = known;
        continue;
      }
      MEMORY_BASIC_INFORMATION info{};
      if (!VirtualQueryEx(process_.get(), reinterpret_cast<const void*>(at), &info, sizeof info))
        return false;
      if (info.State != MEM_COMMIT || (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)) || info.Protect == 0) {
        return false;
      }
      const auto regionBegin = reinterpret_cast<std::uintptr_t>(info.BaseAddress);
      const std::uintptr_t regionEnd = regionBegin + info.RegionSize;
      if (regionEnd <= at) return false;
      regions_[regionBegin] = regionEnd;
      at = regionEnd;
    }
    return true;
  }

  // The end of the remembered region holding `at`, or 0.
  std::uintptr_t KnownRegionEnd(std::uintptr_t at) const {
    auto after = regions_.upper_bound(at);
    if (after == regions_.begin()) return 0;
    const auto& [begin, end] = *std::prev(after);
    return at < end ? end : 0;
  }

  KernelHandle process_;
  // Committed, readable regions by their first address, with their ends.
  std::map<std::uintptr_t, std::uintptr_t> regions_;
};

class Win32LowMemoryBlock final : public LowMemoryBlock {
 public:
  Win32LowMemoryBlock(VirtualMemory memory, std::size_t size) : memory_(std::move(memory)), size_(size) {}
  Win32LowMemoryBlock(const Win32LowMemoryBlock&) = delete;
  Win32LowMemoryBlock& operator=(const Win32LowMemoryBlock&) = delete;

  std::uint32_t address() const override {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(memory_.get()));
  }
  std::span<std::uint8_t> bytes() override { return {static_cast<std::uint8_t*>(memory_.get()), size_}; }

 private:
  VirtualMemory memory_;
  std::size_t size_;
};

// The style bits of a WindowSpec on a base kind.
struct Styles {
  DWORD style = 0;
  DWORD exStyle = 0;
};

Styles StylesFor(const WindowSpec& desc, BaseKind base, bool child) {
  const WindowStyle& s = desc.style;
  Styles out;
  if (child) {
    out.style |= WS_CHILD | WS_CLIPSIBLINGS;
  } else if (s.popup) {
    out.style |= WS_POPUP | WS_CLIPCHILDREN;
  } else {
    out.style |= WS_CLIPCHILDREN;
  }
  if (s.caption) out.style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (s.border) out.style |= WS_BORDER;
  if (s.visible) out.style |= WS_VISIBLE;
  if (s.disabled) out.style |= WS_DISABLED;
  if (s.topmost) out.exStyle |= WS_EX_TOPMOST;
  if (s.toolWindow) out.exStyle |= WS_EX_TOOLWINDOW;
  if (s.sunken) out.exStyle |= WS_EX_CLIENTEDGE;
  if (s.acceptsFiles) out.exStyle |= WS_EX_ACCEPTFILES;
  switch (base) {
    case BaseKind::kEdit:
      // A single-line edit without horizontal scrolling refuses characters past its width.
      out.style |= s.multiline ? (ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL) : ES_AUTOHSCROLL;
      if (s.readOnly) out.style |= ES_READONLY;
      out.style |= WS_TABSTOP;
      break;
    case BaseKind::kStatic:
      if (s.notify) out.style |= SS_NOTIFY;
      break;
    case BaseKind::kButton:
      out.style |= (s.checkBox ? BS_AUTOCHECKBOX : BS_PUSHBUTTON) | WS_TABSTOP;
      break;
    case BaseKind::kListBox:
      // Rows stay in the order they were added.
      out.style |= WS_VSCROLL | LBS_NOINTEGRALHEIGHT | (s.notify ? LBS_NOTIFY : 0);
      break;
    case BaseKind::kComboBox:
      out.style |=
          (s.dropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN) | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
      break;
    case BaseKind::kTrackBar:
      out.style |= s.vertical ? TBS_VERT : TBS_HORZ;
      break;
    case BaseKind::kScrollBar:
      out.style |= s.vertical ? SBS_VERT : SBS_HORZ;
      break;
    case BaseKind::kMdiClient:
      out.style |= WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL;
      break;
    default:
      break;
  }
  return out;
}

// The height of a combo box's dropped list, added to the height of its closed part.
constexpr int kComboListHeight = 160;
// The first identifier an MDI client gives its children (above every control identifier
// the program uses).
constexpr UINT kFirstMdiChildId = 0xFF00;

// Windows created by other processes, as the creation hook has told them, and the wake of
// a watcher told of windows created or shown there.
std::uint64_t g_windowsCreatedElsewhere = 0;
std::function<void()> g_windowWake;

void CALLBACK CountWindowCreation(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
  if (object != OBJID_WINDOW || !window) return;
  if (event == EVENT_OBJECT_CREATE) ++g_windowsCreatedElsewhere;
  if ((event == EVENT_OBJECT_CREATE || event == EVENT_OBJECT_SHOW) && g_windowWake) {
    const std::function<void()> wake = g_windowWake;
    wake();
  }
}

class Win32WindowSystem final : public WindowSystem {
 public:
  ~Win32WindowSystem() override {
    if (creationHook_.handle) UnhookWinEvent(creationHook_.handle);
    g_windowWake = nullptr;
    // Handlers may refer to what their owner has already destroyed: none runs from here on.
    for (auto& [name, cls] : g_classesByName) {
      if (cls->owner == this) cls->handler = nullptr;
    }
    std::vector<HWND> created;
    std::vector<HWND> adopted;
    for (const auto& [hwnd, entry] : g_windows) {
      if (entry->owner != this) continue;
      (entry->created || entry->cls ? created : adopted).push_back(hwnd);
    }
    for (HWND hwnd : created) {
      if (g_windows.count(hwnd) && IsWindow(hwnd) && OnOurThread(hwnd)) DestroyWindow(hwnd);
    }
    // Windows made elsewhere that we subclassed get their own procedure back.
    for (HWND hwnd : adopted) {
      auto entry = FindEntry(hwnd);
      if (!entry || !IsWindow(hwnd)) continue;
      if (entry->baseProc &&
          GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowProc)) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry->baseProc));
      }
      g_windows.erase(hwnd);
    }
    for (auto it = g_classesByName.begin(); it != g_classesByName.end();) {
      if (it->second->owner != this) {
        ++it;
        continue;
      }
      // The class goes now, its windows gone, even where a window's entry still refers to it.
      g_classesByAtom.erase(it->second->atom.get());
      it->second->atom.reset();
      it = g_classesByName.erase(it);
    }
  }

  // ---- finding windows ---------------------------------------------------------------
  Window findWindow(std::string_view className, std::optional<std::string_view> caption) override {
    const std::string cls = CText(className);
    const std::string cap = caption ? CText(*caption) : std::string();
    return FromHwnd(FindWindowA(cls.empty() ? nullptr : cls.c_str(), caption ? cap.c_str() : nullptr));
  }

  Window findChild(Window parent, Window after, std::string_view className,
                   std::optional<std::string_view> caption) override {
    const std::string cls = CText(className);
    const std::string cap = caption ? CText(*caption) : std::string();
    HWND p = ToHwnd(parent);
    HWND a = ToHwnd(after);
    if (a && !cls.empty() && !ClassIs(a, cls)) {
      // Wine looks for the child-after only among the children of the wanted class, so a
      // child-after of another class would end the search there. The system's rule is to
      // search behind it whatever its class: walk the z-order from it ourselves.
      if (GetAncestor(a, GA_PARENT) != (p ? p : GetDesktopWindow())) return {};
      for (HWND h = GetWindow(a, GW_HWNDNEXT); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (ClassIs(h, cls) && (!caption || CaptionIs(h, cap))) return FromHwnd(h);
      }
      return {};
    }
    return FromHwnd(
        FindWindowExA(p, a, cls.empty() ? nullptr : cls.c_str(), caption ? cap.c_str() : nullptr));
  }

  bool exists(Window window) override { return window && IsWindow(ToHwnd(window)); }

  Window parentOf(Window window) override {
    HWND h = ToHwnd(window);
    if (!window || !IsWindow(h)) return {};
    // The parent a child lives in; a top-level window has none (its owner is not one).
    if (!(GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD)) return {};
    return FromHwnd(GetAncestor(h, GA_PARENT));
  }

  Text className(Window window) override {
    char buf[257] = {};
    const int n = GetClassNameA(ToHwnd(window), buf, 256);
    return n > 0 ? Text(buf, static_cast<std::size_t>(std::min(n, 256))) : Text{};
  }

  ProcessId processOf(Window window) override {
    DWORD pid = 0;
    if (window) GetWindowThreadProcessId(ToHwnd(window), &pid);
    return pid;
  }

  ProcessId currentProcess() override { return GetCurrentProcessId(); }

  // Counted by an event hook for window creations in every other process, set on the
  // first reading (so a program that never asks gets no events); without the hook every
  // reading is new.
  std::uint64_t windowsCreatedElsewhere() override {
    if (!hook()) return ++g_windowsCreatedElsewhere;
    return g_windowsCreatedElsewhere;
  }

  bool onWindowsChangedElsewhere(std::function<void()> wake) override {
    g_windowWake = std::move(wake);
    return hook();
  }

  // ---- text ----------------------------------------------------------------------------
  Text caption(Window window) override {
    HWND h = ToHwnd(window);
    if (!window || !IsWindow(h)) return {};
    const int reported = GetWindowTextLengthA(h);
    if (reported <= 0) return {};
    const std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(reported), kMaxTextBytes);
    std::string buf(length + 1, '\0');
    const int copied = GetWindowTextA(h, buf.data(), static_cast<int>(length + 1));
    buf.resize(strnlen(buf.data(), copied <= 0 ? 0 : std::min(static_cast<std::size_t>(copied), length)));
    return buf;
  }

  Text text(Window window) override {
    const auto reported = send(window, Message{WM_GETTEXTLENGTH, 0, 0});
    if (!reported) return {};
    const std::size_t length =
        *reported <= 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(*reported), kMaxTextBytes);
    std::string buf(length + 1, '\0');
    const auto copied = send(window, Message{WM_GETTEXT, length + 1, reinterpret_cast<LParam>(buf.data())});
    if (!copied) return {};
    // The count the control answers is trusted no further than the buffer, and the text
    // ends at its terminator.
    const std::size_t count = *copied <= 0 ? 0 : std::min(static_cast<std::size_t>(*copied), length);
    buf.resize(strnlen(buf.data(), count));
    return buf;
  }

  bool setText(Window window, std::string_view text) override {
    const std::string t = CText(text);
    return send(window, Message{WM_SETTEXT, 0, reinterpret_cast<LParam>(t.c_str())}).has_value();
  }

  // ---- messages ------------------------------------------------------------------------
  std::optional<LResult> send(Window window, const Message& m) override {
    if (!window) return std::nullopt;
    // One call for every window, asking nothing about it first: under Wine each question
    // about another process's window is a round trip to the server. A window that is gone
    // fails the send; one of our own thread is handled at once (the limit does not apply);
    // another thread's is abandoned when it hangs or takes too long.
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(ToHwnd(window), m.id, m.wParam, m.lParam, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                             kForeignSendLimitMs, &result)) {
      return std::nullopt;
    }
    return static_cast<LResult>(result);
  }

  std::optional<LResult> wideTextLength(Window window) override {
    if (!window) return std::nullopt;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(ToHwnd(window), WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                             kForeignSendLimitMs, &result)) {
      return std::nullopt;
    }
    return static_cast<LResult>(result);
  }

  std::optional<LResult> readLength(Window window) override {
    static const bool singleByte = [] {
      CPINFO info{};
      return GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
    }();
    return singleByte ? wideTextLength(window) : send(window, Message{WM_GETTEXTLENGTH, 0, 0});
  }

  bool post(Window window, const Message& m) override {
    return window && PostMessageA(ToHwnd(window), m.id, m.wParam, m.lParam);
  }

  LResult callDefault(Window window, const Message& m) override {
    HWND h = ToHwnd(window);
    if (!window || !OnOurThread(h)) return 0;
    return DefaultProcessing(h, m.id, m.wParam, m.lParam);
  }

  // ---- state and placement -------------------------------------------------------------
  bool show(Window window, int command) override {
    HWND h = ToHwnd(window);
    if (!exists(window)) return false;
    ShowWindow(h, command);
    return true;
  }
  bool isVisible(Window window) override { return exists(window) && IsWindowVisible(ToHwnd(window)); }
  bool isMinimized(Window window) override { return exists(window) && IsIconic(ToHwnd(window)); }
  bool isMaximized(Window window) override { return exists(window) && IsZoomed(ToHwnd(window)); }
  bool enable(Window window, bool enabled) override {
    if (!exists(window)) return false;
    EnableWindow(ToHwnd(window), enabled);
    return true;
  }
  bool isEnabled(Window window) override { return exists(window) && IsWindowEnabled(ToHwnd(window)); }

  Rect windowRect(Window window) override {
    RECT r{};
    if (!exists(window) || !GetWindowRect(ToHwnd(window), &r)) return {};
    return Rect{r.left, r.top, r.right, r.bottom};
  }

  Rect clientRect(Window window) override {
    RECT r{};
    if (!exists(window) || !GetClientRect(ToHwnd(window), &r)) return {};
    return Rect{r.left, r.top, r.right, r.bottom};
  }

  bool move(Window window, const Rect& r, bool repaint) override {
    return exists(window) && MoveWindow(ToHwnd(window), r.left, r.top, r.width(), r.height(), repaint);
  }

  bool setPosition(Window window, std::intptr_t insertAfter, const Rect& r, std::uint32_t flags) override {
    // Insert-after is one of the HWND_* numbers or a window's 32-bit value.
    auto after = reinterpret_cast<HWND>(HandleBits(static_cast<std::uint32_t>(insertAfter)));
    return exists(window) && SetWindowPos(ToHwnd(window), after, r.left, r.top, r.width(), r.height(), flags);
  }

  bool isTopmost(Window window) override {
    return exists(window) && (GetWindowLongPtrA(ToHwnd(window), GWL_EXSTYLE) & WS_EX_TOPMOST);
  }

  bool setForeground(Window window) override { return exists(window) && SetForegroundWindow(ToHwnd(window)); }

  bool sendToBack(Window window) override {
    return exists(window) && SetWindowPos(ToHwnd(window), HWND_BOTTOM, 0, 0, 0, 0,
                                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }

  bool destroy(Window window) override {
    HWND h = ToHwnd(window);
    if (!exists(window) || !OnOurThread(h)) return false;
    if (GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_MDICHILD) {
      // The MDI client keeps its own list of children; it removes the child from it.
      SendMessageA(GetParent(h), WM_MDIDESTROY, reinterpret_cast<WPARAM>(h), 0);
    } else {
      DestroyWindow(h);
    }
    return !IsWindow(h);
  }

  // ---- the program's own windows -------------------------------------------------------
  bool registerClass(const ClassSpec& desc) override {
    const std::string name = CText(desc.name);
    if (name.empty() || g_classesByName.count(Lower(name))) return false;
    auto info = std::make_shared<ClassInfo>();
    info->name = name;
    info->base = desc.base;
    info->handler = desc.handler;
    info->owner = this;

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    if (const char* standard = StandardClassOf(desc.base)) {
      // A superclass: the standard control's class data, our procedure in front of its own.
      if (!GetClassInfoExA(nullptr, standard, &wc)) return false;
      info->baseProc = wc.lpfnWndProc;
      wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
      if (desc.base == BaseKind::kDialog)
        wc.cbWndExtra = std::max(wc.cbWndExtra, static_cast<int>(DLGWINDOWEXTRA));
    } else {
      info->background = GdiObject<HBRUSH>(CreateSolidBrush(desc.background));
      wc.hbrBackground = info->background.get();
      // The program's own icon (the executable's first), else the system's.
      wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
      if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
      wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));             // IDC_ARROW
      wc.style = CS_HREDRAW | CS_VREDRAW;
    }
    if (desc.doubleClicks) wc.style |= CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = Instance();
    wc.lpszClassName = info->name.c_str();
    wc.cbSize = sizeof(wc);
    info->atom = RegisteredClass(RegisterClassExA(&wc));
    if (!info->atom) return false;
    g_classesByAtom[info->atom.get()] = info;
    g_classesByName[Lower(name)] = info;
    return true;
  }

  Window create(const WindowSpec& desc) override {
    const std::string className = CText(desc.className);
    auto registered = g_classesByName.find(Lower(className));
    const bool ours = registered != g_classesByName.end();
    const BaseKind base =
        ours ? registered->second->base : StandardKindOf(className).value_or(BaseKind::kPlain);
    HWND parent = ToHwnd(desc.parent);
    if (desc.parent && !IsWindow(parent)) return {};
    const bool child = desc.parent || desc.style.child;
    const Styles styles = StylesFor(desc, base, child);
    const std::string caption = CText(desc.caption);
    const Rect& r = desc.rect;

    HWND hwnd = nullptr;
    if (desc.parent && IsMdiClient(parent)) {
      // An MDI child: the client makes it, gives it its identifier and activates it.
      hwnd =
          CreateMDIWindowA(className.c_str(), caption.c_str(), styles.style & ~static_cast<DWORD>(WS_CHILD),
                           r.left, r.top, r.width(), r.height(), parent, Instance(), 0);
    } else {
      CLIENTCREATESTRUCT clientCreate{nullptr, kFirstMdiChildId};
      void* param = base == BaseKind::kMdiClient ? &clientCreate : nullptr;
      const int height = r.height() + (base == BaseKind::kComboBox ? kComboListHeight : 0);
      HMENU menuOrId = child ? reinterpret_cast<HMENU>(static_cast<std::intptr_t>(desc.controlId)) : nullptr;
      HWND parentOrOwner = child ? parent : ToHwnd(desc.owner);
      hwnd = CreateWindowExA(styles.exStyle, className.c_str(), caption.c_str(), styles.style, r.left, r.top,
                             r.width(), height, parentOrOwner, menuOrId, Instance(), param);
    }
    if (!hwnd) return {};
    if (!caption.empty()) KeepCreationCaption(hwnd, caption);

    std::shared_ptr<WindowEntry> entry = FindEntry(hwnd);
    if (!entry) entry = adopt(hwnd);
    if (entry) entry->created = true;
    if (entry && ours && base == BaseKind::kComboBox && !desc.style.dropDownList) {
      // The edit part's keys reach the combo box's handler (see the top of the file).
      COMBOBOXINFO info{};
      info.cbSize = sizeof info;
      if (GetComboBoxInfo(hwnd, &info) && info.hwndItem && info.hwndItem != hwnd) {
        if (auto edit = adopt(info.hwndItem)) edit->comboOfEdit = hwnd;
      }
    }
    if (base == BaseKind::kMdiClient && parent) {
      if (auto frame = FindEntry(parent)) frame->mdiClient = hwnd;
    }
    return FromHwnd(hwnd);
  }

  bool setFont(Window window, const FontSpec& font) override {
    HWND h = ToHwnd(window);
    auto entry = exists(window) ? adopt(h) : nullptr;
    if (!entry) return false;
    LOGFONTA lf{};
    auto current = reinterpret_cast<HFONT>(SendMessageA(h, WM_GETFONT, 0, 0));
    if (!current || !GetObjectA(current, sizeof lf, &lf)) {
      GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    }
    const int dpi = [] {
      const WindowDc screen;
      return screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    }();
    lf.lfHeight = -MulDiv(std::max(font.pointSize, 1), dpi > 0 ? dpi : 96, 72);
    lf.lfWidth = 0;
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    if (!font.face.empty()) {
      const std::string face = CText(font.face);
      lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    }
    GdiObject<HFONT> made(CreateFontIndirectA(&lf));
    if (!made) return false;
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
    entry->font = std::move(made);  // the old font goes only now that the window has let go of it
    return true;
  }

  bool setColors(Window window, Color text, Color background) override {
    HWND h = ToHwnd(window);
    auto entry = exists(window) ? adopt(h) : nullptr;
    if (!entry) return false;
    GdiObject<HBRUSH> brush(CreateSolidBrush(background));
    if (!brush) return false;
    // The parent is asked how to paint the control, so it must run through our dispatch.
    HWND parent = GetParent(h);
    if (parent && (GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) && OnOurThread(parent)) adopt(parent);
    entry->hasColors = true;
    entry->textColor = text;
    entry->backColor = background;
    entry->colorBrush = std::move(brush);
    InvalidateRect(h, nullptr, TRUE);
    return true;
  }

  bool setPicture(Window window, const Picture& picture) override {
    HWND h = ToHwnd(window);
    auto entry = exists(window) ? adopt(h) : nullptr;
    if (!entry) return false;
    GdiObject<HBITMAP> bitmap;
    if (!picture.empty()) {
      bitmap = MakeBitmap(picture);
      if (!bitmap) return false;
    }
    if (entry->base == BaseKind::kStatic || IsStaticClass(h)) {
      const LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
      if ((style & SS_TYPEMASK) != SS_BITMAP) {
        SetWindowLongPtrA(h, GWL_STYLE, (style & ~static_cast<LONG_PTR>(SS_TYPEMASK)) | SS_BITMAP);
      }
      // The static shows the bitmap and takes its size; it does not own it.
      SendMessageA(h, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap.get()));
    }
    entry->picture = std::move(bitmap);
    InvalidateRect(h, nullptr, TRUE);
    return true;
  }

  bool setRegion(Window window, const Region& region) override {
    if (!exists(window)) return false;
    GdiObject<HRGN> shape = MakeRegion(region);
    if (!shape) return false;
    if (!SetWindowRgn(ToHwnd(window), shape.get(), TRUE)) return false;
    shape.release();  // the system owns the region from here on
    return true;
  }

  bool showInTaskbar(Window window, bool shown) override {
    HWND h = ToHwnd(window);
    if (!exists(window)) return false;
    // The task bar reads the styles when a window is shown, so a visible window is hidden
    // and shown again around the change.
    const bool visible = IsWindowVisible(h);
    if (visible) ShowWindow(h, SW_HIDE);
    LONG_PTR ex = GetWindowLongPtrA(h, GWL_EXSTYLE);
    ex = shown ? ((ex & ~static_cast<LONG_PTR>(WS_EX_TOOLWINDOW)) | WS_EX_APPWINDOW)
               : ((ex & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW)) | WS_EX_TOOLWINDOW);
    SetWindowLongPtrA(h, GWL_EXSTYLE, ex);
    if (visible) ShowWindow(h, SW_SHOWNA);
    return true;
  }

  void dragWithMouse(Window window) override {
    if (!exists(window)) return;
    // SC_MOVE with the caption hit-test code in its low bits: the system's own move loop,
    // which returns when the button is released.
    ReleaseCapture();
    SendMessageA(ToHwnd(window), WM_SYSCOMMAND, 0xF012, 0);
  }

  bool invalidate(Window window) override {
    return exists(window) && InvalidateRect(ToHwnd(window), nullptr, TRUE);
  }

  // ---- menus ---------------------------------------------------------------------------
  Menu createMenuBar() override { return FromHmenu(CreateMenu()); }
  Menu createPopupMenu() override { return FromHmenu(CreatePopupMenu()); }

  bool appendMenuItem(Menu menu, std::uint32_t id, std::string_view caption, MenuItemFlags flags) override {
    if (flags.separator) return AppendMenuA(ToHmenu(menu), MF_SEPARATOR, 0, nullptr);
    const std::string c = CText(caption);
    const UINT f = MF_STRING | (flags.checked ? MF_CHECKED : 0u) | (flags.disabled ? MF_GRAYED : 0u);
    return AppendMenuA(ToHmenu(menu), f, id, c.c_str());
  }

  bool appendSubmenu(Menu menu, Menu submenu, std::string_view caption) override {
    const std::string c = CText(caption);
    return AppendMenuA(ToHmenu(menu), MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(ToHmenu(submenu)),
                       c.c_str());
  }

  bool setMenu(Window window, Menu menu) override {
    if (!exists(window) || !SetMenu(ToHwnd(window), ToHmenu(menu))) return false;
    DrawMenuBar(ToHwnd(window));
    return true;
  }

  bool checkMenuItem(Menu menu, std::uint32_t id, bool checked) override {
    return CheckMenuItem(ToHmenu(menu), id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED)) !=
           static_cast<DWORD>(-1);
  }

  bool enableMenuItem(Menu menu, std::uint32_t id, bool enabled) override {
    return EnableMenuItem(ToHmenu(menu), id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED)) != -1;
  }

  bool setMenuItemCaption(Menu menu, std::uint32_t id, std::string_view caption) override {
    // Only the text changes; the check mark and the enabled state stay.
    std::string c = CText(caption);
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = c.data();
    info.cch = static_cast<UINT>(c.size());
    return SetMenuItemInfoA(ToHmenu(menu), id, FALSE, &info);
  }

  bool isMenuItemChecked(Menu menu, std::uint32_t id) override {
    const UINT state = GetMenuState(ToHmenu(menu), id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
  }

  bool isMenuItemEnabled(Menu menu, std::uint32_t id) override {
    const UINT state = GetMenuState(ToHmenu(menu), id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
  }

  Text menuItemCaption(Menu menu, std::uint32_t id) override {
    const int length = GetMenuStringA(ToHmenu(menu), id, nullptr, 0, MF_BYCOMMAND);
    if (length <= 0) return {};
    const auto n = std::min<std::size_t>(static_cast<std::size_t>(length), kMaxTextBytes);
    std::string buf(n + 1, '\0');
    GetMenuStringA(ToHmenu(menu), id, buf.data(), static_cast<int>(n + 1), MF_BYCOMMAND);
    buf.resize(strnlen(buf.data(), n));
    return buf;
  }

  bool trackPopupMenu(Menu menu, Window owner, Point at) override {
    HWND h = ToHwnd(owner);
    if (!exists(owner)) return false;
    // The menu closes when the user clicks elsewhere only if its owner is in the
    // foreground, and the owner needs a message after it to finish the menu's loop.
    SetForegroundWindow(h);
    const BOOL shown =
        TrackPopupMenu(ToHmenu(menu), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, h, nullptr);
    PostMessageA(h, WM_NULL, 0, 0);
    return shown;
  }

  Menu menuOf(Window window) override { return exists(window) ? FromHmenu(GetMenu(ToHwnd(window))) : Menu{}; }

  int menuItemCount(Menu menu) override { return menu ? GetMenuItemCount(ToHmenu(menu)) : -1; }

  Menu subMenu(Menu menu, int position) override {
    return menu ? FromHmenu(GetSubMenu(ToHmenu(menu), position)) : Menu{};
  }

  std::uint32_t menuItemId(Menu menu, int position) override {
    return menu ? GetMenuItemID(ToHmenu(menu), position) : 0xFFFFFFFFu;
  }

  Text menuItemText(Menu menu, int position, int maxChars) override {
    if (!menu || maxChars <= 0) return {};
    // A buffer of maxChars bytes, terminator included, as the caller's own buffer would be.
    const auto size = std::min<std::size_t>(static_cast<std::size_t>(maxChars), kMaxTextBytes);
    std::string buf(size + 1, '\0');
    GetMenuStringA(ToHmenu(menu), static_cast<UINT>(position), buf.data(), static_cast<int>(size),
                   MF_BYPOSITION);
    buf.resize(strnlen(buf.data(), size - 1));
    return buf;
  }

  // ---- other processes' memory -------------------------------------------------------
  std::unique_ptr<ProcessReader> openProcess(ProcessId process) override {
    KernelHandle h(OpenProcess(PROCESS_VM_READ | PROCESS_QUERY_INFORMATION, FALSE, process));
    if (!h) return nullptr;
    return std::make_unique<Win32ProcessReader>(std::move(h));
  }

  std::unique_ptr<LowMemoryBlock> allocateLowMemory(std::size_t size) override {
    constexpr std::uintptr_t kFirstHint = 0x10000000;
    constexpr std::uintptr_t kLimit = 0x80000000;  // below 2 GiB: positive as a 32-bit value too
    constexpr std::uintptr_t kGranularity = 0x10000;
    if (size == 0 || size > kLimit - kFirstHint) return nullptr;
    for (std::uintptr_t hint = kFirstHint; hint + size <= kLimit;) {
      MEMORY_BASIC_INFORMATION info{};
      if (!VirtualQuery(reinterpret_cast<void*>(hint), &info, sizeof info)) break;
      const std::uintptr_t regionEnd = reinterpret_cast<std::uintptr_t>(info.BaseAddress) + info.RegionSize;
      if (info.State == MEM_FREE && regionEnd - hint >= size) {
        VirtualMemory block(
            VirtualAlloc(reinterpret_cast<void*>(hint), size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (block && reinterpret_cast<std::uintptr_t>(block.get()) + size <= kLimit) {
          return std::make_unique<Win32LowMemoryBlock>(std::move(block), size);
        }
      }
      // On to the next allocation boundary past this region.
      const std::uintptr_t next = std::max(regionEnd, hint + kGranularity);
      hint = (next + kGranularity - 1) & ~(kGranularity - 1);
    }
    return nullptr;
  }

 private:
  struct CreationHook {
    bool tried = false;
    HWINEVENTHOOK handle = nullptr;
  };
  CreationHook creationHook_;

  // The event hook for windows of other processes created or shown, set on the first use
  // (so a program that never asks gets no events); false where the system refuses it.
  bool hook() {
    if (!creationHook_.tried) {
      creationHook_.tried = true;
      creationHook_.handle =
          SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, CountWindowCreation, 0, 0,
                          WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    }
    return creationHook_.handle != nullptr;
  }

  // Class names compare as the system compares them: without regard to case.
  static bool ClassIs(HWND h, const std::string& cls) {
    char buf[257] = {};
    return GetClassNameA(h, buf, 256) > 0 && lstrcmpiA(buf, cls.c_str()) == 0;
  }

  // The caption the window system keeps (no message is sent), without regard to case.
  static bool CaptionIs(HWND h, const std::string& caption) {
    std::vector<wchar_t> kept(1024, L'\0');
    InternalGetWindowText(h, kept.data(), static_cast<int>(kept.size()));
    const int n = MultiByteToWideChar(CP_ACP, 0, caption.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wanted(static_cast<std::size_t>(std::max(n, 1)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, caption.c_str(), -1, wanted.data(), n);
    return lstrcmpiW(kept.data(), wanted.data()) == 0;
  }

  static bool IsStaticClass(HWND h) {
    char buf[16] = {};
    GetClassNameA(h, buf, sizeof buf);
    return Lower(buf) == "static";
  }

  static bool IsMdiClient(HWND h) {
    char buf[16] = {};
    GetClassNameA(h, buf, sizeof buf);
    if (Lower(buf) == "mdiclient") return true;
    auto entry = FindEntry(h);
    return entry && entry->base == BaseKind::kMdiClient;
  }

  // A control that keeps its text to itself (Wine's edit does) leaves the caption the
  // window system keeps empty. The creation text is that caption, as other processes and
  // FindWindowEx see it, so it is put there; the control's own text is not touched.
  static void KeepCreationCaption(HWND hwnd, const std::string& caption) {
    wchar_t kept[2] = {};
    if (InternalGetWindowText(hwnd, kept, 2) > 0) return;
    DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
  }

  // The entry of a window of our thread, subclassing a window of another class so that
  // its messages run through our dispatch. Null for other threads' windows.
  std::shared_ptr<WindowEntry> adopt(HWND hwnd) {
    if (auto entry = FindEntry(hwnd)) return entry;
    if (!OnOurThread(hwnd)) return nullptr;
    if (GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowProc)) {
      return EntryForClassWindow(hwnd);
    }
    auto entry = std::make_shared<WindowEntry>();
    char buf[64] = {};
    GetClassNameA(hwnd, buf, sizeof buf);
    entry->base = StandardKindOf(buf).value_or(BaseKind::kPlain);
    entry->kind = DefaultKind::kBaseProc;
    entry->owner = this;
    g_windows[hwnd] = entry;
    entry->baseProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
    if (!entry->baseProc) {
      g_windows.erase(hwnd);
      return nullptr;
    }
    return entry;
  }

  // A device-independent bitmap with the picture's pixels.
  static GdiObject<HBITMAP> MakeBitmap(const Picture& picture) {
    const int w = picture.width();
    const int h = picture.height();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
    auto* rows = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < h; ++y) {
      std::uint8_t* row = rows + stride * static_cast<std::size_t>(y);
      for (int x = 0; x < w; ++x) {
        const Color c = picture.pixel(x, y);  // 0x00BBGGRR; a DIB row holds B, G, R
        row[x * 3 + 0] = static_cast<std::uint8_t>(c >> 16);
        row[x * 3 + 1] = static_cast<std::uint8_t>(c >> 8);
        row[x * 3 + 2] = static_cast<std::uint8_t>(c);
      }
    }
    GdiFlush();
    return bitmap;
  }

  // The union of the rectangles in one region object, made in one call from a list of
  // rectangles rather than one combine per rectangle.
  static GdiObject<HRGN> MakeRegion(const Region& region) {
    std::vector<RECT> rects;
    rects.reserve(region.rects.size());
    RECT bound{0, 0, 0, 0};
    for (const Rect& r : region.rects) {
      if (r.empty()) continue;
      rects.push_back(RECT{r.left, r.top, r.right, r.bottom});
      if (rects.size() == 1) {
        bound = rects.back();
      } else {
        bound.left = std::min<LONG>(bound.left, r.left);
        bound.top = std::min<LONG>(bound.top, r.top);
        bound.right = std::max<LONG>(bound.right, r.right);
        bound.bottom = std::max<LONG>(bound.bottom, r.bottom);
      }
    }
    if (rects.empty()) return GdiObject<HRGN>(CreateRectRgn(0, 0, 0, 0));
    std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(rects.size());
    header.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    header.rcBound = bound;
    std::memcpy(data.data(), &header, sizeof header);
    std::memcpy(data.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
    GdiObject<HRGN> made(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                         reinterpret_cast<const RGNDATA*>(data.data())));
    if (made) return made;
    // The same union one rectangle at a time.
    GdiObject<HRGN> all(CreateRectRgn(0, 0, 0, 0));
    for (const RECT& r : rects) {
      GdiObject<HRGN> one(CreateRectRgn(r.left, r.top, r.right, r.bottom));
      if (!all || !one || CombineRgn(all.get(), all.get(), one.get(), RGN_OR) == ERROR) return {};
    }
    return all;
  }
};

}  // namespace

std::unique_ptr<WindowSystem> MakeWindowSystem() { return std::make_unique<Win32WindowSystem>(); }

}  // namespace vantary::platform::win32
