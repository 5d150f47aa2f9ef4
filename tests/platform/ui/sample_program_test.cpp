// A scripted headless run of a small sample program: the script clicks, ticks, picks menu
// items, uses the browser, the programme list and the tray, answers a message box and
// dumps; the test reads the program's state back from the dump.

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/automation.h"
#include "platform/ui/program.h"
#include "tests/platform/ui/ui_test_fixture.h"
#include "tests/support/temp_folder.h"

namespace korvane::platform::ui::testing {
namespace {

using nlohmann::json;
using ::testing::ElementsAre;

class PageServer final : public HttpClient {
 public:
  std::string HttpGetBytes(std::string_view address, const FetchLimits&) override {
    return "<html>" + std::string(address) + "</html>";
  }
};

// The sample program: the handlers its layout names.
void BindSampleProgram(Program& program, HeadlessBackend& backend) {
  auto window = [&program] { return InspectionOf(program).Windows().front(); };
  program.BindHandler("OnSampleCreated", [&, window](const Event&) {
    TreeBox tree = window().Find<TreeBox>("节目列表");
    int title = tree.AddItem(-1, "示例影片");
    tree.AddItem(title, "第1集");
    tree.AddItem(title, "第2集");
    tree.Expand(title);
    program.SetHoverHint(program.GetWindowHandle(window().Find<PictureButton>("按钮_下一步")), "下一步", false, true);
    window().Find<EditBox>("编辑框_说明").SetCaption("说明\r\n第二行");
  });
  program.BindHandler("OnNextClicked", [&, window](const Event&) {
    ListBox list = window().Find<ListBox>("列表框_文件");
    list.SetSelection(list.AddItem("文件" + std::to_string(list.GetCount() + 1)));
    DrawPanel panel = window().Find<DrawPanel>("画板_进度");
    const WindowHandle handle = program.GetWindowHandle(panel);
    const TriVertex vertices[2] = {{0, 0, 0xFF00, 0, 0, 0}, {panel.DrawableWidth(), panel.DrawableHeight(), 0, 0, 0xFF00, 0}};
    const GradientRect rect{0, 1};
    DeviceContext context = program.GetDC(handle);
    program.GradientFill(context, std::string_view(reinterpret_cast<const char*>(vertices), sizeof vertices), 2, &rect, 1,
                         kGradientFillRectH);
    program.ReleaseDC(handle, context);
    panel.SetWritePosition(3, 4);
    panel.WriteText(std::to_string(list.GetCount()));
  });
  program.BindHandler("OnOptionsClicked", [&, window](const Event&) {
    program.PopupMenu(window(), "选项菜单", Point{program.GetMouseX(), program.GetMouseY()});
  });
  program.BindHandler("OnTopTicked", [&, window](const Event&) {
    window().Find<Label>("标签_状态").SetCaption("置顶 " + std::to_string(window().Find<CheckBox>("复选框_置顶").Tick()));
  });
  program.BindHandler("OnAlwaysOnTop", [window](const Event&) { window().SetAlwaysOnTop(true); });
  program.BindHandler("OnNotOnTop", [window](const Event&) { window().SetAlwaysOnTop(false); });
  program.BindHandler("OnPageLoaded", [window](const Event& event) {
    window().Find<Label>("标签_状态").SetCaption(event.text);
  });
  program.BindHandler("OnPageComplete", [window](const Event&) {
    PlaybackEngine engine = window().Find<PlaybackEngine>("播放器");
    engine.PrepareEpisodeChange();
    engine.Stop();
    engine.SetPauseAdAddress("http://ads.test/pause");
    engine.SetMediaAddress(window().Find<WebBrowserBox>("片库浏览器").GetPageSource());
    engine.Play();
    window().Find<Label>("文字广告").SetVisible(true);
  });
  program.BindHandler("OnBrowserMenu", [&, window](const Event&) { program.PopupMenu(window(), "浏览器菜单"); });
  program.BindHandler("OnBrowserBack", [window](const Event&) { window().Find<WebBrowserBox>("片库浏览器").GoBack(); });
  program.BindHandler("OnBackToPlayer", [](const Event&) {});
  program.BindHandler("OnItemActivated", [window](const Event& event) {
    PlaybackEngine engine = window().Find<PlaybackEngine>("播放器");
    engine.SetMediaAddress(window().Find<TreeBox>("节目列表").ItemText(static_cast<int>(event.values.at(0))));
    engine.Play();
  });
  program.BindHandler("OnAdPressed", [&backend](const Event&) { backend.RecordAddressOpened("http://ads.test/text1"); });
  program.BindHandler("OnCloseListClicked", [&, window](const Event&) {
    program.SetTrayIcon(window(), true, "点击本图标显示主程序");
    window().SetVisible(false);
  });
  program.BindHandler("OnSampleTray", [&, window](const Event& event) {
    window().Find<Label>("标签_状态").SetCaption("托盘 " + std::to_string(event.values.at(0)));
    window().SetVisible(true);
    program.SetTrayIcon(window(), false, "");
  });
  program.BindHandler("OnMemoryTimer", [window, ticks = 0](const Event&) mutable {
    window().Find<HypertextBox>("广告页").SetAddress("http://ads.test/corner?" + std::to_string(++ticks));
  });
  program.BindHandler("OnExitSelected", [&, window](const Event&) {
    const MessageBoxStyle style{MessageBoxButtons::kOkCancel, MessageBoxIcon::kQuestion};
    if (program.ShowMessageBox("确定退出吗？", style, "示例程序") == MessageBoxAnswer::kOk) program.DestroyUnit(window());
  });
}

// The dump is UTF-8; the texts of this file are GBK.
std::string U(std::string_view gbk) { return std::string(AsChars(GbkToUtf8(gbk))); }

struct DumpLines {
  std::vector<json> lines;

  // The records of the dump labelled `label`.
  std::vector<json> Of(const std::string& label) const {
    std::vector<json> records;
    bool inside = false;
    for (const json& line : lines) {
      if (line["record"] == "dump") inside = line["label"] == label;
      if (inside) records.push_back(line);
    }
    return records;
  }
  static json Control(const std::vector<json>& records, const std::string& name) {
    for (const json& line : records) {
      if (line["record"] == "control" && line["name"] == name) return line;
    }
    ADD_FAILURE() << "no control " << name;
    return {};
  }
  static std::vector<json> All(const std::vector<json>& records, const std::string& kind) {
    std::vector<json> found;
    for (const json& line : records) {
      if (line["record"] == kind) found.push_back(line);
    }
    return found;
  }
};

TEST(SampleProgramTest, ScriptedRunLeavesTheStateItsDumpShows) {
  testing_support::TempFolder folder;
  AutomationSettings settings;
  settings.headless = true;
  settings.virtual_time = true;
  settings.script_path = KORVANE_UI_TEST_SCRIPTS "/sample_run.txt";
  settings.dump_path = (folder.path() / "dump.jsonl").string();

  PageServer server;
  HeadlessSession session(settings, &server);
  session.GetBackend().SetMousePosition({300, 200});
  ResourceBundle resources(korvane::embedded::UiTestSamples());
  Program program(session.GetBackend(), resources);
  BindSampleProgram(program, session.GetBackend());
  const int code = program.Run([&] { program.LoadWindow("Sample", false); });
  session.Finish(program, code);
  EXPECT_EQ(code, 0);

  DumpLines dump;
  std::ifstream in(settings.dump_path);
  for (std::string line; std::getline(in, line);) dump.lines.push_back(json::parse(line));

  const std::vector<json> after = dump.Of("after-session");
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(after.front()["time_ms"], 1000);
  const json window = DumpLines::All(after, "window").at(0);
  EXPECT_EQ(window["name"], "Sample");
  EXPECT_EQ(window["always_on_top"], true);
  EXPECT_EQ(window["position"], "normal");
  EXPECT_EQ(window["visible"], true);
  EXPECT_FALSE(window.contains("tray"));

  const json list = DumpLines::Control(after, U("列表框_文件"));
  EXPECT_EQ(list["rows"], json::array({U("文件1"), U("文件2")}));
  EXPECT_EQ(list["selection"], 1);
  EXPECT_EQ(DumpLines::Control(after, U("复选框_置顶"))["tick"], 1);
  EXPECT_EQ(DumpLines::Control(after, U("标签_状态"))["caption"], U("托盘 3"));
  EXPECT_EQ(DumpLines::Control(after, U("按钮_下一步"))["hint"], U("下一步"));
  EXPECT_EQ(DumpLines::Control(after, U("按钮_下一步"))["pictures"]["disabled"], "next_disabled.bmp");
  EXPECT_EQ(DumpLines::Control(after, U("文字广告"))["shown"], true);
  EXPECT_EQ(DumpLines::Control(after, U("广告页"))["address"], "http://ads.test/corner?5");

  const json tree = DumpLines::Control(after, U("节目列表"));
  EXPECT_EQ(tree["selection"], 2);
  EXPECT_EQ(tree["items"].size(), 3u);
  EXPECT_EQ(tree["items"][2]["parent"], 0);

  const std::string first = "http://catalogue.test/list?id=7&type=film";
  const json browser = DumpLines::Control(after, U("片库浏览器"));
  EXPECT_EQ(browser["address"], first);
  EXPECT_EQ(browser["history"], json::array({first, "http://catalogue.test/second"}));
  EXPECT_EQ(browser["history_position"], 0);
  EXPECT_EQ(browser["loads"], 3);

  const json calls = DumpLines::Control(after, U("播放器"))["calls"];
  ASSERT_EQ(calls.size(), 17u);  // three complete pages of five calls, then an activation
  EXPECT_EQ(calls[10], "PrepareEpisodeChange");
  EXPECT_EQ(calls[13], json::array({"MediaAddress", "<html>" + first + "</html>"}));
  EXPECT_EQ(calls[15], json::array({"MediaAddress", U("第2集")}));
  EXPECT_EQ(calls[16], "Play");

  const json panel = DumpLines::Control(after, U("画板_进度"));
  ASSERT_EQ(panel["paints"].size(), 4u);
  EXPECT_EQ(panel["paints"][2], (json{{"op", "gradient"}, {"rect", {0, 0, 198, 18}}, {"mode", 0},
                                      {"from", 0x0000FF}, {"to", 0xFF0000}}));
  EXPECT_EQ(panel["paints"][3]["text"], "2");

  std::vector<std::string> picked;
  for (const json& menu : DumpLines::All(after, "menu")) picked.push_back(menu["picked"]);
  EXPECT_THAT(picked, ElementsAre(U("总是置顶"), U("后退")));
  EXPECT_EQ(DumpLines::All(after, "menu")[0]["at"], json::array({300, 200}));
  EXPECT_EQ(DumpLines::All(after, "address_opened").at(0)["address"], "http://ads.test/text1");
  EXPECT_TRUE(DumpLines::All(after, "script_error").empty());

  const std::vector<json> end = dump.Of("end");
  ASSERT_FALSE(end.empty());
  EXPECT_TRUE(DumpLines::All(end, "window").empty());
  const json box = DumpLines::All(end, "message_box").at(0);
  EXPECT_EQ(box["text"], U("确定退出吗？"));
  EXPECT_EQ(box["buttons"], "ok_cancel");
  EXPECT_EQ(box["icon"], "question");
  EXPECT_EQ(box["answer"], "ok");
  EXPECT_EQ(DumpLines::All(end, "closed_window").at(0)["name"], "Sample");
  EXPECT_EQ(dump.lines.back(), (json{{"record", "exit"}, {"code", 0}}));
}

}  // namespace
}  // namespace korvane::platform::ui::testing
