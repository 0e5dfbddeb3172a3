// The host's chat rooms: their windows in both layouts, the people list with its member
// records, the transcript, the chat lines the user enters, and members' information with
// the ignore box.
#include <algorithm>

#include "hostsim/host_impl.h"

namespace vantary::hostsim {
namespace {

constexpr Rect kRoomRect{40, 30, 640, 430};

// How long after an ignore is lifted the user's lines are lost: the host fetches the
// member's lines from its servers again, and a line entered meanwhile empties the input
// box but never reaches the room. The program waits two seconds before it says anything.
constexpr std::uint64_t kUnignoreRefreshMs = 1500;

}  // namespace

Room* HostSim::Impl::roomOf(Window window) {
  for (auto& room : rooms) {
    if (room->window == window || room->input == window || room->people == window) return room.get();
  }
  return nullptr;
}

const Room* HostSim::Impl::roomOf(Window window) const {
  return const_cast<HostSim::Impl*>(this)->roomOf(window);
}

Window HostSim::Impl::openRoom(const Text& name, RoomLayout layout) {
  const Window w = makeChild(name, kRoomRect, WindowRole::kRoom);
  if (!w) return w;
  auto room = std::make_unique<Room>();
  room->window = w;
  room->name = name;
  room->layout = layout;
  room->transcript.setLimit(transcriptLimit);

  platform::WindowStyle multiline;
  multiline.multiline = true;
  platform::WindowStyle view = multiline;
  view.readOnly = true;
  platform::WindowStyle list;
  list.notify = true;

  // The order of the children is the host's: the program takes the first and second of
  // a class by their order.
  if (layout == RoomLayout::kRich) {
    room->transcriptControl = makeControl(w, "RICHCNTL", "", Rect{10, 10, 440, 290}, view);
    room->input = makeControl(w, "RICHCNTL", "", Rect{10, 300, 380, 340}, multiline);
    room->people = makeControl(w, "_AOL_Listbox", "", Rect{450, 30, 590, 290}, list);
    makeControl(w, "_AOL_Combobox", "Arial", Rect{10, 350, 150, 372});
    const Window send = makeControl(w, "_AOL_Icon", "Send", Rect{390, 300, 440, 340});
    makeControl(w, "_AOL_Icon", "Notify AOL", Rect{450, 300, 520, 340});
    makeControl(w, "_AOL_Icon", "Chat Preferences", Rect{525, 300, 590, 340});
    room->count = makeControl(w, "_AOL_Static", "", Rect{450, 10, 590, 28});
    setClick(send, w, [this, input = room->input] { takeChatLine(input); });
  } else {
    room->transcriptControl = makeControl(w, "_AOL_View", "", Rect{10, 10, 440, 290}, view);
    room->input = makeControl(w, "_AOL_Edit", "", Rect{10, 300, 380, 340}, multiline);
    const Window send = makeControl(w, "_AOL_Icon", "Send", Rect{390, 300, 440, 340});
    room->people = makeControl(w, "_AOL_Listbox", "", Rect{450, 30, 590, 290}, list);
    room->count = makeControl(w, "_AOL_Static", "", Rect{450, 10, 590, 28});
    setClick(send, w, [this, input = room->input] { takeChatLine(input); });
  }
  Control input;
  input.owner = w;
  input.role = ControlRole::kRoomInput;
  setControl(room->input, input);
  Control people;
  people.owner = w;
  people.role = ControlRole::kPeopleList;
  setControl(room->people, people);

  Room& r = *room;
  rooms.push_back(std::move(room));
  showCount(r);
  if (signedOn) join(r, screenName);
  return w;
}

void HostSim::Impl::join(Room& room, const Text& member) {
  const Text key = NameKey(member);
  for (const Member& m : room.members) {
    if (NameKey(m.name) == key) return;
  }
  Member m{member, MemberRecord(ws, member)};
  const std::optional<LResult> row =
      ws.send(room.people, msg::kLbAddString, 0, reinterpret_cast<platform::LParam>(member.c_str()));
  if (!row || *row < 0) return;
  ws.send(room.people, msg::kLbSetItemData, static_cast<platform::WParam>(*row),
          static_cast<platform::LParam>(m.record.address()));
  room.members.push_back(std::move(m));
  showCount(room);
}

void HostSim::Impl::leave(Room& room, const Text& member) {
  const Text key = NameKey(member);
  for (std::size_t i = 0; i < room.members.size(); ++i) {
    if (NameKey(room.members[i].name) != key) continue;
    // The row goes before its record, so the list never points at freed memory.
    ws.send(room.people, msg::kLbDeleteString, i, 0);
    room.members.erase(room.members.begin() + static_cast<std::ptrdiff_t>(i));
    showCount(room);
    return;
  }
}

void HostSim::Impl::say(Room& room, const Text& sender, const Text& line) {
  if (ignored(sender)) return;
  room.transcript.add(sender, line);
  showTranscript(room);
}

void HostSim::Impl::showTranscript(Room& room) {
  ws.setText(room.transcriptControl, room.transcript.joined());
}

void HostSim::Impl::showCount(Room& room) {
  ws.setText(room.count, "People Here: " + std::to_string(room.members.size()));
}

// Enter in a room's input box: the host takes the line, shows it under the user's name
// and empties the box. A flooded host leaves the box as it is, so the sender presses
// Enter again until the host is ready; lines never change order.
//
// The rich room's input box is a rich-text control: a text set into it while it still
// holds text joins the formatting of the text it held, and the host does not send a line
// whose formatting it did not make; the box keeps it. A line set into the emptied box is
// a line of its own, so whoever puts a line there empties the box first.
bool HostSim::Impl::takeChatLine(Window input) {
  Room* room = roomOf(input);
  if (!room || room->input != input || !signedOn) return false;
  const Text line = ws.text(input);
  if (line.empty() || room->inputSetOverText) return false;
  if (unignoredAtMs && p.loop.nowMs() - *unignoredAtMs < kUnignoreRefreshMs) {
    noteActivity();
    ws.setText(input, "");
    return true;
  }
  if (rateLines > 0) {
    const std::uint64_t now = p.loop.nowMs();
    while (!acceptedAt.empty() && now - acceptedAt.front() >= ratePerMs) acceptedAt.pop_front();
    if (acceptedAt.size() >= static_cast<std::size_t>(rateLines)) {
      ++refused;
      return false;
    }
    acceptedAt.push_back(now);
  }
  noteActivity();
  ws.setText(input, "");
  if (takenLimit > 0 && taken.size() >= takenLimit) taken.erase(taken.begin());
  taken.push_back(line);
  ++takenCount;
  room->transcript.add(screenName,
                       lineCut > 0 ? std::string_view(line).substr(0, lineCut) : std::string_view(line));
  showTranscript(*room);
  return true;
}

// A double click on a row of the people list opens that member's information. The
// window comes at once with its ignore box, the name, the picture and the first icon;
// the member's details come from the host's servers a moment later, with the other icons
// and the ignore box's state (whether the member is ignored). Until then the box shows
// unchecked and does nothing.
void HostSim::Impl::openMemberInfo(Window people) {
  Room* room = roomOf(people);
  if (!room || room->people != people) return;
  // The selection as it stands: the double click's own position (the program sends 0,0)
  // must not move it.
  const LResult selected = ws.callDefault(people, Message{msg::kLbGetCurSel, 0, 0});
  if (selected < 0 || static_cast<std::size_t>(selected) >= room->members.size()) return;
  noteActivity();
  const Text name = room->members[static_cast<std::size_t>(selected)].name;

  const Window w = makeChild(name, Rect{120, 80, 460, 330}, WindowRole::kMemberInfo);
  if (!w) return;
  platform::WindowStyle box;
  box.checkBox = true;
  const Window ignoreBox = makeControl(w, "_AOL_Checkbox", "Ignore Member", Rect{20, 180, 200, 200}, box);
  Control c;
  c.owner = w;
  c.role = ControlRole::kIgnoreBox;
  c.member = name;
  setControl(ignoreBox, c);
  makeControl(w, "_AOL_Static", name, Rect{90, 20, 320, 40});
  makeControl(w, "_AOL_Glyph", "", Rect{20, 20, 80, 80});
  makeControl(w, "_AOL_Icon", "Get Profile", Rect{20, 110, 90, 160});
  waitingForServers.insert(w);
  after(w, kServerAnswerMs, "member details", [this, w, name, ignoreBox] {
    if (ignored(name)) ws.callDefault(ignoreBox, Message{msg::kBmSetCheck, msg::kBstChecked, 0});
    const Window message = makeControl(w, "_AOL_Icon", "Send Message", Rect{100, 110, 170, 160});
    const Window close = makeControl(w, "_AOL_Icon", "Close", Rect{250, 110, 320, 160});
    setClick(message, w, [this, name] { openInstantMessage(name); });
    setClick(close, w, [this, w] { closeLater(w); });
    waitingForServers.erase(w);
  });
}

void HostSim::Impl::setIgnored(const Text& member, bool on) {
  const Text key = NameKey(member);
  const auto same = [&key](const Text& m) { return NameKey(m) == key; };
  const bool was = std::any_of(ignoredMembers.begin(), ignoredMembers.end(), same);
  if (on && !was) ignoredMembers.push_back(member);
  if (!on && was) {
    std::erase_if(ignoredMembers, same);
    unignoredAtMs = p.loop.nowMs();
  }
}

bool HostSim::Impl::ignored(const Text& member) const {
  const Text key = NameKey(member);
  return std::any_of(ignoredMembers.begin(), ignoredMembers.end(),
                     [&key](const Text& m) { return NameKey(m) == key; });
}

// ---- the scripting interface ---------------------------------------------------------------

Window HostSim::openRoom(const Text& name, RoomLayout layout) { return impl_->openRoom(name, layout); }

void HostSim::setPrivateRoomLayout(RoomLayout layout) { impl_->privateLayout = layout; }

void HostSim::closeRoom(Window room) {
  if (impl_->roomOf(room) && impl_->ws.exists(room)) impl_->ws.destroy(room);
}

Window HostSim::currentRoom() const { return impl_->rooms.empty() ? Window{} : impl_->rooms.back()->window; }

Window HostSim::findRoom(const Text& name) const {
  for (const auto& room : impl_->rooms) {
    if (text::EqualsNoCase(room->name, name)) return room->window;
  }
  return Window{};
}

Text HostSim::roomName(Window room) const {
  const Room* r = impl_->roomOf(room);
  return r ? r->name : Text{};
}

void HostSim::setRoomFull(const Text& name, bool full) {
  if (full) {
    impl_->fullRooms.insert(NameKey(name));
  } else {
    impl_->fullRooms.erase(NameKey(name));
  }
}

void HostSim::join(Window room, const Text& member) {
  if (Room* r = impl_->roomOf(room)) impl_->join(*r, member);
}

void HostSim::leave(Window room, const Text& member) {
  if (Room* r = impl_->roomOf(room)) impl_->leave(*r, member);
}

std::vector<Text> HostSim::members(Window room) const {
  std::vector<Text> names;
  if (const Room* r = impl_->roomOf(room)) {
    for (const auto& m : r->members) names.push_back(m.name);
  }
  return names;
}

void HostSim::say(Window room, const Text& sender, const Text& line) {
  if (Room* r = impl_->roomOf(room)) impl_->say(*r, sender, line);
}

Text HostSim::transcript(Window room) const {
  const Room* r = impl_->roomOf(room);
  return r ? impl_->ws.text(r->transcriptControl) : Text{};
}

std::uint64_t HostSim::transcriptLineCount(Window room) const {
  const Room* r = impl_->roomOf(room);
  return r ? r->transcript.added() : 0;
}

void HostSim::setTranscriptLimit(std::size_t lines) {
  impl_->transcriptLimit = lines;
  for (auto& room : impl_->rooms) {
    room->transcript.setLimit(lines);
    impl_->showTranscript(*room);
  }
}

void HostSim::setChatRateLimit(int lines, std::uint32_t perMs) {
  impl_->rateLines = std::max(lines, 0);
  impl_->ratePerMs = perMs;
  impl_->acceptedAt.clear();
}

int HostSim::chatLinesRefused() const { return impl_->refused; }
void HostSim::setChatLineCut(std::size_t bytes) { impl_->lineCut = bytes; }

const std::vector<Text>& HostSim::chatLinesTaken() const { return impl_->taken; }
std::uint64_t HostSim::chatLinesTakenCount() const { return impl_->takenCount; }
void HostSim::setTakenRecordLimit(std::size_t lines) {
  impl_->takenLimit = lines;
  if (lines > 0 && impl_->taken.size() > lines) {
    impl_->taken.erase(impl_->taken.begin(), impl_->taken.end() - static_cast<std::ptrdiff_t>(lines));
  }
}

}  // namespace vantary::hostsim
