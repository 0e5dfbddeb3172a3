// A fresh folder on the real disk for a test's sim world, named after the running test
// and the test process, so that runs side by side never share files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace vantary::testing {

inline std::filesystem::path ProcessRoot() {
  return std::filesystem::temp_directory_path() / ("vantary-tests-" + std::to_string(::getpid()));
}

// Removes the test process's folder when the process ends.
struct ProcessRootRemover {
  ~ProcessRootRemover() {
    std::error_code ignored;
    std::filesystem::remove_all(ProcessRoot(), ignored);
  }
};

inline std::filesystem::path FreshRoot(const std::string& suffix = "") {
  static ProcessRootRemover remover;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name =
      info != nullptr ? std::string(info->test_suite_name()) + "." + info->name() : "outside";
  auto root = ProcessRoot() / (name + suffix);
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  return root;
}

}  // namespace vantary::testing
