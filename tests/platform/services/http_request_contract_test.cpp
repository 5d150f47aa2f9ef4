// One suite run against the libcurl request object on a real server and against the
// scripted double, so that the downloader's logic tests see what a server gives.

#include <fstream>

#include <gtest/gtest.h>

#include "platform/services/curl_http_request.h"
#include "platform/testing/scripted_http_request.h"
#include "tests/platform/services/closed_port.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_http_server.h"

namespace korvane::platform {
namespace {

using platform::testing::ResourceRanges;

class Backend {
 public:
  virtual ~Backend() = default;
  // The address of `content`, served with `ranges`.
  virtual std::string Serve(const std::string& name, const std::string& content, ResourceRanges ranges) = 0;
  // An address on a server that has nothing there.
  virtual std::string Missing() = 0;
  // An address where no server answers.
  virtual std::string NoServer() = 0;
  virtual HttpRequestFactory& factory() = 0;
};

class RealServerBackend final : public Backend {
 public:
  std::string Serve(const std::string& name, const std::string& content, ResourceRanges ranges) override {
    std::ofstream(folder_.path() / name, std::ios::binary) << content;
    server_.ServeFolder(folder_.path(), ranges == ResourceRanges::kHonour   ? testing_support::RangeSupport::kHonour
                                        : ranges == ResourceRanges::kIgnore ? testing_support::RangeSupport::kIgnore
                                                                            : testing_support::RangeSupport::kNoContentRange);
    return server_.Url("/" + name);
  }
  std::string Missing() override { return server_.Url("/absent.zip"); }
  std::string NoServer() override { return testing_support::ClosedPortUrl(); }
  HttpRequestFactory& factory() override { return *factory_; }

 private:
  testing_support::TempFolder folder_;
  testing_support::TestHttpServer server_;
  std::unique_ptr<HttpRequestFactory> factory_ = CreateCurlHttpRequestFactory();
};

class ScriptedBackend final : public Backend {
 public:
  std::string Serve(const std::string& name, const std::string& content, ResourceRanges ranges) override {
    factory_.ServeResource("http://update.example/" + name, content, ranges);
    factory_.Answer("http://update.example/absent.zip", {.status = 404, .body = "<html>404 Not Found</html>"});
    return "http://update.example/" + name;
  }
  std::string Missing() override { return "http://update.example/absent.zip"; }
  std::string NoServer() override { return "http://nowhere.example/file.zip"; }
  HttpRequestFactory& factory() override { return factory_; }

 private:
  platform::testing::ScriptedHttpRequestFactory factory_;
};

using BackendMaker = std::unique_ptr<Backend> (*)();

std::string Pattern(std::size_t length) {
  std::string bytes(length, '\0');
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((i * 31 + i / 256) & 0xFF);
  return bytes;
}

class HttpRequestContract : public ::testing::TestWithParam<BackendMaker> {
 protected:
  void Fetch(const std::string& url, std::string_view range) {
    request_->Open("GET", url, true);
    request_->SetRequestHeader("Accept", "*/*");
    request_->SetRequestHeader("Range", range);
    request_->Send();
    for (int pass = 0; pass < 30 && request_->ReadyState() != HttpReadyState::kComplete; ++pass) request_->WaitForResponse(1000);
    ASSERT_EQ(request_->ReadyState(), HttpReadyState::kComplete);
  }

  std::unique_ptr<Backend> backend_ = GetParam()();
  std::unique_ptr<HttpRequest> request_ = backend_->factory().CreateHttpRequest();
  const std::string content_ = Pattern(50000);
};

TEST_P(HttpRequestContract, BlocksOfAResourceAreAnsweredWithTheirRanges) {
  const std::string url = backend_->Serve("file.bin", content_, ResourceRanges::kHonour);
  struct Case {
    std::string range;
    int status;
    std::string content_range;
    std::string body;
  };
  const Case cases[] = {
      {"bytes=0-20479", 206, "bytes 0-20479/50000", content_.substr(0, 20480)},
      {"bytes=40960-61439", 206, "bytes 40960-49999/50000", content_.substr(40960)},
      {"bytes=50000-70479", 416, "bytes */50000", ""},
      {"bytes=60000-80479", 416, "bytes */50000", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.range);
    Fetch(url, c.range);
    EXPECT_EQ(request_->Status(), c.status);
    EXPECT_EQ(request_->GetResponseHeader("Content-Range"), c.content_range);
    EXPECT_EQ(request_->ResponseBody(), c.body);
  }
  EXPECT_EQ(request_->StatusText(), "Range Not Satisfiable");
}

TEST_P(HttpRequestContract, AMissingResourceIsNotFound) {
  backend_->Serve("file.bin", content_, ResourceRanges::kHonour);
  Fetch(backend_->Missing(), "bytes=0-20479");
  EXPECT_EQ(request_->Status(), 404);
  EXPECT_EQ(request_->StatusText(), "Not Found");
  EXPECT_EQ(request_->GetResponseHeader("Content-Range"), "");
}

TEST_P(HttpRequestContract, ServersThatDoNotRangeProperly) {
  Fetch(backend_->Serve("whole.bin", content_, ResourceRanges::kIgnore), "bytes=0-20479");
  EXPECT_EQ(request_->Status(), 200);
  EXPECT_EQ(request_->StatusText(), "OK");
  EXPECT_EQ(request_->ResponseBody(), content_);

  Fetch(backend_->Serve("unstated.bin", content_, ResourceRanges::kNoContentRange), "bytes=0-20479");
  EXPECT_EQ(request_->Status(), 206);
  EXPECT_EQ(request_->GetResponseHeader("Content-Range"), "");
  EXPECT_EQ(request_->ResponseBody(), content_.substr(0, 20480));
}

TEST_P(HttpRequestContract, NoServerCompletesWithNothing) {
  for (const std::string& url : {backend_->NoServer(), std::string("up.dat.zip")}) {
    SCOPED_TRACE(url);
    Fetch(url, "bytes=0-20479");
    EXPECT_EQ(request_->Status(), 0);
    EXPECT_EQ(request_->StatusText(), "");
    EXPECT_EQ(request_->ResponseBody(), "");
  }
}

TEST_P(HttpRequestContract, CallsOutOfOrderYieldNothing) {
  EXPECT_EQ(request_->ReadyState(), HttpReadyState::kUnsent);
  request_->SetRequestHeader("Range", "bytes=0-1");
  request_->Send();
  request_->Abort();
  EXPECT_EQ(request_->ReadyState(), HttpReadyState::kUnsent);
  EXPECT_FALSE(request_->WaitForResponse(0));
  EXPECT_EQ(request_->Status(), 0);
  EXPECT_EQ(request_->ResponseBody(), "");
  EXPECT_EQ(request_->GetResponseHeader("Content-Range"), "");

  Fetch(backend_->Serve("file.bin", content_, ResourceRanges::kHonour), "bytes=0-9");
  request_->Open("GET", backend_->Missing(), true);
  EXPECT_EQ(request_->ReadyState(), HttpReadyState::kOpened);
  EXPECT_EQ(request_->Status(), 0) << "Open drops the last answer";
  EXPECT_EQ(request_->ResponseBody(), "");
}

INSTANTIATE_TEST_SUITE_P(Implementations, HttpRequestContract,
                         ::testing::Values(+[]() -> std::unique_ptr<Backend> { return std::make_unique<RealServerBackend>(); },
                                           +[]() -> std::unique_ptr<Backend> { return std::make_unique<ScriptedBackend>(); }),
                         [](const ::testing::TestParamInfo<BackendMaker>& info) {
                           return info.index == 0 ? std::string("CurlOnRealServer") : std::string("ScriptedDouble");
                         });

}  // namespace
}  // namespace korvane::platform
