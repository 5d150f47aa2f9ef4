// The wizard's layout holds every control of its design, where the design puts it, and
// its pictures have their sizes and colour depths.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

#include "platform/ui/layout.h"
#include "platform/ui/text_metric.h"
#include "update/wizard/update_resources.h"

namespace korvane::update {
namespace {

using platform::ui::Alignment;
using platform::ui::Border;
using platform::ui::EditBoxState;
using platform::ui::Rect;
using platform::ui::UnitKind;
using platform::ui::UnitModel;

struct ControlCase {
  const char* name;
  UnitKind kind;
  Rect rect;
  const char* parent;  // "" for the window
  bool visible;
  bool enabled;
  const char* caption;
};

void PrintTo(const ControlCase& c, std::ostream* os) { *os << AsChars(GbkToUtf8(c.name)); }

const platform::ui::ResourceBundle& Resources() {
  static const platform::ui::ResourceBundle resources(embedded::UpdateResources());
  return resources;
}

const platform::ui::Layout& Wizard() {
  static const platform::ui::Layout layout = platform::ui::LoadLayout(Resources(), "UpdateWizard");
  return layout;
}

const UnitModel* FindControl(std::string_view name) {
  for (const auto& control : Wizard().window->window_state->controls) {
    if (control->name == name) return control.get();
  }
  return nullptr;
}

Text FindControlName(platform::ui::UnitId id) {
  for (const auto& control : Wizard().window->window_state->controls) {
    if (control->id == id) return control->name;
  }
  return "?";
}

class WizardLayoutTest : public ::testing::TestWithParam<ControlCase> {};

TEST_P(WizardLayoutTest, ControlStandsWhereTheDesignPutsIt) {
  const ControlCase& expected = GetParam();
  const UnitModel* control = FindControl(expected.name);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->kind, expected.kind);
  EXPECT_EQ(control->rect, expected.rect);
  const Text parent = control->parent == 0 ? Text() : FindControlName(control->parent);
  EXPECT_EQ(parent, expected.parent);
  EXPECT_EQ(control->visible, expected.visible);
  EXPECT_EQ(control->enabled, expected.enabled);
  EXPECT_EQ(control->caption, expected.caption);
}

constexpr const char* kTable = "图片框_更新列表";
constexpr const char* kErrors = "图片框_出错提示";

INSTANTIATE_TEST_SUITE_P(
    EveryControl, WizardLayoutTest,
    ::testing::Values(
        ControlCase{"图形按钮_下一步", UnitKind::kPictureButton, {249, 250, 72, 22}, "", true, true, ""},
        ControlCase{"图形按钮_取消", UnitKind::kPictureButton, {333, 250, 72, 22}, "", true, true, ""},
        ControlCase{"列表框_状态", UnitKind::kListBox, {240, 18, 62, 768}, kTable, true, false, ""},
        ControlCase{"画板_水晶进度条_2", UnitKind::kDrawPanel, {112, 195, 297, 20}, "", false, true, ""},
        ControlCase{"分组框3", UnitKind::kGroupBox, {240, -9, 2, 136}, kTable, true, true, ""},
        ControlCase{"列表框_文件大小", UnitKind::kListBox, {179, 18, 62, 768}, kTable, true, false, ""},
        ControlCase{"分组框2", UnitKind::kGroupBox, {179, -8, 2, 135}, kTable, true, true, ""},
        ControlCase{"列表框_更新文件", UnitKind::kListBox, {-1, 18, 296, 85}, kTable, true, true, ""},
        ControlCase{kTable, UnitKind::kPictureBox, {112, 87, 296, 98}, "", false, true, ""},
        ControlCase{"标签6", UnitKind::kLabel, {240, -1, 55, 20}, kTable, true, true, " 状态"},
        ControlCase{"标签5", UnitKind::kLabel, {179, -1, 63, 20}, kTable, true, true, "大小"},
        ControlCase{"标签4", UnitKind::kLabel, {-1, -1, 184, 20}, kTable, true, true, "文 件 名 称"},
        ControlCase{"ZIP压缩1", UnitKind::kZipUnit, {384, 0, 26, 26}, "", false, true, ""},
        ControlCase{"编辑框_出错提示", UnitKind::kEditBox, {0, 110, 295, 88}, kErrors, true, true, ""},
        ControlCase{"标签3", UnitKind::kLabel, {4, 85, 64, 24}, kErrors, true, true, "出错原因："},
        ControlCase{"标签2", UnitKind::kLabel, {4, 28, 288, 24}, kErrors, true, true,
                    "    您正在安装的更新由于如下原因安装失败，请点击\r\n“取消”终止本次安装过程。"},
        ControlCase{"标签1", UnitKind::kLabel, {51, -1, 56, 24}, kErrors, true, true, "出错提示"},
        ControlCase{kErrors, UnitKind::kPictureBox, {112, 40, 300, 200}, "", false, true, ""},
        ControlCase{"标签_欢迎文本", UnitKind::kLabel, {116, 8, 120, 24}, "", true, true, "欢迎使用在线升级"},
        ControlCase{"标签_功能说明", UnitKind::kLabel, {116, 39, 292, 24}, "", true, true,
                    "本程序可以帮助您升级软件到最新版本。"},
        ControlCase{"标签_网络状态", UnitKind::kLabel, {116, 80, 292, 32}, "", true, true,
                    "连接Internet正常，可以进行在线升级操作。"},
        ControlCase{"图形按钮_重新测试网络", UnitKind::kPictureButton, {289, 121, 104, 22}, "", true, true, ""},
        ControlCase{"标签_指导操作", UnitKind::kLabel, {116, 217, 291, 24}, "", true, true,
                    "点击下一步将开始查询可用的更新。"},
        ControlCase{"图片框_左图", UnitKind::kPictureBox, {6, 5, 100, 240}, "", true, true, ""},
        ControlCase{"分组框1", UnitKind::kGroupBox, {4, 244, 450, 2}, "", true, true, ""},
        ControlCase{"画板_水晶进度条_1", UnitKind::kDrawPanel, {112, 219, 297, 20}, "", true, true, ""}));

TEST(WizardLayout, HasNoOtherControlsAndItsWindowIsTheFixedDialog) {
  EXPECT_EQ(Wizard().window->window_state->controls.size(), 26u);
  const UnitModel& window = *Wizard().window;
  EXPECT_EQ(window.caption, "在线升级");
  EXPECT_EQ(window.rect.width, 419);
  EXPECT_EQ(window.rect.height, 309);
  EXPECT_EQ(window.window_state->frame, platform::ui::WindowFrame::kFixedDialog);
  EXPECT_TRUE(window.window_state->esc_closes);
  EXPECT_TRUE(window.window_state->taskbar_button);
  EXPECT_TRUE(window.window_state->centred);
  EXPECT_FALSE(window.window_state->always_on_top);
}

// Every label: the column headers centred on grey with a static edge, the others left
// aligned, borderless, on the default background; only the welcome text has a font of
// its own.
TEST(WizardLayout, LabelsHaveTheLookOfTheirRole) {
  const std::set<Text> headers = {"标签4", "标签5", "标签6"};
  for (const auto& control : Wizard().window->window_state->controls) {
    if (control->kind != UnitKind::kLabel) continue;
    SCOPED_TRACE(AsChars(GbkToUtf8(control->name)));
    const bool header = headers.contains(control->name);
    EXPECT_EQ(control->alignment, header ? Alignment::kCentre : Alignment::kLeft);
    EXPECT_EQ(control->border, header ? Border::kStaticEdge : Border::kNone);
    EXPECT_EQ(control->back_colour, header ? 0xECECECu : platform::ui::kDefaultColour);
    if (control->name != "标签_欢迎文本") {
      EXPECT_EQ(control->font, platform::ui::Font());
    }
  }
  const UnitModel* welcome = FindControl("标签_欢迎文本");
  EXPECT_EQ(welcome->font.face_name, "宋体");
  EXPECT_EQ(platform::ui::FontPixelHeight(welcome->font), 13);
  EXPECT_EQ(welcome->font.weight, 700);
  EXPECT_TRUE(FindControl("标签_网络状态")->word_wrap);
  EXPECT_TRUE(FindControl("标签2")->word_wrap);
  const UnitModel* edit = FindControl("编辑框_出错提示");
  EXPECT_TRUE(edit->StateOf<EditBoxState>()->multi_line);
  EXPECT_TRUE(edit->StateOf<EditBoxState>()->vertical_scroll_bar);
  EXPECT_EQ(edit->border, Border::kStaticEdge);
  EXPECT_EQ(edit->back_colour, 0xFFFFFFu);
}

// Where controls overlap, the one the design shows stays in front: the size and status
// columns and their dividers over the wide file-name list, the error panel over the page
// texts and the overall bar beneath it.
TEST(WizardLayout, OverlappingControlsKeepTheDesignsFront) {
  const std::pair<const char*, const char*> front_over_back[] = {
      {"列表框_文件大小", "列表框_更新文件"}, {"列表框_状态", "列表框_更新文件"},
      {"分组框2", "列表框_更新文件"},         {"分组框3", "列表框_文件大小"},
      {"图片框_出错提示", "标签_功能说明"},   {"图片框_出错提示", "标签_网络状态"},
      {"图片框_出错提示", "标签_指导操作"},   {"图片框_出错提示", "画板_水晶进度条_1"},
      {"图片框_更新列表", "标签_网络状态"}};
  for (const auto& [front, back] : front_over_back) {
    SCOPED_TRACE(AsChars(GbkToUtf8(Text(front) + " over " + back)));
    const UnitModel* front_control = FindControl(front);
    const UnitModel* back_control = FindControl(back);
    ASSERT_NE(front_control, nullptr);
    ASSERT_NE(back_control, nullptr);
    ASSERT_EQ(front_control->parent, back_control->parent);
    const std::vector<platform::ui::UnitId>& siblings =
        front_control->parent == 0 ? Wizard().window->children
                                   : FindControl(FindControlName(front_control->parent))->children;
    // Siblings are kept back first.
    auto position = [&](platform::ui::UnitId id) {
      return std::find(siblings.begin(), siblings.end(), id) - siblings.begin();
    };
    EXPECT_GT(position(front_control->id), position(back_control->id));
  }
}

std::uint16_t Field16(std::string_view bmp, std::size_t at) {
  return bmp.size() < at + 2 ? 0
                             : static_cast<std::uint16_t>(static_cast<unsigned char>(bmp[at]) |
                                                          static_cast<unsigned char>(bmp[at + 1]) << 8);
}

// A picture as stored: width, height and bits per pixel from its BMP header.
struct StoredPicture {
  int width;
  int height;
  int bits;
  bool operator==(const StoredPicture&) const = default;
};

void PrintTo(const StoredPicture& p, std::ostream* os) {
  *os << p.width << "x" << p.height << "x" << p.bits;
}

StoredPicture Stored(const Text& name) {
  std::optional<std::string_view> bytes = Resources().Find(name);
  if (!bytes) return {0, 0, 0};
  return {Field16(*bytes, 18), Field16(*bytes, 22), Field16(*bytes, 28)};
}

// Each button wears its own four pictures at its own size in true colour, the OK pictures
// fit the cancel button, and the banner has 256 colours; the layout declares each picture
// at the size it is stored at.
TEST(WizardLayout, PicturesFitTheirControls) {
  const std::pair<const char*, const char*> buttons[] = {
      {"图形按钮_下一步", "next"}, {"图形按钮_取消", "cancel"}, {"图形按钮_重新测试网络", "retest"}};
  for (const auto& [name, prefix] : buttons) {
    SCOPED_TRACE(prefix);
    const UnitModel* button = FindControl(name);
    ASSERT_NE(button, nullptr);
    const Text base = Text("pictures/") + prefix;
    EXPECT_EQ(button->pictures, (platform::ui::Pictures{base + "_normal.bmp", base + "_hover.bmp",
                                                        base + "_pressed.bmp",
                                                        base + "_disabled.bmp"}));
    for (const Text& picture : {button->pictures.normal, button->pictures.hover,
                                button->pictures.pressed, button->pictures.disabled}) {
      EXPECT_EQ(Stored(picture), (StoredPicture{button->rect.width, 22, 24})) << picture;
    }
  }
  for (const char* ok : {"pictures/ok_normal.bmp", "pictures/ok_hover.bmp", "pictures/ok_pressed.bmp"}) {
    EXPECT_EQ(Stored(ok), (StoredPicture{72, 22, 24})) << ok;
  }
  const UnitModel* banner = FindControl("图片框_左图");
  EXPECT_EQ(banner->border, Border::kNone);
  EXPECT_EQ(Stored(banner->pictures.normal), (StoredPicture{100, 240, 8}));
  for (const auto& [name, size] : Wizard().pictures) {
    SCOPED_TRACE(name);
    const StoredPicture stored = Stored(name);
    EXPECT_EQ((platform::ui::PictureSize{stored.width, stored.height}), size);
  }
}

}  // namespace
}  // namespace korvane::update
