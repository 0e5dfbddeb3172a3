// A member's record in the host's memory, laid out as the host keeps its people lists:
// the list row's item data is the record's address, the 32-bit little-endian value at
// offset 24 of the record is the address of a name block, and the name sits at offset 6
// of that block in 16 bytes, ended by a zero byte when it is shorter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/window_system.h"

namespace vantary::hostsim {

inline constexpr std::size_t kRecordNameBlockOffset = 24;
inline constexpr std::size_t kNameOffset = 6;
inline constexpr std::size_t kNameBytes = 16;

class MemberRecord {
 public:
  MemberRecord() = default;
  // Writes the record and its name block into memory another process can read. A name
  // longer than 16 bytes is cut; one of exactly 16 fills the field without a zero byte.
  MemberRecord(platform::WindowSystem& windows, std::string_view name);

  // The record's address, the list row's item data; 0 when the memory could not be had.
  std::uint32_t address() const;

 private:
  std::unique_ptr<platform::LowMemoryBlock> block_;
};

}  // namespace vantary::hostsim
