// Browser and hypertext boxes as WebKit views, against a real HTTP server on loopback:
// the events of a load and their order, the page's bytes as the server sent them, the
// history, the right click, and the hypertext box's page.

#include <string>
#include <vector>

#include <webkit2/webkit2.h>

#include "tests/platform/ui/desktop/desktop_test_fixture.h"
#include "tests/support/test_http_server.h"

namespace korvane::platform::ui::desktop::testing {
namespace {

inline constexpr char8_t kWebLayout[] = u8R"({
  "caption": "网页",
  "size": [400, 300],
  "controls": [
    {"kind": "WebBrowserBox", "name": "浏览器", "rect": [0, 0, 300, 200],
     "events": {"Navigated": "OnNavigated", "PageComplete": "OnPageComplete",
                "ShortcutMenuRequested": "OnShortcutMenu"}},
    {"kind": "WebBrowserBox", "name": "统计", "rect": [0, 0, 0, 0]},
    {"kind": "HypertextBox", "name": "超文本浏览框1", "rect": [300, 200, 100, 100]}
  ]
})";

// GBK pages, with a character whose trail byte is 0x5C ("\") and one that has no UTF-8
// form of the same bytes.
const std::string kPageA = "<html><head><meta charset=\"gbk\"></head><body>片库 甲 表</body></html>";
const std::string kPageB = "<html><head><meta charset=\"gbk\"></head><body>找片 乙</body></html>";

class DesktopBrowserTest : public DesktopProgramTest {
 protected:
  DesktopBrowserTest() {
    resources_.AddCopy("Web.layout.json", std::string(AsChars(kWebLayout)));
    const testing_support::HeaderList gbk_html{{"Content-Type", "text/html; charset=gbk"}};
    server_.Script("/a.html", {.status = 200, .body = kPageA, .headers = gbk_html});
    server_.Script("/b.html", {.status = 200, .body = kPageB, .headers = gbk_html});
    server_.Script("/stat.html", {.status = 200, .body = "ok", .headers = gbk_html});
    server_.Script("/ad.html", {.status = 200, .body = "<html><body>ad</body></html>", .headers = gbk_html});
    program_.BindHandler("OnNavigated", [this](const Event& event) {
      trace_.push_back("Navigated " + event.text);
      sources_.push_back(browser_.GetPageSource());
    });
    program_.BindHandler("OnPageComplete", [this](const Event&) { trace_.push_back("PageComplete"); });
    program_.BindHandler("OnShortcutMenu", [this](const Event&) { trace_.push_back("ShortcutMenuRequested"); });
    window_ = program_.LoadWindow("Web", false);
    browser_ = window_.Find<WebBrowserBox>("浏览器");
  }

  // Waits until the trace holds `count` entries; a load takes well under the time-out.
  bool TraceReaches(std::size_t count) {
    return PumpUntil([&] { return trace_.size() >= count; });
  }

  WebKitWebView* ViewOf(std::string_view name) const {
    GList* children = gtk_container_get_children(GTK_CONTAINER(Widget(window_, name)));
    auto* view = WEBKIT_WEB_VIEW(children->data);
    g_list_free(children);
    return view;
  }

  // Waits until the view has finished showing the empty page.
  bool ShowsBlank(std::string_view name) const {
    WebKitWebView* view = ViewOf(name);
    return PumpUntil([&] {
      return !webkit_web_view_is_loading(view) && std::string_view(webkit_web_view_get_uri(view)) == "about:blank";
    });
  }

  bool Requested(std::string_view target) const {
    for (const auto& request : server_.Requests()) {
      if (request.target == target) return true;
    }
    return false;
  }

  testing_support::TestHttpServer server_;
  Window window_;
  WebBrowserBox browser_;
  std::vector<std::string> sources_;
};

TEST_F(DesktopBrowserTest, ALoadRaisesNavigatedWithThePageBytesThenPageComplete) {
  // The address is GBK text: its raw bytes reach the server percent-encoded.
  const Text address = server_.Url("/a.html") + "?q=影片";
  browser_.Navigate(address);
  ASSERT_TRUE(TraceReaches(2));
  EXPECT_EQ(trace_, (std::vector<std::string>{"Navigated " + address, "PageComplete"}));
  ASSERT_EQ(sources_.size(), 1u);
  EXPECT_EQ(sources_[0], kPageA);
  EXPECT_EQ(browser_.Address(), address);
  EXPECT_TRUE(Requested("/a.html?q=%D3%B0%C6%AC"));
  EXPECT_EQ(ModelOf(browser_)->StateOf<BrowserState>()->loads, 1);
}

TEST_F(DesktopBrowserTest, AnUnreachablePageRaisesBothEventsWithNoBytes) {
  browser_.Navigate(server_.Url("/a.html"));
  ASSERT_TRUE(TraceReaches(2));
  Text gone;
  {
    testing_support::TestHttpServer closed;
    gone = closed.Url("/a.html");
  }
  browser_.Navigate(gone);
  ASSERT_TRUE(TraceReaches(4));
  EXPECT_EQ(trace_[2], "Navigated " + gone);
  EXPECT_EQ(trace_[3], "PageComplete");
  EXPECT_EQ(sources_.back(), "");
  // WebKit's error page that follows is no load of the browser's.
  WebKitWebView* view = ViewOf("浏览器");
  ASSERT_TRUE(PumpUntil([&] { return !webkit_web_view_is_loading(view); }));
  EXPECT_EQ(trace_.size(), 4u);
  EXPECT_EQ(ModelOf(browser_)->StateOf<BrowserState>()->history, (std::vector<Text>{server_.Url("/a.html"), gone}));
}

TEST_F(DesktopBrowserTest, BackAndForwardReturnToTheEarlierAndLaterPage) {
  const Text a = server_.Url("/a.html");
  const Text b = server_.Url("/b.html");
  browser_.Navigate(a);
  ASSERT_TRUE(TraceReaches(2));
  browser_.Navigate(b);
  ASSERT_TRUE(TraceReaches(4));
  browser_.GoBack();
  ASSERT_TRUE(TraceReaches(6));
  browser_.GoForward();
  ASSERT_TRUE(TraceReaches(8));
  browser_.GoForward();  // nothing further on: no load
  browser_.Refresh();
  ASSERT_TRUE(TraceReaches(10));
  EXPECT_EQ(trace_, (std::vector<std::string>{"Navigated " + a, "PageComplete", "Navigated " + b, "PageComplete",
                                              "Navigated " + a, "PageComplete", "Navigated " + b, "PageComplete",
                                              "Navigated " + b, "PageComplete"}));
  EXPECT_EQ(sources_, (std::vector<std::string>{kPageA, kPageB, kPageA, kPageB, kPageB}));
  EXPECT_EQ(ModelOf(browser_)->StateOf<BrowserState>()->history, (std::vector<Text>{a, b}));
}

// Only web addresses are loaded: any other leaves the page empty, raises nothing, and
// drops a load that was under way.
TEST_F(DesktopBrowserTest, ARefusedAddressShowsAnEmptyPageAndRaisesNothing) {
  const Text a = server_.Url("/a.html");
  browser_.Navigate(a);
  ASSERT_TRUE(TraceReaches(2));
  browser_.Navigate("file:///etc/hostname");
  ASSERT_TRUE(ShowsBlank("浏览器"));
  EXPECT_EQ(browser_.GetPageSource(), "");
  EXPECT_EQ(browser_.Address(), "");

  const Text b = server_.Url("/b.html");
  browser_.Navigate(b);
  browser_.Navigate("javascript:alert(1)");
  ASSERT_TRUE(ShowsBlank("浏览器"));
  browser_.Navigate(a);
  ASSERT_TRUE(TraceReaches(4));
  EXPECT_EQ(trace_, (std::vector<std::string>{"Navigated " + a, "PageComplete", "Navigated " + a, "PageComplete"}));
  EXPECT_EQ(ModelOf(browser_)->StateOf<BrowserState>()->history, (std::vector<Text>{a, b, a}));
}

TEST_F(DesktopBrowserTest, AZeroSizeBrowserLoadsItsPage) {
  auto statistics = window_.Find<WebBrowserBox>("统计");
  statistics.Navigate(server_.Url("/stat.html"));
  ASSERT_TRUE(PumpUntil([&] { return statistics.GetPageSource() == "ok"; }));
  EXPECT_EQ(statistics.Address(), server_.Url("/stat.html"));
}

TEST_F(DesktopBrowserTest, ARightClickInThePageRaisesShortcutMenuRequestedOnly) {
  browser_.Navigate(server_.Url("/a.html"));
  ASSERT_TRUE(TraceReaches(2));
  WebKitWebView* view = ViewOf("浏览器");
  ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_mapped(GTK_WIDGET(view)); }));
  SendButton(gtk_widget_get_window(GTK_WIDGET(view)), GDK_BUTTON_PRESS, 3, 20, 20);
  ASSERT_TRUE(TraceReaches(3));
  EXPECT_EQ(trace_.back(), "ShortcutMenuRequested");
  // A hidden browser takes no right click.
  browser_.SetVisible(false);
  EXPECT_FALSE(InputOf(program_).UserShortcutMenu(browser_));
}

TEST_F(DesktopBrowserTest, AHypertextBoxShowsThePageAtItsAddress) {
  auto box = window_.Find<HypertextBox>("超文本浏览框1");
  box.SetAddress(server_.Url("/ad.html"));
  WebKitWebView* view = ViewOf("超文本浏览框1");
  ASSERT_TRUE(PumpUntil([&] {
    return !webkit_web_view_is_loading(view) && webkit_web_view_get_uri(view) == server_.Url("/ad.html");
  }));
  EXPECT_TRUE(Requested("/ad.html"));
  EXPECT_EQ(box.Address(), server_.Url("/ad.html"));
  box.SetAddress("file:///etc/hostname");
  ASSERT_TRUE(ShowsBlank("超文本浏览框1"));
  EXPECT_EQ(box.Address(), "");
}

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
