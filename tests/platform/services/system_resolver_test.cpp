#include "platform/services/system_resolver.h"

#include <cstdlib>

#include <gtest/gtest.h>

namespace korvane::platform {
namespace {

TEST(SystemResolver, GivesTheFirstIpv4AddressAsDottedText) {
  auto resolver = CreateSystemNameResolver();
  EXPECT_EQ(resolver->HostNameToIp("localhost"), "127.0.0.1");
  EXPECT_EQ(resolver->HostNameToIp("127.0.0.1"), "127.0.0.1");
  EXPECT_EQ(resolver->HostNameToIp(std::string("localhost\0.example", 18)), "") << "not localhost";
}

// Names that only a name server could answer are left out: tests send nothing off this
// machine.
TEST(SystemResolver, TheOfflineSwitchMakesEveryNameUnresolvable) {
  auto resolver = CreateSystemNameResolver();
  EXPECT_EQ(resolver->HostNameToIp(""), "");
  ::setenv(kOfflineVariable, "1", 1);
  EXPECT_EQ(resolver->HostNameToIp("localhost"), "");
  ::setenv(kOfflineVariable, "0", 1);
  EXPECT_EQ(resolver->HostNameToIp("localhost"), "127.0.0.1");
  ::unsetenv(kOfflineVariable);
}

}  // namespace
}  // namespace korvane::platform
