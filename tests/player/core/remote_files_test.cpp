// The remote fetches on a scripted HTTP client: where each file is asked for and how its
// body becomes the held value.

#include "player/core/remote_files.h"

#include <gtest/gtest.h>

#include "platform/testing/scripted_http_client.h"
#include "tools/encipher/encipher.h"

namespace korvane::player {
namespace {

using namespace remote;

class RemoteFilesTest : public ::testing::Test {
 protected:
  RemoteFilesTest() {
    globals_.uid_base = remote_.MakeUidBase("U1");
    globals_.home_address = "http://home/site";  // no trailing "/": paths follow directly
  }
  platform::testing::ScriptedHttpClient http_;
  std::string control_ = tools::EncipherToHex(1, "http://c/");
  std::string uid_prefix_ = tools::EncipherToHex(1, "http://u/uid/");
  PlayerGlobals globals_;
  RemoteFiles remote_{http_, {control_, uid_prefix_, {}}, globals_};
};

TEST_F(RemoteFilesTest, EachBaseGivesItsAddress) {
  EXPECT_EQ(remote_.AddressOf(kHomeAddress), "http://u/uid/U1/zhuye.txt");
  EXPECT_EQ(remote_.AddressOf(kVersionFlag), "http://c/zongkong/ver/ver20121229.txt");
  EXPECT_EQ(remote_.AddressOf(kProviderName), "http://home/sitebox/js/ads/name.txt");
}

TEST_F(RemoteFilesTest, AKeyTwoFileIsDecipheredUpToItsFirstZeroByteAndHeld) {
  http_.Answer("http://c/zongkong/ads/adskg.txt", tools::EncipherToHex(2, "ok") + std::string(1, '\0') + "41");
  EXPECT_EQ(remote_.Fetch(kTextAdSwitch), "ok");
  EXPECT_EQ(globals_.text_ad_switch, "ok");
  // Fetched again with no answer: the held value is replaced by empty text.
  http_.Forget("http://c/zongkong/ads/adskg.txt");
  EXPECT_EQ(remote_.Fetch(kTextAdSwitch), "");
  EXPECT_EQ(globals_.text_ad_switch, "");
}

TEST_F(RemoteFilesTest, APlainFileIsItsBodyAsItStandsAnErrorPageIncluded) {
  http_.Answer("http://home/sitebox/js/ads/name.txt", "<html>404 未找到</html>\r\n");
  EXPECT_EQ(remote_.Fetch(kProviderName), "<html>404 未找到</html>\r\n");
  http_.Answer("http://home/sitebox/js/ads/wzkg.txt", std::string("开\0关", 5));
  EXPECT_EQ(remote_.Fetch(kTextAdBoxSwitch), "开");
}

TEST_F(RemoteFilesTest, AFileWithoutAHolderChangesNoGlobal) {
  globals_.exit_ad_page = "kept";
  http_.Answer("http://c/zongkong/ads/qvodad.txt", tools::EncipherToHex(2, "http://pause/"));
  EXPECT_EQ(remote_.Fetch(kPauseAdPage), "http://pause/");
  EXPECT_EQ(globals_.exit_ad_page, "kept");
}

// Every file is a control file: a body past the control file's size limit is no answer.
TEST_F(RemoteFilesTest, AFileLongerThanAControlFileMayBeIsNoAnswer) {
  const std::size_t limit = platform::kControlFileLimits.max_bytes;
  http_.Answer("http://home/sitebox/js/ads/name.txt", std::string(limit, 'n'));
  EXPECT_EQ(remote_.Fetch(kProviderName), std::string(limit, 'n'));
  http_.Answer("http://home/sitebox/js/ads/name.txt", std::string(limit + 1, 'n'));
  EXPECT_EQ(remote_.Fetch(kProviderName), "");
}

}  // namespace
}  // namespace korvane::player
