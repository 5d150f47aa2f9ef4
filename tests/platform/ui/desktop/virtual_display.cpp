// Every desktop test runs on an X server of its own, started once for the test program:
// Xvfb chooses a free display number itself (-displayfd), so parallel test programs
// never race for one, and no test window reaches the developer's desktop.

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

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
    server_ = ::fork();
    if (server_ == 0) {
      // The server goes with the test program, also when that one dies without tearing down.
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);
      ::execvp("Xvfb", const_cast<char**>(argv));
      ::_exit(127);
    }
    ::close(pipe_ends[1]);
    ASSERT_GT(server_, 0) << "cannot start Xvfb";
    std::string number;
    char byte = 0;
    while (::read(pipe_ends[0], &byte, 1) == 1 && byte != '\n') number += byte;
    ::close(pipe_ends[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start or report its display (Debian package xvfb)";
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
