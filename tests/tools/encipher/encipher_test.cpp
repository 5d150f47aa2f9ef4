#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/cipher.h"

namespace korvane {
namespace {

// Runs the operator's tool as an operator would and returns what it prints.
std::string RunTool(const std::string& arguments, const std::string& input = "") {
  std::string command = std::string("printf '%s' '") + input + "' | " KORVANE_ENCIPHER_TOOL " " + arguments;
  FILE* pipe = ::popen(command.c_str(), "r");
  std::string out;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  EXPECT_EQ(::pclose(pipe), 0) << command;
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

TEST(EncipherTool, RoundTripsWithEachKey) {
  using Decipher = Text (*)(std::string_view);
  const Decipher deciphers[] = {DecipherHexTextKey1, DecipherHexTextKey2, DecipherHexTextKey3};
  for (int key = 1; key <= 3; ++key) {
    SCOPED_TRACE(key);
    // The argument is UTF-8 on the command line and enciphered as GBK.
    std::string hex = RunTool(std::to_string(key) + " '" + reinterpret_cast<const char*>(u8"开") + "'");
    EXPECT_EQ(hex.size(), 4u);
    EXPECT_EQ(deciphers[key - 1](hex), "开");
    EXPECT_EQ(deciphers[key - 1](RunTool(std::to_string(key), "http://h/a b")), "http://h/a b");
  }
}

TEST(EncipherTool, RefusesABadKeyAndTextGbkCannotHold) {
  const std::vector<std::string> bad_arguments = {
      "4 x", "0 x", "12 x", "", "1 'a\xF0\x9F\x98\x80'" /* an emoji: no GBK form */};
  for (const std::string& arguments : bad_arguments) {
    std::string command = KORVANE_ENCIPHER_TOOL " " + arguments + " 2>/dev/null </dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[256];
    EXPECT_EQ(std::fgets(buffer, sizeof buffer, pipe), nullptr) << arguments << ": prints nothing";
    EXPECT_NE(::pclose(pipe), 0) << arguments;
  }
}

}  // namespace
}  // namespace korvane
