// The window system's typed helpers that read or pass texts of list rows.
#include "platform/window_system.h"

namespace vantary::platform {
namespace {

// The text goes with its terminating zero, as the system reads it.
std::optional<LResult> AddRow(WindowSystem& ws, Window w, std::uint32_t message, std::string_view item) {
  const Text copy(item);
  return ws.send(w, message, 0, reinterpret_cast<LParam>(copy.c_str()));
}

// The row's length, then its text into a buffer one longer. A count copied outside the
// buffer reads as "".
std::optional<Text> RowText(WindowSystem& ws, Window w, int row, std::uint32_t lengthMessage,
                            std::uint32_t textMessage) {
  const LResult length = ws.send(w, lengthMessage, RowParam(row), 0).value_or(-1);
  if (length < 0) return std::nullopt;
  Text buffer(static_cast<std::size_t>(length) + 1, '\0');
  const LResult copied =
      ws.send(w, textMessage, RowParam(row), reinterpret_cast<LParam>(buffer.data())).value_or(-1);
  buffer.resize(copied > 0 && copied <= length ? static_cast<std::size_t>(copied) : 0);
  return buffer;
}

}  // namespace

std::optional<LResult> WindowSystem::listAdd(Window w, std::string_view item) {
  return AddRow(*this, w, msg::kLbAddString, item);
}

std::optional<Text> WindowSystem::listItemText(Window w, int row) {
  return RowText(*this, w, row, msg::kLbGetTextLen, msg::kLbGetText);
}

std::optional<LResult> WindowSystem::comboAdd(Window w, std::string_view item) {
  return AddRow(*this, w, msg::kCbAddString, item);
}

std::optional<Text> WindowSystem::comboItemText(Window w, int row) {
  return RowText(*this, w, row, msg::kCbGetLbTextLen, msg::kCbGetLbText);
}

}  // namespace vantary::platform
