// The record of the program's own lines in the room.
#include "host/own_lines.h"

#include <algorithm>

#include "host/host.h"

namespace vantary::host {

text::Text ShownForm(std::string_view line) {
  text::Text shown;
  bool blank = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '<') {
      const std::size_t end = line.find('>', i);
      if (end != std::string_view::npos) {
        i = end;
        continue;
      }
    }
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      blank = true;
      continue;
    }
    if (blank && !shown.empty()) shown += ' ';
    blank = false;
    shown += c;
  }
  return shown;
}

void OwnLines::said(std::string_view line, std::uint64_t nowMs) {
  forgetOld(nowMs);
  lines_.push_back(Said{ShownForm(line), nowMs});
  if (lines_.size() > kKept) lines_.pop_front();
}

bool OwnLines::take(std::string_view shown, std::uint64_t nowMs) {
  forgetOld(nowMs);
  const text::Text form = ShownForm(shown);
  if (form.empty()) return false;
  auto it = std::find_if(lines_.begin(), lines_.end(), [&](const Said& s) { return s.shown == form; });
  // A host may show a long line cut short: a said line that begins with the message is
  // taken for it when no line equals it. A host cuts only at its line limit, far beyond a
  // command's few characters: a short message is whole, so the user's ".idleoff" said
  // while the program's ".idleoff vantarý³ · engaged" waits to show is the user's.
  if (it == lines_.end() && form.size() >= kShortestCutHead) {
    it = std::find_if(lines_.begin(), lines_.end(), [&](const Said& s) { return s.shown.starts_with(form); });
  }
  if (it == lines_.end()) return false;
  lines_.erase(it);
  return true;
}

void OwnLines::forgetOld(std::uint64_t nowMs) {
  while (!lines_.empty() && nowMs - lines_.front().atMs > kKeptMs) lines_.pop_front();
}

bool Host::TakeOwnLine(std::string_view shown) { return ownLines_.take(shown, p_.loop.nowMs()); }

}  // namespace vantary::host
