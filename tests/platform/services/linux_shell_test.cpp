#include "platform/services/linux_shell.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"
#include "tests/platform/services/fifo_reader.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;
using testing_support::MakeFifo;
using testing_support::ReadFifo;

// A program that reports its argument count, its arguments and its folder to `fifo`.
void WriteReporter(const fs::path& program, const fs::path& fifo) {
  ASSERT_TRUE(WriteFileAtomically(program, "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" + fifo.string() + "'\n"));
  ::chmod(program.c_str(), 0755);
}

class LinuxShellTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(MakeFifo(fifo_)); }

  testing_support::TempFolder folder_;
  fs::path fifo_ = folder_.path() / "report.fifo";
  std::unique_ptr<Shell> shell_ = CreateLinuxShell(ShellTools{.url_opener = (folder_.path() / "opener").string()});
};

TEST_F(LinuxShellTest, OpenStartsTheProgramItselfWithNoArguments) {
  const Text name = "\\my \xB8\xFC\xD0\xC2; touch injected.exe";  // "my 更新; touch injected.exe"
  WriteReporter(NativePath(CorePath(folder_.path()) + name), fifo_);
  EXPECT_TRUE(shell_->RunShellVerb("open", CorePath(folder_.path()) + name));
  EXPECT_EQ(ReadFifo(fifo_), "0|");
  EXPECT_FALSE(fs::exists(folder_.path() / "injected.exe"));
  EXPECT_FALSE(fs::exists(fs::current_path() / "injected.exe"));
}

TEST_F(LinuxShellTest, TheStartedProgramInheritsNoDescriptorBeyondTheStandardStreams) {
  int pipe_ends[2];
  ASSERT_EQ(::pipe(pipe_ends), 0);  // without close-on-exec, as a careless library opens one
  const fs::path program = folder_.path() / "Update";
  ASSERT_TRUE(WriteFileAtomically(program, "#!/bin/sh\nif [ -e /proc/$$/fd/" + std::to_string(pipe_ends[0]) +
                                               " ]; then echo kept; else echo closed; fi > '" + fifo_.string() +
                                               "'\n"));
  ::chmod(program.c_str(), 0755);
  EXPECT_TRUE(shell_->RunShellVerb("open", CorePath(program)));
  EXPECT_EQ(ReadFifo(fifo_), "closed\n");
  ::close(pipe_ends[0]);
  ::close(pipe_ends[1]);
}

TEST_F(LinuxShellTest, AWindowsProgramNameFindsTheProgramWithoutItsSuffix) {
  WriteReporter(folder_.path() / "Update", fifo_);
  EXPECT_TRUE(shell_->RunShellVerb("Open", CorePath(folder_.path()) + "\\Update.exe"));
  EXPECT_EQ(ReadFifo(fifo_), "0|");
}

TEST_F(LinuxShellTest, OtherVerbsAndFilesThatCannotRunStartNothing) {
  WriteReporter(folder_.path() / "Update.exe", fifo_);
  ASSERT_TRUE(WriteFileAtomically(folder_.path() / "data.txt", "not a program"));
  EXPECT_FALSE(shell_->RunShellVerb("print", CorePath(folder_.path()) + "\\Update.exe"));
  EXPECT_FALSE(shell_->RunShellVerb("open", CorePath(folder_.path()) + "\\data.txt"));
  EXPECT_FALSE(shell_->RunShellVerb("open", CorePath(folder_.path()) + "\\absent.exe"));
  EXPECT_FALSE(shell_->RunShellVerb("open", ""));
}

TEST_F(LinuxShellTest, OpenUrlHandsOnlyWebAndChatAddressesToTheDesktop) {
  WriteReporter(folder_.path() / "opener", fifo_);
  struct Case {
    Text address;
    bool opened;
    std::string argument;
  };
  const Case cases[] = {
      {"http://home.example/?soft", true, "http://home.example/?soft"},
      {"HTTPS://home.example/a b", true, "HTTPS://home.example/a%20b"},
      {"tencent://message/?uin=123&Site=\xC6\xAC&Menu=yes", true, "tencent://message/?uin=123&Site=%C6%AC&Menu=yes"},
      {"file:///etc/passwd", false, ""},
      {"javascript:alert(1)", false, ""},
      {"--help", false, ""},
      {"/usr/bin/xterm", false, ""},
      {"", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(shell_->OpenUrl(c.address), c.opened);
    if (c.opened) {
      EXPECT_EQ(ReadFifo(fifo_), "1|" + c.argument + "|");
    }
  }
}

pid_t StartSleeper(const fs::path& program) {
  std::string path = program.string();
  char seconds[] = "60";
  char* argv[] = {path.data(), seconds, nullptr};
  pid_t pid = 0;
  EXPECT_EQ(::posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ), 0);
  return pid;
}

bool Running(pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) == 0; }

TEST_F(LinuxShellTest, EndProcessByNameEndsExactMatchesOnly) {
  const char* names[] = {"QvodPlayer.exe", "QvodPlayer.exe.bak", "xQvodPlayer.exe", "qvodplayer.exe"};
  std::vector<pid_t> pids;
  for (const char* name : names) {
    fs::copy_file("/bin/sleep", folder_.path() / name);
    pids.push_back(StartSleeper(folder_.path() / name));
  }
  EXPECT_EQ(shell_->EndProcessByName("QvodPlayer.exe"), 1);
  int status = 0;
  ASSERT_EQ(::waitpid(pids[0], &status, 0), pids[0]);
  EXPECT_TRUE(WIFSIGNALED(status));
  for (std::size_t i = 1; i < pids.size(); ++i) {
    EXPECT_TRUE(Running(pids[i])) << names[i];
    ::kill(pids[i], SIGKILL);
    ::waitpid(pids[i], nullptr, 0);
  }
  EXPECT_EQ(shell_->EndProcessByName("QvodTerminal.exe"), 0);
  EXPECT_EQ(shell_->EndProcessByName(""), 0);

  fs::copy_file("/bin/sleep", folder_.path() / "QvodTerminal.exe");
  pid_t replaced = StartSleeper(folder_.path() / "QvodTerminal.exe");
  fs::remove(folder_.path() / "QvodTerminal.exe");
  EXPECT_EQ(shell_->EndProcessByName("QvodTerminal.exe"), 1) << "its file was removed while it runs";
  ASSERT_EQ(::waitpid(replaced, &status, 0), replaced);
  EXPECT_TRUE(WIFSIGNALED(status));
}

TEST_F(LinuxShellTest, TheProgramFileNameIsTheExecutablesName) {
  EXPECT_EQ(shell_->GetProgramFileName(), "platform_services_system_tests");
}

}  // namespace
}  // namespace korvane::platform
