// What the fuzz targets share: the check that ends a run, and the folder their sim worlds
// keep their files in.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace vantary::fuzz {

// A failed check ends the run at once: the driver keeps the input that did it.
inline void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// One folder per fuzz process for the sim worlds' files, removed when the process ends. In
// memory where the system offers a folder there: inputs write files by the thousand.
inline const std::filesystem::path& FuzzRoot() {
  struct Root {
    static std::filesystem::path Base() {
      std::error_code error;
      if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
      return std::filesystem::temp_directory_path();
    }
    Root() : path(Base() / ("vantary-fuzz-" + std::to_string(::getpid()))) {}
    ~Root() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
  };
  static const Root root;
  return root.path;
}

}  // namespace vantary::fuzz
