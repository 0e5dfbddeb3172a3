// The fixture the contract cases share: a backend per test, class names unique to the
// test, windows that record what they receive, and clean-up of every window made.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "tests/contract/backend.h"

namespace vantary::contract {

using platform::BaseKind;
using platform::LParam;
using platform::LResult;
using platform::Message;
using platform::Rect;
using platform::Text;
using platform::Window;
using platform::WindowStyle;
using platform::WParam;
namespace msg = platform::msg;

struct Received {
  Window window;
  Message message;
};

class ContractTest : public ::testing::Test {
 protected:
  void SetUp() override { backend_ = MakeContractBackend(); }

  void TearDown() override {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
      if (it->first->exists(it->second)) it->first->destroy(it->second);
    }
    made_.clear();
    loop().pump();
  }

  platform::Platform& p() { return backend_->platform(); }
  platform::WindowSystem& ws() { return p().windows; }
  platform::EventLoop& loop() { return p().loop; }

  // A class name no other test (or earlier run on a real system) uses.
  Text uniqueClass(std::string_view tag) const {
    return Text(backend_->name()) + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
           "_" + Text(tag);
  }

  // Registers a class on `base` whose windows record every message into received_ and
  // otherwise behave as the base.
  Text recordingClass(std::string_view tag, BaseKind base = BaseKind::kPlain,
                      platform::Platform* in = nullptr) {
    platform::WindowSystem& system = in != nullptr ? in->windows : ws();
    const Text name = uniqueClass(tag);
    platform::ClassSpec cls;
    cls.name = name;
    cls.base = base;
    cls.handler = [this, &system](Window w, const Message& m) -> LResult {
      received_.push_back(Received{w, m});
      return system.callDefault(w, m);
    };
    EXPECT_TRUE(system.registerClass(cls));
    return name;
  }

  // A borderless top-level window (so its client area is its window rectangle), hidden
  // unless the style says otherwise.
  Window topLevel(const Text& cls, const Text& caption = {}, WindowStyle style = {},
                  platform::Platform* in = nullptr) {
    style.popup = true;
    return make(in,
                platform::WindowSpec{cls, caption, style, Window{}, Rect{100, 100, 500, 400}, 0, Window{}});
  }

  Window child(Window parent, const Text& cls, const Text& caption = {}, int id = 0, WindowStyle style = {},
               Rect rect = Rect{0, 0, 120, 30}, platform::Platform* in = nullptr) {
    style.child = true;
    style.visible = true;
    return make(in, platform::WindowSpec{cls, caption, style, parent, rect, id, Window{}});
  }

  Window make(platform::Platform* in, const platform::WindowSpec& desc) {
    platform::WindowSystem& system = in != nullptr ? in->windows : ws();
    const Window w = system.create(desc);
    EXPECT_TRUE(w) << "creating a window of class " << desc.className;
    if (w && !desc.parent) made_.emplace_back(&system, w);
    return w;
  }

  // The WM_COMMAND notifications that reached `parent`, as (control id, code) pairs.
  std::vector<std::pair<int, int>> commandsTo(Window parent) const {
    std::vector<std::pair<int, int>> out;
    for (const Received& r : received_) {
      if (r.window == parent && r.message.id == msg::kCommand) {
        out.emplace_back(platform::LowWord(r.message.wParam), platform::HighWord(r.message.wParam));
      }
    }
    return out;
  }

  // The ids of the messages `window` received in [from, to).
  std::vector<std::uint32_t> idsTo(Window window, std::uint32_t from, std::uint32_t to) const {
    std::vector<std::uint32_t> out;
    for (const Received& r : received_) {
      if (r.window == window && r.message.id >= from && r.message.id < to) out.push_back(r.message.id);
    }
    return out;
  }

  std::unique_ptr<ContractBackend> backend_;
  std::vector<Received> received_;
  std::vector<std::pair<platform::WindowSystem*, Window>> made_;
};

}  // namespace vantary::contract
