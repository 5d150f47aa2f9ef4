#include "deploy/deployment.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "common/cipher.h"

namespace korvane {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// NAME -> value as a file of the deployment folder states them (UTF-8 there).
std::map<std::string, std::string> StatedValues(const std::string& file) {
  std::map<std::string, std::string> values;
  std::istringstream lines(ReadFile(KORVANE_DEPLOY_DIR "/" + file));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto equals = line.find('=');
    if (line.empty() || line[0] == '#' || equals == std::string::npos) continue;
    values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return values;
}

std::map<std::string, std::string> StatedAddresses() { return StatedValues("addresses.txt"); }

struct BuiltInConstant {
  const char* name;
  std::string_view (*constant)();
};

constexpr BuiltInConstant kBuiltInAddresses[] = {
    {"PlayerControlBase", deploy::PlayerControlBase}, {"PlayerUidPrefix", deploy::PlayerUidPrefix},
    {"PlayerSiteAddress", deploy::PlayerSiteAddress}, {"PlayerChatPrefix", deploy::PlayerChatPrefix},
    {"UpdateControlBase", deploy::UpdateControlBase}, {"UpdateListFolder", deploy::UpdateListFolder},
};

TEST(Deployment, BuiltInAddressesAreKey1HexTextsOfTheStatedAddresses) {
  std::map<std::string, std::string> stated = StatedAddresses();
  for (const BuiltInConstant& address : kBuiltInAddresses) {
    SCOPED_TRACE(address.name);
    std::string_view hex = address.constant();
    EXPECT_EQ(hex.size() % 2, 0u);
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string_view::npos);
    ASSERT_TRUE(stated.count(address.name));
    EXPECT_EQ(DecipherHexTextKey1(hex), Utf8ToGbk(AsUtf8(stated[address.name])));
  }
}

TEST(Deployment, BuiltInTextsAreTheStatedTextsInGbk) {
  std::map<std::string, std::string> stated = StatedValues("texts.txt");
  for (const BuiltInConstant& text : {BuiltInConstant{"CompanionProgram1", deploy::CompanionProgram1},
                                      BuiltInConstant{"CompanionProgram2", deploy::CompanionProgram2}}) {
    SCOPED_TRACE(text.name);
    ASSERT_TRUE(stated.count(text.name));
    EXPECT_EQ(text.constant(), Utf8ToGbk(AsUtf8(stated[text.name])));
  }
}

TEST(Deployment, ProgramsHoldNoPlainAddress) {
  std::string program = ReadFile(KORVANE_UPDATE_PROGRAM);
  ASSERT_FALSE(program.empty());
  for (const auto& [name, address] : StatedAddresses()) {
    EXPECT_EQ(program.find(Utf8ToGbk(AsUtf8(address))), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace korvane
