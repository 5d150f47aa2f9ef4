#include "platform/services/curl_http_request.h"

#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/services/wait_pump.h"
#include "tests/platform/services/full_backlog.h"
#include "tests/platform/services/raw_http_answer.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_http_server.h"

namespace korvane::platform {
namespace {

using testing_support::ScriptedAnswer;
using testing_support::TestHttpServer;

constexpr std::size_t kFileLength = 50000;

std::string Pattern(std::size_t length) {
  std::string bytes(length, '\0');
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((i * 13 + i / 256) & 0xFF);
  return bytes;
}

// The seven headers of one ranged block, in the order the downloader sets them.
void SetBlockHeaders(HttpRequest& request, std::string_view range) {
  request.SetRequestHeader("Referer", "");
  request.SetRequestHeader("Accept", "*/*");
  request.SetRequestHeader("User-Agent", "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)");
  request.SetRequestHeader("Range", range);
  request.SetRequestHeader("Content-Type", "application/octet-stream");
  request.SetRequestHeader("Pragma", "no-cache");
  request.SetRequestHeader("Cache-Control", "no-cache");
}

class CurlHttpRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(folder_.path() / "file.bin", std::ios::binary) << content_;
    server_.ServeFolder(folder_.path());
  }

  // Open, headers, Send, then waits as the downloader does, a second at a time.
  void Fetch(std::string_view path, std::string_view range) {
    request_->Open("GET", server_.Url(path), true);
    SetBlockHeaders(*request_, range);
    request_->Send();
    for (int pass = 0; pass < 30 && request_->ReadyState() != HttpReadyState::kComplete; ++pass) request_->WaitForResponse(1000);
    ASSERT_EQ(request_->ReadyState(), HttpReadyState::kComplete);
  }

  testing_support::TempFolder folder_;
  std::string content_ = Pattern(kFileLength);
  TestHttpServer server_;
  std::unique_ptr<HttpRequest> request_ = CreateCurlHttpRequestFactory()->CreateHttpRequest();
};

TEST_F(CurlHttpRequestTest, TheSevenHeadersArriveInTheOrderTheyWereSet) {
  Fetch("/file.bin", "bytes=0-20479");
  auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const auto& sent = requests[0];
  EXPECT_EQ(sent.method, "GET");
  EXPECT_EQ(sent.target, "/file.bin");
  std::vector<std::string> names;
  for (const std::string& name : sent.HeaderNames())
    if (name != "Host") names.push_back(name);
  EXPECT_THAT(names, ::testing::ElementsAre("Referer", "Accept", "User-Agent", "Range", "Content-Type",
                                            "Pragma", "Cache-Control"));
  EXPECT_EQ(sent.Header("Referer"), "");
  EXPECT_EQ(sent.Header("Accept"), "*/*");
  EXPECT_EQ(sent.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)");
  EXPECT_EQ(sent.Header("Range"), "bytes=0-20479");
  EXPECT_EQ(sent.Header("Content-Type"), "application/octet-stream");
  EXPECT_EQ(sent.Header("Pragma"), "no-cache");
  EXPECT_EQ(sent.Header("Cache-Control"), "no-cache");
}

TEST_F(CurlHttpRequestTest, OpenPreparesAFreshRequestOnTheSameConnection) {
  Fetch("/file.bin", "bytes=0-20479");
  Fetch("/absent.zip", "bytes=0-20479");
  ASSERT_EQ(request_->Status(), 404);
  Fetch("/file.bin", "bytes=20480-40959");
  EXPECT_EQ(request_->Status(), 206);
  EXPECT_EQ(request_->StatusText(), "Partial Content");
  EXPECT_EQ(request_->ResponseBody(), content_.substr(20480, 20480));
  auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[2].Header("Range"), "bytes=20480-40959") << "headers of an earlier Open are not sent again";
  EXPECT_EQ(requests[2].HeaderNames().size(), 8u);
  EXPECT_EQ(server_.ConnectionCount(), 1);
}

TEST_F(CurlHttpRequestTest, SendReturnsAtOnceAndAStalledAnswerNeverCompletes) {
  server_.Script("/slow.bin", ScriptedAnswer{.body = "late", .stall = true});
  request_->Open("GET", server_.Url("/slow.bin"), true);
  EXPECT_EQ(request_->ReadyState(), HttpReadyState::kOpened);
  request_->Send();
  EXPECT_EQ(request_->ReadyState(), HttpReadyState::kOpened);
  EXPECT_FALSE(request_->WaitForResponse(50));
  EXPECT_EQ(request_->ReadyState(), HttpReadyState::kOpened);
  EXPECT_EQ(request_->Status(), 0);

  request_->Abort();
  EXPECT_EQ(request_->ReadyState(), HttpReadyState::kUnsent);
  EXPECT_EQ(request_->Status(), 0);
  EXPECT_EQ(request_->ResponseBody(), "");

  Fetch("/file.bin", "bytes=0-9");
  EXPECT_EQ(request_->Status(), 206) << "the object is usable again after an abort";
  EXPECT_EQ(request_->ResponseBody(), content_.substr(0, 10));
}

TEST_F(CurlHttpRequestTest, AnAnswerCutOffMidwayIsAFailureNotAShortBody) {
  server_.Script("/cut.bin", ScriptedAnswer{.status = 206, .body = content_.substr(0, 20480),
                                            .headers = {{"Content-Range", "bytes 0-20479/50000"}},
                                            .cut_after = 9000});
  Fetch("/cut.bin", "bytes=0-20479");
  EXPECT_EQ(request_->Status(), 0);
  EXPECT_EQ(request_->ResponseBody(), "");
  EXPECT_EQ(request_->GetResponseHeader("Content-Range"), "");
}

TEST(CurlHttpRequestStallLimit, WithAStallTimeOutAnAnswerThatStopsMidwayFails) {
  TestHttpServer server;
  server.Script("/slow.bin", ScriptedAnswer{.status = 206, .body = Pattern(5000), .cut_after = 2, .stall = true});
  auto request = CreateCurlHttpRequestFactory(HttpTimeouts{.connect_seconds = 5, .stall_seconds = 1})->CreateHttpRequest();
  request->Open("GET", server.Url("/slow.bin"), true);
  request->Send();
  for (int pass = 0; pass < 30 && request->ReadyState() != HttpReadyState::kComplete; ++pass) request->WaitForResponse(1000);
  EXPECT_EQ(request->ReadyState(), HttpReadyState::kComplete);
  EXPECT_EQ(request->Status(), 0);
  EXPECT_EQ(request->ResponseBody(), "");
}

TEST(CurlHttpRequestSynchronous, ASynchronousSendReturnsWithTheAnswer) {
  TestHttpServer server;
  server.Script("/a.txt", ScriptedAnswer{.body = "whole"});
  auto request = CreateCurlHttpRequestFactory()->CreateHttpRequest();
  request->Open("GET", server.Url("/a.txt"), false);
  request->Send();
  EXPECT_EQ(request->ReadyState(), HttpReadyState::kComplete);
  EXPECT_EQ(request->Status(), 200);
  EXPECT_EQ(request->ResponseBody(), "whole");
}

// Completes the request as the downloader waits for it, a second at a time.
void Complete(HttpRequest& request, const std::string& url) {
  request.Open("GET", url, true);
  request.SetRequestHeader("Range", "bytes=0-20479");
  request.Send();
  for (int pass = 0; pass < 30 && request.ReadyState() != HttpReadyState::kComplete; ++pass) request.WaitForResponse(1000);
}

TEST(CurlHttpRequestRawAnswers, TheStatusLineAndHeadersAreTakenAsTheServerWroteThem) {
  struct Case {
    std::string answer;
    int status;
    Text status_text;
    Text content_range;
    std::string body;
  };
  const Case cases[] = {
      {"HTTP/1.1 404 Datei fehlt\r\nContent-Length: 0\r\n\r\n", 404, "Datei fehlt", "", ""},
      {"HTTP/1.1 404 \xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA\r\nContent-Length: 0\r\n\r\n", 404,
       "\xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA", "", ""},  // 文件不存在, GBK as sent
      {"HTTP/1.1 503\r\nContent-Length: 0\r\n\r\n", 503, "", "", ""},
      {"HTTP/1.0 206 Partial  Content \r\ncontent-range:bytes 0-3/10\r\nContent-Length: 4\r\n\r\nabcd", 206,
       "Partial  Content ", "bytes 0-3/10", "abcd"},
  };
  auto factory = CreateCurlHttpRequestFactory();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    testing_support::RawHttpAnswer server(c.answer);
    auto request = factory->CreateHttpRequest();
    Complete(*request, server.Url("/file.zip"));
    ASSERT_EQ(request->ReadyState(), HttpReadyState::kComplete);
    EXPECT_EQ(request->Status(), c.status);
    EXPECT_EQ(request->StatusText(), c.status_text);
    EXPECT_EQ(request->GetResponseHeader("Content-Range"), c.content_range);
    EXPECT_EQ(request->ResponseBody(), c.body);
  }
}

TEST(CurlHttpRequestConnect, AServerThatTakesNoConnectionFailsAtTheConnectTimeOut) {
  testing_support::FullBacklog server;
  auto request = CreateCurlHttpRequestFactory(HttpTimeouts{.connect_seconds = 1, .stall_seconds = 0})->CreateHttpRequest();
  Complete(*request, server.Url());
  EXPECT_EQ(request->ReadyState(), HttpReadyState::kComplete) << "given up well before the caller's own thirty seconds";
  EXPECT_EQ(request->Status(), 0);
  EXPECT_EQ(request->ResponseBody(), "");
}

// The windows' pump as the desktop installs it, counting: once it has been let run a number
// of times while the server holds the answer, it releases the answer.
class ReleasingPump final : public WaitPump {
 public:
  static constexpr int kHeldCallsBeforeRelease = 20;

  explicit ReleasingPump(TestHttpServer& server) : server_(server) {}
  void WaitBegins() override {
    ++waits;
    ++depth;
  }
  void Waiting() override {
    EXPECT_GT(depth, 0) << "let run outside a wait";
    if (held_calls < kHeldCallsBeforeRelease && server_.WaitForHeldAnswers(1, 0) &&
        ++held_calls == kHeldCallsBeforeRelease) {
      server_.ReleaseStalls();
    }
  }
  void WaitEnds() override { --depth; }

  int waits = 0;
  int depth = 0;
  int held_calls = 0;

 private:
  TestHttpServer& server_;
};

TEST(CurlHttpRequestWaitPump, TheWindowsRunEveryFewMillisecondsWhileAHeldBlockIsAwaited) {
  for (const bool asynchronous : {true, false}) {
    SCOPED_TRACE(asynchronous ? "waited for as the downloader does" : "a synchronous send");
    TestHttpServer server;
    server.Script("/block.bin", ScriptedAnswer{.status = 206, .body = "block",
                                               .headers = {{"Content-Range", "bytes 0-4/5"}}, .stall = true});
    ReleasingPump pump(server);
    const InstalledWaitPump installed(pump);
    // Without the pump's release the stall time-out ends the wait, with no answer.
    auto request = CreateCurlHttpRequestFactory(HttpTimeouts{.connect_seconds = 5, .stall_seconds = 5})->CreateHttpRequest();
    request->Open("GET", server.Url("/block.bin"), asynchronous);
    request->SetRequestHeader("Range", "bytes=0-4");
    request->Send();
    for (int pass = 0; pass < 10 && request->ReadyState() != HttpReadyState::kComplete; ++pass) {
      request->WaitForResponse(1000);
    }
    ASSERT_EQ(request->ReadyState(), HttpReadyState::kComplete);
    EXPECT_EQ(pump.held_calls, ReleasingPump::kHeldCallsBeforeRelease) << "the pump ran while the answer was held";
    EXPECT_EQ(request->Status(), 206);
    EXPECT_EQ(request->ResponseBody(), "block");
    EXPECT_EQ(pump.depth, 0) << "every wait has ended";
    if (!asynchronous) {
      EXPECT_EQ(pump.waits, 1) << "a synchronous send is one wait";
    }
  }
}

}  // namespace
}  // namespace korvane::platform
