// Member records in host memory.
#include "hostsim/member_records.h"

#include <algorithm>

namespace vantary::hostsim {
namespace {

// The record and its name block share one block: the record first, the name block after
// it. The bytes after the name field are not zero, so a reader that runs past the 16
// bytes of a full-length name reads rubbish rather than a lucky terminator.
constexpr std::size_t kRecordBytes = 32;
constexpr std::size_t kNameBlockBytes = kNameOffset + kNameBytes + 10;
constexpr std::uint8_t kFiller = 0xCC;

}  // namespace

MemberRecord::MemberRecord(platform::WindowSystem& windows, std::string_view name)
    : block_(windows.allocateLowMemory(kRecordBytes + kNameBlockBytes)) {
  if (!block_ || block_->bytes().size() < kRecordBytes + kNameBlockBytes) {
    block_.reset();
    return;
  }
  std::span<std::uint8_t> bytes = block_->bytes();
  std::fill(bytes.begin(), bytes.end(), kFiller);
  const std::uint32_t nameBlock = block_->address() + static_cast<std::uint32_t>(kRecordBytes);
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[kRecordNameBlockOffset + i] = static_cast<std::uint8_t>((nameBlock >> (8 * i)) & 0xFF);
  }
  std::span<std::uint8_t> field = bytes.subspan(kRecordBytes + kNameOffset, kNameBytes);
  std::fill(field.begin(), field.end(), std::uint8_t{0});
  const std::size_t length = std::min(name.size(), kNameBytes);
  for (std::size_t i = 0; i < length; ++i) field[i] = static_cast<std::uint8_t>(name[i]);
}

std::uint32_t MemberRecord::address() const { return block_ ? block_->address() : 0; }

}  // namespace vantary::hostsim
