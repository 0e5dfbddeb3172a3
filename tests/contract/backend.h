// The backend a contract test runs on: the sim natively, the real window system under
// Wine. Every case in this folder runs unchanged on both.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace vantary::contract {

class ContractBackend {
 public:
  virtual ~ContractBackend() = default;
  // The process under test: it owns windows and drives them.
  virtual platform::Platform& platform() = 0;
  // A second process whose windows the first one drives, where the backend can run two
  // processes in one test (the sim); nullptr otherwise. Cross-process cases on the real
  // window system run in the two-process smoke test instead.
  virtual platform::Platform* otherProcess() = 0;
  // A unique prefix for class names, so repeated cases never collide on the real system.
  virtual const char* name() const = 0;

  // An empty folder of the case's own for files, as a program path; it goes with the
  // backend.
  virtual platform::Text scratchFolder() = 0;
  // Another program opens the file without sharing it, or closes it again.
  virtual void setFileLocked(const platform::Text& path, bool locked) = 0;
  // Sets or clears the file's read-only attribute.
  virtual void setFileReadOnly(const platform::Text& path, bool readOnly) = 0;
};

std::unique_ptr<ContractBackend> MakeContractBackend();

}  // namespace vantary::contract
