// What the two programs of the smoke test agree on: the owner's class and caption, its
// controls, and the messages the driver asks it with.
#pragma once

#include <cstdint>

#include "platform/messages.h"

namespace vantary::smoke {

inline constexpr char kOwnerClass[] = "VantarySmokeOwner";
inline constexpr char kOwnerCaption[] = "vantary smoke owner";
inline constexpr char kEditCaption[] = "edit caption";
inline constexpr char kEditContents[] = "owner contents";
inline constexpr char kMemberName[] = "SmokeMember";
inline constexpr char kQuestionTitle[] = "smoke question";

inline constexpr int kEditId = 101;
inline constexpr int kListId = 102;
inline constexpr int kButtonId = 103;
inline constexpr int kCheckId = 104;
inline constexpr int kLabelId = 105;
inline constexpr int kSmokeCommand = 4242;
inline constexpr int kMenuOpen = 201;
inline constexpr int kMenuExit = 202;

// A member record as the list box's item data points at it: the 32-bit address of a name
// block at offset 24; the name at offset 6 of the name block, ended by a zero byte.
inline constexpr std::uint32_t kRecordNameOffset = 24;
inline constexpr std::uint32_t kNameBlockAt = 128;  // where the owner puts the name block
inline constexpr std::uint32_t kNameOffset = 6;
inline constexpr int kMemberRow = 1;

// Sent by the driver: wParam is a Counter, the answer its count.
inline constexpr std::uint32_t kQueryCount = platform::msg::kApp + 1;
// Posted by the driver: the owner shows a yes/no message box titled kQuestionTitle.
inline constexpr std::uint32_t kAskQuestion = platform::msg::kApp + 2;

enum Counter : std::uintptr_t {
  kButtonClicks,
  kCheckClicks,
  kCommands,
  kTimerTicks,
  kYesAnswers,
  kMenuReadBack,  // 1 when the owner read its own menu bar back as built
  kEditChanges,
  kCounterCount
};

// How long the owner lives at most when nobody closes it.
inline constexpr std::uint32_t kOwnerLifeMs = 90000;

}  // namespace vantary::smoke
