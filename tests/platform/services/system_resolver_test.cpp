#include "platform/services/system_resolver.h"

#include <gtest/gtest.h>

namespace korvane::platform {
namespace {

TEST(SystemResolver, GivesTheFirstIpv4AddressAsDottedText) {
  auto resolver = CreateSystemNameResolver();
  EXPECT_EQ(resolver->HostNameToIp("localhost"), "127.0.0.1");
  EXPECT_EQ(resolver->HostNameToIp("127.0.0.1"), "127.0.0.1");
  EXPECT_EQ(resolver->HostNameToIp(std::string("localhost\0.example", 18)), "") << "not localhost";
  EXPECT_EQ(resolver->HostNameToIp(""), "");
}

}  // namespace
}  // namespace korvane::platform
