// The demo operator's server over real HTTP: byte ranges as the updater's downloader and
// the player's engine need them, GBK request paths, pages and media by their type, a
// folder by its index page, no way out of the served folder, nothing cached.

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

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
  const char* type;  // Content-Type; empty: not checked
};

class SiteServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(site_ / "update");
    std::ofstream(site_ / "update" / "a.zip", std::ios::binary) << "abcdefghij";
    std::ofstream(site_ / u8"说明.txt", std::ios::binary) << "gbk name";
    std::ofstream(temp_.path() / "outside.txt", std::ios::binary) << "not served";
    fs::create_directories(site_ / "site" / "pianku");
    std::ofstream(site_ / "site" / "pianku" / "index.html", std::ios::binary) << "<p>\xC6\xAC</p>";
    std::ofstream(site_ / "site" / "pianku" / "a.html", std::ios::binary) << "title";
    std::ofstream(site_ / "site" / "p.png", std::ios::binary) << "PNG";
    fs::create_directories(site_ / "site" / "media");
    std::ofstream(site_ / "site" / "media" / "1.mp4", std::ios::binary) << "0123456789";
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
      {"/update/a.zip", "", 200, "", "abcdefghij", "application/octet-stream"},
      {"/update/a.zip", "bytes=0-3", 206, "bytes 0-3/10", "abcd", "application/octet-stream"},
      {"/update/a.zip", "bytes=8-20479", 206, "bytes 8-9/10", "ij", ""},  // the last block of a file
      {"/update/a.zip", "bytes=-3", 206, "bytes 7-9/10", "hij", ""},
      {"/update/a.zip", "bytes=10-20489", 416, "bytes */10", "", ""},  // a download already complete
      {"/update/a.zip", "bytes=9-9", 206, "bytes 9-9/10", "j", ""},
      {"/%CB%B5%C3%F7.txt", "", 200, "", "gbk name", "text/plain"},  // 说明.txt as the programs send it
      {"/update/missing.zip", "bytes=0-3", 404, "", "Not Found", ""},
      {"/update/../../outside.txt", "", 404, "", "Not Found", ""},
      {"/update", "", 404, "", "Not Found", ""},  // a folder without an index page
      // A catalogue's folder address, a title page with its query, a poster, a clip that
      // the engine opens from its start and then seeks in.
      {"/site/pianku/", "", 200, "", "<p>\xC6\xAC</p>", "text/html; charset=GBK"},
      {"/site/pianku", "", 200, "", "<p>\xC6\xAC</p>", "text/html; charset=GBK"},
      {"/site/pianku/a.html?id=1&type=dianying", "", 200, "", "title", "text/html; charset=GBK"},
      {"/site/p.png", "", 200, "", "PNG", "image/png"},
      {"/site/media/1.mp4", "bytes=0-", 206, "bytes 0-9/10", "0123456789", "video/mp4"},
      {"/site/media/1.mp4", "bytes=6-", 206, "bytes 6-9/10", "6789", "video/mp4"},
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
    if (*test.type != '\0') {
      EXPECT_EQ(answer->get_header_value("Content-Type"), test.type);
    }
    if (test.status / 100 == 2) {
      EXPECT_EQ(answer->get_header_value("Accept-Ranges"), "bytes");
    }
  }
}

TEST(SiteServerLogTest, ReportsEachRequestAsSentWithItsStatus) {
  testing_support::TempFolder temp;
  fs::create_directories(temp.path() / "site");
  std::ofstream(temp.path() / "site" / "a.html", std::ios::binary) << "a";
  SiteServer server(temp.path());
  std::mutex guard;
  std::vector<std::pair<std::string, int>> logged;
  server.SetRequestLog([&](const std::string& target, int status) {
    std::lock_guard lock(guard);
    logged.emplace_back(target, status);
  });
  const int port = server.Bind(0);
  ASSERT_GT(port, 0);
  std::thread serving([&] { server.Serve(); });
  httplib::Client client("127.0.0.1", port);
  ASSERT_TRUE(client.Get("/site/a.html?id=1&type=x"));
  ASSERT_TRUE(client.Get("/%CB%B5.txt"));
  server.Stop();
  serving.join();
  const std::vector<std::pair<std::string, int>> expected = {{"/site/a.html?id=1&type=x", 200},
                                                             {"/%CB%B5.txt", 404}};
  EXPECT_EQ(logged, expected);
}

// The server's side of every connection made to `port` in this process: the sockets
// bound to it that have a peer (the listener has none).
std::vector<int> AcceptedSockets(int port) {
  std::vector<int> sockets;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd")) {
    const int fd = std::atoi(entry.path().filename().c_str());
    sockaddr_in own{}, peer{};
    socklen_t own_size = sizeof own, peer_size = sizeof peer;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&own), &own_size) != 0 || own.sin_family != AF_INET ||
        ntohs(own.sin_port) != port || ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peer_size) != 0) {
      continue;
    }
    sockets.push_back(fd);
  }
  return sockets;
}

// One kept-alive connection carries every block of a download. httplib writes an
// answer's head and body apart: under Nagle's algorithm the body's last segment would
// wait for the client's delayed acknowledgement, about 40 ms a block, so the server's
// side of each connection must send at once (TCP_NODELAY).
TEST_F(SiteServerTest, KeptAliveRangedRequestsAreAnsweredWithoutWaitingForAnAcknowledgement) {
  constexpr int kRequests = 300;
  constexpr std::size_t kBlock = 20480;
  std::ofstream(site_ / "update" / "big.zip", std::ios::binary)
      << std::string(kRequests * kBlock, 'x');
  httplib::Client client("127.0.0.1", port_);
  client.set_keep_alive(true);
  for (int block = 0; block < kRequests; ++block) {
    const std::size_t first = static_cast<std::size_t>(block) * kBlock;
    httplib::Result answer = client.Get(
        "/update/big.zip",
        {{"Range", "bytes=" + std::to_string(first) + "-" + std::to_string(first + kBlock - 1)}});
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->status, 206);
    ASSERT_EQ(answer->body.size(), kBlock);
  }
  const std::vector<int> accepted = AcceptedSockets(port_);
  ASSERT_EQ(accepted.size(), 1u) << "one connection for every block";
  int no_delay = 0;
  socklen_t size = sizeof no_delay;
  ASSERT_EQ(::getsockopt(accepted[0], IPPROTO_TCP, TCP_NODELAY, &no_delay, &size), 0);
  EXPECT_NE(no_delay, 0);
}

TEST_F(SiteServerTest, APortInUseIsReported) {
  SiteServer second(site_);
  EXPECT_EQ(second.Bind(port_), -1);
}

}  // namespace
}  // namespace korvane::tools
