// The in-memory window system: several simulated processes share one window table, one
// event queue and one virtual clock, all on the calling thread. Time moves only while
// something waits, so a test can let a week pass in milliseconds and every wait ends.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/picture.h"
#include "platform/platform.h"

namespace vantary::platform::sim {

// A dialog the program showed, as the sim recorded it.
struct DialogRecord {
  enum class Kind { kMessageBox, kInputBox } kind = Kind::kMessageBox;
  Text text;  // message box text, or input box prompt
  Text title;
  std::uint32_t style = 0;  // message box style bits
  ProcessId process = 0;
};

// An answer a test queues for the next dialog.
struct DialogAnswer {
  int button = msg::kIdOk;    // message box: the button pressed
  std::optional<Text> input;  // input box: the text entered, nullopt = Cancel
  // How long the box stands before it is answered, every process's events running
  // meanwhile as they do in a box's modal loop.
  std::uint32_t standsMs = 0;
  static DialogAnswer Button(int id) { return DialogAnswer{id, std::nullopt}; }
  static DialogAnswer Input(Text t) { return DialogAnswer{msg::kIdOk, std::move(t)}; }
  static DialogAnswer Cancel() { return DialogAnswer{msg::kIdCancel, std::nullopt}; }
  static DialogAnswer After(std::uint32_t ms, DialogAnswer answer) {
    answer.standsMs = ms;
    return answer;
  }
};

struct SoundRecord {
  enum class Kind { kWave, kMci } kind = Kind::kWave;
  Text text;  // the wave path or the MCI command
  std::uint32_t flags = 0;
};

struct TrayRecord {
  bool added = true;  // false: deleted
  TrayIcon icon;
};

struct ShellRecord {
  enum class Kind { kStart, kExitWindows } kind = Kind::kStart;
  Text path;
  int showCommand = 0;
  std::uint32_t flags = 0;
};

// A message as a window of the sim received it, for message-sequence assertions.
struct MessageRecord {
  Window window;
  Message message;
  bool posted = false;
  friend bool operator==(const MessageRecord&, const MessageRecord&) = default;
};

// A pop-up menu the program showed with trackPopupMenu.
struct PopupMenuRecord {
  Menu menu;
  Window owner;
  Point at;
  ProcessId process = 0;
};

class SimWorld;

// One simulated process: its own window-system view (which process is calling), its
// own memory, and the shared services of the world.
class SimProcess {
 public:
  virtual ~SimProcess() = default;
  virtual ProcessId id() const = 0;
  virtual const Text& name() const = 0;
  virtual Platform& platform() = 0;
  // Memory that another process can read, as the real system's process memory.
  virtual void writeMemory(std::uint32_t address, std::span<const std::uint8_t> bytes) = 0;
};

class SimWorld {
 public:
  // Files live under `root`: the program folder and the Windows folder are both inside
  // it. The folder is created when missing.
  explicit SimWorld(std::filesystem::path root);
  ~SimWorld();
  SimWorld(const SimWorld&) = delete;
  SimWorld& operator=(const SimWorld&) = delete;

  // Creates a process. The program folder it reports is "C:\<programFolder>".
  SimProcess& addProcess(const Text& name, const Text& programFolder = "vantary");

  EventLoop& loop();
  // Moves virtual time on by `ms`, running every timer and posted message on the way.
  void runFor(std::uint64_t ms);

  // ---- screen ----
  void setScreenSize(Size pixels);
  void setCursor(Point p);
  // The user drops files from another program on the window: the first of it and its
  // parents that takes dropped files gets WM_DROPFILES, posted. False when none takes them.
  bool dropFiles(Window target);
  // The next dragWithMouse() moves the window so that its top-left corner is here.
  void setNextDragTarget(Point topLeft);
  // Starts the wall clock at this time of day (virtual time moves it on).
  void setTimeOfDay(TimeOfDay t);

  // ---- dialogs ----
  void queueDialogAnswer(DialogAnswer answer);
  const std::vector<DialogRecord>& dialogs() const;
  // Dialogs shown with no answer queued (they were answered Cancel / nullopt).
  int unansweredDialogs() const;

  // ---- recorded services ----
  const std::vector<SoundRecord>& sounds() const;
  const std::vector<TrayRecord>& trayEvents() const;
  const std::vector<ShellRecord>& shellEvents() const;
  void setStartProgramResult(bool ok);
  // The lines a process wrote where it was started from (Shell::writeOutputLine).
  const std::vector<Text>& outputLines(ProcessId process) const;
  // The shell takes no tray icon while this holds (no task bar yet, a busy shell).
  void setTrayRefuses(bool refuses);
  // The shell starts again: the tray's icons are gone and every top-level window is sent
  // the task bar's "TaskbarCreated" message.
  void restartShell();
  // Windows ends the user's session: every top-level window is sent WM_QUERYENDSESSION,
  // then WM_ENDSESSION saying whether the session ends (it does unless one refused). True
  // when it ended.
  bool endSession();
  // Whether a test file of this name exists for mciCommand / playWave is the Files' say.

  // ---- failure injection ----
  // Another program holds the file open without sharing it, as a backup or a virus
  // scanner does for a moment: the file is there, but reading, replacing and removing it
  // fail until it is released.
  void setFileLocked(std::string_view programPath, bool locked);
  // The file's read-only attribute: it reads as before, but replacing and removing it
  // fail, as MoveFileEx and DeleteFile refuse a read-only target.
  void setFileReadOnly(std::string_view programPath, bool readOnly);
  // A folder the user may read but not write, as the Windows folder is for a standard
  // user of a current system: its files read as before, but no file in it can be made,
  // replaced or removed.
  void setFolderWriteProtected(std::string_view programFolder, bool writeProtected);
  // A hung process answers no send: sends to its windows are abandoned after the bound,
  // and virtual time moves on by that bound. Posted messages wait until it recovers.
  void setHung(ProcessId process, bool hung);
  // Opening the process for memory reads fails.
  void setMemoryLocked(ProcessId process, bool locked);

  // ---- inspection ----
  // Records every message a window receives from now on (sent and posted).
  void recordMessages(Window window);
  const std::vector<MessageRecord>& messageLog() const;
  void clearMessageLog();
  // Windows currently in existence, for leak checks.
  std::size_t windowCount() const;
  // The root folder on the real disk, and the real file a program path maps to.
  const std::filesystem::path& root() const;
  std::filesystem::path hostPath(std::string_view programPath) const;
  SimProcess* process(ProcessId id);
  // What the program set on its own windows, which the window system only shows.
  std::optional<FontSpec> fontOf(Window window) const;
  std::optional<std::pair<Color, Color>> colorsOf(Window window) const;  // text, background
  std::optional<Region> regionOf(Window window) const;
  std::optional<Picture> pictureOf(Window window) const;
  bool shownInTaskbar(Window window) const;
  Window foregroundWindow() const;

  // ---- pop-up menus ----
  const std::vector<PopupMenuRecord>& popupMenus() const;
  std::optional<PopupMenuRecord> lastPopupMenu() const;
  // The user's choice in the next pop-up menu: trackPopupMenu posts WM_COMMAND with this
  // id to the menu's owner. Without a queued choice the menu is dismissed.
  void queuePopupChoice(std::uint32_t commandId);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace vantary::platform::sim
