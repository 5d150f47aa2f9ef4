// The parts of the test doubles that no real server shows: time that passes only in
// waits, answers queued per request, and the recorders.

#include <gtest/gtest.h>

#include "platform/testing/fake_named_events.h"
#include "platform/testing/scripted_http_client.h"
#include "platform/testing/scripted_http_request.h"
#include "platform/testing/temp_program_folder.h"

namespace korvane::platform::testing {
namespace {

TEST(ScriptedHttpRequest, APendingAnswerMovesTheClockByEachWholeWait) {
  ManualClock clock(5000);
  ScriptedHttpRequestFactory factory(&clock);
  factory.AnswerNext("http://u/a.zip", {.status = 206, .body = "ab", .complete_after_ms = 2000});
  factory.Answer("http://u/a.zip", {.complete_after_ms = ScriptedHttpAnswer::kNever});
  auto request = factory.CreateHttpRequest();

  request->Open("GET", "http://u/a.zip", true);
  request->SetRequestHeader("Referer", "");
  request->SetRequestHeader("Range", "bytes=0-1");
  request->Send();
  EXPECT_EQ(request->ReadyState(), HttpReadyState::kOpened);
  EXPECT_FALSE(request->WaitForResponse(1000));
  EXPECT_TRUE(request->WaitForResponse(1000));
  EXPECT_EQ(clock.NowMs(), 7000);
  EXPECT_EQ(request->Status(), 206);
  EXPECT_EQ(request->StatusText(), "Partial Content");

  request->Open("GET", "http://u/a.zip", true);
  request->Send();
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(request->WaitForResponse(1000));
  EXPECT_EQ(clock.NowMs(), 12000);
  request->Abort();
  EXPECT_EQ(factory.abort_count(), 1);
  ASSERT_EQ(factory.sent().size(), 2u);
  EXPECT_EQ(factory.sent()[0].headers, (HttpHeaders{{"Referer", ""}, {"Range", "bytes=0-1"}}));
  EXPECT_TRUE(factory.sent()[1].headers.empty());
}

TEST(ScriptedHttpRequest, AWaitEndsWhenTheAnswerIsDueAndAResponderAnswersEveryAddress) {
  ManualClock clock(0);
  ScriptedHttpRequestFactory factory(&clock);
  factory.ServeResource("http://u/a.zip", "abcdef");
  factory.Respond([](const SentHttpRequest& request) {
    ScriptedHttpAnswer answer = ServeRange("0123456789", request.Header("Range"));
    answer.complete_after_ms = 1500;
    return answer;
  });
  auto request = factory.CreateHttpRequest();
  request->Open("GET", "http://u/a.zip", true);
  request->SetRequestHeader("Range", "bytes=2-4");
  request->Send();
  EXPECT_FALSE(request->WaitForResponse(1000));
  EXPECT_TRUE(request->WaitForResponse(1000));
  EXPECT_EQ(clock.NowMs(), 1500) << "the second wait ends when the answer is there";
  EXPECT_EQ(request->ResponseBody(), "234");
  EXPECT_EQ(request->GetResponseHeader("content-range"), "bytes 2-4/10");
  EXPECT_EQ(factory.waits(), (std::vector<int>{1000, 1000}));

  factory.FailCreation();
  EXPECT_EQ(factory.CreateHttpRequest(), nullptr);
  EXPECT_EQ(factory.objects_created(), 1);
}

TEST(ScriptedHttpRequest, CodeThatRunsDuringAWaitCanAbort) {
  ScriptedHttpRequestFactory factory;
  factory.Answer("http://u/slow", {.complete_after_ms = ScriptedHttpAnswer::kNever});
  auto request = factory.CreateHttpRequest();
  factory.OnWait([&] { request->Abort(); });
  request->Open("GET", "http://u/slow", true);
  request->Send();
  EXPECT_FALSE(request->WaitForResponse(1000));
  EXPECT_EQ(request->ReadyState(), HttpReadyState::kUnsent);
  EXPECT_EQ(factory.abort_count(), 1);
}

TEST(ScriptedHttpClient, UnknownAddressesAndBodiesPastTheLimitGiveNoAnswer) {
  ScriptedHttpClient client;
  client.Answer("http://c/zongkong/ads/adskg.txt", "<html>error page</html>");
  EXPECT_EQ(client.HttpGetBytes("http://c/zongkong/ads/adskg.txt", kControlFileLimits), "<html>error page</html>");
  EXPECT_EQ(client.HttpGetBytes("http://c/other.txt", kControlFileLimits), "");
  EXPECT_EQ(client.HttpGetBytes("http://c/zongkong/ads/adskg.txt", FetchLimits{.deadline_ms = 1, .max_bytes = 23}),
            "<html>error page</html>");
  EXPECT_EQ(client.HttpGetBytes("http://c/zongkong/ads/adskg.txt", FetchLimits{.deadline_ms = 1, .max_bytes = 22}), "");
  EXPECT_EQ(client.FetchCount("http://c/zongkong/ads/adskg.txt"), 3);
  EXPECT_EQ(client.fetched().size(), 4u);
}

TEST(FakeNamedEvents, AnEventIsHeldUntilItsObjectGoes) {
  FakeNamedEvents events;
  events.HoldElsewhere("http://home/");
  EXPECT_TRUE(events.OpenNamedEvent("http://home/"));
  events.ReleaseElsewhere("http://home/");
  {
    auto held = events.CreateNamedEvent("http://home/");
    EXPECT_TRUE(held->HoldsName());
    EXPECT_FALSE(events.CreateNamedEvent("http://home/")->HoldsName());
    EXPECT_TRUE(events.OpenNamedEvent("http://home/"));
    auto nameless = events.CreateNamedEvent("");
    EXPECT_FALSE(events.OpenNamedEvent(""));
  }
  EXPECT_FALSE(events.OpenNamedEvent("http://home/"));
}

TEST(TempProgramFolder, FilesWrittenThroughItAreSeenByTheFileOperations) {
  TempProgramFolder folder;
  ASSERT_TRUE(folder.Write("\\update\\up.dat", "[\xB0\xE6\xB1\xBE]\r\n"));
  auto search = folder.files().FindFiles(folder.run_directory() + "\\update\\*.*", FindMode::kFilesOnly);
  EXPECT_EQ(search->FindFileNext(), "up.dat");
  EXPECT_EQ(folder.Read("\\update\\up.dat"), "[\xB0\xE6\xB1\xBE]\r\n");
  EXPECT_TRUE(folder.files().DeleteDirectoryTree(folder.run_directory() + "\\update"));
  EXPECT_FALSE(folder.Exists("\\update"));
}

}  // namespace
}  // namespace korvane::platform::testing
