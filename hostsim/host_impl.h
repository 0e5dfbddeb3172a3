// The stand-in host's inner state, shared by the files that build its windows.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "hostsim/host_sim.h"
#include "hostsim/member_records.h"
#include "hostsim/transcript.h"
#include "platform/event_loop.h"

namespace vantary::hostsim {

namespace msg = platform::msg;
using platform::LResult;
using platform::Message;
using platform::Rect;
using platform::WindowSystem;

// The host's window classes. Each is registered on the standard kind it behaves as; the
// host adds its behaviour in the handler.
enum class HostClass {
  kFrame,         // "AOL Frame25"
  kToolbar,       // "AOL Toolbar"
  kToolbarBar,    // "_AOL_Toolbar"
  kGlyph,         // "_AOL_Glyph"
  kCombobox,      // "_AOL_Combobox"
  kKeywordBox,    // "Edit", the host's own: the toolbar's keyword box
  kChild,         // "AOL Child"
  kRichText,      // "RICHCNTL"
  kEdit,          // "_AOL_Edit"
  kView,          // "_AOL_View"
  kListbox,       // "_AOL_Listbox"
  kCheckbox,      // "_AOL_Checkbox"
  kIcon,          // "_AOL_Icon"
  kButton,        // "_AOL_Button"
  kStatic,        // "_AOL_Static"
  kModal,         // "_AOL_Modal"
  kPalette,       // "_AOL_Palette"
  kDialog,        // "#32770", the host's own: its dialogs
  kDialogButton,  // "Button", the host's own: the buttons of its dialogs
};

// What the host keeps about a window it opened, so it can forget it when it goes.
enum class WindowRole {
  kSignOnScreen,
  kWelcome,
  kRoom,
  kKeyword,
  kInstantMessage,
  kMemberInfo,
  kBuddyList,
  kPrivacy,
  kHostDialog,
  kAboutBox,
  kSignOffQuestion,
  kIdleModal,
  kIdlePalette,
  kDownload,
  kUpload,
  kBrowserDownload,
};

// How long the host's servers take to answer: a member's details, the buddy list's
// contents, the privacy preferences, a save of them. The host shows the window at once
// and completes it when the answer comes; until then the window's controls do nothing.
// The program waits for the controls it needs, or pauses half a second, before it works
// such a window.
inline constexpr std::uint32_t kServerAnswerMs = 400;

// What a control does when the user works it.
enum class ControlRole {
  kNone,
  kRoomInput,    // Enter takes the chat line
  kKeywordEdit,  // Enter runs the keyword, as the Go icon does
  kPeopleList,   // a double click opens the member's information
  kIgnoreBox,    // checked while the member is ignored
  kPrivacyBox,   // one of the privacy preferences
};

struct Control {
  Window owner;  // the host window the control belongs to
  ControlRole role = ControlRole::kNone;
  std::function<void()> click;  // icons and buttons: runs at the next turn of the loop
  int index = 0;                // privacy box: its number from 0
  Text member;                  // ignore box: the member
};

// Work the host does a while after something happened (an answer of its servers), unless
// the window it belongs to has gone by then.
struct Later {
  Window owner;
  std::unique_ptr<platform::Timer> timer;
};

struct Member {
  Text name;
  MemberRecord record;
};

struct Room {
  Window window;
  Text name;
  RoomLayout layout = RoomLayout::kRich;
  Window transcriptControl;
  Window input;
  Window people;
  Window count;
  Transcript transcript;
  std::vector<Member> members;
  // The rich input box had a text set over text it still held; see takeChatLine.
  bool inputSetOverText = false;
};

struct Transfer {
  int id = 0;
  TransferKind kind = TransferKind::kDownload;
  Text file;
  std::uint32_t durationMs = 0;
  std::uint64_t startMs = 0;
  Window window;
  Window timeText;
  std::unique_ptr<platform::Timer> timer;
};

struct InstantMessageWindow {
  Window window;
  Window recipient;  // 0 where the generation has no recipient box the user fills
  Text fixedRecipient;
  Window message;
};

struct HostSim::Impl {
  Impl(platform::Platform& platform, Generation generation);
  ~Impl();

  // ---- windows (host_sim.cpp) ------------------------------------------------------------
  void registerClasses();
  LResult handle(HostClass cls, Window window, const Message& message);
  LResult handleClickable(HostClass cls, Window window, const Message& message);
  Window makeControl(Window parent, const char* className, const Text& caption, Rect rect,
                     platform::WindowStyle style = {});
  Window makeChild(const Text& caption, Rect rect, WindowRole role);
  Window makeTopLevel(const char* className, const Text& caption, Rect rect, WindowRole role);
  void setClick(Window control, Window owner, std::function<void()> click);
  void setControl(Window control, Control c);
  // Runs `work` once, `ms` from now, unless `owner` has gone by then. What it throws is
  // recorded as a fault of `where` (a literal).
  void after(Window owner, std::uint32_t ms, const char* where, std::function<void()> work);
  // The controls of a window still waiting for its servers' answer do nothing.
  bool settling(Window control) const;
  void bringToTop(Window window);
  // Closes the window at the next turn of the loop: a click must not destroy the window
  // that is handling it.
  void closeLater(Window window);
  void defer(std::function<void()> work);
  // `tick` for a timer: what it throws is recorded as a fault of `where` (a literal)
  // instead of unwinding through the event loop.
  std::function<void()> guarded(const char* where, std::function<void()> tick);
  void noteFault(std::string_view where) noexcept;
  void forget(Window window);
  std::vector<Window> windowsWithRole(WindowRole role) const;
  Window firstWithRole(WindowRole role) const;
  void buildFrame();
  void buildMenuBar();
  void runMenuCommand(std::uint32_t id);
  void openSignOnScreen();
  void signOn(const Text& name);
  void signOff();
  void askSignOff();
  void showAboutBox();
  Window makeDialog(const Text& message, const char* button, int buttonId);
  void showHostDialog(const Text& message);
  void noteActivity();

  // ---- rooms (chat_rooms.cpp) ----------------------------------------------------------
  Room* roomOf(Window window);
  const Room* roomOf(Window window) const;
  Window openRoom(const Text& name, RoomLayout layout);
  void join(Room& room, const Text& member);
  void leave(Room& room, const Text& member);
  void say(Room& room, const Text& sender, const Text& text);
  void showTranscript(Room& room);
  void showCount(Room& room);
  bool takeChatLine(Window input);
  void openMemberInfo(Window people);
  void setIgnored(const Text& member, bool ignored);
  bool ignored(const Text& member) const;

  // ---- keywords (keywords.cpp) -----------------------------------------------------------
  bool takeKeyword(Window box);
  void runKeyword(const Text& keyword);
  void openKeywordWindow();
  void enterPrivateRoom(const Text& name);

  // ---- instant messages and privacy (instant_messages.cpp) -------------------------------
  void openInstantMessage(const Text& recipient);
  void sendInstantMessage(Window window);
  void openBuddyList();
  void openPrivacy();
  void savePrivacy(Window window);
  void privacyBoxChanged(Window box, bool checked);

  // ---- transfers (transfers.cpp) ---------------------------------------------------------
  int startTransfer(TransferKind kind, const Text& file, std::uint32_t durationMs);
  void advanceTransfer(int id);
  void endTransfer(int id);
  void showProgress(Transfer& t);

  // ---- idle (idle.cpp) -------------------------------------------------------------------
  void restartIdleClock();
  void raiseIdleWindows();
  void idleWindowGone();
  bool idleWindowsStand() const;

  platform::Platform& p;
  WindowSystem& ws;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);

  Generation generation;
  bool signedOn = false;
  Text screenName;
  int signOffs = 0;
  bool tearingDown = false;

  Window frame;
  Window toolbar;
  Window toolbarBar;
  Window keywordCombo;
  Window keywordBox;
  // A key was typed into the keyword box since its text was last set: the host knows the
  // keyword (see takeKeyword).
  bool keywordTyped = false;
  Window glyph;
  Window mdi;

  std::map<Window, Control> controls;
  std::set<Window> pressed;            // clickable controls with the button (or space bar) down
  std::set<Window> waitingForServers;  // windows whose controls do not answer yet
  std::map<int, Later> scheduled;
  int nextScheduled = 1;
  std::map<Window, WindowRole> roles;
  std::vector<std::unique_ptr<Room>> rooms;  // in the order they opened
  std::set<Text> fullRooms;                  // names without blanks, lower case
  RoomLayout privateLayout = RoomLayout::kRich;
  std::size_t transcriptLimit = kDefaultTranscriptLines;
  int rateLines = 0;
  std::size_t lineCut = 0;
  std::uint32_t ratePerMs = 0;
  std::deque<std::uint64_t> acceptedAt;
  int refused = 0;
  std::vector<Text> taken;
  std::size_t takenLimit = 0;
  std::uint64_t takenCount = 0;

  bool imOn = true;
  bool answerWithDialog = false;
  std::vector<SentInstantMessage> sent;
  std::map<Window, InstantMessageWindow> imWindows;
  std::vector<bool> privacySaved;
  std::vector<Text> ignoredMembers;
  std::optional<std::uint64_t> unignoredAtMs;  // when an ignore was last lifted

  std::map<int, std::unique_ptr<Transfer>> transfers;
  int nextTransferId = 1;
  Window browser;

  std::uint32_t idleAfterMs = kDefaultIdleAfterMs;
  std::uint32_t idleStandMs = kDefaultIdleStandMs;
  platform::Timer idleTimer;
  platform::Timer standTimer;

  std::vector<Text> keywords;
  std::vector<ShownDialog> dialogs;
  int aboutBoxes = 0;

  std::optional<Text> firstFault;
  int faults = 0;
  std::function<void(const Text&)> faultListener;
};

// Screen names and room names compare without regard to case and blanks, as the host does.
Text NameKey(std::string_view name);

}  // namespace vantary::hostsim
