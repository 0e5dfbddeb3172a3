// Files and folders, named by the program's own (Windows-style, ANSI) paths.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace vantary::platform {

class Files {
 public:
  virtual ~Files() = default;
  // The folder of the program's executable, without a trailing backslash.
  virtual Text programFolder() = 0;
  // The Windows folder (GetWindowsDirectoryA), without a trailing backslash. The settings
  // files name it "c:\windows".
  virtual Text windowsFolder() = 0;
  // True when the path names an existing file (not a folder).
  virtual bool fileExists(std::string_view path) = 0;
  // The whole file, or nullopt when it cannot be read.
  virtual std::optional<std::string> readFile(std::string_view path) = 0;
  // Replaces the whole file: writes a temporary file beside it, then renames it over the
  // old one, so a crash leaves either the old or the new file and never half of one.
  virtual bool writeFileAtomic(std::string_view path, std::string_view contents) = 0;
  virtual bool removeFile(std::string_view path) = 0;

  // The user's own application-data folder, without a trailing backslash; "" when the
  // system names none. The program keeps its files there when their own folder cannot be
  // written by the user (the Windows folder on a current system without administrator
  // rights).
  virtual Text userDataFolder() { return {}; }
  // True when the user can make a file in the folder, made first when it is missing.
  virtual bool folderWritable(std::string_view folder) {
    (void)folder;
    return true;
  }
};

}  // namespace vantary::platform
