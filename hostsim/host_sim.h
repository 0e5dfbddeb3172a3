// The stand-in host client: its windows, menus, member records and behaviour, built on
// the platform interface, and the scripting interface that tests and the demo drive it by.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "text/ansi.h"

namespace vantary::hostsim {

using platform::Window;
using text::Text;

// The host's generations, with the codes the program gives them.
enum class Generation { k2 = 2, k3 = 3, k4 = 4, k5 = 5 };

// "5", "4", "95", "25".
Text GenerationText(Generation g);

enum class RoomLayout {
  kRich,   // rich-text transcript and input box, font box, people list
  kPlain,  // plain view and edit box, people list
};

// An instant message as the host received it from its window.
struct SentInstantMessage {
  Text recipient;
  Text text;
};

enum class TransferKind { kDownload, kUpload };

// A host dialog ("America Online") the host showed, with its message.
struct ShownDialog {
  Text message;
};

// How long the host waits, without activity of its user, before it raises its idle
// timer palette and idle modal, and how long those may stand before it signs off.
inline constexpr std::uint32_t kDefaultIdleAfterMs = 45u * 60u * 1000u;
inline constexpr std::uint32_t kDefaultIdleStandMs = 3u * 60u * 1000u;

// The host is as strict as the real one wherever the program's steps depend on it, and
// forgives nothing the real one would not:
// - the toolbar's keyword box runs a keyword on Enter only once a key was typed after the
//   keyword was set (takeKeyword);
// - the rich room's input box takes no line that was set over text it still held: whoever
//   puts a line there empties the box first (takeChatLine);
// - a line entered within 1.5 s of an ignore being lifted is lost (takeChatLine);
// - the host's dialogs answer the space bar on their button, never a click sent to it;
//   saving the privacy preferences first shows a dialog whose button, Cancel, drops the
//   save, then the confirmation with OK (savePrivacy);
// - a member's information window, the buddy list and the privacy preferences wait
//   kServerAnswerMs for the host's servers: until then their controls do nothing, and the
//   member window lacks its second icon and its ignore box's state (openMemberInfo);
// - an instant message window's buttons and icons come a moment after the window
//   (openInstantMessage);
// - an upload modal's texts are filled in at the host's next turn (startTransfer);
// - a private room is shown in the servers' case and spacing (RoomCaption).
class HostSim {
 public:
  // Registers the host's window classes in the process of `platform` and builds the
  // frame, its menu bar, toolbar and MDI client. The host starts signed off. One host
  // per process.
  explicit HostSim(platform::Platform& platform, Generation generation = Generation::k5);
  ~HostSim();
  HostSim(const HostSim&) = delete;
  HostSim& operator=(const HostSim&) = delete;

  // ---- session -----------------------------------------------------------------------
  // Signs on: the Welcome window "Welcome, <name>!" opens. Signing on while signed on
  // signs off first.
  void signOn(const Text& screenName);
  // Signs off at once, as the menu's sign-off does once confirmed: every online window
  // closes and running transfers stop.
  void signOff();
  bool signedOn() const;
  // "" when signed off.
  Text screenName() const;
  // How often the host has signed off (by the menu, by the idle timer, by a script).
  int signOffCount() const;
  // The menu bar and the windows opened from now on follow the generation; private
  // rooms take its layout (plain for generation 2, rich for the others).
  void setGeneration(Generation generation);
  Generation generation() const;

  // ---- rooms -------------------------------------------------------------------------
  // Opens a chat room window captioned `name`, the user in it when signed on. Other open
  // rooms stay. Returns the room window.
  Window openRoom(const Text& name, RoomLayout layout);
  // The layout of rooms the host opens itself (private rooms entered by keyword); the
  // generation's own until set.
  void setPrivateRoomLayout(RoomLayout layout);
  void closeRoom(Window room);
  // The newest open room, or 0.
  Window currentRoom() const;
  // The open room with this caption (without regard to case), or 0.
  Window findRoom(const Text& name) const;
  Text roomName(Window room) const;
  // A full private room answers its keyword with the host dialog. Names are compared
  // without regard to case and blanks, as the host does.
  void setRoomFull(const Text& name, bool full);
  // Members join at the end of the people list; their records are in host memory.
  void join(Window room, const Text& member);
  void leave(Window room, const Text& member);
  std::vector<Text> members(Window room) const;
  // A member (or anybody) says `text` in the room. Lines of ignored members are hidden.
  void say(Window room, const Text& sender, const Text& text);
  // The transcript as the room's control holds it.
  Text transcript(Window room) const;
  // Lines the room has shown since it opened, the dropped ones included: the number of
  // its newest line, so a reader that polls the trimmed transcript can tell new lines.
  std::uint64_t transcriptLineCount(Window room) const;
  // Lines every room keeps (newest ones); applies to open rooms at once.
  void setTranscriptLimit(std::size_t lines);
  // At most `lines` chat lines of the user are taken within any `perMs` milliseconds;
  // beyond that the input box keeps the line until the host is ready again. 0 lines:
  // no limit.
  void setChatRateLimit(int lines, std::uint32_t perMs);
  // Chat lines the user's input boxes had to keep because of the rate limit.
  int chatLinesRefused() const;
  // The room shows at most the first `bytes` of each line the user's input box takes, as
  // typed, markup and all (a host that cuts long lines); 0: whole lines.
  void setChatLineCut(std::size_t bytes);
  // Chat lines the host took from the user's input boxes, as they were typed (markup and
  // all), oldest first; the newest `setTakenRecordLimit` of them when that is set.
  const std::vector<Text>& chatLinesTaken() const;
  // Chat lines taken since the start, however many the record still holds.
  std::uint64_t chatLinesTakenCount() const;
  // Keeps only the newest `lines` of the record of lines taken (0: all of them), so that a
  // long run's memory is the program's own and not the record's.
  void setTakenRecordLimit(std::size_t lines);

  // ---- instant messages, buddy list, privacy --------------------------------------------
  bool instantMessagesOn() const;
  // When set, the host answers every instant message sent to somebody (not the reserved
  // recipients) with its dialog, as it does for a member who is not signed on, and the
  // message window stays open.
  void setAnswerInstantMessagesWithDialog(bool answer);
  const std::vector<SentInstantMessage>& sentInstantMessages() const;
  // The privacy check boxes as last saved (seven of them), and the ghost mode they mean:
  // "block everybody" (5th) and "hide from buddy lists" (7th) both saved checked.
  std::vector<bool> privacySettings() const;
  bool ghost() const;

  // ---- members' information -------------------------------------------------------------
  bool isIgnored(const Text& member) const;
  std::vector<Text> ignoredMembers() const;

  // ---- transfers -----------------------------------------------------------------------
  // Starts a transfer that takes `durationMs` of virtual time. A download is a host child
  // window, an upload a modal in front of the disabled frame. Returns its number, or 0
  // when signed off (transfers need a session).
  int startTransfer(TransferKind kind, const Text& fileName, std::uint32_t durationMs);
  // Ends it now as a finished transfer (its window goes away).
  void finishTransfer(int id);
  bool transferRunning(int id) const;
  // Percent done, 0..100, or -1 when not running.
  int transferPercent(int id) const;
  // The web browser's download dialog, with the caption given ("45% of a.zip Completed").
  Window openBrowserDownload(const Text& caption);
  void closeBrowserDownload();

  // ---- idle --------------------------------------------------------------------------
  void setIdleLimits(std::uint32_t idleAfterMs, std::uint32_t standMs);
  // Raises the idle timer palette and the idle modal now, as a stretch without activity
  // does.
  void raiseIdleWindows();
  bool idleWindowsShown() const;

  // ---- what the host did ---------------------------------------------------------------
  const std::vector<Text>& keywordsRun() const;
  const std::vector<ShownDialog>& dialogsShown() const;
  int aboutBoxesShown() const;

  // ---- faults of the host's own code ----------------------------------------------------
  // Nothing may throw across the window system or the event loop, so the host's window
  // handlers, deferred work, timers and script lines catch what their code throws and
  // leave that act undone. What they caught is a fault: a bug of the stand-in host (or
  // memory running out), never something a script or the program did. It is recorded
  // here, so that tests fail on it and hostsim.exe logs it.
  //
  // Records the exception being handled as a fault of `where` ("window handler of
  // RICHCNTL", "chatter"); call it from inside a catch block.
  void noteFault(std::string_view where) noexcept;
  // The first fault, "where: what was thrown"; nullopt while there has been none.
  const std::optional<Text>& firstFault() const;
  int faultCount() const;
  // Called with each fault's text as it is recorded.
  void setFaultListener(std::function<void(const Text&)> listener);

  // ---- windows, for tests that want to look -----------------------------------------------
  Window frame() const;
  Window mdiClient() const;
  Window keywordBox() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace vantary::hostsim
