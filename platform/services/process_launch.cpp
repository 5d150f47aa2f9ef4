#include "platform/services/process_launch.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

extern char** environ;

namespace korvane::platform {
namespace {

std::optional<pid_t> Spawn(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  // The new program gets the standard streams and nothing else of ours: a descriptor
  // that it kept open (a lock, the single-instance socket) would outlive this process.
  posix_spawn_file_actions_t actions;
  if (::posix_spawn_file_actions_init(&actions) != 0) return std::nullopt;
  ::posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  pid_t pid = 0;
  // posix_spawnp reports a program that cannot be executed as an error, not as a child
  // that exits at once.
  int failed = ::posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return std::nullopt;
  return pid;
}

}  // namespace

bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
  std::optional<pid_t> pid = Spawn(program, arguments);
  if (!pid) return false;
  std::thread([child = *pid] {
    int status = 0;
    ::waitpid(child, &status, 0);
  }).detach();
  return true;
}

std::optional<int> RunAndWait(const std::string& program, const std::vector<std::string>& arguments) {
  std::optional<pid_t> pid = Spawn(program, arguments);
  if (!pid) return std::nullopt;
  int status = 0;
  if (::waitpid(*pid, &status, 0) != *pid || !WIFEXITED(status)) return std::nullopt;
  return WEXITSTATUS(status);
}

}  // namespace korvane::platform
