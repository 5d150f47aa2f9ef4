// The about window in one process: the texts it fills in, the two link labels, and the
// buttons that close it or do nothing.

#include <gtest/gtest.h>

#include <vector>

#include "common/cipher.h"
#include "deploy/deployment.h"
#include "tests/player/windows/panel_windows_fixture.h"

namespace korvane::player::testing {
namespace {

using platform::testing::ShellCall;

// The operator's site address as the deployment builds it in.
Text SiteAddress() { return DecipherHexTextKey1(deploy::PlayerSiteAddress()); }

class AboutWindowTest : public ::testing::Test, protected PanelWindowsFixture {
 protected:
  Text Caption(std::string_view label) { return Panel("AboutWindow").Find<ui::Label>(label).Caption(); }
  std::vector<Text> OpenedAddresses() const {
    std::vector<Text> addresses;
    for (const ShellCall& call : shell_.calls()) {
      if (call.kind == ShellCall::Kind::kOpenUrl) addresses.push_back(call.first);
    }
    return addresses;
  }
};

constexpr char kHome[] = "http://home.example/站点";  // as fetched: no "/" is added

TEST_F(AboutWindowTest, FillsInTheProviderTheHomeAddressAndTheDeploymentsTexts) {
  ServeStart("U7", kHome, "演示影院");
  OpenAbout();
  Check([this] {
    ui::Window window = Panel("AboutWindow");
    ASSERT_TRUE(window.IsModal());
    EXPECT_EQ(OpenWindows(), (std::vector<Text>{"MainWindow", "AboutWindow"}));
    EXPECT_EQ(Caption("名称"), "演示影院");
    EXPECT_EQ(Caption("版本5"), "内容提供商：演示影院");
    EXPECT_EQ(Caption("版本7"), Text("点击访问 ") + kHome);
    EXPECT_EQ(Caption("版本6"), "点击访问 " + SiteAddress());
    EXPECT_TRUE(SiteAddress().ends_with("/"));
    EXPECT_EQ(Caption("版本1"), deploy::CompanionProgram1());
    EXPECT_EQ(Caption("版本2"), deploy::CompanionProgram2());
    EXPECT_EQ(Caption("版本"), "主程序版本：1.0.1212.29");
    EXPECT_EQ(Caption("版本3"), "软件升级程序版本：1.0.1212.22");
    EXPECT_EQ(Caption("版本4"), "软件开发商：Korvane");
    EXPECT_EQ(window.Find<ui::PictureButton>("选项按钮").NormalPicture(), "pictures/about_options_tab.gif");
    EXPECT_EQ(window.Find<ui::PictureButton>("关于按钮").NormalPicture(), "pictures/about_about_tab.gif");
    ExpectButtonHints(window);
  });
  RunPlayer();
}

TEST_F(AboutWindowTest, WithNothingFetchedTheTextsStayEmpty) {
  OpenAbout(Route::kOptionsMenu);
  Check([this] {
    EXPECT_EQ(Caption("名称"), "");
    EXPECT_EQ(Caption("版本5"), "内容提供商：");
    EXPECT_EQ(Caption("版本7"), "点击访问 ");
  });
  Act("press", {"版本6"});
  Act("press", {"版本7"});
  // "?soft" alone is no address: the gate lets it through as empty text.
  Check([this] { EXPECT_EQ(OpenedAddresses(), (std::vector<Text>{SiteAddress() + "?", ""})); });
  RunPlayer();
}

// The press opens, the label keeps its text; the apply button does nothing.
TEST_F(AboutWindowTest, TheLinksOpenOnThePressAndApplyDoesNothing) {
  ServeStart("U7", kHome, "演示影院");
  HideToTray();
  OpenAbout(Route::kTrayMenu);
  Act("press", {"版本6"});
  Act("press", {"版本7"});
  Click("图形按钮3");
  Click("关于按钮");
  Act("idle");
  Check([this] {
    EXPECT_EQ(OpenedAddresses(), (std::vector<Text>{SiteAddress() + "?U7", Text(kHome) + "?soft"}));
    EXPECT_EQ(Caption("版本6"), "点击访问 " + SiteAddress());
    EXPECT_EQ(OpenWindows(), (std::vector<Text>{"MainWindow", "AboutWindow"}));
  });
  RunPlayer();
}

class AboutClosingTest : public ::testing::TestWithParam<std::vector<Text>>, protected PanelWindowsFixture {};

TEST_P(AboutClosingTest, ClosesTheWindow) {
  OpenAbout();
  Act(GetParam().front(), {GetParam().back()});
  Act("idle");
  Check([this] {
    EXPECT_EQ(OpenWindows(), std::vector<Text>{"MainWindow"});
    EXPECT_TRUE(Main().Interactive());
    EXPECT_TRUE(shell_.calls().empty());
  });
  RunPlayer();
}

INSTANTIATE_TEST_SUITE_P(Ways, AboutClosingTest,
                         ::testing::Values(std::vector<Text>{"click", "关闭按钮"},
                                           std::vector<Text>{"click", "图形按钮1"},
                                           std::vector<Text>{"click", "图形按钮2"},
                                           std::vector<Text>{"key", "Esc"}));

}  // namespace
}  // namespace korvane::player::testing
