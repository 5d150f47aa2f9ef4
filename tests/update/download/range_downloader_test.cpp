#include "update/download/range_downloader.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/services/wait_pump.h"
#include "platform/testing/manual_clock.h"
#include "platform/testing/scripted_http_request.h"
#include "tests/update/download/memory_file_system.h"
#include "update/download/download_status.h"

namespace korvane::update {
namespace {

using platform::testing::ManualClock;
using platform::testing::ScriptedHttpAnswer;
using platform::testing::ScriptedHttpRequestFactory;
using platform::testing::SentHttpRequest;
using platform::testing::ServeRange;
using testing_support::MemoryFileSystem;
using ::testing::ElementsAre;
using ::testing::Field;

constexpr std::string_view kUrl = "http://127.0.0.1/update/播放器.zip";
constexpr std::string_view kPath = "\\update\\temp\\播放器.zip";

std::string Resource(std::size_t length) {
  std::string bytes(length, '\0');
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((i * 31 + i / 251) % 256);
  return bytes;
}

struct ProgressCall {
  Text local_path;
  std::int32_t total_length;
  std::int32_t speed;
  std::int32_t percent;
};

struct FinishedCall {
  Text url;
  std::int32_t http_status;
  Text status_text;
  std::int32_t percent;
  bool operator==(const FinishedCall&) const = default;
};

void PrintTo(const FinishedCall& call, std::ostream* out) {
  *out << "{" << call.http_status << ", \"" << AsChars(GbkToUtf8(call.status_text)) << "\", "
       << call.percent << "%}";
}

class RangeDownloaderTest : public ::testing::Test {
 protected:
  DownloadProgressRoutine RecordProgress(std::vector<ProgressCall>& into) {
    return [&into](std::string_view path, std::int32_t total, std::int32_t speed,
                   std::int32_t percent) { into.push_back({Text(path), total, speed, percent}); };
  }
  DownloadFinishedRoutine RecordFinished(std::vector<FinishedCall>& into) {
    return [&into](std::string_view url, std::int32_t http_status, std::string_view text,
                   std::int32_t percent) {
      into.push_back({Text(url), http_status, Text(text), percent});
    };
  }

  // The set-up that the update flow issues before every transfer.
  void SetUpTransfer(int kilobytes = 20) {
    downloader.Init(RecordProgress(progress), RecordFinished(finished));
    ASSERT_TRUE(downloader.SetLocalFile(kPath));
    downloader.SetUrl(kUrl, "");
    downloader.SetBlockSize(kilobytes);
  }

  void Serve(const std::string& resource) {
    http.ServeResource(Text(kUrl), resource);
  }
  void Answer(ScriptedHttpAnswer answer) { http.Answer(Text(kUrl), std::move(answer)); }

  std::vector<Text> RangesAsked() const {
    std::vector<Text> ranges;
    for (const SentHttpRequest& request : http.sent()) ranges.push_back(request.Header("Range"));
    return ranges;
  }
  std::vector<std::int32_t> PercentsReported() const {
    std::vector<std::int32_t> percents;
    for (const ProgressCall& call : progress) percents.push_back(call.percent);
    return percents;
  }
  std::string& LocalBytes() { return files.files[Text(kPath)].bytes; }
  FinishedCall Finished(std::int32_t http_status, std::string_view text, std::int32_t percent) {
    return {Text(kUrl), http_status, Text(text), percent};
  }

  ManualClock clock{5000};
  ScriptedHttpRequestFactory http{&clock};
  MemoryFileSystem files;
  RangeDownloader downloader{http, files, clock};
  std::vector<ProgressCall> progress;
  std::vector<FinishedCall> finished;
};

// --- Whole transfers -------------------------------------------------------------------

TEST_F(RangeDownloaderTest, FetchesA50000ByteResourceInThreeBlocks) {
  const std::string resource = Resource(50000);
  Serve(resource);
  SetUpTransfer();

  EXPECT_TRUE(downloader.Download());

  EXPECT_THAT(RangesAsked(),
              ElementsAre("bytes=0-20479", "bytes=20480-40959", "bytes=40960-61439"));
  EXPECT_THAT(PercentsReported(), ElementsAre(40, 81, 100));
  for (const ProgressCall& call : progress) {
    EXPECT_EQ(call.local_path, kPath);
    EXPECT_EQ(call.total_length, 50000);
  }
  EXPECT_THAT(finished, ElementsAre(Finished(206, OutcomeText(DownloadOutcome::kComplete), 100)));
  EXPECT_EQ(LocalBytes(), resource);
  EXPECT_EQ(downloader.StatusText(), OutcomeText(DownloadOutcome::kComplete));
  EXPECT_FALSE(files.files[Text(kPath)].open);
  // Back to ready: the counters are reset and the set-up stays.
  EXPECT_FALSE(downloader.Busy());
  EXPECT_EQ(downloader.BytesDone(), 0);
  EXPECT_EQ(downloader.TotalLength(), 0);
  EXPECT_EQ(downloader.Url(), kUrl);
  EXPECT_EQ(downloader.BlockSize(), 20480);
}

TEST_F(RangeDownloaderTest, SetsTheSevenRequestHeadersInOrderOnEveryBlock) {
  Serve(Resource(30000));
  SetUpTransfer();
  downloader.SetUrl(kUrl, "http://127.0.0.1/从这里");
  ASSERT_TRUE(downloader.Download());

  ASSERT_EQ(http.sent().size(), 2u);
  const Text ranges[] = {"bytes=0-20479", "bytes=20480-40959"};
  for (std::size_t i = 0; i < 2; ++i) {
    const SentHttpRequest& request = http.sent()[i];
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.url, kUrl);
    EXPECT_TRUE(request.asynchronous);
    EXPECT_EQ(request.headers,
              (platform::testing::HttpHeaders{{"Referer", "http://127.0.0.1/从这里"},
                          {"Accept", "*/*"},
                          {"User-Agent", "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)"},
                          {"Range", ranges[i]},
                          {"Content-Type", "application/octet-stream"},
                          {"Pragma", "no-cache"},
                          {"Cache-Control", "no-cache"}}));
  }
  // One HTTP object, and so one connection, serves every block.
  EXPECT_EQ(http.objects_created(), 1);
}

TEST_F(RangeDownloaderTest, ResumesAtTheLengthOfTheLocalFile) {
  const std::string resource = Resource(100000);
  LocalBytes() = resource.substr(0, 30000);
  Serve(resource);
  SetUpTransfer();

  EXPECT_TRUE(downloader.Download());

  EXPECT_EQ(RangesAsked().front(), "bytes=30000-50479");
  EXPECT_THAT(PercentsReported(), ElementsAre(50, 70, 91, 100));  // counted on from 30000
  EXPECT_EQ(LocalBytes(), resource);
}

TEST_F(RangeDownloaderTest, SmallResourceTakesOneRequest) {
  const std::string resource = Resource(1000);
  Serve(resource);
  SetUpTransfer();

  EXPECT_TRUE(downloader.Download());

  EXPECT_THAT(RangesAsked(), ElementsAre("bytes=0-20479"));
  EXPECT_EQ(LocalBytes(), resource);
  EXPECT_THAT(finished, ElementsAre(Finished(206, OutcomeText(DownloadOutcome::kComplete), 100)));
}

// The file is taken as complete once its last block, fetched again, is the resource's.
TEST_F(RangeDownloaderTest, UnsatisfiableRangeOnACompleteFileIsComplete) {
  const std::string resource = Resource(50000);
  LocalBytes() = resource;
  Serve(resource);
  SetUpTransfer();

  EXPECT_TRUE(downloader.Download());

  EXPECT_THAT(RangesAsked(), ElementsAre("bytes=50000-70479", "bytes=29520-49999"));
  EXPECT_EQ(LocalBytes(), resource);
  ASSERT_EQ(progress.size(), 1u);
  EXPECT_EQ(progress[0].total_length, 50000);
  EXPECT_EQ(progress[0].percent, 100);
  EXPECT_THAT(finished, ElementsAre(Finished(206, OutcomeText(DownloadOutcome::kComplete), 100)));
}

TEST_F(RangeDownloaderTest, EmptyResourceIsCompleteOnItsUnsatisfiableAnswer) {
  Serve("");
  SetUpTransfer();

  EXPECT_TRUE(downloader.Download());

  EXPECT_EQ(LocalBytes(), "");
  EXPECT_THAT(finished, ElementsAre(Finished(416, OutcomeText(DownloadOutcome::kComplete), 0)));
}

TEST_F(RangeDownloaderTest, TransferWorksWithoutRoutines) {
  const std::string resource = Resource(25000);
  Serve(resource);
  ASSERT_TRUE(downloader.Init(nullptr, nullptr));
  downloader.SetLocalFile(kPath);
  downloader.SetUrl(kUrl, "");

  EXPECT_TRUE(downloader.Download());
  EXPECT_EQ(LocalBytes(), resource);
}

// --- Answers that end a transfer --------------------------------------------------------

struct AnswerCase {
  const char* name;
  std::size_t local_length;  // bytes of the resource already in the file
  ScriptedHttpAnswer answer;
  std::string_view status_text;
  bool body_written;
  bool progress_reported;
};

std::string Body(std::size_t length) { return Resource(length); }

const AnswerCase kAnswerCases[] = {
    {"NotFound", 0, {404, "Not Found", {}, "<html>missing</html>"}, "Not Found", false, false},
    {"ServerError", 0, {500, "Internal Server Error", {}, "oops"}, "Internal Server Error", false,
     false},
    {"MovedAway", 0, {302, "Found", {{"Location", "/elsewhere"}}, ""}, "Found", false, false},
    {"WholeResourceInsteadOfARange", 0, {200, "OK", {}, Body(1000)}, OutcomeText(DownloadOutcome::kRangesUnsupported),
     false, false},
    {"NoStatus", 0, {0, "", {}, ""}, OutcomeText(DownloadOutcome::kRangesUnsupported), false, false},
    {"PartialWithoutContentRange", 0, {206, "Partial Content", {}, Body(1000)},
     OutcomeText(DownloadOutcome::kLengthUnknown), true, true},
    {"PartialWithoutStatedLength", 0,
     {206, "Partial Content", {{"Content-Range", "bytes 0-999/*"}}, Body(1000)},
     OutcomeText(DownloadOutcome::kLengthUnknown), true, true},
    {"UnsatisfiableWithoutContentRange", 0, {416, "Range Not Satisfiable", {}, ""},
     OutcomeText(DownloadOutcome::kLengthUnknown), false, true},
    {"RangeWithoutStatedLengthBeginsElsewhere", 0,
     {206, "Partial Content", {{"Content-Range", "bytes 100-1099/*"}}, Body(1000)},
     OutcomeText(DownloadOutcome::kRangeMismatch), false, false},
    {"RangeWithoutStatedLengthHasAShortBody", 0,
     {206, "Partial Content", {{"Content-Range", "bytes 0-999/*"}}, Body(600)},
     OutcomeText(DownloadOutcome::kBodyLengthMismatch), false, false},
    {"RangeBeginsElsewhere", 0,
     {206, "Partial Content", {{"Content-Range", "bytes 100-1099/50000"}}, Body(1000)},
     OutcomeText(DownloadOutcome::kRangeMismatch), false, false},
    {"RangeBeginsBeforeTheLocalEnd", 30000,
     {206, "Partial Content", {{"Content-Range", "bytes 0-20479/50000"}}, Body(20480)},
     OutcomeText(DownloadOutcome::kRangeMismatch), false, false},
    {"RangeEndsPastTheTotal", 0,
     {206, "Partial Content", {{"Content-Range", "bytes 0-999/500"}}, Body(1000)},
     OutcomeText(DownloadOutcome::kRangeMismatch), false, false},
    {"RangeWithoutPositions", 0,
     {206, "Partial Content", {{"Content-Range", "bytes */1000"}}, Body(1000)},
     OutcomeText(DownloadOutcome::kRangeMismatch), false, false},
    {"BodyShorterThanItsRange", 0,
     {206, "Partial Content", {{"Content-Range", "bytes 0-20479/50000"}}, Body(20000)},
     OutcomeText(DownloadOutcome::kBodyLengthMismatch), false, false},
    {"BodyLongerThanItsRange", 0,
     {206, "Partial Content", {{"Content-Range", "bytes 0-999/50000"}}, Body(1001)},
     OutcomeText(DownloadOutcome::kBodyLengthMismatch), false, false},
    {"UnsatisfiableOnAnEmptyFile", 0,
     {416, "Range Not Satisfiable", {{"Content-Range", "bytes */50000"}}, ""},
     OutcomeText(DownloadOutcome::kLocalLengthMismatch), false, false},
    {"ResourceOf2Gigabytes", 0,
     {206, "Partial Content", {{"Content-Range", "bytes 0-999/2147483648"}}, Body(1000)},
     OutcomeText(DownloadOutcome::kTooLarge), false, false},
    {"UnsatisfiableOfMoreThan2Gigabytes", 0,
     {416, "Range Not Satisfiable", {{"Content-Range", "bytes */9000000000"}}, ""},
     OutcomeText(DownloadOutcome::kTooLarge), false, false},
};

void PrintTo(const AnswerCase& c, std::ostream* out) { *out << c.name; }

class RangeDownloaderAnswerTest : public RangeDownloaderTest,
                                  public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(RangeDownloaderAnswerTest, EndsTheTransferWithItsStatusText) {
  const AnswerCase& c = GetParam();
  const std::string local = Resource(c.local_length);
  LocalBytes() = local;
  Answer(c.answer);
  SetUpTransfer();

  EXPECT_FALSE(downloader.Download());

  EXPECT_EQ(http.sent().size(), 1u);
  EXPECT_EQ(downloader.StatusText(), c.status_text);
  // An error answer's own reason phrase is the one text that is not the table's.
  EXPECT_EQ(downloader.Outcome() == DownloadOutcome::kHttpError,
            c.answer.status > 299 && c.answer.status != 416);
  EXPECT_EQ(LocalBytes(), c.body_written ? local + c.answer.body : local);
  EXPECT_EQ(progress.size(), c.progress_reported ? 1u : 0u);
  // No total length was taken, so the finished routine sees 0 percent.
  EXPECT_THAT(finished, ElementsAre(Finished(c.answer.status, c.status_text, 0)));
  EXPECT_FALSE(downloader.Busy());
  EXPECT_FALSE(files.files[Text(kPath)].open);
}

INSTANTIATE_TEST_SUITE_P(Answers, RangeDownloaderAnswerTest, ::testing::ValuesIn(kAnswerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RangeDownloaderTest, ChangedTotalKeepsEarlierBlocksAndReportsTheirPercent) {
  const std::string first = Resource(50000);
  const std::string second = Resource(60000);
  http.Respond([&](const SentHttpRequest& request) {
    return ServeRange(http.sent().size() == 1 ? first : second, request.Header("Range"));
  });
  SetUpTransfer();

  EXPECT_FALSE(downloader.Download());

  EXPECT_EQ(http.sent().size(), 2u);
  EXPECT_EQ(LocalBytes(), first.substr(0, 20480));
  EXPECT_THAT(PercentsReported(), ElementsAre(40));
  // The finished routine runs before the counters are reset.
  EXPECT_THAT(finished, ElementsAre(Finished(206, OutcomeText(DownloadOutcome::kTotalChanged), 40)));

  // The next transfer resumes where the file ends.
  finished.clear();
  Serve(second);
  EXPECT_TRUE(downloader.Download());
  EXPECT_EQ(RangesAsked()[2], "bytes=20480-40959");
}

TEST_F(RangeDownloaderTest, LaterBlocksNeedNotStateTheLengthAgain) {
  const std::string resource = Resource(50000);
  http.Respond([&](const SentHttpRequest& request) {
    ScriptedHttpAnswer answer = ServeRange(resource, request.Header("Range"));
    if (http.sent().size() > 1) {
      Text& content_range = answer.headers.front().second;
      content_range = content_range.substr(0, content_range.rfind('/')) + "/*";
    }
    return answer;
  });
  SetUpTransfer();

  EXPECT_TRUE(downloader.Download());

  EXPECT_THAT(PercentsReported(), ElementsAre(40, 81, 100));
  EXPECT_EQ(LocalBytes(), resource);
}

TEST_F(RangeDownloaderTest, FailedWriteIsNotTakenForAComplete) {
  Serve(Resource(1000));
  files.writes_fail = true;
  SetUpTransfer();

  EXPECT_FALSE(downloader.Download());
  EXPECT_EQ(downloader.StatusText(), OutcomeText(DownloadOutcome::kLocalFileUnwritable));
  EXPECT_TRUE(progress.empty());
}

// --- The 32-bit limit ------------------------------------------------------------------

TEST_F(RangeDownloaderTest, LocalFileOf2GigabytesIsNotResumed) {
  files.files[Text(kPath)].sparse_length = 2147483648LL;
  Serve(Resource(10));
  SetUpTransfer();

  EXPECT_FALSE(downloader.Download());
  EXPECT_TRUE(http.sent().empty());
  EXPECT_THAT(finished, ElementsAre(Finished(0, OutcomeText(DownloadOutcome::kTooLarge), 0)));
}

TEST_F(RangeDownloaderTest, LastBlockJustBelow2GigabytesCompletes) {
  const std::int64_t local_length = 2147483000;
  files.files[Text(kPath)].sparse_length = local_length;
  const std::string tail = Resource(647);
  Answer({206, "Partial Content", {{"Content-Range", "bytes 2147483000-2147483646/2147483647"}},
          tail});
  SetUpTransfer();

  EXPECT_TRUE(downloader.Download());

  // The range asked for reaches past 2 GB without wrapping round.
  EXPECT_THAT(RangesAsked(), ElementsAre("bytes=2147483000-2147503479"));
  EXPECT_EQ(LocalBytes(), tail);
  EXPECT_THAT(finished, ElementsAre(Finished(206, OutcomeText(DownloadOutcome::kComplete), 100)));
}

// --- Block size, time allowed, speed ---------------------------------------------------

struct BlockSizeCase {
  int kilobytes;  // -1: Init's own block size
  std::int32_t block_size;
  std::int32_t timeout_ms;
};

TEST_F(RangeDownloaderTest, BlockSizeAndTimeAllowed) {
  const BlockSizeCase cases[] = {
      {-1, 10240, 102400}, {20, 20480, 204800},     {0, 4096, 40960},
      {1, 1024, 10240},    {255, 261120, 2611200}, {256, 4096, 40960},  // low 8 bits: 0
      {300, 45056, 450560},
  };
  for (const BlockSizeCase& c : cases) {
    SCOPED_TRACE(c.kilobytes);
    RangeDownloader fresh(http, files, clock);
    ASSERT_TRUE(fresh.Init(nullptr, nullptr));
    if (c.kilobytes >= 0) fresh.SetBlockSize(c.kilobytes);
    EXPECT_EQ(fresh.BlockSize(), c.block_size);
    EXPECT_EQ(fresh.TimeoutMs(), c.timeout_ms);
  }
}

TEST_F(RangeDownloaderTest, BlockSizeSetsTheRangeAsked) {
  Serve(Resource(5000));
  SetUpTransfer(0);
  EXPECT_TRUE(downloader.Download());
  EXPECT_THAT(RangesAsked(), ElementsAre("bytes=0-4095", "bytes=4096-8191"));
}

TEST_F(RangeDownloaderTest, BlockNotCompleteInTimeEndsTheTransfer) {
  const std::string resource = Resource(50000);
  http.Respond([&](const SentHttpRequest& request) {
    ScriptedHttpAnswer answer = ServeRange(resource, request.Header("Range"));
    if (http.sent().size() == 2) answer.complete_after_ms = ScriptedHttpAnswer::kNever;
    return answer;
  });
  SetUpTransfer();

  EXPECT_FALSE(downloader.Download());

  EXPECT_EQ(downloader.StatusText(), OutcomeText(DownloadOutcome::kTimedOut));
  EXPECT_EQ(http.abort_count(), 1);  // the pending request is cancelled
  // 204800 ms are allowed: the 205th second is the first past it. Every wait is one
  // blocking call of 1000 ms, never a busy loop.
  EXPECT_EQ(http.waits(), std::vector<int>(205, 1000));
  EXPECT_EQ(LocalBytes(), resource.substr(0, 20480));
  EXPECT_THAT(finished, ElementsAre(Finished(0, OutcomeText(DownloadOutcome::kTimedOut), 40)));
}

TEST_F(RangeDownloaderTest, TimeIsAllowedPerBlock) {
  const std::string resource = Resource(50000);
  http.Respond([&](const SentHttpRequest& request) {
    ScriptedHttpAnswer answer = ServeRange(resource, request.Header("Range"));
    answer.complete_after_ms = 200000;  // under the 204800 ms of one block, three times over
    return answer;
  });
  SetUpTransfer();

  EXPECT_TRUE(downloader.Download());
  EXPECT_EQ(LocalBytes(), resource);
}

// The windows see one wait a block, however many passes its answer takes, so the wait
// cursor does not come and go while a slow block is awaited.
TEST_F(RangeDownloaderTest, EachBlockIsOneWaitForTheWindows) {
  struct CountingPump final : platform::WaitPump {
    void WaitBegins() override { ++begun; }
    void Waiting() override {}
    void WaitEnds() override { ++ended; }
    int begun = 0;
    int ended = 0;
  } pump;
  const platform::InstalledWaitPump installed(pump);
  const std::string resource = Resource(50000);
  http.Respond([&](const SentHttpRequest& request) {
    ScriptedHttpAnswer answer = ServeRange(resource, request.Header("Range"));
    answer.complete_after_ms = 3500;  // four passes of the downloader's wait
    return answer;
  });
  SetUpTransfer();

  EXPECT_TRUE(downloader.Download());
  EXPECT_EQ(pump.begun, 3);
  EXPECT_EQ(pump.ended, 3);
}

TEST_F(RangeDownloaderTest, AnswerCompleteWhenFirstExaminedAfterTheTimeIsTaken) {
  const std::string resource = Resource(1000);
  http.Respond([&](const SentHttpRequest& request) {
    ScriptedHttpAnswer answer = ServeRange(resource, request.Header("Range"));
    answer.complete_after_ms = 204900;  // complete during the wait that passes the 204800 ms
    return answer;
  });
  SetUpTransfer();

  EXPECT_TRUE(downloader.Download());
  EXPECT_EQ(http.abort_count(), 0);
}

TEST_F(RangeDownloaderTest, SpeedIsTheBlockSizeOverTheTimeTaken) {
  const struct {
    std::int64_t elapsed_ms;
    std::int32_t speed;
  } cases[] = {{1000, 20}, {333, 60}, {0, 0}, {40, 500}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.elapsed_ms);
    const std::string resource = Resource(100);  // a short block counts as a whole one
    files.files.clear();
    progress.clear();
    http.Respond([&](const SentHttpRequest& request) {
      ScriptedHttpAnswer answer = ServeRange(resource, request.Header("Range"));
      answer.complete_after_ms = c.elapsed_ms;
      return answer;
    });
    RangeDownloader fresh(http, files, clock);
    fresh.Init(RecordProgress(progress), nullptr);
    fresh.SetLocalFile(kPath);
    fresh.SetUrl(kUrl, "");
    fresh.SetBlockSize(20);
    ASSERT_TRUE(fresh.Download());
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_EQ(progress[0].speed, c.speed);
  }
}

// --- Gates ------------------------------------------------------------------------------

TEST_F(RangeDownloaderTest, NothingButInitWorksBeforeInit) {
  EXPECT_FALSE(downloader.SetLocalFile(kPath));
  downloader.SetUrl(kUrl, "x");
  downloader.SetBlockSize(20);
  downloader.Abort();
  downloader.Report();

  EXPECT_FALSE(downloader.Download());

  EXPECT_EQ(downloader.StatusText(), OutcomeText(DownloadOutcome::kNotInitialised));
  EXPECT_EQ(downloader.Url(), "");
  EXPECT_EQ(downloader.LocalPath(), "");
  EXPECT_EQ(downloader.BlockSize(), 0);
  EXPECT_EQ(downloader.TimeoutMs(), 0);
  EXPECT_EQ(http.objects_created(), 0);
  EXPECT_EQ(files.opens, 0);
}

TEST_F(RangeDownloaderTest, InitFailsWhenNoHttpObjectCanBeMade) {
  http.FailCreation();
  EXPECT_FALSE(downloader.Init(RecordProgress(progress), RecordFinished(finished)));
  EXPECT_FALSE(downloader.Initialised());
  EXPECT_FALSE(downloader.Download());
  EXPECT_EQ(downloader.StatusText(), OutcomeText(DownloadOutcome::kNotInitialised));
  EXPECT_TRUE(finished.empty());
}

TEST_F(RangeDownloaderTest, SecondInitIsRefusedAndTheFirstRoutinesStay) {
  Serve(Resource(1000));
  SetUpTransfer();
  std::vector<ProgressCall> later_progress;
  std::vector<FinishedCall> later_finished;
  downloader.SetBlockSize(1);

  EXPECT_FALSE(downloader.Init(RecordProgress(later_progress), RecordFinished(later_finished)));

  EXPECT_EQ(downloader.BlockSize(), 1024);  // not put back to 10240
  EXPECT_TRUE(downloader.Download());
  EXPECT_EQ(progress.size(), 1u);
  EXPECT_EQ(finished.size(), 1u);
  EXPECT_TRUE(later_progress.empty());
  EXPECT_TRUE(later_finished.empty());
  EXPECT_EQ(http.objects_created(), 1);
}

TEST_F(RangeDownloaderTest, CallsDuringATransferAreRefused) {
  const std::string resource = Resource(50000);
  Serve(resource);
  std::vector<bool> results;
  downloader.Init(
      [&](std::string_view, std::int32_t, std::int32_t, std::int32_t) {
        if (!results.empty()) return;
        results.push_back(downloader.Init(nullptr, nullptr));
        results.push_back(downloader.SetLocalFile("\\other.zip"));
        downloader.SetUrl("http://other/", "r");
        downloader.SetBlockSize(1);
        results.push_back(downloader.Download());
      },
      RecordFinished(finished));
  downloader.SetLocalFile(kPath);
  downloader.SetUrl(kUrl, "");
  downloader.SetBlockSize(20);

  EXPECT_TRUE(downloader.Download());

  EXPECT_THAT(results, ElementsAre(false, false, false));
  EXPECT_THAT(RangesAsked(),
              ElementsAre("bytes=0-20479", "bytes=20480-40959", "bytes=40960-61439"));
  EXPECT_EQ(downloader.Url(), kUrl);
  EXPECT_EQ(downloader.LocalPath(), kPath);
  EXPECT_EQ(LocalBytes(), resource);
  // The refused Download reports its own text; the running transfer still ends with its.
  EXPECT_THAT(finished, ElementsAre(Finished(206, OutcomeText(DownloadOutcome::kAlreadyDownloading), 40),
                                    Finished(206, OutcomeText(DownloadOutcome::kComplete), 100)));
}

TEST_F(RangeDownloaderTest, LocalFileThatCannotBeOpenedChangesNothing) {
  Serve(Resource(1000));
  SetUpTransfer();
  const auto holder = files.OpenFile(kPath, platform::OpenMode::kWrite);  // another opener

  EXPECT_FALSE(downloader.Download());

  EXPECT_EQ(downloader.StatusText(), OutcomeText(DownloadOutcome::kLocalFileUnopenable));
  EXPECT_TRUE(http.sent().empty());
  EXPECT_THAT(finished, ElementsAre(Finished(0, OutcomeText(DownloadOutcome::kLocalFileUnopenable), 0)));
  EXPECT_FALSE(downloader.Busy());
}

TEST_F(RangeDownloaderTest, EmptyLocalPathCannotBeOpened) {
  SetUpTransfer();
  downloader.SetLocalFile("");
  EXPECT_FALSE(downloader.Download());
  EXPECT_EQ(downloader.StatusText(), OutcomeText(DownloadOutcome::kLocalFileUnopenable));
}

TEST_F(RangeDownloaderTest, FileIsClosedBeforeTheFinishedRoutineRuns) {
  Serve(Resource(1000));
  std::vector<bool> opened;
  downloader.Init(nullptr, [&](std::string_view, std::int32_t, std::string_view, std::int32_t) {
    opened.push_back(files.OpenFile(kPath, platform::OpenMode::kWrite) != nullptr);
  });
  downloader.SetLocalFile(kPath);
  downloader.SetUrl(kUrl, "");
  EXPECT_TRUE(downloader.Download());
  EXPECT_THAT(opened, ElementsAre(true));
}

// --- Abort --------------------------------------------------------------------------------

TEST_F(RangeDownloaderTest, AbortWhileWaitingEndsTheTransfer) {
  Answer({206, "Partial Content", {}, "", ScriptedHttpAnswer::kNever});
  SetUpTransfer();
  http.OnWait([&] {
    if (http.waits().size() == 3) downloader.Abort();
  });

  EXPECT_FALSE(downloader.Download());

  EXPECT_EQ(downloader.StatusText(), OutcomeText(DownloadOutcome::kAbortedByUser));
  EXPECT_EQ(http.abort_count(), 1);
  EXPECT_EQ(http.waits().size(), 3u);
  EXPECT_THAT(finished, ElementsAre(Finished(0, OutcomeText(DownloadOutcome::kAbortedByUser), 0)));
}

TEST_F(RangeDownloaderTest, AbortAfterABlockStopsWithoutAStatusTextAndTheNextTransferResumes) {
  const std::string resource = Resource(50000);
  Serve(resource);
  bool aborted = false;
  downloader.Init(
      [&](std::string_view, std::int32_t, std::int32_t, std::int32_t) {
        if (!aborted) downloader.Abort();
        aborted = true;
      },
      RecordFinished(finished));
  downloader.SetLocalFile(kPath);
  downloader.SetUrl(kUrl, "");
  downloader.SetBlockSize(20);

  EXPECT_FALSE(downloader.Download());

  EXPECT_EQ(downloader.StatusText(), "");
  EXPECT_EQ(http.sent().size(), 1u);
  EXPECT_EQ(LocalBytes(), resource.substr(0, 20480));
  // The abort also cancelled the HTTP object's answer, so no status can be read.
  EXPECT_THAT(finished, ElementsAre(Finished(0, "", 40)));

  // The abort flag does not outlive its transfer.
  EXPECT_TRUE(downloader.Download());
  EXPECT_EQ(LocalBytes(), resource);
  EXPECT_EQ(RangesAsked()[1], "bytes=20480-40959");
}

TEST_F(RangeDownloaderTest, AbortOutsideATransferDoesNothing) {
  const std::string resource = Resource(25000);
  Serve(resource);
  SetUpTransfer();

  downloader.Abort();

  EXPECT_EQ(http.abort_count(), 0);
  EXPECT_TRUE(downloader.Download());
  EXPECT_EQ(LocalBytes(), resource);
}

// --- Close and Copy ---------------------------------------------------------------------

TEST_F(RangeDownloaderTest, CloseReturnsToANewDownloader) {
  Serve(Resource(1000));
  SetUpTransfer();
  ASSERT_TRUE(downloader.Download());

  downloader.Close();

  EXPECT_FALSE(downloader.Initialised());
  EXPECT_EQ(downloader.Url(), "");
  EXPECT_EQ(downloader.LocalPath(), "");
  EXPECT_EQ(downloader.StatusText(), "");
  EXPECT_EQ(downloader.BlockSize(), 0);
  EXPECT_EQ(downloader.TimeoutMs(), 0);
  finished.clear();
  downloader.Report();  // no routine any more
  EXPECT_TRUE(finished.empty());
  EXPECT_TRUE(downloader.Init(nullptr, nullptr));
  EXPECT_EQ(http.objects_created(), 2);
}

TEST_F(RangeDownloaderTest, CopySharesTheHttpObjectAndDuplicatesTheTexts) {
  const std::string resource = Resource(1000);
  Serve(resource);
  SetUpTransfer();
  downloader.SetUrl(kUrl, "http://referer/");

  const std::unique_ptr<RangeDownloader> copy = downloader.Copy();
  downloader.SetUrl("http://changed/", "");

  EXPECT_EQ(copy->Url(), kUrl);
  EXPECT_EQ(copy->Referer(), "http://referer/");
  EXPECT_EQ(copy->LocalPath(), kPath);
  EXPECT_EQ(copy->BlockSize(), 20480);
  EXPECT_TRUE(copy->Initialised());
  EXPECT_TRUE(copy->Download());
  EXPECT_EQ(LocalBytes(), resource);
  EXPECT_EQ(http.objects_created(), 1);
  EXPECT_THAT(finished, ElementsAre(Finished(206, OutcomeText(DownloadOutcome::kComplete), 100)));  // same routine
}

}  // namespace
}  // namespace korvane::update
