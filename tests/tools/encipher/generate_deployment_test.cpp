#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "common/text.h"
#include "tests/support/temp_folder.h"
#include "tools/encipher/encipher.h"

namespace korvane {
namespace {

// The build step that turns a deployment folder's addresses into enciphered constants.
class GenerateDeploymentTest : public testing::Test {
 protected:
  int Generate(const std::string& addresses, const std::string& probe_host, const std::string& texts = "") {
    Write("addresses.txt", addresses);
    Write("texts.txt", texts);
    Write("probe_host.txt", probe_host);
    std::string command = std::string(KORVANE_GENERATE_DEPLOYMENT_TOOL) + " '" + Path("addresses.txt") +
                          "' '" + Path("texts.txt") + "' '" + Path("probe_host.txt") + "' '" +
                          Path("out.cpp") + "' 2>/dev/null";
    return std::system(command.c_str());
  }
  std::string Generated() {
    std::ifstream in(Path("out.cpp"), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

 private:
  std::string Path(const char* name) { return (folder_.path() / name).string(); }
  void Write(const char* name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  testing_support::TempFolder folder_;
};

TEST_F(GenerateDeploymentTest, WritesKey1HexTextsOfTheGbkAddresses) {
  ASSERT_EQ(Generate("# comment\r\n\r\nControl = http://127.0.0.1:1/\r\nSite=http://x/" "\xE7\x89\x87/\n",
                     "localhost\n"),
            0);
  std::string source = Generated();
  EXPECT_NE(source.find("std::string_view Control() { return \"" +
                        tools::EncipherToHex(1, "http://127.0.0.1:1/") + "\"; }"),
            std::string::npos)
      << source;
  EXPECT_NE(source.find("std::string_view Site() { return \"" + tools::EncipherToHex(1, "http://x/片/") + "\"; }"),
            std::string::npos)
      << "the address is enciphered as GBK";
  EXPECT_NE(source.find("std::string_view ProbeHost() { return \"localhost\"; }"), std::string::npos);
  EXPECT_EQ(source.find("127.0.0.1"), std::string::npos) << "no plain address in the source";
}

// A text's bytes go in as escapes, so quotes, backslashes and GBK trail bytes pass unchanged.
TEST_F(GenerateDeploymentTest, WritesTextsAsTheirGbkBytes) {
  const Text text = "组件\"\\版本：1.0";  // GBK here, UTF-8 in the file
  ASSERT_EQ(Generate("A=http://x/\n", "localhost\n", "# comment\nRole = " + std::string(AsChars(GbkToUtf8(text))) + "\r\n"),
            0);
  std::string source = Generated();
  std::string expected;
  for (unsigned char byte : text) {
    expected += '\\';
    for (int shift : {6, 3, 0}) expected += static_cast<char>('0' + ((byte >> shift) & 7));
  }
  EXPECT_NE(source.find("std::string_view Role() { return \"" + expected + "\"; }"), std::string::npos)
      << source;
}

TEST_F(GenerateDeploymentTest, RefusesWhatCannotBecomeAConstant) {
  struct Case {
    const char* why;
    std::string addresses;
    std::string probe_host;
    std::string texts;
  } cases[] = {
      {"a line without NAME=", "http://x/\n", "localhost", ""},
      {"a name that is no identifier", "1st=http://x/\n", "localhost", ""},
      {"an address GBK cannot hold", "A=http://x/\xF0\x9F\x98\x80\n", "localhost", ""},
      {"no probe host", "A=http://x/\n", " \n", ""},
      {"a probe host that would break the source", "A=http://x/\n", "local\"host", ""},
      {"a text line without NAME=", "A=http://x/\n", "localhost", "role 1.0\n"},
      {"a text GBK cannot hold", "A=http://x/\n", "localhost", "T=\xF0\x9F\x98\x80\n"},
  };
  for (const Case& c : cases) EXPECT_NE(Generate(c.addresses, c.probe_host, c.texts), 0) << c.why;
}

}  // namespace
}  // namespace korvane
