// The downloader against a real HTTP server on 127.0.0.1, through the libcurl HTTP
// object, into a real file: what arrives at the server, and what the server's answers
// make of the file.
#include "update/download/range_downloader.h"

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/core/atomic_file.h"
#include "platform/core/path_map.h"
#include "platform/services/curl_http_request.h"
#include "platform/services/linux_file_system.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_http_server.h"
#include "update/download/download_status.h"

namespace korvane::update {
namespace {

using testing_support::RangeSupport;
using testing_support::RecordedRequest;
using testing_support::ScriptedAnswer;
using testing_support::TestHttpServer;
using ::testing::ElementsAre;

std::string Resource(std::size_t length) {
  std::string bytes(length, '\0');
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((i * 7 + i / 509) % 256);
  return bytes;
}

// Real time, sped up a hundredfold: a stalled block runs out of its time after one
// real wait of a second.
class FastClock final : public platform::Clock {
 public:
  std::int64_t NowMs() const override { return platform::SystemClock().NowMs() * 100; }
};

struct Finish {
  int http_status;
  Text status_text;
  int percent;
  bool operator==(const Finish&) const = default;
};

void PrintTo(const Finish& finish, std::ostream* out) {
  *out << "{" << finish.http_status << ", " << AsChars(GbkToUtf8(finish.status_text)) << ", "
       << finish.percent << "%}";
}

class RangeDownloaderHttpTest : public ::testing::Test {
 protected:
  void ServeResource(std::size_t length, RangeSupport ranges = RangeSupport::kHonour) {
    resource = Resource(length);
    std::ofstream(folder.path() / "file.bin", std::ios::binary) << resource;
    server.ServeFolder(folder.path(), ranges);
  }

  bool Download(const platform::Clock& clock = platform::SystemClock(), int kilobytes = 20) {
    downloader = std::make_unique<RangeDownloader>(*http, *files, clock);
    downloader->Init(
        [this](std::string_view, std::int32_t total, std::int32_t, std::int32_t percent) {
          totals.push_back(total);
          percents.push_back(percent);
          if (after_block) after_block();
        },
        [this](std::string_view, std::int32_t http_status, std::string_view text,
               std::int32_t percent) { finished.push_back({http_status, Text(text), percent}); });
    downloader->SetLocalFile(platform::CorePath(local_file));
    downloader->SetUrl(server.Url("/file.bin"), "");
    downloader->SetBlockSize(kilobytes);
    return downloader->Download();
  }

  std::vector<std::string> RangesArrived() const {
    std::vector<std::string> ranges;
    for (const RecordedRequest& request : server.Requests()) ranges.push_back(request.Header("Range"));
    return ranges;
  }
  std::string LocalBytes() const { return platform::ReadWholeFile(local_file).value_or(""); }
  void WriteLocal(const std::string& bytes) const {
    std::ofstream(local_file, std::ios::binary) << bytes;
  }

  testing_support::TempFolder folder;
  // A GBK name on the way: the downloader names the file as the programs do.
  const std::filesystem::path local_file = [this] {
    std::filesystem::create_directory(folder.path() / u8"临时");
    return folder.path() / u8"临时" / "file.bin.zip";
  }();
  TestHttpServer server;
  std::unique_ptr<platform::HttpRequestFactory> http = platform::CreateCurlHttpRequestFactory();
  std::unique_ptr<platform::FileSystem> files = platform::CreateLinuxFileSystem();
  std::unique_ptr<RangeDownloader> downloader;
  std::string resource;
  std::function<void()> after_block;
  std::vector<std::int32_t> totals;
  std::vector<std::int32_t> percents;
  std::vector<Finish> finished;
};

TEST_F(RangeDownloaderHttpTest, ThreeBlocksOnOneConnection) {
  ServeResource(50000);

  EXPECT_TRUE(Download());

  EXPECT_THAT(RangesArrived(),
              ElementsAre("bytes=0-20479", "bytes=20480-40959", "bytes=40960-61439"));
  EXPECT_EQ(server.ConnectionCount(), 1);
  EXPECT_THAT(totals, ElementsAre(50000, 50000, 50000));
  EXPECT_THAT(percents, ElementsAre(40, 81, 100));
  EXPECT_THAT(finished, ElementsAre(Finish{206, Text(OutcomeText(DownloadOutcome::kComplete)), 100}));
  EXPECT_EQ(LocalBytes(), resource);
}

TEST_F(RangeDownloaderHttpTest, LocalFileHasNoOtherOpenerDuringTheTransfer) {
  ServeResource(50000);
  std::vector<bool> opened;
  after_block = [&] {
    opened.push_back(files->OpenFile(platform::CorePath(local_file), platform::OpenMode::kWrite) !=
                     nullptr);
  };

  EXPECT_TRUE(Download());

  EXPECT_THAT(opened, ElementsAre(false, false, false));
  EXPECT_NE(files->OpenFile(platform::CorePath(local_file), platform::OpenMode::kWrite), nullptr);
}

TEST_F(RangeDownloaderHttpTest, TheSevenHeadersArriveInOrder) {
  ServeResource(1000);
  ASSERT_TRUE(Download());

  const std::vector<RecordedRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].target, "/file.bin");
  // Besides Host, which the HTTP object adds, exactly the seven arrive, in their order.
  std::vector<std::string> names;
  for (const std::string& name : requests[0].HeaderNames()) {
    if (name != "Host") names.push_back(name);
  }
  EXPECT_THAT(names, ElementsAre("Referer", "Accept", "User-Agent", "Range", "Content-Type",
                                 "Pragma", "Cache-Control"));
  EXPECT_EQ(requests[0].Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)");
  EXPECT_EQ(requests[0].Header("Range"), "bytes=0-20479");
  EXPECT_EQ(requests[0].Header("Content-Type"), "application/octet-stream");
  EXPECT_EQ(requests[0].Header("Pragma"), "no-cache");
  EXPECT_EQ(requests[0].Header("Cache-Control"), "no-cache");
}

TEST_F(RangeDownloaderHttpTest, ResumesFrom30000) {
  ServeResource(50000);
  WriteLocal(resource.substr(0, 30000));

  EXPECT_TRUE(Download());

  EXPECT_THAT(RangesArrived(), ElementsAre("bytes=30000-50479"));
  EXPECT_THAT(percents, ElementsAre(100));
  EXPECT_EQ(LocalBytes(), resource);
}

// A 416 over a local file: complete only when the server's total is the local length and
// the last block, fetched again, is the same; any other file is not the resource and is
// emptied and fetched afresh.
TEST_F(RangeDownloaderHttpTest, AnUnsatisfiableRangeKeepsOnlyTheResourceItself) {
  const std::vector<std::string> whole = {"bytes=0-20479", "bytes=20480-40959", "bytes=40960-61439"};
  auto then_whole = [&](std::vector<std::string> first) {
    first.insert(first.end(), whole.begin(), whole.end());
    return first;
  };
  const std::string resource = Resource(50000);
  std::string other_version = resource;
  other_version[49990] = static_cast<char>(other_version[49990] ^ 1);
  const struct {
    const char* name;
    std::string local;
    std::optional<ScriptedAnswer> first_answer;  // else the folder answers
    std::vector<std::string> ranges;
    std::string local_after;
    Finish finish;
  } cases[] = {
      {"the resource itself", resource, {}, {"bytes=50000-70479", "bytes=29520-49999"}, resource,
       {206, Text(OutcomeText(DownloadOutcome::kComplete)), 100}},
      {"longer than the resource", resource + "more", {}, then_whole({"bytes=50004-70483"}), resource,
       {206, Text(OutcomeText(DownloadOutcome::kComplete)), 100}},
      {"as long, other bytes", other_version, {},
       then_whole({"bytes=50000-70479", "bytes=29520-49999"}), resource,
       {206, Text(OutcomeText(DownloadOutcome::kComplete)), 100}},
      {"no total in the 416", resource, ScriptedAnswer{.status = 416},
       then_whole({"bytes=50000-70479"}), resource,
       {206, Text(OutcomeText(DownloadOutcome::kComplete)), 100}},
      {"shorter, yet refused", resource.substr(0, 20000),
       ScriptedAnswer{.status = 416, .headers = {{"Content-Range", "bytes */50000"}}},
       then_whole({"bytes=20000-40479"}), resource,
       {206, Text(OutcomeText(DownloadOutcome::kComplete)), 100}},
      {"a total of 2 GB", resource,
       ScriptedAnswer{.status = 416, .headers = {{"Content-Range", "bytes */3000000000"}}},
       {"bytes=50000-70479"}, "", {416, Text(OutcomeText(DownloadOutcome::kTooLarge)), 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ServeResource(50000);
    const std::size_t earlier = server.Requests().size();
    if (c.first_answer) server.ScriptNext("/file.bin", *c.first_answer);
    WriteLocal(c.local);
    finished.clear();

    EXPECT_EQ(Download(), c.finish.status_text == OutcomeText(DownloadOutcome::kComplete));

    const std::vector<std::string> ranges = RangesArrived();
    EXPECT_EQ(std::vector<std::string>(ranges.begin() + static_cast<std::ptrdiff_t>(earlier), ranges.end()),
              c.ranges);
    EXPECT_THAT(finished, ElementsAre(c.finish));
    EXPECT_TRUE(LocalBytes() == c.local_after);
  }
}

// A check answered with something else than the block asked for tells nothing: the file
// is fetched afresh. A check that gets no answer empties the file and ends the transfer.
TEST_F(RangeDownloaderHttpTest, ALastBlockCheckThatIsNotAnsweredInKindKeepsNoLocalFile) {
  ServeResource(50000);
  const ScriptedAnswer unsatisfiable{.status = 416, .headers = {{"Content-Range", "bytes */50000"}}};
  WriteLocal(resource);
  server.ScriptNext("/file.bin", unsatisfiable);
  server.ScriptNext("/file.bin", ScriptedAnswer{.status = 200, .body = resource});

  EXPECT_TRUE(Download());
  EXPECT_THAT(RangesArrived(), ElementsAre("bytes=50000-70479", "bytes=29520-49999", "bytes=0-20479",
                                           "bytes=20480-40959", "bytes=40960-61439"));
  EXPECT_EQ(LocalBytes(), resource);

  finished.clear();
  server.ScriptNext("/file.bin", unsatisfiable);
  server.ScriptNext("/file.bin", ScriptedAnswer{.body = "late", .stall = true});
  const FastClock clock;
  EXPECT_FALSE(Download(clock, 4));
  EXPECT_THAT(finished, ElementsAre(Finish{0, Text(OutcomeText(DownloadOutcome::kTimedOut)), 0}));
  EXPECT_EQ(LocalBytes(), "");
}

TEST_F(RangeDownloaderHttpTest, MissingResourceEndsWithTheReasonPhrase) {
  server.ServeFolder(folder.path());

  EXPECT_FALSE(Download());

  EXPECT_THAT(finished, ElementsAre(Finish{404, "Not Found", 0}));
  EXPECT_TRUE(percents.empty());
  EXPECT_EQ(LocalBytes(), "");
}

TEST_F(RangeDownloaderHttpTest, ServerThatIgnoresRangesWritesNothing) {
  ServeResource(50000, RangeSupport::kIgnore);

  EXPECT_FALSE(Download());

  EXPECT_THAT(finished, ElementsAre(Finish{200, Text(OutcomeText(DownloadOutcome::kRangesUnsupported)), 0}));
  EXPECT_EQ(LocalBytes(), "");
}

TEST_F(RangeDownloaderHttpTest, PartialAnswerWithoutContentRangeIsOfUnknownLength) {
  ServeResource(50000, RangeSupport::kNoContentRange);

  EXPECT_FALSE(Download());

  EXPECT_THAT(finished, ElementsAre(Finish{206, Text(OutcomeText(DownloadOutcome::kLengthUnknown)), 0}));
  EXPECT_EQ(LocalBytes(), resource.substr(0, 20480));  // kept, as it came
  EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(RangeDownloaderHttpTest, FaultyPartialAnswersWriteNothing) {
  const struct {
    const char* name;
    std::string content_range;
    std::size_t body_length;
    std::string_view status_text;
  } cases[] = {
      {"no stated length", "bytes 0-20479/*", 20480, OutcomeText(DownloadOutcome::kLengthUnknown)},
      {"elsewhere", "bytes 1-20480/50000", 20480, OutcomeText(DownloadOutcome::kRangeMismatch)},
      {"elsewhere, no stated length", "bytes 1-20480/*", 20480, OutcomeText(DownloadOutcome::kRangeMismatch)},
      {"short body", "bytes 0-20479/50000", 10000, OutcomeText(DownloadOutcome::kBodyLengthMismatch)},
      {"2 GB", "bytes 0-20479/3000000000", 20480, OutcomeText(DownloadOutcome::kTooLarge)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(local_file);
    finished.clear();
    server.Script("/file.bin", ScriptedAnswer{.status = 206,
                                              .body = Resource(c.body_length),
                                              .headers = {{"Content-Range", c.content_range}}});
    EXPECT_FALSE(Download());
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].status_text, c.status_text);
    // Only an answer that states no length is kept as it came.
    EXPECT_EQ(LocalBytes(), c.status_text == OutcomeText(DownloadOutcome::kLengthUnknown) ? Resource(20480) : "");
  }
}

TEST_F(RangeDownloaderHttpTest, ResourceThatChangesLengthMidwayIsNotComplete) {
  ServeResource(50000);
  after_block = [this] {
    if (percents.size() == 1) {
      server.ScriptNext("/file.bin",
                        ScriptedAnswer{.status = 206,
                                       .body = Resource(20480),
                                       .headers = {{"Content-Range", "bytes 20480-40959/60000"}}});
    }
  };

  EXPECT_FALSE(Download());

  EXPECT_THAT(finished, ElementsAre(Finish{206, Text(OutcomeText(DownloadOutcome::kTotalChanged)), 40}));
  EXPECT_EQ(LocalBytes(), resource.substr(0, 20480));
}

TEST_F(RangeDownloaderHttpTest, AnswerCutOffMidwayWritesNothing) {
  ServeResource(50000);
  server.ScriptNext("/file.bin",
                    ScriptedAnswer{.status = 206,
                                   .body = resource.substr(0, 20480),
                                   .headers = {{"Content-Range", "bytes 0-20479/50000"}},
                                   .cut_after = 5000});

  EXPECT_FALSE(Download());

  // The HTTP object reports a broken answer without a status.
  EXPECT_THAT(finished, ElementsAre(Finish{0, Text(OutcomeText(DownloadOutcome::kRangesUnsupported)), 0}));
  EXPECT_EQ(LocalBytes(), "");

  // The next transfer starts again from the file's (empty) end.
  finished.clear();
  EXPECT_TRUE(Download());
  EXPECT_EQ(LocalBytes(), resource);
}

TEST_F(RangeDownloaderHttpTest, AbortAfterABlockStopsAndTheNextTransferResumes) {
  ServeResource(50000);
  after_block = [this] {
    if (percents.size() == 1) downloader->Abort();
  };

  EXPECT_FALSE(Download());

  EXPECT_EQ(LocalBytes(), resource.substr(0, 20480));
  ASSERT_EQ(finished.size(), 1u);
  EXPECT_EQ(finished[0].status_text, "");
  EXPECT_EQ(finished[0].percent, 40);

  EXPECT_TRUE(Download());
  EXPECT_THAT(RangesArrived(),
              ElementsAre("bytes=0-20479", "bytes=20480-40959", "bytes=40960-61439"));
  EXPECT_EQ(LocalBytes(), resource);
}

TEST_F(RangeDownloaderHttpTest, CallsDuringATransferAreRefused) {
  ServeResource(50000);
  std::vector<bool> results;
  after_block = [&] {
    if (!results.empty()) return;
    results.push_back(downloader->Init(nullptr, nullptr));
    results.push_back(downloader->SetLocalFile(platform::CorePath(folder.path() / "other")));
    downloader->SetUrl(server.Url("/other"), "r");
    downloader->SetBlockSize(1);
    results.push_back(downloader->Download());
  };

  EXPECT_TRUE(Download());

  EXPECT_THAT(results, ElementsAre(false, false, false));
  EXPECT_THAT(RangesArrived(),
              ElementsAre("bytes=0-20479", "bytes=20480-40959", "bytes=40960-61439"));
  EXPECT_THAT(finished, ElementsAre(Finish{206, Text(OutcomeText(DownloadOutcome::kAlreadyDownloading)), 40},
                                    Finish{206, Text(OutcomeText(DownloadOutcome::kComplete)), 100}));
  EXPECT_EQ(LocalBytes(), resource);
}

TEST_F(RangeDownloaderHttpTest, StalledBlockRunsOutOfTime) {
  ServeResource(50000);
  server.Script("/file.bin", ScriptedAnswer{.body = "late", .stall = true});
  const FastClock clock;

  EXPECT_FALSE(Download(clock, 4));

  EXPECT_THAT(finished, ElementsAre(Finish{0, Text(OutcomeText(DownloadOutcome::kTimedOut)), 0}));
  EXPECT_EQ(LocalBytes(), "");
}

}  // namespace
}  // namespace korvane::update
