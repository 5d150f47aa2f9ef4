#pragma once
// A headless program on virtual time over the sample layouts, with every handler the
// samples name bound to nothing until a test binds its own.

#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/headless_backend.h"
#include "platform/ui/program.h"
#include "platform/ui/script.h"

namespace korvane::embedded {
std::span<const platform::ui::ResourceFile> UiTestSamples();
}

namespace korvane::platform::ui::testing {

class HeadlessProgramTest : public ::testing::Test {
 protected:
  HeadlessProgramTest() {
    for (const char* name : {"OnStartCreated", "OnCloseClicked", "OnTenSeconds", "OnFifteenSeconds",
                             "OnDialogCreated", "OnOpenClicked"}) {
      program_.BindHandler(name, [](const Event&) {});
    }
    backend_.SetDriver(&script_);
  }

  // Runs the program with `start` as its start code and returns the exit code.
  int RunProgram(const std::function<void()>& start) { return program_.Run(start); }

  VirtualTimebase time_;
  HeadlessBackend backend_{time_, nullptr};
  ResourceBundle resources_{korvane::embedded::UiTestSamples()};
  Program program_{backend_, resources_};
  Script script_;
  std::vector<std::string> trace_;
};

}  // namespace korvane::platform::ui::testing
