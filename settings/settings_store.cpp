// The settings store: keys of the INI settings files and the list files.
#include "settings/settings_store.h"

#include <algorithm>

#include "platform/messages.h"
#include "settings/file_encoding.h"

namespace vantary::settings {

std::optional<Text> ReadSettingsFile(platform::Files& files, std::string_view path) {
  if (path.empty() || !files.fileExists(path)) return Text{};
  const std::optional<std::string> bytes = files.readFile(path);
  if (!bytes) return std::nullopt;
  return DecodeSettingsFile(*bytes).text;
}

Text SettingIn(std::string_view contents, std::string_view section, std::string_view key) {
  std::optional<Text> value = IniFile::Find(contents, section, text::ToLower(key));
  if (!value) return {};
  value->resize(std::min(value->find('\0'), value->size()));
  if (value->size() > kSettingValueLimit) value->resize(kSettingValueLimit);
  return std::move(*value);
}

Text ReadSetting(platform::Files& files, std::string_view section, std::string_view key,
                 std::string_view path) {
  const std::optional<Text> contents = ReadSettingsFile(files, path);
  return contents ? SettingIn(*contents, section, key) : Text{};
}

bool WriteSetting(platform::Files& files, std::string_view section, std::string_view key,
                  std::string_view value, std::string_view path) {
  if (path.empty()) return false;
  const bool exists = files.fileExists(path);
  if (section.empty() && key.empty()) {
    if (exists) return true;
    const Text line = IniFile::StoredForm(value);
    return files.writeFileAtomic(path, line.empty() ? line : line + "\r\n");
  }
  std::optional<DecodedFile> read;
  if (exists) {
    const std::optional<std::string> bytes = files.readFile(path);
    // Rewriting what could not be read would throw away every other key of the file.
    if (!bytes) return false;
    read = DecodeSettingsFile(*bytes);
  }
  IniFile file = IniFile::Parse(read ? std::string_view(read->text) : std::string_view());
  if (!file.set(section, text::ToUpper(key), value)) return false;
  const std::string updated = file.serialize();
  if (read && updated == read->text) return true;
  return files.writeFileAtomic(path, read ? EncodeSettingsFile(*read, updated) : updated);
}

bool FileExists(platform::Files& files, std::string_view path) {
  return !path.empty() && files.fileExists(path);
}

int AddListItems(platform::WindowSystem& windows, platform::Window listControl, std::span<const Text> items) {
  if (!listControl) return 0;
  const bool combo = text::ContainsNoCase(windows.className(listControl), "combo");
  const std::uint32_t add = combo ? platform::msg::kCbAddString : platform::msg::kLbAddString;
  int added = 0;
  for (const Text& item : items) {
    // The control copies the NUL-terminated text during the send.
    const auto result = windows.send(listControl, add, 0, reinterpret_cast<platform::LParam>(item.c_str()));
    if (result && *result >= 0) ++added;
  }
  return added;
}

std::optional<std::vector<Text>> ReadListEntries(platform::Files& files, std::string_view path) {
  if (!FileExists(files, path)) return std::vector<Text>{};
  const std::optional<std::string> contents = files.readFile(path);
  if (!contents) return std::nullopt;
  return ReadListFile(*contents);
}

void LoadList(platform::Files& files, platform::WindowSystem& windows, std::string_view path,
              platform::Window listControl) {
  if (const std::optional<std::vector<Text>> items = ReadListEntries(files, path)) {
    AddListItems(windows, listControl, *items);
  }
}

void LoadList(platform::Platform& platform, std::string_view path, platform::Window listControl) {
  LoadList(platform.files, platform.windows, path, listControl);
}

bool SaveList(platform::Files& files, std::string_view path, std::span<const Text> items) {
  if (path.empty()) return false;
  return files.writeFileAtomic(path, WriteListFile(items));
}

}  // namespace vantary::settings
