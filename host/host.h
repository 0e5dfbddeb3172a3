// The host access library: every way the program finds and drives the host client's
// windows. Nothing else of the program touches the host.
//
// Every operation looks the host's windows up afresh and keeps no handle between calls:
// the host may start, close, sign on or change any window between two calls, and between
// two steps of one call (most waits let pending events run, so a timer tick or a chat
// line may run inside an operation). A window that is missing is handle 0 or text "", and
// the operation that needed it does nothing. Every wait for the host has a named bound.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "host/own_lines.h"
#include "platform/platform.h"
#include "text/ansi.h"

namespace vantary::host {

using platform::Platform;
using platform::Window;
using text::Text;

// The colours and decoration lines status lines are built with, read from the console's
// controls each time a line is built (the user may change them at any moment).
struct ChatStyle {
  Text color1 = "336699";  // C1: the decoration's colour, six hexadecimal digits
  Text color2 = "000000";  // C2: the colour of the text after the decoration
  Text ascii1;             // A1..A3: the decoration lines
  Text ascii2;
  Text ascii3;
};
using StyleSource = std::function<ChatStyle()>;

// The head of a formatted status line, P(A): it closes open style tags, gives the
// decoration A the first colour and what follows the second. The line's own text follows
// and begins with ">", which closes the second font tag.
Text StatusPrefix(const ChatStyle& style, std::string_view ascii);

// The longest line the program puts into a room's input box, markup included; a longer
// one goes out cut to it (never inside a markup tag). The host takes a line of any length
// and shows it as one message, so without a bound a reason, list entry or file name of
// thousands of characters, or a custom line grown by its macros, would go out whole every
// minute, flood the room and push its transcript past what the chat scanner reads. The
// bound is the program's own: far above any line made of the program's texts and one
// stored setting (a status prefix of about 80 bytes and a setting the settings store reads
// up to 749 characters of).
inline constexpr std::size_t kChatLineLimit = 1024;
Text CutChatLine(std::string_view line);

// Host generations by their codes, and their text forms "5", "4", "95", "25".
inline constexpr int kGeneration5 = 5;
inline constexpr int kGeneration4 = 4;
inline constexpr int kGeneration95 = 3;
inline constexpr int kGeneration25 = 2;

// A room member found by the member scan: the row of the people list and the name.
struct RoomMember {
  int index = -1;
  Text name;
};

// The web browser's download dialog as read once: its status text and the 1-based
// position at which the caption's keyword was found (0 when none).
struct BrowserDownload {
  Text status;
  int found = 0;
};

// The texts of the first host modal, for the upload lines: the file (first static,
// lower-cased, "Now Uploading " removed), the caption (which carries the percent) and
// the time left (second static).
struct UploadTexts {
  Text file;
  Text percent;
  Text minutes;
};

class Host {
 public:
  Host(Platform& platform, StyleSource style);

  Platform& platform() { return p_; }
  ChatStyle style() const { return style_ ? style_() : ChatStyle{}; }

  // ---- window locator ----------------------------------------------------------------
  Window FindMdiClient();
  Window FindChatRoom();
  Window FindRichChatRoom();
  Window FindPlainChatRoom();
  Window FindMemberInfoWindow();
  Text GetScreenName();
  int GetHostVersion();
  Text GetHostVersionText();
  Text GetCaption(Window window);
  Text GetText(Window window);
  void CloseWindow(Window window);
  void RunMenuItem(std::string_view lookFor);

  // ---- chat room I/O -----------------------------------------------------------------
  void SendChatLine(std::string_view line);
  // A line of the program's is in the room's input box and the host has not taken it yet
  // (its flood control holds it back).
  bool LineWaiting() const { return linesWaiting_ > 0; }
  void SendChatLineEx(std::string_view line, bool addFont, bool clip);
  void SendPlainChatLine(std::string_view line);
  void SendClearLine();
  // True when `shown`, a message of the user's as the room shows it, is a line the
  // program itself said (see OwnLines); the line is then matched off.
  bool TakeOwnLine(std::string_view shown);
  // The first member of the rich room whose name contains `lookFor` (without regard to
  // case) and is not the user's own screen name.
  std::optional<RoomMember> FindRoomMember(std::string_view lookFor);

  // ---- keywords and rooms --------------------------------------------------------------
  void RunKeyword(std::string_view keyword);
  void RunKeywordWindow(std::string_view keyword);
  void EnterPrivateRoom(std::string_view room);
  void EnterPrivateRoomPersistent(std::string_view room);
  void SignOff();

  // ---- instant messages and privacy --------------------------------------------------
  void SendInstantMessage(std::string_view recipient, std::string_view message);
  void ConfirmHostDialog();
  void GhostOn();
  void GhostOff();
  void IgnoreMemberAt(int index);
  void UnignoreMemberAt(int index);
  void IgnoreMember(std::string_view namePart);
  void UnignoreMember(std::string_view namePart);

  // ---- transfers -----------------------------------------------------------------------
  Window FindTransferWindow();
  Window FindDownloadWindow();
  Window FindUploadModal();
  Window FindActiveUploadModal();
  void RaiseDownloadWindow();
  Text GetTransferFileName();
  // The time left as the transfer window, or the download window, shows it; "" without one.
  Text GetTransferTimeText();
  Text GetDownloadTimeText();
  BrowserDownload GetBrowserDownload();
  UploadTexts ReadUploadTexts();

  // ---- suppressors ---------------------------------------------------------------------
  void KillIdleTimer();
  void KillIdleModal();
  void ClickPaletteAndModalIcons();
  void HideUploadModal();
  void HideWindow(Window window);
  void HideHost();
  void ShowHost();
  // Hides the first Welcome window; gives it, or 0 when there is none.
  Window HideWelcome();
  void CloseGlyph();
  void CloseModals();
  void CycleAboutBox();
  void DetachUploadModal();
  void RestoreUploadModal();
  // The upchat and unupchat commands (the callers check that the user is signed on).
  void Upchat();
  void Unupchat();

  // The first host child window (a child window of the MDI client, in the host's order,
  // topmost first) that passes `test`, or 0.
  Window FirstHostChild(const std::function<bool(Window)>& test);

 private:
  Text timeTextOf(Window transfer);

  Platform& p_;
  StyleSource style_;
  OwnLines ownLines_;
  int linesWaiting_ = 0;
};

}  // namespace vantary::host
