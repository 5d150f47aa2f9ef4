// Every desktop test runs on an X server of its own (platform/testing/virtual_display.h),
// started once for the test program.

#include <optional>
#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/testing/virtual_display.h"

namespace {

class VirtualDisplayEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    try {
      display_.emplace();
    } catch (const std::runtime_error& error) {
      FAIL() << error.what();
    }
  }
  void TearDown() override { display_.reset(); }

 private:
  std::optional<korvane::platform::testing::VirtualDisplay> display_;
};

[[maybe_unused]] ::testing::Environment* const kDisplay =
    ::testing::AddGlobalTestEnvironment(new VirtualDisplayEnvironment);

}  // namespace
