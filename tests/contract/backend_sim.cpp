// The contract tests' backend on the sim: a fresh world in its own temporary folder, with
// the process under test and a second process whose windows it drives.
#include <atomic>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "platform/sim/sim_world.h"
#include "tests/contract/backend.h"

namespace vantary::contract {

namespace {

std::filesystem::path FreshFolder() {
  static std::atomic<int> counter{0};
  return std::filesystem::temp_directory_path() /
         ("vantary-contract-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
}

class SimBackend final : public ContractBackend {
 public:
  SimBackend()
      : folder_(FreshFolder()),
        world_(folder_),
        underTest_(world_.addProcess("under test")),
        other_(world_.addProcess("other", "other")) {}
  ~SimBackend() override {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  platform::Platform& platform() override { return underTest_.platform(); }
  platform::Platform* otherProcess() override { return &other_.platform(); }
  const char* name() const override { return "sim"; }

  platform::Text scratchFolder() override { return underTest_.platform().files.programFolder(); }
  void setFileLocked(const platform::Text& path, bool locked) override { world_.setFileLocked(path, locked); }
  void setFileReadOnly(const platform::Text& path, bool readOnly) override {
    world_.setFileReadOnly(path, readOnly);
  }

 private:
  std::filesystem::path folder_;
  platform::sim::SimWorld world_;
  platform::sim::SimProcess& underTest_;
  platform::sim::SimProcess& other_;
};

}  // namespace

std::unique_ptr<ContractBackend> MakeContractBackend() { return std::make_unique<SimBackend>(); }

}  // namespace vantary::contract
