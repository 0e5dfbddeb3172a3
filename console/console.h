// The idle console: the hidden main window `vantary` with its menu, its hidden controls
// that hold the settings, the main timer, the chat-scanning control and the auto upchat
// watcher; its start-up routine, the idle session, the idle clock, the status scrolls,
// the transfer lines and the commands of the menu items it owns.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "console/away.h"
#include "console/command_line.h"
#include "console/idle_clock.h"
#include "console/menu.h"
#include "editors/custom_scroll.h"
#include "editors/editor_windows.h"
#include "host/auto_upchat.h"
#include "host/chat_scanner.h"
#include "host/host.h"
#include "platform/platform.h"
#include "settings/program_files.h"
#include "toolkit/form.h"
#include "windows/about_window.h"
#include "windows/away_settings_window.h"
#include "windows/away_window.h"
#include "windows/command_list.h"
#include "windows/credits_window.h"
#include "windows/help_window.h"

namespace vantary::console {

using platform::Platform;
using settings::SettingsPaths;
using text::Text;

// The keyword of a private room on generation "95", followed by the room's name.
inline constexpr std::string_view kPrivateRoomKeyword = "aol://2719:2-2-";
// The tray icon's callback: the mouse-move message, with the icon's mouse message in the
// low word of lParam.
inline constexpr std::uint32_t kTrayCallbackMessage = 512;
inline constexpr std::uint32_t kTrayIconId = 1;

// The trigger of the chat commands when none is stored or the options cannot be read.
inline constexpr std::string_view kDefaultTrigger = ".";

// The main window's caption, which outside programs find it by.
std::string_view MainWindowCaption();

// How often the interval command asks again after an answer that is no number from 1 to
// 12. The user ends the question by giving a number; the bound is for a dialog that can
// never be answered (no user at all), after which the interval stays as it was.
inline constexpr int kIntervalAskLimit = 1000;

// How often settings writes that failed are tried again.
inline constexpr std::uint32_t kRetryWritesMs = 60000;
// How often a message waiting to be told looks for a moment when nothing runs.
inline constexpr std::uint32_t kTellCheckMs = 100;

// A backlog of chat commands (a flood the user sent, or a host that takes lines slowly):
// a chat command whose turn comes later than kChatAnswerStaleMs after it was said still
// takes effect but answers nothing, since an answer that late tells of something long
// past and would hold up every command after it; and at most kMostWaitingChats wait, the
// oldest going when more come.
inline constexpr std::uint64_t kChatAnswerStaleMs = 10000;
inline constexpr std::size_t kMostWaitingChats = 16;

struct ConsoleOptions {
  // The main timer's minute (MinuteMsFromEnvironment() for the real program).
  std::uint32_t minuteMs = kMinuteMs;
};

class Console {
 public:
  using Handler = std::function<void()>;

  // Creates the hidden main window with its controls and menu and the hidden
  // settings-holding windows. Nothing is read or sent until Load().
  explicit Console(Platform& platform, ConsoleOptions options = {});
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // The start-up routine of the main window: starts the chat scanner, creates the settings
  // files on a first run, reads every setting into its control, sets the menu's check
  // marks, announces the console in the room and arms the auto upchat watcher. Once.
  void Load();

  // ---- what the other windows and the program use ------------------------------------
  toolkit::Form& form() { return *form_; }
  ConsoleMenu& menu() { return *menu_; }
  editors::EditorWindows& editors() { return *editors_; }
  // The custom scroll; its view form is the customs window's view button.
  editors::CustomScroll& customScroll() { return *custom_; }
  host::Host& host() { return *host_; }
  const SettingsPaths& paths() const { return paths_; }
  platform::Timer& mainTimer() { return *timer1_; }
  host::AutoUpchat& autoUpchat() { return *autoUpchat_; }
  host::ChatScanner& chatScanner() { return *scanner_; }
  // The colours and decoration lines as the windows `color` and `auto` hold them now.
  host::ChatStyle style() const;
  // "idle of&f" on `idleon`: a session runs.
  bool idling();

  // The visible console face that mirrors the current idle clock (nullptr: none).
  void setFace(ClockFace* face) { face_ = face; }
  // Shows the menu as a pop-up at a screen point.
  void showMenu(platform::Point at);
  // The handler of a menu item that another part of the program runs; replaces any
  // handler the console has for it.
  void setMenuHandler(std::string_view item, Handler handler);
  // The custom scroll, sent at scroll moments while `custom` is checked, with the web
  // browser's download dialog as read at the start of the moment (the console's own
  // customScroll() unless replaced).
  void setCustomScroll(std::function<void(const host::BrowserDownload&)> scroll);
  // Runs when the end command has asked the event loop to quit.
  void setEndHandler(Handler handler);
  // Ends the program as "end" does, in its turn: the face or the main window closed from
  // outside.
  void requestEnd();

  // ---- driven from outside ------------------------------------------------------------
  // Runs a command line's switches in their turn, as the user's chat commands run (also
  // while a box of the console stands), then gives the state they leave to `answer`.
  void RunSwitches(std::vector<SwitchCall> switches, std::function<void(const IdleState&)> answer);
  // The state and the time counted, as a command line's status tells them.
  IdleState State();
  // The icon leaves the tray; the face's owner shows it.
  void BringForward();

  // ---- commands ------------------------------------------------------------------------
  void IdleCommand();               // `idleon`
  void EndCommand();                // `end`
  void IntervalCommand();           // `scrollint`
  void CurIdleCommand();            // `curidle`
  void OverallCommand();            // `overall`
  void OverallClearCommand();       // `overallclear`
  void ScrollTransferCommand();     // `scroltrans`
  void DlulToggle();                // `dlul`
  void AutoUpToggle();              // `autoup`
  void ReasonModeCommand();         // `rea2`
  void MultipleMessagesCommand();   // `mm`
  void CustomModeCommand();         // `custom`
  void ReasonLineToggle();          // `rea`
  void ImmuneToggle();              // `immune`
  void LaggFreeToggle();            // `laggfree`
  void EditCustomCommand();         // `editcus`
  void EditMultipleCommand();       // `editmul`
  void EditAsciiCommand();          // `editascii`
  void ColorCommand();              // `sdaf`
  void RoomIdleToggle();            // `roomidle`
  void SetRoomCommand();            // `setroom`
  void InstantMessagesOffToggle();  // `offbe`
  void InstantMessagesOnToggle();   // `onaf`
  void ChatEnterCommand();          // `enterpr`
  void UpchatCommand();             // `upchat`
  void UnupchatCommand();           // `unup`
  void WaitCommand();               // `wait`
  void WelcomeCommand();            // `welcome`
  void GlyphCommand();              // `glyph`
  void ModalCommand();              // `modal`
  void SignOffCommand();            // `sf`
  void HideHostCommand();           // `hide`
  void ShowHostCommand();           // `show`
  void MinimizeCommand();           // `mini`: to the tray
  void ShutdownCommand();           // `shutdown`
  void RebootCommand();             // `reboot`
  void TunedeckCommand();           // `tunedeck`
  void GreetsCommand();             // `greets`: the credits window
  void AboutCommand();              // `about`
  void HelpCommand();               // `helps`
  void AwayLogToggle();             // `awaylog`
  void AutoReplyToggle();           // `awayreply`
  void AwayViewCommand();           // `awayview`: the away window
  void AwaySettingsCommand();       // `awayset`: the away settings window
  windows::AwaySettingsWindow* awaySettingsWindow() { return awaySettings_.get(); }
  // What the away log kept, oldest first (cleared by the away window's "clear").
  const std::vector<AwayEntry>& awayEntries() const { return away_; }
  windows::AwayWindow* awayWindow() { return awayWindow_.get(); }
  // The windows of the "vie&w" items, once the items have made them (nullptr before). The
  // credits window is made afresh by the first "&greets" after its "end".
  windows::CreditsWindow* credits() { return credits_.get(); }
  windows::AboutWindow* about() { return about_.get(); }
  windows::HelpWindow* help() { return help_.get(); }
  // The icon in the tray, while the program sits there.
  bool inTray() const { return inTray_; }
  // Reads the first host modal's texts into `lblfile`, `lblper` and `lblmins`.
  void RefreshUploadLabels();
  // The in-stats (starting) or out-stats announcement.
  void Announce(bool starting);

  // One tick of the main timer.
  void MainTimerTick();

  // The chat-line event of the chat scanner: a message of the room with its sender. The
  // user's lines behind the trigger run as chat commands.
  void ChatLine(const Text& sender, const Text& line);
  // The trigger of the chat commands, the text of `txttrig`.
  Text trigger() const;
  // The command list window `coms`, which the chat commands show and hide.
  windows::CommandList& commandList() { return *commandList_; }

 private:
  void createControls();
  // Runs `command` now when no command runs, else after those before it (see waiting_).
  // A chat command that comes while a box of the console stands runs at once (the box's
  // wait is a safe point), after any chat command waiting before it.
  void runInTurn(Handler command, bool chat = false);
  // Runs the waiting commands in order until none is left.
  void runWaiting();
  // Runs the waiting chat commands in order, at a box's wait.
  void runChatsAtSafePoint();
  // The console's message and input boxes, owned by the main window. While one stands the
  // user's chat commands run (see runInTurn): a box nobody answers never holds up the bot.
  int messageBox(std::string_view text, std::string_view title, std::uint32_t style);
  std::optional<Text> inputBox(std::string_view prompt, std::string_view title);
  // A message box shown once no command, start-up routine, main timer tick or other box
  // of the console runs (looked for every kTellCheckMs): it tells, and holds up nothing.
  void tellLater(Text text, std::string_view title, std::uint32_t style);
  void tellWaiting();
  void runMenuItemNow(std::uint32_t command);
  void chatLineNow(const Text& sender, const Text& line, std::uint64_t saidMs);
  void runMenuItem(std::uint32_t command);
  void applySettingsToMenu();
  // Checks the item of one message mode ("rea2", "mm" or "custom"), unchecks the others and
  // enables only that mode's editor item.
  void setMessageMode(std::string_view mode);
  // Writes a key of a settings file; false when it could not be written. A write that
  // fails is kept and tried again each minute until it goes through (a later write of the
  // same key replaces it), and the user is told once for each stretch of failures.
  bool store(const Text& path, std::string_view key, std::string_view value);
  // Writes a key of the configuration file, as store().
  bool storeConfig(std::string_view key, std::string_view value);
  // Tries the kept writes again; true when none is left.
  bool retryUnstored();
  // Runs a host operation when a user is signed on, else nothing.
  void runForSignedOn(void (host::Host::*operation)());
  // The tray icon's record, and the answer to its callback message.
  platform::TrayIcon trayIcon() const;
  std::optional<platform::LResult> trayCallback(const platform::Message& m);
  void leaveTray();
  // The shell's task bar was made afresh: an icon the program had there is put back.
  void trayRecreated();
  // Windows ends the user's session (log-off or shut-down): the answer to WM_ENDSESSION.
  void sessionEnds();
  // Sends the instant-message switch and remembers that the program switched them off.
  void switchInstantMessages(bool on);
  void sendStatus(std::string_view ascii, std::string_view body);
  void reportIdle(bool overall);
  bool isScrollMoment();
  bool scrollGoesOn();
  void standardScroll();
  void periodicTransferLines(const host::BrowserDownload& browser);
  void resetClock();
  // The idle clock's count: the main timer's current period taken up (a count begun afresh
  // when it is a new one), the whole minutes due since the last one counted, and those
  // minutes added to the current and overall clocks and the scroll counter.
  void followMainTimerPeriod();
  void mainTimerTick();
  long long minutesDue();
  void countMinutes(long long minutes);
  // Stores the overall time and the journal after minutes were counted.
  void keepCount();
  void advanceClock(long long minutes);
  // The steps of a session's start and end that the menu and the chat commands share;
  // the menu's end lets events run a moment first (`pause`), the chat command's does not.
  void startSession();
  void endSession(bool pause);
  // The chat commands with their own steps, and their reply lines.
  void chatIdleOn();
  void chatIdleOff();
  void chatReason(const Text& reason);
  // A line of another member while idling: kept when it names the user or comes from a
  // watched member, and answered by the auto-reply when it names the user.
  void noteAway(const Text& sender, const Text& line, const Text& screenName);
  void keepAway(AwayEntry entry);
  void replyAway(const Text& member, const Text& line);
  void showAway();
  // The away settings window's save: false (the window stays) for a period that is no
  // number of minutes from 1 to a day.
  bool saveAwaySettings(const windows::AwaySettings& settings);
  // The reason mode with this reason, stored: false when it could not be written yet.
  bool setReason(const Text& reason);
  // The journal beside the data file: what an unfinished session leaves behind (the
  // minutes, the overall time counted, whether the program switched the instant messages
  // off). Written while a session runs; idle off, end and Windows' log-off remove it.
  void writeJournal();
  void removeJournal();
  // At start: a journal left by a program that did not end puts back what it can.
  void recoverJournal();
  void chatTrigger(const Text& argument);
  void chatTransferStatus();
  void chatStatus(std::string_view text);
  void chatStatusEx(std::string_view text);
  void saveOverall();
  // The overall time stored in a data file that could not be read at start, joined by the
  // time counted since once the file can be read. False while it still cannot.
  bool joinStoredOverall();
  // The overall time in minutes, as `d1`, `h1` and `m1` hold it.
  long long overallMinutes();
  void setOverallMinutes(long long total);

  Platform& p_;
  ConsoleOptions options_;
  SettingsPaths paths_;
  std::unique_ptr<editors::EditorWindows> editors_;
  std::unique_ptr<toolkit::Form> form_;
  std::unique_ptr<ConsoleMenu> menu_;
  std::unique_ptr<host::Host> host_;
  std::unique_ptr<host::ChatScanner> scanner_;
  std::unique_ptr<host::AutoUpchat> autoUpchat_;
  platform::Timer* timer1_ = nullptr;
  // The idle clock counts time on the loop's clock, not ticks: a tick dropped while a long
  // scroll waited for the host's flood control is made up by the next one. The number of
  // the main timer's period the count follows, and the loop's time up to which whole
  // minutes are counted.
  std::uint64_t countedPeriod_ = 0;
  std::uint64_t countedUntilMs_ = 0;
  ClockFace* face_ = nullptr;
  std::map<std::uint32_t, Handler> menuHandlers_;
  std::unique_ptr<windows::CommandList> commandList_;
  std::unique_ptr<windows::CreditsWindow> credits_;
  std::unique_ptr<windows::AboutWindow> about_;
  std::unique_ptr<windows::HelpWindow> help_;
  std::unique_ptr<editors::CustomScroll> custom_;
  std::function<void(const host::BrowserDownload&)> customScroll_;
  Handler onEnd_;
  bool loaded_ = false;
  bool inTray_ = false;
  // The program switched the instant messages off and has not switched them on since.
  bool instantMessagesOff_ = false;
  // The data file could not be read at start: its overall time is not yet in h1, d1, m1.
  bool overallUnread_ = false;
  // Settings writes that failed, by file and key, with the value to write; the timer that
  // tries them again, and whether the user was told of this stretch of failures.
  std::map<std::pair<Text, Text>, Text> unstored_;
  platform::Timer* retryTimer_ = nullptr;
  bool unstoredTold_ = false;
  // Commands run one at a time, in the order they came: one that comes while another runs
  // (or while the start-up routine runs) waits here and runs once that one is done.
  bool busy_ = false;
  struct Waiting {
    Handler run;
    bool chat = false;
  };
  std::deque<Waiting> waiting_;
  // Whether the chat command running now answers in the room (see kChatAnswerStaleMs).
  bool answering_ = true;
  // Boxes of the console standing now, and whether chat commands run at one's wait.
  int boxesOpen_ = 0;
  bool atSafePoint_ = false;
  // A turn of the loop that runs the waiting chat commands is on its way.
  bool chatsPosted_ = false;
  // What tellLater has still to show, the timer that shows it, and whether the main
  // timer's tick runs.
  struct Told {
    Text text;
    Text title;
    std::uint32_t style = 0;
  };
  std::deque<Told> toTell_;
  platform::Timer* tellTimer_ = nullptr;
  bool ticking_ = false;
  // Idle on is entering the room, switching the messages off and saying it is engaged.
  bool starting_ = false;
  // The away log and the auto-reply: what was kept, the lines away.log has still to take,
  // whether its failure was told, the members watched, the reply's text and period, its
  // pace and the bodies of the last replies sent.
  std::vector<AwayEntry> away_;
  std::string awayUnwritten_;
  bool awayUnwrittenTold_ = false;
  std::unique_ptr<windows::AwayWindow> awayWindow_;
  std::unique_ptr<windows::AwaySettingsWindow> awaySettings_;
  std::vector<Text> watched_;
  Text replyText_;
  std::uint64_t replyPeriodMs_ = std::uint64_t{kDefaultReplyPeriodMinutes} * 60'000;
  ReplyPace replyPace_;
  std::deque<Text> repliesSent_;
  // False once the console is gone: a command may end the program and its console.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vantary::console
