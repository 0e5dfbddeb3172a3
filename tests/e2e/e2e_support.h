// What the end-to-end programs share: the record of their checks with the summary line
// the test script reads, quoting texts for the log, and the client side of the stand-in
// host's control channel.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "console/menu.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "text/ansi.h"

namespace vantary::e2e {

using platform::Platform;
using platform::Window;
using text::Text;
using text::operator""_ansi;

// How long hostsim.exe may take to come up (and write its answers file) under a cold Wine.
inline constexpr std::uint32_t kHostStartLimitMs = 30000;
// How long the host may take to answer one command of its control channel, which it reads
// every 100 ms.
inline constexpr std::uint32_t kAnswerLimitMs = 10000;
// How long writing the channel file may keep failing while the host reads it.
inline constexpr std::uint32_t kChannelWriteLimitMs = 5000;

// How long vantary.exe may take from its start to its hidden main window and its in-stats
// lines (the intro's animation runs first, and Wine may be cold); how long the lines of one
// announcement or command may take to reach the room (each waits until the host has taken
// it from the input box); how long vantary.exe may take to close after the end command.
inline constexpr std::uint32_t kProgramStartLimitMs = 40000;
inline constexpr std::uint32_t kLinesLimitMs = 10000;
inline constexpr std::uint32_t kExitLimitMs = 10000;

// Runs a menu item of vantary's as an outside program does: a posted WM_COMMAND with the
// item's identifier (README, "Menu command identifiers").
inline void PostCommand(platform::WindowSystem& ws, Window main, console::MenuCommand item) {
  ws.post(main, platform::msg::kCommand, static_cast<std::uint32_t>(item), 0);
}

// One line per check, and the closing line "NAME: N passed, M failed".
class Checks {
 public:
  explicit Checks(const char* name) : name_(name) {}
  bool check(const char* what, bool ok, const std::string& detail = {}) {
    ++(ok ? passed_ : failed_);
    std::printf("%s: %s%s%s\n", ok ? "pass" : "FAIL", what, detail.empty() ? "" : " -- ", detail.c_str());
    std::fflush(stdout);
    return ok;
  }
  int finish() const {
    std::printf("%s: %d passed, %d failed\n", name_, passed_, failed_);
    std::fflush(stdout);
    return failed_ == 0 ? 0 : 1;
  }

 private:
  const char* name_;
  int passed_ = 0;
  int failed_ = 0;
};

inline std::string Quoted(const std::string& s) { return "\"" + text::ToUtf8(s) + "\""; }

inline std::string QuotedAll(const std::vector<Text>& lines) {
  std::string all;
  for (const Text& line : lines) all += (all.empty() ? "" : ", ") + Quoted(line);
  return "[" + all + "]";
}

// The client side of hostsim's control channel: numbered lines appended to the channel
// file, answers read from its ".out" companion.
class Channel {
 public:
  Channel(Platform& p, Text path) : p_(p), path_(std::move(path)), out_(path_ + ".out") {}

  bool hostListening(std::uint32_t limitMs) {
    return p_.loop.waitUntil([&] { return p_.files.fileExists(out_); }, limitMs);
  }

  // Runs one command; its answer lines, or nullopt when it failed or went unanswered.
  std::optional<std::vector<Text>> ask(const Text& command) {
    const int number = ++number_;
    sent_ += std::to_string(number) + " " + command + "\n";
    // The host may hold the file open for a moment; then the rename fails and is tried again.
    if (!p_.loop.waitUntil([&] { return p_.files.writeFileAtomic(path_, sent_); }, kChannelWriteLimitMs))
      return std::nullopt;
    const Text tag = std::to_string(number);
    std::optional<std::vector<Text>> answer;
    p_.loop.waitUntil(
        [&] {
          const std::optional<std::string> all = p_.files.readFile(out_);
          if (!all) return false;
          std::vector<Text> lines;
          bool failed = false;
          std::size_t start = 0;
          for (std::size_t end; (end = all->find('\n', start)) != std::string::npos; start = end + 1) {
            const Text line = all->substr(start, end - start);
            if (line == "done " + tag) {
              if (!failed) answer = lines;
              return true;
            }
            if (line.rfind(tag + " ", 0) == 0) lines.push_back(line.substr(tag.size() + 1));
            if (line.rfind("error " + tag + " ", 0) == 0) {
              std::printf("info: command %s failed: %s\n", Quoted(command).c_str(), line.c_str());
              failed = true;
            }
          }
          return false;
        },
        kAnswerLimitMs);
    return answer;
  }

  // The value of a "key value" line of the host's state.
  Text stateValue(const Text& key) {
    const auto state = ask("state");
    if (!state) return "<no answer>";
    for (const Text& line : *state) {
      if (line.rfind(key + " ", 0) == 0) return line.substr(key.size() + 1);
    }
    return "<missing>";
  }
  bool stateHas(const Text& line) {
    const auto state = ask("state");
    if (!state) return false;
    for (const Text& l : *state) {
      if (l == line) return true;
    }
    return false;
  }

 private:
  Platform& p_;
  Text path_;
  Text out_;
  Text sent_;
  int number_ = 0;
};

// vantary's hidden main window is found by its caption.
inline constexpr std::string_view kMainCaption = "vantary³ by kestro"_ansi;

// vantary's main window, waited for up to `limitMs`; 0 when it did not come.
inline Window WaitForMainWindow(Platform& p, std::uint32_t limitMs) {
  return p.loop.waitForWindow([&] { return p.windows.findWindow("", kMainCaption); }, limitMs);
}

// Whether vantary closed its main window by itself within `limitMs`.
inline bool WaitForMainWindowGone(Platform& p, Window main, std::uint32_t limitMs) {
  return p.loop.waitUntil([&] { return !p.windows.exists(main) && !p.windows.findWindow("", kMainCaption); },
                          limitMs);
}

// The host's rich room (its transcript and its people list), waited for up to `limitMs`;
// 0 when none came.
inline Window WaitForRichRoom(Platform& p, std::uint32_t limitMs) {
  platform::WindowSystem& ws = p.windows;
  Window room;
  p.loop.waitUntil(
      [&] {
        const Window mdi = ws.firstChild(ws.findWindow("AOL Frame25", std::nullopt), "MDIClient");
        for (Window child = ws.findChild(mdi, {}, "AOL Child"); child && !room;
             child = ws.findChild(mdi, child, "AOL Child")) {
          if (ws.firstChild(child, "RICHCNTL") && ws.firstChild(child, "_AOL_Listbox")) room = child;
        }
        return static_cast<bool>(room);
      },
      limitMs);
  return room;
}

// The user's messages in the room as its transcript control shows them, each with the
// moment the probe first saw it. Only the host starts a line with a name and a TAB, so the
// user's lines are those starting with the screen name, ":" and a TAB.
class RoomWatch {
 public:
  struct Line {
    Text text;
    std::uint64_t seenMs = 0;
  };

  RoomWatch(Platform& p, Window transcript, const Text& screenName)
      : p_(p), transcript_(transcript), prefix_(screenName + ":\t") {}

  // Waits until `done` holds for the lines seen so far, reading the room every pump.
  bool waitFor(const std::function<bool(const std::vector<Line>&)>& done, std::uint32_t limitMs) {
    return p_.loop.waitUntil(
        [&] {
          read();
          return done(lines_);
        },
        limitMs);
  }
  bool waitForCount(std::size_t count, std::uint32_t limitMs) {
    return waitFor([&](const std::vector<Line>& lines) { return lines.size() >= count; }, limitMs);
  }
  const std::vector<Line>& lines() const { return lines_; }
  std::vector<Text> texts(std::size_t from, std::size_t to) const {
    std::vector<Text> out;
    for (std::size_t i = from; i < to && i < lines_.size(); ++i) out.push_back(lines_[i].text);
    return out;
  }
  // The room showed fewer of the user's lines than before: lines were lost or the room
  // changed under the probe.
  bool shrank() const { return shrank_; }

 private:
  void read() {
    const Text all = p_.windows.text(transcript_);
    std::size_t count = 0;
    std::size_t start = 0;
    while (start < all.size()) {
      std::size_t end = all.find("\r\n", start);
      if (end == Text::npos) end = all.size();
      if (all.compare(start, prefix_.size(), prefix_) == 0) {
        const Text text = all.substr(start + prefix_.size(), end - start - prefix_.size());
        if (count == lines_.size()) lines_.push_back({text, p_.loop.nowMs()});
        ++count;
      }
      start = end + 2;
    }
    if (count < lines_.size()) shrank_ = true;
  }

  Platform& p_;
  Window transcript_;
  Text prefix_;
  std::vector<Line> lines_;
  bool shrank_ = false;
};

}  // namespace vantary::e2e
