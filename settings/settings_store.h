// The settings store: keys of the INI settings files and the list files, read and written
// through the Files service.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/platform.h"
#include "platform/window_system.h"
#include "settings/ini_file.h"
#include "settings/list_file.h"

namespace vantary::settings {

// The longest value a read gives back: the reader's buffer holds 750 characters with the
// terminating NUL.
inline constexpr std::size_t kSettingValueLimit = 749;

// The text of the INI file at `path` in Windows-1252, whatever encoding it is saved in
// (see DecodeSettingsFile): "" when the file is missing, nullopt when it is there but
// cannot be read now (another program holds it, or it may not be read).
std::optional<Text> ReadSettingsFile(platform::Files& files, std::string_view path);

// The value of `key` (looked up in lower case) in `section` of an INI text, cut to
// kSettingValueLimit characters; "" when the section or the key is missing.
Text SettingIn(std::string_view contents, std::string_view section, std::string_view key);

// SettingIn of the INI file at `path`; "" also when the file cannot be read.
Text ReadSetting(platform::Files& files, std::string_view section, std::string_view key,
                 std::string_view path);

// Stores `value` under `key` (written in upper case) in `section` of the INI file at
// `path`, creating the file when it is missing. The whole file is replaced at once, so it
// is never left half written, and in the encoding it was saved in; a file that exists but
// cannot be read is not touched. See IniFile::set for how values are kept on their line.
//
// With an empty section and an empty key, which name nothing in an INI file, the call is
// how a list file is created: a missing file is created holding the value as its one
// line (the list loader reads it as one entry), and an existing file is left as it is.
// True when the file holds the value afterwards.
bool WriteSetting(platform::Files& files, std::string_view section, std::string_view key,
                  std::string_view value, std::string_view path);

// True when the path is not empty and names an existing file.
bool FileExists(platform::Files& files, std::string_view path);

// The entries of the list file at `path` (see ReadListFile): none when there is no file,
// nullopt when it is there but cannot be read now (another program holds it), so that a
// caller never takes a held file for an empty one.
std::optional<std::vector<Text>> ReadListEntries(platform::Files& files, std::string_view path);

// Adds every entry of the list file at `path` (see ReadListFile) at the end of the list
// box or combo box `listControl`. A missing or unreadable file adds nothing; errors are
// not reported.
void LoadList(platform::Platform& platform, std::string_view path, platform::Window listControl);
void LoadList(platform::Files& files, platform::WindowSystem& windows, std::string_view path,
              platform::Window listControl);

// Adds the entries at the end of the control's list, with CB_ADDSTRING when its class is a
// combo box ("combo" in its name, without regard to case) and LB_ADDSTRING otherwise.
// Returns how many the control took.
int AddListItems(platform::WindowSystem& windows, platform::Window listControl, std::span<const Text> items);

// Replaces the list file at `path` with these entries (see WriteListFile). True when the
// file was written.
bool SaveList(platform::Files& files, std::string_view path, std::span<const Text> items);

}  // namespace vantary::settings
