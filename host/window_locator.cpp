// Finding the host's frame, MDI client, rooms and windows; the screen name, the host
// generation and the host's menu items.
#include <algorithm>
#include <string>

#include "host/host.h"
#include "host/host_windows.h"

namespace vantary::host {
namespace {

using text::ContainsNoCase;
using text::ToLower;

constexpr std::string_view kWelcome = "Welcome, ";

// Menu texts are read into a buffer of this many characters.
constexpr int kMenuTextChars = 100;
// A menu of the host never has more items than this; a bogus count from a damaged or
// foreign menu does not make the walk run for ever.
constexpr int kMenuItemsLimit = 256;

}  // namespace

Text StatusPrefix(const ChatStyle& style, std::string_view ascii) {
  Text prefix = "</u></s></i></b><font color=#";
  prefix += style.color1;
  prefix += ">";
  prefix += ascii;
  prefix += "<font color=#";
  prefix += style.color2;
  return prefix;
}

Host::Host(Platform& platform, StyleSource style) : p_(platform), style_(std::move(style)) {}

Window Host::FindMdiClient() {
  const Window frame = p_.windows.findWindow(kFrameClass, std::nullopt);
  return p_.windows.firstChild(frame, kMdiClass);
}

Window Host::FirstHostChild(const std::function<bool(Window)>& test) {
  const Window mdi = FindMdiClient();
  if (!mdi) return Window{};
  for (Window child = p_.windows.findChild(mdi, Window{}, kChildClass); child;
       child = p_.windows.findChild(mdi, child, kChildClass)) {
    if (test(child)) return child;
  }
  return Window{};
}

Window Host::FindChatRoom() {
  auto& ws = p_.windows;
  const Window room = FirstHostChild([&](Window child) {
    const bool rich = ws.firstChild(child, kRichTextClass) && ws.firstChild(child, kListBoxClass) &&
                      ws.firstChild(child, kComboBoxClass) && ws.firstChild(child, kIconClass) &&
                      ws.firstChild(child, kStaticClass);
    const bool plain = ws.firstChild(child, kViewClass) && ws.firstChild(child, kIconClass) &&
                       ws.firstChild(child, kListBoxClass);
    return rich || plain;
  });
  if (!room) return room;
  // A window of the user's own, such as "<name>'s Buddy List", is no chat room; the
  // search does not go on past it.
  const Text caption = ToLower(GetText(room));
  const Text own = ToLower(GetScreenName()) + "'s";
  if (caption.find(own) != Text::npos) return Window{};
  return room;
}

Window Host::FindRichChatRoom() {
  auto& ws = p_.windows;
  return FirstHostChild([&](Window child) {
    return ws.firstChild(child, kRichTextClass) && ws.firstChild(child, kListBoxClass) &&
           ws.firstChild(child, kIconClass) && ws.firstChild(child, kStaticClass);
  });
}

Window Host::FindPlainChatRoom() {
  auto& ws = p_.windows;
  return FirstHostChild([&](Window child) {
    return ws.firstChild(child, kViewClass) && ws.firstChild(child, kIconClass) &&
           ws.firstChild(child, kListBoxClass);
  });
}

Window Host::FindMemberInfoWindow() {
  auto& ws = p_.windows;
  return FirstHostChild([&](Window child) {
    return ws.firstChild(child, kCheckBoxClass) && ws.firstChild(child, kStaticClass) &&
           ws.firstChild(child, kGlyphClass) && ws.nthChild(child, kIconClass, 2);
  });
}

Text Host::GetScreenName() {
  Text name;
  FirstHostChild([&](Window child) {
    const Text caption = GetCaption(child);
    if (caption.compare(0, kWelcome.size(), kWelcome) != 0) return false;
    // The name runs from after "Welcome, " up to the first "!"; a caption without "!"
    // gives the rest of the caption.
    const std::size_t bang = caption.find('!', kWelcome.size());
    name = caption.substr(kWelcome.size(), bang == Text::npos ? Text::npos : bang - kWelcome.size());
    return true;
  });
  return name;
}

int Host::GetHostVersion() {
  auto& ws = p_.windows;
  const Window frame = ws.findWindow(kFrameClass, std::nullopt);
  const platform::Menu bar = frame ? ws.menuOf(frame) : platform::Menu{};
  Text contents;
  Text version;
  if (bar) {
    contents = ws.menuItemText(ws.subMenu(bar, 6), 0, kMenuTextChars);
    version = ws.menuItemText(ws.subMenu(bar, 4), 9, kMenuTextChars);
  }
  if (version.find("5.0") != Text::npos) return kGeneration5;
  if (version.find("4.0") != Text::npos) return kGeneration4;
  if (ToLower(contents).rfind("&contents", 0) == 0) return kGeneration25;
  return kGeneration95;
}

Text Host::GetHostVersionText() {
  switch (GetHostVersion()) {
    case kGeneration5:
      return "5";
    case kGeneration4:
      return "4";
    case kGeneration25:
      return "25";
    default:
      return "95";
  }
}

Text Host::GetCaption(Window window) { return window ? p_.windows.caption(window) : Text{}; }

Text Host::GetText(Window window) { return window ? p_.windows.text(window) : Text{}; }

void Host::CloseWindow(Window window) {
  if (window) p_.windows.postClose(window);
}

void Host::RunMenuItem(std::string_view lookFor) {
  auto& ws = p_.windows;
  const Window frame = ws.findWindow(kFrameClass, std::nullopt);
  const platform::Menu bar = frame ? ws.menuOf(frame) : platform::Menu{};
  if (!bar) return;
  const int menus = std::min(ws.menuItemCount(bar), kMenuItemsLimit);
  for (int m = 0; m < menus; ++m) {
    const platform::Menu sub = ws.subMenu(bar, m);
    if (!sub) continue;
    const int items = std::min(ws.menuItemCount(sub), kMenuItemsLimit);
    for (int i = 0; i < items; ++i) {
      const std::uint32_t id = ws.menuItemId(sub, i);
      if (ContainsNoCase(ws.menuItemText(sub, i, kMenuTextChars), lookFor)) {
        ws.sendCommand(frame, id);
        return;
      }
    }
  }
}

}  // namespace vantary::host
