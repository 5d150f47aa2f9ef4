// Layout faults are reported when the layout is read, unbound handlers when it loads.

#include <gtest/gtest.h>

#include "platform/ui/layout.h"
#include "tests/platform/ui/ui_test_fixture.h"

namespace korvane::platform::ui {
namespace {

struct FaultCase {
  const char* name;
  const char* json;
};

class LayoutFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(LayoutFaultTest, IsReportedWhenRead) {
  EXPECT_THROW(ParseLayout("Faulty", GetParam().json), LayoutError);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, LayoutFaultTest,
    ::testing::Values(
        FaultCase{"NotJson", "{"},
        FaultCase{"UnknownWindowKey", R"({"captoin": "x"})"},
        FaultCase{"UnknownControlKey", R"({"controls": [{"kind": "Label", "name": "a", "colour": 1}]})"},
        FaultCase{"UnknownKind", R"({"controls": [{"kind": "Slider", "name": "a"}]})"},
        FaultCase{"NoName", R"({"controls": [{"kind": "Label"}]})"},
        FaultCase{"NameTwice", R"({"controls": [{"kind": "Label", "name": "a"}, {"kind": "Label", "name": "a"}]})"},
        FaultCase{"UnknownParent", R"({"controls": [{"kind": "Label", "name": "a", "parent": "b"}]})"},
        FaultCase{"ParentLoop", R"({"controls": [{"kind": "PictureBox", "name": "a", "parent": "b"},
                                                 {"kind": "PictureBox", "name": "b", "parent": "a"}]})"},
        FaultCase{"UndeclaredPicture", R"({"controls": [{"kind": "PictureBox", "name": "a", "picture": "x.bmp"}]})"},
        FaultCase{"BadColour", R"({"back_colour": "red"})"},
        FaultCase{"BadRect", R"({"controls": [{"kind": "Label", "name": "a", "rect": [1, 2, 3]}]})"},
        FaultCase{"BadAlignment", R"({"controls": [{"kind": "Label", "name": "a", "alignment": "middle"}]})"},
        // An event the kind never raises would leave its handler silently unrun.
        FaultCase{"MisspeltEvent",
                  R"({"controls": [{"kind": "PictureButton", "name": "a", "events": {"Clikced": "OnClick"}}]})"},
        FaultCase{"EventOfAnotherKind", R"({"controls": [{"kind": "Timer", "name": "a", "events": {"Clicked": "OnClick"}}]})"},
        FaultCase{"MisspeltWindowEvent", R"({"events": {"Create": "OnCreated"}})"},
        FaultCase{"KeyOfAnotherKind", R"({"controls": [{"kind": "Label", "name": "a", "interval": 10}]})"}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST(LayoutTest, ReadsGbkTextsParentsAndChildrenInOrder) {
  // Layout files are UTF-8; the loader makes their texts GBK.
  Layout layout = ParseLayout("Wizard", AsChars(u8R"({
    "caption": "在线升级", "size": [419, 309], "frame": "fixed_dialog", "esc_closes": true,
    "pictures": {"banner.bmp": [100, 240]},
    "controls": [
      {"kind": "Label", "name": "标签6", "rect": [240, -1, 55, 20], "parent": "图片框_更新列表",
       "caption": " 状态", "alignment": "centre", "border": "static_edge", "back_colour": "0xECECEC"},
      {"kind": "PictureBox", "name": "图片框_更新列表", "rect": [112, 87, 296, 98], "visible": false},
      {"kind": "PictureBox", "name": "图片框_左图", "rect": [6, 5, 100, 240], "picture": "banner.bmp"},
      {"kind": "Label", "name": "标签_欢迎文本", "font": {"face": "宋体", "pixel_height": 13, "bold": true}}
    ]})"));
  const UnitModel& window = *layout.window;
  EXPECT_EQ(window.caption, "在线升级");
  EXPECT_EQ(window.rect.width, 419);
  EXPECT_EQ(window.window_state->frame, WindowFrame::kFixedDialog);
  EXPECT_TRUE(window.window_state->esc_closes);
  const auto& controls = window.window_state->controls;
  ASSERT_EQ(controls.size(), 4u);
  EXPECT_EQ(controls[0]->name, "标签6");
  EXPECT_EQ(controls[0]->parent, controls[1]->id);
  EXPECT_EQ(controls[0]->back_colour, 0xECECECu);
  EXPECT_EQ(controls[0]->alignment, Alignment::kCentre);
  EXPECT_EQ(controls[0]->border, Border::kStaticEdge);
  EXPECT_EQ(controls[0]->caption, " 状态");
  EXPECT_EQ(controls[0]->rect, (Rect{240, -1, 55, 20}));
  EXPECT_FALSE(controls[1]->visible);
  EXPECT_EQ(window.children, (std::vector<UnitId>{controls[1]->id, controls[2]->id, controls[3]->id}));
  EXPECT_EQ(controls[3]->font.size_points, 10);
  EXPECT_EQ(controls[3]->font.weight, 700);
  EXPECT_EQ(layout.pictures.at("banner.bmp"), (PictureSize{100, 240}));
}

using LoadWindowTest = testing::HeadlessProgramTest;

TEST_F(LoadWindowTest, AnUnboundHandlerIsReportedWhenTheWindowLoads) {
  HeadlessBackend backend(time_, nullptr);
  Program bare(backend, resources_);
  EXPECT_THROW(bare.LoadWindow("Start", false), LayoutError);
}

}  // namespace
}  // namespace korvane::platform::ui
