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
    EXPECT_EQ(client_->HttpGetBytes(server_.Url("/file.txt"), kPageLimits), c.body);
  }
}

TEST_F(CurlHttpClientTest, ABodyCutOffMidwayIsReturnedAsFarAsItCame) {
  std::string body = Pattern(200000);
  server_.Script("/big.bin", ScriptedAnswer{.body = body, .cut_after = 70000});
  EXPECT_EQ(client_->HttpGetBytes(server_.Url("/big.bin"), kPageLimits), body.substr(0, 70000));
}

TEST_F(CurlHttpClientTest, NoAnswerGivesEmptyBytes) {
  EXPECT_EQ(client_->HttpGetBytes(testing_support::ClosedPortUrl(), kPageLimits), "");
  EXPECT_EQ(client_->HttpGetBytes("", kPageLimits), "");
  EXPECT_EQ(client_->HttpGetBytes("box/js/ads/name.txt", kPageLimits), "") << "an address without a host";
}

TEST_F(CurlHttpClientTest, AsksForAFreshCopyAndReusesTheConnection) {
  server_.Script("/switch.txt", ScriptedAnswer{.body = "1"});
  for (int i = 0; i < 3; ++i) ASSERT_EQ(client_->HttpGetBytes(server_.Url("/switch.txt"), kPageLimits), "1");
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
  ASSERT_EQ(client_->HttpGetBytes(server_.Url("/switch.txt"), kPageLimits), "0");
  server_.Script("/switch.txt", ScriptedAnswer{.body = "1"});
  EXPECT_EQ(client_->HttpGetBytes(server_.Url("/switch.txt"), kPageLimits), "1");
}

TEST_F(CurlHttpClientTest, FollowsRedirects) {
  server_.Script("/old.txt", ScriptedAnswer{.status = 302, .headers = {{"Location", "/new.txt"}}});
  server_.Script("/new.txt", ScriptedAnswer{.body = "moved here"});
  EXPECT_EQ(client_->HttpGetBytes(server_.Url("/old.txt"), kPageLimits), "moved here");
}

TEST_F(CurlHttpClientTest, GbkBytesAndBlanksInTheAddressArePercentEncoded) {
  const std::string gbk_name = "/\xD6\xD0\xCE\xC4 a.zip";  // 中文 a.zip
  server_.Script(gbk_name, ScriptedAnswer{.body = "archive"});
  EXPECT_EQ(client_->HttpGetBytes(server_.Url(gbk_name), kPageLimits), "archive");
  ASSERT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(server_.Requests()[0].target, "/%D6%D0%CE%C4%20a.zip");
}

// A server that drips its answer holds the fetch no longer than the deadline, and past
// it the fetch gives nothing; the client then fetches on as before.
TEST_F(CurlHttpClientTest, AFetchStillRunningAtItsDeadlineGivesNothing) {
  struct Case {
    std::size_t dripped_bytes;  // one every 100 ms
    std::int64_t deadline_ms;
    bool whole;
  };
  const Case cases[] = {
      {200, 1000, false},  // 20 s of drip
      {5, 5000, true},     // done in half a second: the deadline is for the whole fetch
  };
  server_.Script("/switch.txt", ScriptedAnswer{.body = "1"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dripped_bytes);
    const std::string body = Pattern(c.dripped_bytes);
    server_.Script("/drip.txt", ScriptedAnswer{.body = body, .drip_ms = 100});
    const std::int64_t start = SystemClock().NowMs();
    const FetchLimits limits{.deadline_ms = c.deadline_ms, .max_bytes = kControlFileLimits.max_bytes};
    EXPECT_EQ(client_->HttpGetBytes(server_.Url("/drip.txt"), limits), c.whole ? body : "");
    // The margin allows for a busy machine; the drip alone would last 20 s.
    EXPECT_LT(SystemClock().NowMs() - start, c.deadline_ms + 4000);
    EXPECT_EQ(client_->HttpGetBytes(server_.Url("/switch.txt"), kControlFileLimits), "1");
  }
}

// A body longer than the limit gives nothing; one of exactly the limit is whole.
TEST_F(CurlHttpClientTest, ABodyPastTheSizeLimitGivesNothing) {
  constexpr std::size_t kLimit = kControlFileLimits.max_bytes;
  for (std::size_t length : {kLimit - 1, kLimit, kLimit + 1, std::size_t{8 * 1024 * 1024}}) {
    SCOPED_TRACE(length);
    const std::string body = Pattern(length);
    server_.Script("/file.txt", ScriptedAnswer{.body = body});
    EXPECT_EQ(client_->HttpGetBytes(server_.Url("/file.txt"), kControlFileLimits), length <= kLimit ? body : "");
  }
  // A page may be far longer than a control file.
  const std::string page = Pattern(10 * 1024 * 1024);
  server_.Script("/page.html", ScriptedAnswer{.body = page});
  EXPECT_EQ(client_->HttpGetBytes(server_.Url("/page.html"), kPageLimits), page);
}

TEST(CurlHttpClientStall, AStalledAnswerIsGivenUpAndKeepsWhatCame) {
  TestHttpServer server;
  std::string body = Pattern(5000);
  server.Script("/slow.bin", ScriptedAnswer{.body = body, .cut_after = 2, .stall = true});
  auto client = CreateCurlHttpClient(HttpTimeouts{.connect_seconds = 5, .stall_seconds = 1});
  EXPECT_EQ(client->HttpGetBytes(server.Url("/slow.bin"), kPageLimits), body.substr(0, 2));
}

TEST(CurlHttpClientConnect, AServerThatTakesNoConnectionIsGivenUpAtTheConnectTimeOut) {
  testing_support::FullBacklog server;
  auto client = CreateCurlHttpClient(HttpTimeouts{.connect_seconds = 1, .stall_seconds = 60});
  const std::int64_t start = SystemClock().NowMs();
  EXPECT_EQ(client->HttpGetBytes(server.Url(), kPageLimits), "");
  // Without the time-out the system would try to connect for about two minutes.
  EXPECT_LT(SystemClock().NowMs() - start, 30000);
}

}  // namespace
}  // namespace korvane::platform
