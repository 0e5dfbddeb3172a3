// The contract cases on the real window system (under Wine): each case gets a platform of
// its own, which destroys the case's windows and classes when the case ends.
#include <windows.h>

#include <atomic>
#include <string>

#include "platform/win32/win32_platform.h"
#include "tests/contract/backend.h"

namespace vantary::contract {
namespace {

class Win32Backend final : public ContractBackend {
 public:
  Win32Backend() {
    static std::atomic<unsigned> counter{0};
    // Class names live as long as the process, so every case gets its own prefix.
    name_ = "w" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
  }

  platform::Platform& platform() override { return platform_.platform(); }
  platform::Platform* otherProcess() override { return nullptr; }
  const char* name() const override { return name_.c_str(); }

 private:
  platform::win32::Win32Platform platform_;
  std::string name_;
};

}  // namespace

std::unique_ptr<ContractBackend> MakeContractBackend() { return std::make_unique<Win32Backend>(); }

}  // namespace vantary::contract
