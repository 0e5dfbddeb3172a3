// Boxes of the editor windows filled from the data file once it can be read.
#include "windows/stored_boxes.h"

#include "settings/program_files.h"
#include "settings/settings_store.h"

namespace vantary::windows {

void StoredBoxes::takeStored() {
  if (!unread_) return;
  const std::optional<text::Text> contents = settings::ReadSettingsFile(form_.platform().files, path_);
  if (!contents) return;
  unread_ = false;
  for (const StoredBox& box : boxes_) {
    if (form_.text(box.control).empty())
      form_.setText(box.control, settings::SettingIn(*contents, settings::kSection, box.key));
  }
}

}  // namespace vantary::windows
