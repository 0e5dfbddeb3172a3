// Windows of the host's classes that a test's own process makes, to stand beside or in
// front of the stand-in host's: rooms that answer slowly or change while they are read,
// palettes and modals of another program.
#pragma once

#include <span>
#include <string_view>
#include <utility>

#include "platform/window_system.h"

namespace vantary::testing {

using HostClass = std::pair<const char*, platform::BaseKind>;

// The children of a rich chat room, in the host's order.
inline constexpr const char* kRichRoomChildren[] = {"RICHCNTL",      "RICHCNTL",  "_AOL_Listbox",
                                                    "_AOL_Combobox", "_AOL_Icon", "_AOL_Static"};

// Registers each class in the process of `ws`, on its base kind, with `handler` (none:
// the base behaviour alone).
inline void RegisterClasses(platform::WindowSystem& ws, std::span<const HostClass> classes,
                            const platform::WindowHandler& handler = {}) {
  for (const auto& [name, base] : classes) {
    platform::ClassSpec desc;
    desc.name = name;
    desc.base = base;
    desc.handler = handler;
    ws.registerClass(desc);
  }
}

// A visible window of `className` captioned `caption`: a child of `parent`, or a
// top-level window when `parent` is 0.
inline platform::Window MakeWindow(platform::WindowSystem& ws, std::string_view className,
                                   std::string_view caption, platform::Window parent) {
  platform::WindowSpec desc;
  desc.className = platform::Text(className);
  desc.caption = platform::Text(caption);
  desc.style.visible = true;
  desc.style.child = static_cast<bool>(parent);
  desc.parent = parent;
  desc.rect = platform::Rect{10, 10, 200, 100};
  return ws.create(desc);
}

}  // namespace vantary::testing
