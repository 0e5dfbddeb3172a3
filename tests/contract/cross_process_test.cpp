// Contract cases between two processes: a foreign window's caption is what the window
// system keeps while its text is what the control answers, windows another process makes
// are counted, and another process's memory is read through openProcess. They run where
// the backend has a second process.
#include <array>
#include <cstring>

#include "tests/contract/contract_fixture.h"

namespace vantary::contract {
namespace {

class CrossProcessContract : public ContractTest {
 protected:
  void SetUp() override {
    ContractTest::SetUp();
    other_ = backend_->otherProcess();
    if (other_ == nullptr) GTEST_SKIP() << "this backend runs one process per test";
  }
  platform::Platform* other_ = nullptr;
};

TEST_F(CrossProcessContract, ForeignCaptionIsKeptTextIsAsked) {
  const Window frame = topLevel(recordingClass("frame", BaseKind::kPlain, other_), "host", {}, other_);
  const Window edit = child(frame, "Edit", "initial", 1, {}, Rect{0, 0, 200, 24}, other_);
  const Window label = child(frame, "Static", "label", 2, {}, Rect{0, 30, 200, 50}, other_);
  ASSERT_NE(ws().processOf(edit), ws().currentProcess());
  EXPECT_EQ(ws().processOf(edit), other_->windows.currentProcess());

  // The program finds and drives the other process's windows.
  EXPECT_EQ(ws().findWindow(uniqueClass("frame"), "HOST"), frame);
  EXPECT_EQ(ws().firstChild(frame, "edit"), edit);
  ASSERT_TRUE(ws().setText(edit, "typed by the program!"));
  EXPECT_EQ(ws().text(edit), "typed by the program!");
  // An edit's contents are not its caption.
  EXPECT_EQ(ws().caption(edit), "initial");
  EXPECT_EQ(other_->windows.caption(edit), "typed by the program!");

  // A static's caption is its text.
  ASSERT_TRUE(ws().setText(label, "new label"));
  EXPECT_EQ(ws().caption(label), "new label");
  EXPECT_EQ(ws().text(label), "new label");

  // A posted message to the other process runs when events are pumped.
  received_.clear();
  ws().post(frame, msg::kApp + 5);
  EXPECT_TRUE(idsTo(frame, msg::kApp, msg::kApp + 10).empty());
  loop().pump();
  EXPECT_EQ(idsTo(frame, msg::kApp, msg::kApp + 10), std::vector<std::uint32_t>{msg::kApp + 5});
}

// Windows the other process makes count, once events ran; the program's own never do.
TEST_F(CrossProcessContract, WindowsCreatedByAnotherProcessAreCounted) {
  const std::uint64_t before = ws().windowsCreatedElsewhere();
  topLevel(recordingClass("own"));
  loop().pump();
  EXPECT_EQ(ws().windowsCreatedElsewhere(), before);
  const Window frame = topLevel(recordingClass("frame", BaseKind::kPlain, other_), "host", {}, other_);
  child(frame, "Static", "label", 1, {}, Rect{0, 0, 100, 20}, other_);
  loop().pump();
  EXPECT_GE(ws().windowsCreatedElsewhere(), before + 2);
}

TEST_F(CrossProcessContract, AnotherProcessMemoryIsReadWithinItsBlocks) {
  std::unique_ptr<platform::LowMemoryBlock> block = other_->windows.allocateLowMemory(32);
  ASSERT_NE(block, nullptr);
  EXPECT_LT(block->address(), 0x7FFFFFFFu);
  EXPECT_NE(block->address(), 0u);
  ASSERT_EQ(block->bytes().size(), 32u);
  std::memcpy(block->bytes().data(), "member record", 13);

  std::unique_ptr<platform::ProcessReader> reader = ws().openProcess(other_->windows.currentProcess());
  ASSERT_NE(reader, nullptr);
  std::array<std::uint8_t, 13> out{};
  ASSERT_TRUE(reader->read(block->address(), out));
  EXPECT_EQ(std::memcmp(out.data(), "member record", 13), 0);
  ASSERT_TRUE(reader->read(block->address() + 7, std::span(out).first(6)));
  EXPECT_EQ(std::memcmp(out.data(), "record", 6), 0);
  // Past the block's end nothing is readable.
  std::array<std::uint8_t, 8> tail{};
  EXPECT_FALSE(reader->read(block->address() + 28, tail));

  const std::uint32_t address = block->address();
  block.reset();
  EXPECT_FALSE(reader->read(address, out));
}

}  // namespace
}  // namespace vantary::contract
