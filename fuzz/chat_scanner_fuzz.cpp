// Fuzz target for the chat scanner: the input is a series of acts of a busy room (members and
// the user talk, in lines with breaks and with crafted heads; the host trims to its newest
// lines, floods past them, changes the transcript between the scanner's length and text
// reads, fails reads, reads empty for a moment, hangs) and of looks by the scanner. A plain
// model of the room, which knows which message each line belongs to, checks that the
// events are messages said after the first look, in order, none twice; that no line of
// anybody else is raised as the user's; and that every line of the user's that a whole
// read showed is raised exactly once (the user's lines differ from each other here, as a
// command and its number would, so that no stretch of the room can pass for old lines).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "host/chat_scanner.h"
#include "host/host.h"
#include "hostsim/transcript.h"
#include "platform/sim/sim_world.h"
#include "tests/stand_in_windows.h"

namespace {

using vantary::fuzz::Require;
using vantary::platform::Window;
using vantary::text::Text;
namespace platform = vantary::platform;
namespace msg = vantary::platform::msg;

constexpr std::string_view kUser = "Joe";
// Members, some of whose names come close to the user's.
constexpr std::string_view kMembers[] = {"Bob",  "Joe2", "joe",  "JOE",    "Joe ",
                                         " Joe", "Jo",   "Joe:", "Mallory"};
// Pieces of texts: line breaks of every kind, heads and TABs written into a text, markup.
constexpr std::string_view kPieces[] = {"lol",
                                        "hi all",
                                        " ",
                                        "\r\n",
                                        "\n",
                                        "\r",
                                        "\r\n\r\n",
                                        "Joe:\t.signoff",
                                        "Joe:\t",
                                        ":\t",
                                        "\t",
                                        ":",
                                        "x",
                                        "[1]",
                                        "Joe: .idleon",
                                        "<b>",
                                        "<font color=#336699>",
                                        ".rea lunch",
                                        "\r\nJoe:\t[2]"};
constexpr std::size_t kLongestKeep = 24;
constexpr std::size_t kLongestFlood = 40;

// The input read as a series of small numbers; an input that ran out reads zeros.
class Input {
 public:
  explicit Input(std::string_view bytes) : bytes_(bytes) {}
  bool done() const { return at_ >= bytes_.size(); }
  std::size_t next(std::size_t n) { return done() ? 0 : static_cast<unsigned char>(bytes_[at_++]) % n; }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

struct Message {
  Text sender;
  Text event;  // the event's text: the first line's text and the further non-empty lines, joined by blanks
  bool user = false;
  bool mustBeRaised = false;  // a whole read after the first showed its first line
};

// A line of the room: the message it belongs to, and whether it is that message's first.
struct Shown {
  std::size_t message = 0;
  bool head = false;
  Text text;
};

// The host's frame with a signed-on user and a rich or plain room, in a process of their
// own, whose transcript answers as an edit control does, but whose host may work between
// the scanner's length and text reads, or fail a text read (nothing copied).
class BusyHost {
 public:
  BusyHost(platform::sim::SimWorld& world, bool rich)
      : process_(world.addProcess("host", "aol")), ws_(process_.platform().windows) {
    const vantary::testing::HostClass classes[] = {
        {"AOL Frame25", platform::BaseKind::kPlain},    {"AOL Child", platform::BaseKind::kMdiChild},
        {"RICHCNTL", platform::BaseKind::kEdit},        {"_AOL_View", platform::BaseKind::kEdit},
        {"_AOL_Listbox", platform::BaseKind::kListBox}, {"_AOL_Combobox", platform::BaseKind::kPlain},
        {"_AOL_Icon", platform::BaseKind::kPlain},      {"_AOL_Static", platform::BaseKind::kStatic}};
    vantary::testing::RegisterClasses(ws_, classes,
                                      [this](Window w, const platform::Message& m) { return answer(w, m); });
    const Window mdi = make("MDIClient", "", make("AOL Frame25", "America Online", Window{}));
    make("AOL Child", "Welcome, " + std::string(kUser) + "!", mdi);
    const Window room = make("AOL Child", "Lobby", mdi);
    const std::vector<const char*> children =
        rich ? std::vector<const char*>(std::begin(vantary::testing::kRichRoomChildren),
                                        std::end(vantary::testing::kRichRoomChildren))
             : std::vector<const char*>{"_AOL_View", "_AOL_Listbox", "_AOL_Icon"};
    for (const char* cls : children) make(cls, "", room);
    transcript_ = ws_.firstChild(room, rich ? "RICHCNTL" : "_AOL_View");
  }

  platform::ProcessId process() { return process_.id(); }
  void show(const Text& text) {
    text_ = text;
    ws_.setText(transcript_, text);
  }

  // Work of the host, each done just before one of the next text reads (atText) or length
  // reads is answered.
  struct Change {
    bool atText = true;
    std::function<void()> work;
  };
  std::deque<Change> duringReads;
  // How many of the next text reads copy nothing.
  int failedReads = 0;
  // Called when a text read copies the whole transcript (or, after a read that copied
  // nothing, when the control then holds nothing); when the length read after it agrees,
  // the scanner takes what was copied, and the function it gave is called.
  std::function<std::function<void()>()> onWholeCopy;

 private:
  platform::LResult answer(Window w, const platform::Message& m) {
    if (w != transcript_ || (m.id != msg::kGetText && m.id != msg::kGetTextLength))
      return ws_.callDefault(w, m);
    const bool atText = m.id == msg::kGetText;
    if (!duringReads.empty() && duringReads.front().atText == atText) {
      const std::function<void()> work = std::move(duringReads.front().work);
      duringReads.pop_front();
      work();
    }
    if (!atText) {
      // The length read after a copy: the copy is taken when its count is the length now,
      // and a read that copied nothing when the control holds nothing now.
      if (copied_ && text_.size() == copiedLength_) copied_();
      if (copiedNothing_ && text_.empty() && onWholeCopy) onWholeCopy()();
      copied_ = nullptr;
      copiedNothing_ = false;
      return ws_.callDefault(w, m);
    }
    copiedNothing_ = failedReads > 0;
    if (copiedNothing_) {
      --failedReads;
      return 0;
    }
    // The buffer holds the length first read and two more: a copy that leaves room in it is
    // the whole text as it stands now.
    copiedLength_ = text_.size();
    copied_ =
        copiedLength_ + 2 <= static_cast<std::size_t>(m.wParam) && onWholeCopy ? onWholeCopy() : nullptr;
    return ws_.callDefault(w, m);
  }

  Window make(const char* className, const std::string& caption, Window parent) {
    return vantary::testing::MakeWindow(ws_, className, caption, parent);
  }

  platform::sim::SimProcess& process_;
  platform::WindowSystem& ws_;
  Window transcript_;
  Text text_;
  std::function<void()> copied_;
  std::size_t copiedLength_ = 0;
  bool copiedNothing_ = false;
};

class Run {
 public:
  explicit Run(Input& in) : in_(in), world_(vantary::fuzz::FuzzRoot() / "scanner") {
    const std::size_t limits[] = {256, 600, vantary::host::kChatReadLimit};
    const std::size_t readLimit = limits[in_.next(3)];
    host_.emplace(world_, in_.next(4) != 0);
    host_->onWholeCopy = [this] { return wholeCopy(); };
    lib_.emplace(world_.addProcess("vantary").platform(), [] { return vantary::host::ChatStyle{}; });
    scanner_.emplace(
        *lib_, [this](const Text& sender, const Text& text) { raised(sender, text); }, readLimit);
    keep_ = 1 + in_.next(kLongestKeep);
    // What the room showed before the program looked.
    for (std::size_t n = in_.next(2 * kLongestKeep); n > 0; --n) say(in_.next(3) == 0);
    show();
  }

  void go() {
    // The host may be at work, or failing reads, at the first look too.
    for (std::size_t n = in_.next(3); n > 0; --n) act();
    scanner_->start();
    while (!in_.done()) act();
    // The host's work still pending happens, then looks see the room as it ends.
    for (int i = 0; i < 16 && (!host_->duringReads.empty() || host_->failedReads > 0); ++i) look();
    host_->duringReads.clear();
    host_->failedReads = 0;
    if (hungLooks_ > 0) {
      hungLooks_ = 0;
      world_.setHung(host_->process(), false);
      world_.runFor(vantary::host::kChatUnansweredBackoffMs);
    }
    look();
    look();
    check();
  }

 private:
  void act() {
    switch (in_.next(16)) {
      case 0:
      case 1:
      case 2:
        say(false);
        show();
        break;
      case 3:
      case 4:
        say(true);
        show();
        break;
      case 5:
        flood();
        show();
        break;
      case 6:
        keep_ = 1 + in_.next(kLongestKeep);
        trim();
        show();
        break;
      case 7:
      case 8:
      case 9:
        look();
        break;
      case 10: {
        // The host works while the scanner reads.
        const bool atText = in_.next(3) != 0;
        const std::size_t what = in_.next(4);
        const std::size_t keep = 1 + in_.next(kLongestKeep);
        host_->duringReads.push_back({atText, [this, what, keep] {
                                        if (what == 0) say(true);
                                        if (what == 1) say(false);
                                        if (what == 2) flood();
                                        if (what == 3) {
                                          keep_ = keep;
                                          trim();
                                        }
                                        show();
                                      }});
        break;
      }
      case 11:
        host_->failedReads += 1 + static_cast<int>(in_.next(4));
        break;
      case 12:
        // A control being rebuilt reads empty for a look. Before the first whole read it
        // could not be told from a room where nobody has talked yet.
        if (history_) {
          empty_ = true;
          show();
          look();
          empty_ = false;
          show();
        }
        break;
      case 13:
        pumpInHandler_ = !pumpInHandler_;
        break;
      case 14:
        // The host stops answering for a few looks.
        if (hungLooks_ == 0) world_.setHung(host_->process(), true);
        hungLooks_ += 1 + static_cast<int>(in_.next(4));
        break;
      default:
        for (std::size_t n = 1 + in_.next(8); n > 0; --n) look();
        break;
    }
  }

  void look() {
    world_.runFor(vantary::host::kChatPollMs);
    if (hungLooks_ > 0 && --hungLooks_ == 0) world_.setHung(host_->process(), false);
  }

  // One message, its lines shown last; the oldest lines go when the room holds too many.
  void say(bool user) {
    Message m;
    m.user = user;
    Text text;
    if (user) {
      m.sender = Text(kUser);
      // Appended: GCC 12 at -O3 warns falsely (-Wrestrict) on a short literal put before a string.
      text = std::string("[").append(std::to_string(userLines_++)).append("]");
    } else {
      m.sender = Text(kMembers[in_.next(std::size(kMembers))]);
    }
    for (std::size_t n = in_.next(user ? 3 : 5); n > 0; --n) text += kPieces[in_.next(std::size(kPieces))];
    bool first = true;
    for (Text& line : vantary::hostsim::FormatMessage(m.sender, text)) {
      const std::string_view said = first ? std::string_view(line).substr(m.sender.size() + 2) : line;
      if (!said.empty()) m.event.append(m.event.empty() ? "" : " ").append(said);
      shown_.push_back(Shown{messages_.size(), first, std::move(line)});
      first = false;
    }
    messages_.push_back(std::move(m));
    trim();
  }

  // More messages at once than the room may keep.
  void flood() {
    for (std::size_t n = 1 + in_.next(kLongestFlood); n > 0; --n) say(in_.next(4) == 0);
  }

  void trim() {
    while (shown_.size() > keep_) shown_.pop_front();
  }

  void show() {
    Text text;
    for (std::size_t i = 0; i < shown_.size() && !empty_; ++i)
      text += (i == 0 ? "" : "\r\n") + shown_[i].text;
    host_->show(text);
  }

  // The room as a read copies it now, to be taken as the scanner's view of the room when
  // the read turns out whole.
  std::function<void()> wholeCopy() {
    std::vector<std::size_t> heads;
    for (const Shown& s : shown_) {
      if (s.head && !empty_) heads.push_back(s.message);
    }
    return [this, heads = std::move(heads), said = messages_.size(), empty = empty_] {
      if (!history_) {
        // The first whole read is history: nothing said before it is raised.
        history_ = true;
        firstEligible_ = said;
        return;
      }
      if (empty) return;  // an empty transcript is no view of the room
      for (std::size_t i : heads) {
        if (messages_[i].user && i >= firstEligible_) messages_[i].mustBeRaised = true;
      }
    };
  }

  void raised(const Text& sender, const Text& text) {
    events_.emplace_back(sender, text);
    if (pumpInHandler_) world_.loop().pause(0.05);
  }

  void check() {
    if (!history_) {
      Require(events_.empty(), "lines were raised before the room was ever read");
      return;
    }
    // The events, in order, are messages said after the first whole read, each once.
    std::size_t next = firstEligible_;
    std::vector<int> userEvents(messages_.size(), 0);
    for (const auto& [sender, text] : events_) {
      if (sender == kUser) {
        std::size_t i = firstEligible_;
        while (i < messages_.size() && !(messages_[i].user && messages_[i].event == text)) ++i;
        Require(i < messages_.size(), "a line of somebody else was raised as the user's");
        ++userEvents[i];
      }
      while (next < messages_.size() && (messages_[next].sender != sender || messages_[next].event != text))
        ++next;
      Require(next < messages_.size(),
              "a line was raised twice, out of order, or said before the first look");
      ++next;
    }
    for (std::size_t i = firstEligible_; i < messages_.size(); ++i) {
      Require(userEvents[i] <= 1, "a line of the user's was raised twice");
      Require(userEvents[i] == 1 || !messages_[i].mustBeRaised,
              "a line of the user's that a whole read showed was not raised");
    }
  }

  Input& in_;
  platform::sim::SimWorld world_;
  std::optional<BusyHost> host_;
  std::optional<vantary::host::Host> lib_;
  std::optional<vantary::host::ChatScanner> scanner_;

  std::vector<Message> messages_;
  std::deque<Shown> shown_;
  std::size_t keep_ = 1;
  int userLines_ = 0;
  bool empty_ = false;
  bool history_ = false;
  std::size_t firstEligible_ = 0;
  bool pumpInHandler_ = false;
  int hungLooks_ = 0;
  std::vector<std::pair<Text, Text>> events_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Long inputs add nothing a shorter one cannot do, only time.
  Input in(std::string_view(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 4096)));
  Run(in).go();
  return 0;
}
