// Files that cannot be replaced: one another program holds open without sharing, and one
// marked read-only. The settings store relies on a refused replace being told as such.
#include <gtest/gtest.h>

#include "tests/contract/contract_fixture.h"

namespace vantary::contract {
namespace {

using FilesContract = ContractTest;

// Both stay as they were and are still there; only the held one cannot be read. Once
// released, each is replaced as any other file.
TEST_F(FilesContract, HeldOrReadOnlyFileIsNeitherReplacedNorRemoved) {
  const struct {
    const char* name;
    bool held;  // false: read-only
  } cases[] = {{"held.dat", true}, {"readonly.dat", false}};
  platform::Files& files = p().files;
  const std::string stored = "[vantari]\r\nHOUR2=5\r\n";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Text path = backend_->scratchFolder() + "\\" + c.name;
    ASSERT_TRUE(files.writeFileAtomic(path, stored));
    const auto mark = [&](bool on) {
      if (c.held) {
        backend_->setFileLocked(path, on);
      } else {
        backend_->setFileReadOnly(path, on);
      }
    };
    mark(true);
    EXPECT_TRUE(files.fileExists(path));
    EXPECT_EQ(files.readFile(path), c.held ? std::nullopt : std::optional<std::string>(stored));
    EXPECT_FALSE(files.writeFileAtomic(path, "[vantari]\r\nHOUR2=0\r\n"));
    EXPECT_FALSE(files.removeFile(path));
    mark(false);
    EXPECT_EQ(files.readFile(path), stored);
    EXPECT_TRUE(files.writeFileAtomic(path, "replaced"));
    EXPECT_EQ(files.readFile(path), "replaced");
    EXPECT_TRUE(files.removeFile(path));
  }
}

// The user's own folder is named, and a folder the user can write is made when missing and
// found writable; a path that is a file is no folder to write in.
TEST_F(FilesContract, UserFolderIsNamedAndAWritableFolderIsMadeWhenMissing) {
  platform::Files& files = p().files;
  EXPECT_FALSE(files.userDataFolder().empty());
  const Text folder = backend_->scratchFolder() + "\\made\\here";
  EXPECT_TRUE(files.folderWritable(folder));
  EXPECT_TRUE(files.writeFileAtomic(folder + "\\etr.cfj", "[vantari]\r\n"));
  EXPECT_TRUE(files.folderWritable(folder));  // and again, with a file in it
  EXPECT_FALSE(files.folderWritable(folder + "\\etr.cfj"));
  EXPECT_TRUE(files.removeFile(folder + "\\etr.cfj"));
}

}  // namespace
}  // namespace vantary::contract
