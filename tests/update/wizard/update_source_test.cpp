#include "update/wizard/update_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/path_map.h"
#include "platform/core/profile.h"
#include "platform/testing/scripted_http_client.h"
#include "tests/support/temp_folder.h"
#include "tools/encipher/encipher.h"

namespace korvane::update {
namespace {

constexpr const char* kControlBase = "http://control.test/";
constexpr const char* kListFolder = "http://lists.test/update/";

class UpdateSourceTest : public ::testing::Test {
 protected:
  UpdateSourceTest()
      : control_base_(tools::EncipherToHex(1, kControlBase)),
        list_folder_(tools::EncipherToHex(1, kListFolder)),
        folder_(platform::CorePath(temp_.path())) {}

  void WriteInstallationId(std::string_view id) {
    ASSERT_TRUE(platform::WriteIniValue(folder_ + "\\Config.ini", "Config", "UID",
                                        tools::EncipherToHex(3, id)));
  }
  void ServeSwitch(std::string hex) {
    http_.Answer(std::string(kControlBase) + "zongkong/update/updatekg.txt", std::move(hex));
  }
  UpdateSource Choose() {
    return ChooseUpdateSourceFrom(http_, {control_base_, list_folder_}, folder_);
  }

  std::string control_base_;
  std::string list_folder_;
  testing_support::TempFolder temp_;
  Text folder_;
  platform::testing::ScriptedHttpClient http_;
};

TEST_F(UpdateSourceTest, SwitchOneTakesTheBuiltInFolderAndStillFetchesTheHomeAddress) {
  WriteInstallationId("A1B2");
  ServeSwitch(tools::EncipherToHex(2, "1"));
  http_.Answer("http://control.test/uid/A1B2/zhuye.txt", tools::EncipherToHex(2, "http://home.test/"));
  UpdateSource source = Choose();
  EXPECT_EQ(source.installation_id, "A1B2");
  EXPECT_EQ(source.uid_base, "http://control.test/uid/A1B2/");
  EXPECT_EQ(source.home_address, "http://home.test/");
  ASSERT_TRUE(source.update_base);
  EXPECT_EQ(*source.update_base, kListFolder);
  EXPECT_EQ(http_.fetched(), (std::vector<std::string>{
                             "http://control.test/zongkong/update/updatekg.txt",
                             "http://control.test/uid/A1B2/zhuye.txt"}));
}

TEST_F(UpdateSourceTest, SwitchTwoTakesTheHomeAddress) {
  WriteInstallationId("A1B2");
  ServeSwitch(tools::EncipherToHex(2, "2"));
  http_.Answer("http://control.test/uid/A1B2/zhuye.txt", tools::EncipherToHex(2, "http://home.test/"));
  UpdateSource source = Choose();
  ASSERT_TRUE(source.update_base);
  EXPECT_EQ(*source.update_base, "http://home.test/playercenter/update/");
}

TEST_F(UpdateSourceTest, WithoutConfigTheUidBaseHasNothingBetweenItsSlashes) {
  ServeSwitch(tools::EncipherToHex(2, "1"));
  UpdateSource source = Choose();
  EXPECT_EQ(source.uid_base, "http://control.test/uid//");
  EXPECT_TRUE(source.update_base);
}

// Any switch text but exactly "1" or "2" names no source; both fetches are made anyway.
TEST_F(UpdateSourceTest, OtherSwitchTextsNameNoSource) {
  const std::vector<std::string> switch_files = {
      "",  // no answer
      tools::EncipherToHex(2, "0"),
      tools::EncipherToHex(2, "3"),
      tools::EncipherToHex(2, " 1"),
      tools::EncipherToHex(2, "1 "),
      tools::EncipherToHex(2, "ok"),
      tools::EncipherToHex(2, "1") + "\r\n",  // one more byte after deciphering
      "<html>404</html>",
  };
  for (const std::string& file : switch_files) {
    SCOPED_TRACE(file);
    ServeSwitch(file);
    const std::size_t fetched_before = http_.fetched().size();
    UpdateSource source = Choose();
    EXPECT_FALSE(source.update_base);
    EXPECT_EQ(http_.fetched().size() - fetched_before, 2u);
  }
}

TEST_F(UpdateSourceTest, ASwitchFileEndingInOneLineFeedStillMatches) {
  ServeSwitch(tools::EncipherToHex(2, "2") + "\n");
  http_.Answer("http://control.test/uid//zhuye.txt", tools::EncipherToHex(2, "http://h/"));
  UpdateSource source = Choose();
  ASSERT_TRUE(source.update_base);
  EXPECT_EQ(*source.update_base, "http://h/playercenter/update/");
}

}  // namespace
}  // namespace korvane::update
