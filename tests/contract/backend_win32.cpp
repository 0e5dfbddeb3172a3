// The contract cases on the real window system (under Wine): each case gets a platform of
// its own, which destroys the case's windows and classes when the case ends.
#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <string>

#include "platform/win32/win32_platform.h"
#include "tests/contract/backend.h"

namespace vantary::contract {
namespace {

struct CloseFile {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using OpenFile = std::unique_ptr<void, CloseFile>;

class Win32Backend final : public ContractBackend {
 public:
  Win32Backend() {
    static std::atomic<unsigned> counter{0};
    // Class names live as long as the process, so every case gets its own prefix.
    name_ = "w" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
  }
  ~Win32Backend() override {
    locks_.clear();
    if (folder_.empty()) return;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
      const std::string file = folder_ + "\\" + found.cFileName;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(file.c_str());
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    RemoveDirectoryA(folder_.c_str());
  }

  platform::Platform& platform() override { return platform_.platform(); }
  platform::Platform* otherProcess() override { return nullptr; }
  const char* name() const override { return name_.c_str(); }

  platform::Text scratchFolder() override {
    if (folder_.empty()) {
      char temp[MAX_PATH] = {};
      GetTempPathA(MAX_PATH, temp);
      folder_ = std::string(temp) + name_ + "_files";
      CreateDirectoryA(folder_.c_str(), nullptr);
    }
    return folder_;
  }

  void setFileLocked(const platform::Text& path, bool locked) override {
    if (!locked) {
      locks_.erase(path);
      return;
    }
    HANDLE h =
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) locks_[path] = OpenFile(h);
  }

  void setFileReadOnly(const platform::Text& path, bool readOnly) override {
    SetFileAttributesA(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
  }

 private:
  platform::win32::Win32Platform platform_;
  std::string name_;
  std::string folder_;
  std::map<std::string, OpenFile> locks_;
};

}  // namespace

std::unique_ptr<ContractBackend> MakeContractBackend() { return std::make_unique<Win32Backend>(); }

}  // namespace vantary::contract
