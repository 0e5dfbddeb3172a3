// The chat-scanning control: watches the host's chat room and raises one chat-line event
// per new message, with the sender's screen name and the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "host/host.h"
#include "platform/event_loop.h"

namespace vantary::host {

// How often the room is looked at. A chat command should be answered before its sender
// notices a delay; twenty looks a second keep it under a twentieth of a second. Most looks
// are quick ones, two questions to the window system: whether the host's top window is
// still the one the last whole look saw (windows that come up go on top, so the room
// found then still holds), and the transcript's length, which shows whether anything was
// said. A look after a new length, and every kChatWholeLookEvery-th look all the same (a
// long transcript's less often, see kChatWholeLookBytes), reads the transcript whole from
// the control found then, after checking the room's
// caption: so a room re-opened under a new caption in the same window is seen, and, in a
// room at the host's line limit, a new line exactly as long as the one it pushed out. A
// new top window, or a control that is gone, has the room found afresh.
inline constexpr std::uint32_t kChatPollMs = 50;
inline constexpr std::uint32_t kChatWholeLookEvery = 4;
// A look that took this long means the host is not answering (every send to it waits
// out its bound); the scanner then leaves it alone for kChatUnansweredBackoffMs, so a
// hanging host costs the program a blocked send every ten seconds, not five a second.
// The transcript keeps the lines said meanwhile: they are raised once the host answers.
inline constexpr std::uint32_t kChatSlowLookMs = 1000;
inline constexpr std::uint32_t kChatUnansweredBackoffMs = 10000;
// The longest transcript read: a bound on the memory a host can make the scanner take, far
// above any transcript a host keeps (it keeps a bounded number of lines, and the program
// cuts its own to host::kChatLineLimit: 640 lines of 100 KB from other members fill it). A
// longer transcript gives no events: WM_GETTEXT gives only its head, the oldest lines, so
// the lines said while the transcript stays over the limit cannot be read at all, and the
// head, shifting as the host drops lines, would pass old lines off as new. What is still
// shown once it is back under the limit is raised then.
inline constexpr std::size_t kChatReadLimit = std::size_t{64} << 20;
// A long transcript is read whole for what its length cannot show less often: once per
// kChatWholeLookBytes of it in looks, so the reads that change nothing cost at most this
// much a look on average (a new length is read at once, whatever the size).
inline constexpr std::size_t kChatWholeLookBytes = std::size_t{64} << 10;

// One message of the room: the screen name in front of ":" and TAB, and the text.
struct ChatLine {
  Text sender;
  Text text;
  friend bool operator==(const ChatLine&, const ChatLine&) = default;
};

// The messages among the transcript's lines: a line "name:" TAB "text" starts a message;
// a line without that head continues the message before it, and its text is added to
// that message's after a blank, so the event's text stays one line and a continuation
// never becomes a message of its own. Continuation lines before the first head are
// dropped (their message started before `lines`). The host shows a TAB inside a text as
// a blank, so only the host can start a line with a name, ":" and TAB.
std::vector<ChatLine> ParseChatLines(const std::vector<std::string_view>& lines);

// The room watched is the one the room finder gives. A room seen for the first time (a
// new window, or a window with a new caption) starts as history: only messages added
// after the first look that reads its transcript raise events. A read is taken only when
// it is whole (see WindowSystem::readText); a look without one changes nothing, and the
// next look tries again. While no room is found the last one is kept as long as its
// window stands, so a room that was only covered (by the user's buddy list) goes on where
// it stopped; going back to a room after watching another starts it afresh.
class ChatScanner {
 public:
  using ChatLineHandler = std::function<void(const Text& sender, const Text& text)>;

  // What the scanner has done, for the benchmark and the tests of its cost.
  struct Stats {
    std::uint64_t looks = 0;       // looks at the host (polls that were not backing off)
    std::uint64_t quick = 0;       // looks that the transcript's length showed nothing new
    std::uint64_t wholeLooks = 0;  // looks that found the room afresh
    std::uint64_t reads = 0;       // transcript reads
    std::uint64_t parses = 0;      // transcripts split and matched because they changed
    std::uint64_t events = 0;      // chat-line events raised
  };

  // `readLimit`: the longest transcript read (smaller in tests, to keep them quick).
  ChatScanner(Host& host, ChatLineHandler onChatLine, std::size_t readLimit = kChatReadLimit);
  ~ChatScanner();
  ChatScanner(const ChatScanner&) = delete;
  ChatScanner& operator=(const ChatScanner&) = delete;

  // Starts watching: what the room shows at the first whole read (now, unless the host
  // does not give one) is history; every message added after it raises the event once.
  // Starting a running scanner changes nothing.
  void start();
  void stop();
  bool running() const { return timer_.enabled(); }

  // One look at the room, raising the events for what is new since the last look. The
  // timer calls it; a call from inside an event handler returns at once.
  void poll();

  const Stats& stats() const { return stats_; }
  // The caption of the room the last events came from.
  const Text& roomCaption() const { return caption_; }

 private:
  struct LineSpan {
    std::size_t offset = 0;
    std::size_t length = 0;
  };

  // What a look has to do: nothing (nothing can have changed that the next whole look
  // will not see), read the transcript of the room found last, or find the room afresh.
  enum class Need { kNothing, kRead, kWhole };

  Need need();
  void look();
  void take(Window room, const Text& caption, Text transcript);
  static std::vector<LineSpan> SplitLines(std::string_view transcript);

  Host& host_;
  ChatLineHandler onChatLine_;
  std::size_t readLimit_;
  platform::Timer timer_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool polling_ = false;
  std::uint64_t resumeAtMs_ = 0;
  Stats stats_;

  // The room as last seen: its window and caption (a new window or a new caption is a
  // new room), and its transcript with the lines split out of it.
  Window room_;
  Text caption_;
  Text transcript_;
  std::vector<LineSpan> lines_;
  // What the quick looks compare with, from the last whole look: the host's MDI client
  // and its top child then, the transcript control read whole (none when the look found
  // no room); and the transcript's length in wide characters asked just before the last
  // read, so a length the same as it shows that nothing came since that read began. Quick
  // looks stand in for whole ones only after a look that found no room or read the
  // transcript whole (`settled_`).
  Window mdi_;
  Window top_;
  Window transcriptWindow_;
  platform::LResult lengthBeforeRead_ = 0;
  std::uint32_t looksSinceWhole_ = 0;
  bool settled_ = false;
};

}  // namespace vantary::host
