// The demo operator's server over real HTTP: byte ranges as the updater's downloader
// needs them, GBK request paths, no way out of the served folder, nothing cached.

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <httplib.h>

#include "tests/support/temp_folder.h"
#include "tools/demo_server/site_server.h"

namespace korvane::tools {
namespace {

namespace fs = std::filesystem;

struct RangeCase {
  const char* path;
  const char* range;  // empty: no Range header
  int status;
  const char* content_range;  // empty: none expected
  const char* body;
};

class SiteServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(site_ / "update");
    std::ofstream(site_ / "update" / "a.zip", std::ios::binary) << "abcdefghij";
    std::ofstream(site_ / u8"说明.txt", std::ios::binary) << "gbk name";
    std::ofstream(temp_.path() / "outside.txt", std::ios::binary) << "not served";
    port_ = server_.Bind(0);
    ASSERT_GT(port_, 0);
    serving_ = std::thread([this] { server_.Serve(); });
  }
  void TearDown() override {
    server_.Stop();
    if (serving_.joinable()) serving_.join();
  }

  testing_support::TempFolder temp_;
  fs::path site_ = temp_.path() / "site";
  SiteServer server_{site_};
  int port_ = -1;
  std::thread serving_;
};

TEST_F(SiteServerTest, AnswersRangesPathsAndMissingFilesOnOneConnection) {
  const RangeCase cases[] = {
      {"/update/a.zip", "", 200, "", "abcdefghij"},
      {"/update/a.zip", "bytes=0-3", 206, "bytes 0-3/10", "abcd"},
      {"/update/a.zip", "bytes=8-20479", 206, "bytes 8-9/10", "ij"},  // the last block of a file
      {"/update/a.zip", "bytes=-3", 206, "bytes 7-9/10", "hij"},
      {"/update/a.zip", "bytes=10-20489", 416, "bytes */10", ""},  // a download already complete
      {"/update/a.zip", "bytes=9-9", 206, "bytes 9-9/10", "j"},
      {"/%CB%B5%C3%F7.txt", "", 200, "", "gbk name"},  // 说明.txt as the programs send it
      {"/update/missing.zip", "bytes=0-3", 404, "", "Not Found"},
      {"/update/../../outside.txt", "", 404, "", "Not Found"},
      {"/update", "", 404, "", "Not Found"},
  };
  httplib::Client client("127.0.0.1", port_);
  client.set_keep_alive(true);
  for (const RangeCase& test : cases) {
    SCOPED_TRACE(std::string(test.path) + " " + test.range);
    httplib::Headers headers;
    if (*test.range != '\0') headers.emplace("Range", test.range);
    httplib::Result answer = client.Get(test.path, headers);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, test.status);
    EXPECT_EQ(answer->get_header_value("Content-Range"), test.content_range);
    EXPECT_EQ(answer->body, test.body);
    EXPECT_EQ(answer->get_header_value("Cache-Control"), "no-store, no-cache");
  }
}

// A kept-alive answer must not wait for the client's delayed acknowledgement (about 40 ms
// when the head and the body leave in two writes under Nagle's algorithm). The bound is
// loose: a stall of that kind takes several times as long, a loaded machine does not.
TEST_F(SiteServerTest, KeptAliveRangedRequestsAreAnsweredWithoutAStall) {
  constexpr int kRequests = 300;
  constexpr std::size_t kBlock = 20480;
  std::ofstream(site_ / "update" / "big.zip", std::ios::binary)
      << std::string(kRequests * kBlock, 'x');
  httplib::Client client("127.0.0.1", port_);
  client.set_keep_alive(true);
  const auto start = std::chrono::steady_clock::now();
  for (int block = 0; block < kRequests; ++block) {
    const std::size_t first = static_cast<std::size_t>(block) * kBlock;
    httplib::Result answer = client.Get(
        "/update/big.zip",
        {{"Range", "bytes=" + std::to_string(first) + "-" + std::to_string(first + kBlock - 1)}});
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->status, 206);
    ASSERT_EQ(answer->body.size(), kBlock);
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::milliseconds(kRequests * 10))
      << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() << " ms";
}

TEST_F(SiteServerTest, APortInUseIsReported) {
  SiteServer second(site_);
  EXPECT_EQ(second.Bind(port_), -1);
}

}  // namespace
}  // namespace korvane::tools
