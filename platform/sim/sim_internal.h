// The sim's shared state (the world behind SimWorld) and the pieces its source files share.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/picture.h"
#include "platform/sim/sim_world.h"
#include "text/ansi.h"

namespace vantary::platform::sim {

// ---- small helpers -----------------------------------------------------------------------

// Copies `source` into a WM_GETTEXT-style buffer of `capacity` characters: at most
// capacity-1 characters and a NUL. Returns the count copied.
LResult CopyToBuffer(std::string_view source, WParam capacity, LParam buffer);
// The NUL-terminated text an lParam points at ("" for 0).
Text TextAt(LParam pointer);

// ---- windows -------------------------------------------------------------------------------

struct ClassInfo {
  Text name;
  BaseKind base = BaseKind::kPlain;
  WindowHandler handler;
  Color background = Rgb(192, 192, 192);
  bool doubleClicks = true;
};

struct ListItem {
  Text text;
  LParam data = 0;
};

struct WindowData {
  std::uint32_t handle = 0;
  ProcessId process = 0;
  std::shared_ptr<const ClassInfo> cls;
  BaseKind kind = BaseKind::kPlain;  // the class's base, or kMdiChild inside an MDI client
  Text caption;                      // the text the window system keeps
  WindowStyle style;
  std::uint32_t parent = 0;
  std::uint32_t owner = 0;
  Rect rect;  // relative to the parent's client area; the screen for top-level windows
  int controlId = 0;
  std::vector<std::uint32_t> children;  // z-order, topmost first

  bool visible = false;
  bool minimized = false;
  bool maximized = false;
  bool restoreMaximized = false;  // a minimized window that was maximized comes back so
  bool enabled = true;
  bool topmost = false;
  bool destroying = false;

  // Edit controls, and the edit part of a drop-down combo box.
  Text contents;
  std::size_t limit = 30000;  // the system's initial limit
  bool readOnly = false;
  // List boxes and combo boxes.
  std::vector<ListItem> items;
  int selection = -1;
  // Buttons.
  int check = 0;
  bool pressed = false;
  // Track bars and scroll bars.
  int rangeMin = 0;
  int rangeMax = 100;
  int position = 0;
  // MDI clients.
  std::uint32_t activeChild = 0;

  std::uint32_t menu = 0;
  std::optional<FontSpec> font;
  std::optional<std::pair<Color, Color>> colors;
  std::optional<Region> region;
  std::optional<Picture> picture;
  bool inTaskbar = true;
};

// ---- menus ---------------------------------------------------------------------------------

struct MenuItemData {
  std::uint32_t id = 0;
  Text caption;
  bool checked = false;
  bool disabled = false;
  bool separator = false;
  std::uint32_t submenu = 0;
};

struct MenuData {
  bool popup = false;
  std::vector<MenuItemData> items;
};

// ---- memory --------------------------------------------------------------------------------

// A process's readable memory: blocks handed out by allocateLowMemory, and bytes a test
// wrote with SimProcess::writeMemory.
struct ProcessMemory {
  std::map<std::uint32_t, std::vector<std::uint8_t>> blocks;  // by start address
  std::unordered_map<std::uint32_t, std::uint8_t> loose;
  std::uint32_t nextAddress = 0;
  std::uint32_t endAddress = 0;

  std::uint8_t* find(std::uint32_t address);
};

// ---- event loop ----------------------------------------------------------------------------

struct TimerData {
  std::uint32_t intervalMs = 0;
  std::uint64_t due = 0;
  ProcessId process = 0;
  std::function<void()> tick;
};

struct QueueItem {
  ProcessId process = 0;  // whose queue: the target window's process, or the poster of work
  Window window;          // 0 for work
  Message message;
  std::function<void()> work;
};

class ProcessImpl;
class ProcessLoop;

}  // namespace vantary::platform::sim

namespace vantary::platform::sim {

struct SimWorld::Impl {
  explicit Impl(std::filesystem::path rootFolder);
  ~Impl();

  std::filesystem::path root;

  // ---- clock, timers, queue ----
  std::uint64_t now = 0;
  std::uint64_t wallAnchorNow = 0;    // virtual time when the wall clock was set
  std::uint64_t wallAnchorOfDay = 0;  // ms since midnight at that moment
  std::map<TimerId, TimerData> timers;
  TimerId nextTimerId = 1;
  std::deque<QueueItem> queue;
  bool quitFlag = false;
  int quitCode = 0;
  std::unique_ptr<ProcessLoop> worldLoop;  // the loop as the test itself sees it

  bool runnable(ProcessId process) const { return hung.count(process) == 0; }
  bool hasRunnableItem() const;
  void pump();
  void waitForEvents(std::uint32_t maxMs);
  int run();
  TimerId startTimer(ProcessId process, std::uint32_t intervalMs, std::function<void()> tick);
  void stopTimer(TimerId id);
  void postWork(ProcessId process, std::function<void()> work);
  TimeOfDay timeOfDay() const;

  // ---- windows ----
  std::unordered_map<std::uint32_t, std::unique_ptr<WindowData>> windows;
  std::vector<std::uint32_t> topLevel;  // z-order, topmost first
  std::uint32_t nextHandle = 0x00010010;
  // Windows created, in all and by each process.
  std::uint64_t windowsCreated = 0;
  std::map<ProcessId, std::uint64_t> windowsCreatedBy;
  // The wakes of processes that watch other processes' windows come and show, and whether
  // one is on its way to each.
  std::map<ProcessId, std::function<void()>> windowWakes;
  std::set<ProcessId> windowWakesPosted;
  void windowsChangedBy(ProcessId process);
  std::map<Text, std::shared_ptr<const ClassInfo>> standardClasses;  // by folded name
  std::set<std::uint32_t> recorded;
  std::vector<MessageRecord> messageLog;
  std::uint32_t foreground = 0;

  WindowData* find(Window w);
  WindowData* find(std::uint32_t handle) { return find(Window{handle}); }
  std::vector<std::uint32_t>& siblingsOf(const WindowData& w);
  void insertTopLevel(std::uint32_t handle, bool topmost);
  void raise(WindowData& w);
  void removeFromSiblings(const WindowData& w);
  // Calls the window's handler (or its base behaviour). Sends across processes to a hung
  // process are abandoned after kForeignSendLimitMs of virtual time.
  std::optional<LResult> deliver(ProcessId caller, Window target, const Message& message, bool posted);
  // A send from the window's own process, as controls notify their parents.
  LResult sendOwn(Window target, const Message& message);
  bool post(Window target, const Message& message);
  // DestroyWindow; `notify` false skips WM_DESTROY, for a window whose WM_CREATE failed.
  void destroyWindow(std::uint32_t handle, bool notify = true);
  void setVisible(std::uint32_t handle, bool visible);
  void moveTo(std::uint32_t handle, const Rect& rect);
  bool show(std::uint32_t handle, int command);
  Rect screenRect(const WindowData& w);
  void activateMdiChild(std::uint32_t client, std::uint32_t child);
  LResult defaultProc(Window window, const Message& message);  // sim_controls.cpp

  // ---- menus ----
  std::unordered_map<std::uint32_t, MenuData> menus;
  std::uint32_t nextMenu = 0x00020010;
  std::vector<PopupMenuRecord> popups;
  std::deque<std::uint32_t> popupChoices;
  MenuItemData* menuItemByCommand(std::uint32_t menu, std::uint32_t id, int depth = 0);
  void destroyMenu(std::uint32_t menu, int depth = 0);

  // ---- processes ----
  std::vector<std::unique_ptr<ProcessImpl>> processes;
  std::set<ProcessId> hung;
  std::set<ProcessId> memoryLocked;
  ProcessImpl* process(ProcessId id);

  // ---- screen, dialogs, recorded services ----
  Size screenSize{1024, 768};
  Point cursor;
  std::optional<Point> dragTarget;
  std::deque<DialogAnswer> dialogAnswers;
  std::vector<DialogRecord> dialogs;
  int unanswered = 0;
  std::vector<SoundRecord> sounds;
  std::vector<TrayRecord> trayEvents;
  std::set<std::pair<std::uint32_t, std::uint32_t>> trayIcons;  // (owner, id) shown now
  bool trayRefuses = false;
  std::vector<ShellRecord> shellEvents;
  std::optional<bool> startProgramResult;
  std::set<Text> claims;                          // instance names held, folded
  std::map<ProcessId, std::vector<Text>> output;  // lines each process wrote out
  std::uint64_t tempCounter = 0;

  std::filesystem::path hostPath(std::string_view programPath) const;
  bool fileExists(std::string_view programPath) const;
  // Files marked by the test, by their real paths (see SimWorld::setFileLocked).
  std::set<std::filesystem::path> lockedFiles;
  std::set<std::filesystem::path> readOnlyFiles;
  std::set<std::filesystem::path> protectedFolders;
  bool fileLocked(std::string_view programPath) const;
  bool fileReadOnly(std::string_view programPath) const;
  bool folderProtected(std::string_view programFolder) const;
  // The file's folder is write-protected.
  bool inProtectedFolder(std::string_view programPath) const;
};

// Creates the per-process services (sim_services.cpp, sim_window_system.cpp).
std::unique_ptr<WindowSystem> MakeWindowSystem(SimWorld::Impl& world, ProcessId process);
std::unique_ptr<Dialogs> MakeDialogs(SimWorld::Impl& world, ProcessId process);
std::unique_ptr<Files> MakeFiles(SimWorld::Impl& world, Text programFolder);
std::unique_ptr<Sound> MakeSound(SimWorld::Impl& world);
std::unique_ptr<Tray> MakeTray(SimWorld::Impl& world);
// The sim's number for the shell's "TaskbarCreated" message (a registered message's range).
inline constexpr std::uint32_t kSimTaskbarCreated = 0xC0DE;
std::unique_ptr<Shell> MakeShell(SimWorld::Impl& world, ProcessId process);
std::unique_ptr<Screen> MakeScreen(SimWorld::Impl& world);
std::unique_ptr<Random> MakeRandom(ProcessId process);
// Moves the window so its top-left corner lies at the drag target, if one is set
// (dragWithMouse and WM_SYSCOMMAND SC_MOVE).
void DragTo(SimWorld::Impl& world, Window window);
// Process memory (sim_world.cpp).
std::unique_ptr<LowMemoryBlock> AllocateLowMemory(SimWorld::Impl& world, ProcessId process, std::size_t size);
std::unique_ptr<ProcessReader> OpenProcessReader(SimWorld::Impl& world, ProcessId process);

// The event loop as one process sees it: timers and work carry the process, so a hung
// process's timers and work wait with its messages.
class ProcessLoop final : public EventLoop {
 public:
  ProcessLoop(SimWorld::Impl& world, ProcessId process) : world_(world), process_(process) {}
  std::uint64_t nowMs() override { return world_.now; }
  TimeOfDay timeOfDay() override { return world_.timeOfDay(); }
  TimerId startTimer(std::uint32_t intervalMs, std::function<void()> tick) override {
    return world_.startTimer(process_, intervalMs, std::move(tick));
  }
  void stopTimer(TimerId id) override { world_.stopTimer(id); }
  void postWork(std::function<void()> work) override { world_.postWork(process_, std::move(work)); }
  void pump() override { world_.pump(); }
  void waitForEvents(std::uint32_t maxMs) override { world_.waitForEvents(maxMs); }
  int run() override { return world_.run(); }
  void quit(int code) override {
    world_.quitFlag = true;
    world_.quitCode = code;
  }
  bool quitRequested() override { return world_.quitFlag; }

 private:
  SimWorld::Impl& world_;
  ProcessId process_;
};

class ProcessImpl final : public SimProcess {
 public:
  ProcessImpl(SimWorld::Impl& world, ProcessId id, Text name, Text programFolder, std::uint32_t memoryBase);
  ProcessId id() const override { return id_; }
  const Text& name() const override { return name_; }
  Platform& platform() override { return platform_; }
  void writeMemory(std::uint32_t address, std::span<const std::uint8_t> bytes) override;

  std::map<Text, std::shared_ptr<const ClassInfo>> classes;  // by folded name
  std::shared_ptr<ProcessMemory> memory;

 private:
  ProcessId id_;
  Text name_;
  ProcessLoop loop_;
  std::unique_ptr<WindowSystem> windows_;
  std::unique_ptr<Dialogs> dialogs_;
  std::unique_ptr<Files> files_;
  std::unique_ptr<Sound> sound_;
  std::unique_ptr<Tray> tray_;
  std::unique_ptr<Shell> shell_;
  std::unique_ptr<Screen> screen_;
  std::unique_ptr<Random> random_;
  Platform platform_;
};

}  // namespace vantary::platform::sim
