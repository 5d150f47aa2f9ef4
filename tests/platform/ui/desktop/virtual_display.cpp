// Every desktop test runs on an X server of its own, started once for the test program:
// Xvfb chooses a free display number itself (-displayfd), so parallel test programs
// never race for one, and no test window reaches the developer's desktop.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

extern char** environ;

namespace {

class VirtualDisplay final : public ::testing::Environment {
 public:
  void SetUp() override {
    int pipe_ends[2];
    ASSERT_EQ(::pipe(pipe_ends), 0);
    const std::string fd = std::to_string(pipe_ends[1]);
    // -displayfd tries display numbers until one is free; its notes on taken ones are noise.
    const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                          nullptr};
    const int started = ::posix_spawnp(&server_, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ);
    ::close(pipe_ends[1]);
    ASSERT_EQ(started, 0) << "cannot start Xvfb (Debian package xvfb)";
    std::string number;
    char byte = 0;
    while (::read(pipe_ends[0], &byte, 1) == 1 && byte != '\n') number += byte;
    ::close(pipe_ends[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not report its display";
    ::setenv("DISPLAY", (":" + number).c_str(), 1);
    ::setenv("NO_AT_BRIDGE", "1", 1);  // no accessibility bus on the test server
  }

  void TearDown() override {
    if (server_ <= 0) return;
    ::kill(server_, SIGTERM);
    ::waitpid(server_, nullptr, 0);
  }

 private:
  pid_t server_ = 0;
};

[[maybe_unused]] ::testing::Environment* const kDisplay = ::testing::AddGlobalTestEnvironment(new VirtualDisplay);

}  // namespace
