// The host access library against a host that answers, but slowly: every question it is
// asked is answered just inside the bound of a single message, so only an overall bound
// keeps a series of them from holding the program for hours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/stand_in_windows.h"
#include "tests/world/host_fixture.h"

namespace vantary::host::testing {
namespace {

using platform::BaseKind;
using platform::LParam;
using platform::LResult;
using platform::Message;
using platform::WParam;

// A third process with a rich room of its own in front of the host's rooms: `rows` rows
// in its people list, the member `name` at row `memberRow` (the other rows point at
// nothing readable), and a list that takes `answerMs` over each row's record, as a host
// busy with a server round trip does.
class SlowRoom {
 public:
  SlowRoom(HostFixture& f, int rows, int memberRow, const std::string& name, std::uint32_t answerMs)
      : process_(f.world.addProcess("slow")) {
    auto& ws = process_.platform().windows;
    auto& loop = process_.platform().loop;
    const vantary::testing::HostClass classes[] = {{"AOL Child", BaseKind::kMdiChild},
                                                   {"RICHCNTL", BaseKind::kEdit},
                                                   {"_AOL_Combobox", BaseKind::kPlain},
                                                   {"_AOL_Icon", BaseKind::kPlain},
                                                   {"_AOL_Static", BaseKind::kStatic}};
    vantary::testing::RegisterClasses(ws, classes);
    platform::ClassSpec list;
    list.name = "_AOL_Listbox";
    list.base = BaseKind::kListBox;
    list.handler = [&ws, &loop, answerMs](platform::Window w, const Message& m) -> LResult {
      if (m.id == msg::kLbGetItemData && answerMs > 0) loop.pause(answerMs / 1000.0);
      return ws.callDefault(w, m);
    };
    ws.registerClass(list);

    const platform::Window room = make("AOL Child", "Slow Room", f.host.mdiClient());
    for (const char* cls : {"RICHCNTL", "RICHCNTL", "_AOL_Combobox", "_AOL_Icon", "_AOL_Static"})
      make(cls, "", room);
    people_ = make("_AOL_Listbox", "", room);

    // The member's record points at a name block holding the name at offset 6.
    record_ = ws.allocateLowMemory(28);
    block_ = ws.allocateLowMemory(22);
    const std::uint32_t at = block_->address();
    for (int i = 0; i < 4; ++i)
      record_->bytes()[24 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(at >> (8 * i));
    std::copy(name.begin(), name.end(), block_->bytes().begin() + 6);
    for (int row = 0; row < rows; ++row) {
      const auto added = ws.send(people_, msg::kLbAddString, 0, reinterpret_cast<LParam>("member"));
      const std::uint32_t data = row == memberRow ? record_->address() : 0x10;
      ws.send(people_, msg::kLbSetItemData, static_cast<WParam>(*added), static_cast<LParam>(data));
    }
  }

  platform::Window people() const { return people_; }

 private:
  platform::Window make(const char* className, const std::string& caption, platform::Window parent) {
    return vantary::testing::MakeWindow(process_.platform().windows, className, caption, parent);
  }

  platform::sim::SimProcess& process_;
  platform::Window people_;
  std::unique_ptr<platform::LowMemoryBlock> record_;
  std::unique_ptr<platform::LowMemoryBlock> block_;
};

// A thousand rows each answered in 1.9 s would take over half an hour; the scan gives up
// within seconds, while a healthy list is read to its last row.
TEST(HostileHost, MemberScanOfASlowListEndsWithinItsOverallBound) {
  struct Case {
    const char* what;
    int memberRow;
    std::uint32_t answerMs;
    bool found;
  };
  const Case cases[] = {
      {"near the top of a slow list", 1, 1900, true},
      {"at the end of a slow list", 999, 1900, false},
      {"at the end of a quick list", 999, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Appended: GCC 12 at -O3 warns falsely (-Wrestrict) on a short literal put before a string.
    HostFixture f(Generation::k5, std::string("-").append(std::to_string(&c - cases)));
    f.signOnInRoom("Joe");
    SlowRoom slow(f, 1000, c.memberRow, "Ann", c.answerMs);
    ASSERT_EQ(f.ws().firstChild(f.lib.FindRichChatRoom(), "_AOL_Listbox"), slow.people());
    auto& loop = f.program().loop;
    const std::uint64_t start = loop.nowMs();
    const std::optional<RoomMember> found = f.lib.FindRoomMember("ann");
    EXPECT_LE(loop.nowMs() - start, 10'000u);
    ASSERT_EQ(found.has_value(), c.found);
    if (found) {
      EXPECT_EQ(found->index, c.memberRow);
      EXPECT_EQ(found->name, "Ann");
    }
  }
}

}  // namespace
}  // namespace vantary::host::testing
