// The console's writes of its settings files: a write that fails (a full disk, a file
// made read-only or held by another program) is kept and tried again each minute, and the
// user is told once, never once a tick.
#include "console/console.h"
#include "platform/messages.h"
#include "settings/settings_store.h"

namespace vantary::console {
namespace {

namespace msg = platform::msg;

constexpr std::string_view kUnstoredTitle = "vantary : settings";

}  // namespace

bool Console::store(const Text& path, std::string_view key, std::string_view value) {
  const std::pair<Text, Text> slot{path, Text(key)};
  if (settings::WriteSetting(p_.files, settings::kSection, key, value, path)) {
    unstored_.erase(slot);
    return true;
  }
  unstored_[slot] = Text(value);
  if (retryTimer_ != nullptr) retryTimer_->setEnabled(true);
  if (!unstoredTold_) {
    unstoredTold_ = true;
    // Told from a turn of its own, never from inside the tick or command that wrote.
    tellLater("vantary could not write its settings into " + path +
                  ". it keeps them and tries again every minute until they are written.",
              kUnstoredTitle, msg::kMbOk | msg::kMbIconWarning);
  }
  return false;
}

bool Console::storeConfig(std::string_view key, std::string_view value) {
  return store(paths_.config, key, value);
}

bool Console::retryUnstored() {
  const auto pending = unstored_;
  for (const auto& [slot, value] : pending) store(slot.first, slot.second, value);
  if (!unstored_.empty()) return false;
  // A later failure is a new stretch, and is told again.
  unstoredTold_ = false;
  if (retryTimer_ != nullptr) retryTimer_->setEnabled(false);
  return true;
}

}  // namespace vantary::console
