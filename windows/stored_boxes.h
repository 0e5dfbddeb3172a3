// The boxes of an editor window that hold keys of the data file. When the file could not be
// read as they were filled, they hold no stored value: once it can be read, and before the
// window saves, each box still empty takes its stored value, so a save never writes over
// what the file holds with a value it was never read as.
#pragma once

#include <span>
#include <string_view>

#include "toolkit/form.h"

namespace vantary::windows {

struct StoredBox {
  std::string_view control;
  std::string_view key;
};

class StoredBoxes {
 public:
  // `boxes` must outlive this (a table of literals does).
  StoredBoxes(toolkit::Form& form, text::Text path, std::span<const StoredBox> boxes)
      : form_(form), path_(std::move(path)), boxes_(boxes) {}

  // The file could not be read when the boxes were filled.
  void markUnread() { unread_ = true; }
  // Fills each box still empty from the file, once it can be read; nothing while it
  // cannot.
  void takeStored();

 private:
  toolkit::Form& form_;
  text::Text path_;
  std::span<const StoredBox> boxes_;
  bool unread_ = false;
};

}  // namespace vantary::windows
