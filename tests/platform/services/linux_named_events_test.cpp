#include "platform/services/linux_named_events.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace korvane::platform {
namespace {

// Names of this test process's own, so that a run beside another checkout's never meets it.
std::string Own(std::string name) { return name + "-" + std::to_string(::getpid()); }

TEST(LinuxNamedEvents, AnEventIsFoundWhileItsHolderHoldsIt) {
  auto events = CreateLinuxNamedEvents();
  const std::string name = Own("http://home.example/\xD6\xF7\xD2\xB3/");  // GBK bytes in the name
  EXPECT_FALSE(events->OpenNamedEvent(name));
  {
    auto held = events->CreateNamedEvent(name);
    EXPECT_TRUE(held->HoldsName());
    EXPECT_FALSE(events->CreateNamedEvent(name)->HoldsName()) << "a second object holds nothing";
    EXPECT_TRUE(events->OpenNamedEvent(name));
    EXPECT_FALSE(events->OpenNamedEvent(Own("http://home.example/")));
    EXPECT_FALSE(events->OpenNamedEvent(Own("HTTP://home.example/\xD6\xF7\xD2\xB3/"))) << "names are case-sensitive";
  }
  EXPECT_FALSE(events->OpenNamedEvent(name));
}

TEST(LinuxNamedEvents, AnEmptyNameIsNeverFound) {
  auto events = CreateLinuxNamedEvents();
  auto held = events->CreateNamedEvent("");
  ASSERT_NE(held, nullptr);
  EXPECT_FALSE(held->HoldsName());
  EXPECT_FALSE(events->OpenNamedEvent(""));
}

TEST(LinuxNamedEvents, LongNamesAreDistinctToTheirLastByte) {
  auto events = CreateLinuxNamedEvents();
  const std::string base = Own(std::string(500, 'a'));
  auto held = events->CreateNamedEvent(base + "1");
  EXPECT_TRUE(events->OpenNamedEvent(base + "1"));
  EXPECT_FALSE(events->OpenNamedEvent(base + "2"));
  EXPECT_FALSE(events->OpenNamedEvent(base));
}

// Scopes that must stay apart: none (real use), short ones, one that is a prefix of
// another, and one so long that the name is hashed.
TEST(LinuxNamedEvents, EachScopeHoldsItsNamesApartAndStillRefusesASecondHolder) {
  const std::vector<std::string> scopes = {"", "run-1", "run-12", "run-1=x", std::string(300, 's')};
  for (const std::string& name : {Own("http://home.example/"), Own(std::string(300, 'n'))}) {
    for (const std::string& scope : scopes) {
      SCOPED_TRACE("scope of " + std::to_string(scope.size()) + " bytes, name of " + std::to_string(name.size()));
      auto events = CreateLinuxNamedEvents(scope);
      auto held = events->CreateNamedEvent(name);
      ASSERT_TRUE(held->HoldsName());
      EXPECT_TRUE(events->OpenNamedEvent(name));
      EXPECT_TRUE(CreateLinuxNamedEvents(scope)->OpenNamedEvent(name)) << "the same scope in another start";
      EXPECT_FALSE(events->CreateNamedEvent(name)->HoldsName()) << "one scope still refuses a second";
      for (const std::string& other : scopes) {
        if (other == scope) continue;
        EXPECT_FALSE(CreateLinuxNamedEvents(other)->OpenNamedEvent(name)) << other.size();
      }
    }
  }
  // A scope and a name never run into another scope's name.
  auto held = CreateLinuxNamedEvents(Own("run"))->CreateNamedEvent("=x");
  ASSERT_TRUE(held->HoldsName());
  EXPECT_FALSE(CreateLinuxNamedEvents(Own("run") + "=")->OpenNamedEvent("x"));
}

TEST(LinuxNamedEvents, ASecondStartFindsTheFirstUntilItIsKilled) {
  const std::string name = "http://home.example/single-" + std::to_string(::getpid()) + "/";
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t first = ::fork();
  ASSERT_GE(first, 0);
  if (first == 0) {
    auto held = CreateLinuxNamedEvents()->CreateNamedEvent(name);
    char byte = 1;
    if (::write(ready[1], &byte, 1) != 1) ::_exit(2);
    for (;;) ::pause();
  }
  ::close(ready[1]);
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  ::close(ready[0]);

  auto events = CreateLinuxNamedEvents();
  EXPECT_TRUE(events->OpenNamedEvent(name));
  ::kill(first, SIGKILL);
  ASSERT_EQ(::waitpid(first, nullptr, 0), first);
  EXPECT_FALSE(events->OpenNamedEvent(name));
  auto mine = events->CreateNamedEvent(name);
  EXPECT_TRUE(events->OpenNamedEvent(name)) << "the name is free for the next start";
}

}  // namespace
}  // namespace korvane::platform
