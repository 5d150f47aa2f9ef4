#include "platform/services/curl_http_client.h"

#include <gtest/gtest.h>

#include "platform/core/clock.h"
#include "tests/platform/services/closed_port.h"
#include "tests/platform/services/full_backlog.h"
#include "tests/support/test_http_server.h"

namespace korvane::platform {
namespace {

using testing_support::ScriptedAnswer;
using testing_support::TestHttpServer;

std::string Pattern(std::size_t length) {
  std::string bytes(length, '\0');
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

class CurlHttpClientTest : public ::testing::Test {
 protected:
  TestHttpServer server_;
  std::unique_ptr<HttpClient> client_ = CreateCurlHttpClient();
};

TEST_F(CurlHttpClientTest, ReturnsTheBodyOfAnyAnswerWhateverItsStatus) {
  struct Case {
    int status;
    std::string body;
  };
  const Case cases[] = {
      {200, std::string("\xBF\xAA", 2)},
      {404, "<html><body>missing</body></html>"},
      {500, "server error page"},
      {200, std::string("before\0after", 12)},
      {204, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    server_.Script("/file.txt", ScriptedAnswer{.status = c.status, .body = c.body});
    EXPECT_EQ(client_->HttpGetBytes(server_.Url("/file.txt")), c.body);
  }
}

TEST_F(CurlHttpClientTest, ABodyCutOffMidwayIsReturnedAsFarAsItCame) {
  std::string body = Pattern(200000);
  server_.Script("/big.bin", ScriptedAnswer{.body = body, .cut_after = 70000});
  EXPECT_EQ(client_->HttpGetBytes(server_.Url("/big.bin")), body.substr(0, 70000));
}

TEST_F(CurlHttpClientTest, NoAnswerGivesEmptyBytes) {
  EXPECT_EQ(client_->HttpGetBytes(testing_support::ClosedPortUrl()), "");
  EXPECT_EQ(client_->HttpGetBytes(""), "");
  EXPECT_EQ(client_->HttpGetBytes("box/js/ads/name.txt"), "") << "an address without a host";
}

TEST_F(CurlHttpClientTest, AsksForAFreshCopyAndReusesTheConnection) {
  server_.Script("/switch.txt", ScriptedAnswer{.body = "1"});
  for (int i = 0; i < 3; ++i) ASSERT_EQ(client_->HttpGetBytes(server_.Url("/switch.txt")), "1");
  auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 3u);
  for (const auto& request : requests) {
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.Header("Cache-Control"), "no-cache");
    EXPECT_EQ(request.Header("Pragma"), "no-cache");
    EXPECT_FALSE(request.HasHeader("If-Modified-Since"));
    EXPECT_FALSE(request.HasHeader("If-None-Match"));
  }
  EXPECT_EQ(server_.ConnectionCount(), 1);
}

TEST_F(CurlHttpClientTest, ChangedContentTakesEffectAtTheNextFetch) {
  server_.Script("/switch.txt", ScriptedAnswer{.body = "0", .headers = {{"Cache-Control", "max-age=3600"}}});
  ASSERT_EQ(client_->HttpGetBytes(server_.Url("/switch.txt")), "0");
  server_.Script("/switch.txt", ScriptedAnswer{.body = "1"});
  EXPECT_EQ(client_->HttpGetBytes(server_.Url("/switch.txt")), "1");
}

TEST_F(CurlHttpClientTest, FollowsRedirects) {
  server_.Script("/old.txt", ScriptedAnswer{.status = 302, .headers = {{"Location", "/new.txt"}}});
  server_.Script("/new.txt", ScriptedAnswer{.body = "moved here"});
  EXPECT_EQ(client_->HttpGetBytes(server_.Url("/old.txt")), "moved here");
}

TEST_F(CurlHttpClientTest, GbkBytesAndBlanksInTheAddressArePercentEncoded) {
  const std::string gbk_name = "/\xD6\xD0\xCE\xC4 a.zip";  // 中文 a.zip
  server_.Script(gbk_name, ScriptedAnswer{.body = "archive"});
  EXPECT_EQ(client_->HttpGetBytes(server_.Url(gbk_name)), "archive");
  ASSERT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(server_.Requests()[0].target, "/%D6%D0%CE%C4%20a.zip");
}

TEST(CurlHttpClientStall, AStalledAnswerIsGivenUpAndKeepsWhatCame) {
  TestHttpServer server;
  std::string body = Pattern(5000);
  server.Script("/slow.bin", ScriptedAnswer{.body = body, .cut_after = 2, .stall = true});
  auto client = CreateCurlHttpClient(HttpTimeouts{.connect_seconds = 5, .stall_seconds = 1});
  EXPECT_EQ(client->HttpGetBytes(server.Url("/slow.bin")), body.substr(0, 2));
}

TEST(CurlHttpClientConnect, AServerThatTakesNoConnectionIsGivenUpAtTheConnectTimeOut) {
  testing_support::FullBacklog server;
  auto client = CreateCurlHttpClient(HttpTimeouts{.connect_seconds = 1, .stall_seconds = 60});
  const std::int64_t start = SystemClock().NowMs();
  EXPECT_EQ(client->HttpGetBytes(server.Url()), "");
  // Without the time-out the system would try to connect for about two minutes.
  EXPECT_LT(SystemClock().NowMs() - start, 30000);
}

}  // namespace
}  // namespace korvane::platform
