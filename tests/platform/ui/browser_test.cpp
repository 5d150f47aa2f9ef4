// Headless browser boxes: pages come through the HTTP fetch, Navigated (with the page
// readable at once) comes before PageComplete, and history moves back, forward and again.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/browser_history.h"
#include "tests/platform/ui/ui_test_fixture.h"

namespace korvane::platform::ui::testing {
namespace {

using ::testing::ElementsAre;

class RecordingServer final : public HttpClient {
 public:
  std::string HttpGetBytes(std::string_view address, const FetchLimits&) override {
    fetched.emplace_back(address);
    return std::string("page\0of ", 8) + std::string(address);
  }
  std::vector<std::string> fetched;
};

class BrowserTest : public HeadlessProgramTest {
 protected:
  BrowserTest() {
    backend_with_pages_.SetDriver(&script_);
    program_with_pages_.BindHandler("OnPageLoaded", [this](const Event& event) {
      trace_.push_back("navigated " + event.text + " with " +
                       std::to_string(WebBrowserBox(program_with_pages_, event.source.Id()).GetPageSource().size()) +
                       " bytes");
    });
    program_with_pages_.BindHandler("OnPageComplete", [this](const Event&) { trace_.push_back("complete"); });
    program_with_pages_.BindHandler("OnBrowserMenu", [this](const Event&) { trace_.push_back("context menu"); });
    for (const char* name : {"OnDialogCreated", "OnOpenClicked"}) program_with_pages_.BindHandler(name, [](const Event&) {});
  }

  // Runs the browser window with `steps` as the user's actions, then closes it.
  void RunWith(const std::function<void(WebBrowserBox)>& steps) {
    script_.Call([&] { steps(Browser()); }).Call([&] { program_with_pages_.DestroyUnit(Browser().ParentWindow()); });
    EXPECT_EQ(program_with_pages_.Run([&] { program_with_pages_.LoadWindow("Browser", false); }), 0);
  }
  WebBrowserBox Browser() {
    return InspectionOf(program_with_pages_).Windows().front().Find<WebBrowserBox>("主界面片库浏览器");
  }

  RecordingServer server_;
  HeadlessBackend backend_with_pages_{time_, &server_};
  Program program_with_pages_{backend_with_pages_, resources_};
};

TEST_F(BrowserTest, NavigatedWithTheRawPageComesBeforePageComplete) {
  RunWith([&](WebBrowserBox browser) {
    browser.Navigate("http://a.test/1");
    trace_.push_back("navigate returned");
  });
  EXPECT_THAT(trace_, ElementsAre("navigate returned", "navigated http://a.test/1 with 23 bytes", "complete"));
}

TEST_F(BrowserTest, HistoryGoesBackAndForwardAndANewPageCutsTheForwardPart) {
  std::vector<Text> shown;
  RunWith([&](WebBrowserBox browser) {
    browser.Navigate("http://a.test/1");
    browser.Navigate("http://a.test/2");
    program_with_pages_.ProcessPendingMessages();
    browser.GoBack();
    program_with_pages_.ProcessPendingMessages();
    shown.push_back(browser.Address());
    browser.GoForward();
    program_with_pages_.ProcessPendingMessages();
    shown.push_back(browser.Address());
    browser.GoBack();
    browser.Navigate("http://a.test/3");
    program_with_pages_.ProcessPendingMessages();
    browser.GoForward();  // nothing ahead any more
    browser.Refresh();
    program_with_pages_.ProcessPendingMessages();
    shown.push_back(browser.Address());
    EXPECT_THAT(ModelOf(browser)->StateOf<BrowserState>()->history, ElementsAre("http://a.test/1", "http://a.test/3"));
  });
  EXPECT_THAT(shown, ElementsAre("http://a.test/1", "http://a.test/2", "http://a.test/3"));
  // A load that a newer one overtakes before it ran is never fetched: the first page and
  // the back step just before the third page.
  EXPECT_THAT(server_.fetched,
              ElementsAre("http://a.test/2", "http://a.test/1", "http://a.test/2", "http://a.test/3", "http://a.test/3"));
}

// Pages come from the network: only addresses the gate passes load. Anything else shows
// an empty page without an event, also when the user follows it from inside a page, and
// drops a load that it overtakes.
TEST_F(BrowserTest, OnlyAddressesThatPassTheGateLoad) {
  RunWith([&](WebBrowserBox browser) {
    browser.Navigate("http://a.test/1");
    program_with_pages_.ProcessPendingMessages();
    browser.Navigate("http://a.test/overtaken");
    browser.Navigate("file:///etc/passwd");
    program_with_pages_.ProcessPendingMessages();
    EXPECT_EQ(browser.GetPageSource(), "");
    EXPECT_EQ(browser.Address(), "");
    for (const Text address : {"c:\\boot.ini", "http://a.test/2\r\nHost: b.test", "qvod://a.test/3"}) {
      EXPECT_TRUE(InputOf(program_with_pages_).UserNavigate(browser, address));
      program_with_pages_.ProcessPendingMessages();
    }
    EXPECT_THAT(ModelOf(browser)->StateOf<BrowserState>()->history,
                ElementsAre("http://a.test/1", "http://a.test/overtaken"));
    HypertextBox ad = browser.ParentWindow().Find<HypertextBox>("广告页");
    ad.SetAddress("https://ads.test/corner");
    EXPECT_EQ(ad.Address(), "https://ads.test/corner");
    for (const Text address : {"file:///etc/passwd", "https://ads.test/corner\r\n"}) {
      ad.SetAddress("https://ads.test/corner");
      ad.SetAddress(address);
      EXPECT_EQ(ad.Address(), "") << address;
    }
  });
  EXPECT_THAT(trace_, ElementsAre("navigated http://a.test/1 with 23 bytes", "complete"));
  EXPECT_THAT(server_.fetched, ElementsAre("http://a.test/1"));
}

TEST_F(BrowserTest, StopDropsAPageThatHasNotLoaded) {
  RunWith([&](WebBrowserBox browser) {
    browser.Navigate("http://a.test/slow");
    browser.Stop();
  });
  EXPECT_TRUE(trace_.empty());
  EXPECT_TRUE(server_.fetched.empty());
}

TEST_F(BrowserTest, ThePageTakesTheUsersClicksOnlyWhileTheUserCanReachIt) {
  const Text browser = "主界面片库浏览器";
  auto show = [&](bool visible) { return [&, visible] { Browser().SetVisible(visible); }; };
  script_.Call(show(false))
      .Add("context-menu", {browser})
      .Add("navigate", {browser, "http://a.test/hidden"})
      .Call(show(true))
      .Add("context-menu", {browser})
      .Add("navigate", {browser, "http://a.test/shown"})
      .Call([&] { program_with_pages_.LoadWindow("Dialog", true); })
      .Add("context-menu", {browser})  // behind the modal dialog
      .Add("navigate", {browser, "http://a.test/behind"})
      .Add("key", {"Esc"})
      .Add("context-menu", {"软件统计"})  // hidden at load
      .Call([&] { program_with_pages_.DestroyUnit(Browser().ParentWindow()); });
  EXPECT_EQ(program_with_pages_.Run([&] { program_with_pages_.LoadWindow("Browser", false); }), 0);
  EXPECT_THAT(trace_, ElementsAre("context menu", "navigated http://a.test/shown with 27 bytes", "complete"));
  EXPECT_THAT(server_.fetched, ElementsAre("http://a.test/shown"));
  EXPECT_THAT(backend_with_pages_.ScriptErrors(),
              ElementsAre("context-menu: input refused", "navigate: input refused", "context-menu: input refused",
                          "navigate: input refused", "context-menu: input refused"));
}

// A browser that runs for hours keeps the newest addresses only, and back still walks
// through all of them in order.
TEST(BrowserHistoryTest, KeepsTheNewestAddresses) {
  BrowserState state;
  const std::size_t pages = kHistoryKept + 30;
  for (std::size_t page = 1; page <= pages; ++page) PushHistory(state, "http://a.test/" + std::to_string(page));
  ASSERT_EQ(state.history.size(), kHistoryKept);
  EXPECT_EQ(state.history.front(), "http://a.test/31");
  std::vector<Text> back;
  while (std::optional<Text> address = MoveInHistory(state, BrowserCommand::kGoBack)) back.push_back(*address);
  ASSERT_EQ(back.size(), kHistoryKept - 1);
  EXPECT_EQ(back.front(), "http://a.test/" + std::to_string(pages - 1));
  EXPECT_EQ(back.back(), "http://a.test/31");
  EXPECT_EQ(MoveInHistory(state, BrowserCommand::kGoForward), "http://a.test/32");
  // A new page from there cuts what lies ahead, as below the bound.
  PushHistory(state, "http://b.test/");
  EXPECT_THAT(state.history, ElementsAre("http://a.test/31", "http://a.test/32", "http://b.test/"));
}

// Who keeps a page's source keeps the bytes it was given, whatever the browser loads next.
TEST_F(BrowserTest, AKeptPageSourceOutlivesTheNextLoad) {
  RunWith([&](WebBrowserBox browser) {
    browser.Navigate("http://a.test/1");
    program_with_pages_.ProcessPendingMessages();
    const std::shared_ptr<const std::string> kept = browser.SharedPageSource();
    browser.Navigate("http://a.test/22");
    program_with_pages_.ProcessPendingMessages();
    EXPECT_EQ(*kept, std::string("page\0of http://a.test/1", 23));
    EXPECT_EQ(browser.GetPageSource(), std::string("page\0of http://a.test/22", 24));
    browser.Navigate("file:///etc/passwd");
    EXPECT_EQ(*browser.SharedPageSource(), "");
    EXPECT_EQ(kept->size(), 23u);
  });
}

}  // namespace
}  // namespace korvane::platform::ui::testing
