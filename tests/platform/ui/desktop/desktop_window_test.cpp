// The widgets show the model: places, sizes, visibility, texts, z-order and paint; user
// input goes through the program, which refuses what the user could not reach.

#include <string>
#include <vector>

#include "tests/platform/ui/desktop/desktop_test_fixture.h"

namespace korvane::platform::ui::desktop::testing {
namespace {

Point PlaceIn(GtkWidget* widget) {
  Point at;
  gtk_container_child_get(GTK_CONTAINER(gtk_widget_get_parent(widget)), widget, "x", &at.x, "y", &at.y, nullptr);
  return at;
}

std::vector<GtkWidget*> ChildrenOf(GtkWidget* container) {
  std::vector<GtkWidget*> children;
  GList* list = gtk_container_get_children(GTK_CONTAINER(container));
  for (GList* item = list; item != nullptr; item = item->next) children.push_back(GTK_WIDGET(item->data));
  g_list_free(list);
  return children;
}

std::vector<std::string> ListRows(GtkWidget* list_box) {
  GtkWidget* view = gtk_bin_get_child(GTK_BIN(ChildrenOf(list_box).front()));
  GtkTreeModel* model = gtk_tree_view_get_model(GTK_TREE_VIEW(view));
  std::vector<std::string> rows;
  GtkTreeIter iter;
  for (gboolean more = gtk_tree_model_get_iter_first(model, &iter); more; more = gtk_tree_model_iter_next(model, &iter)) {
    gchar* text = nullptr;
    gtk_tree_model_get(model, &iter, 0, &text, -1);
    rows.emplace_back(text);
    g_free(text);
  }
  return rows;
}

// The colour of one pixel of a 24-bit image as 0x00BBGGRR, and whether it is painted at all.
struct Pixel {
  Colour colour;
  bool painted;
};

Pixel PixelAt(cairo_surface_t* surface, int x, int y) {
  cairo_surface_flush(surface);
  const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                                           y * cairo_image_surface_get_stride(surface));
  const std::uint32_t argb = row[x];
  return {(argb >> 16 & 0xFF) | (argb & 0xFF00) | (argb & 0xFF) << 16, (argb >> 24) != 0};
}

bool Near(Colour a, Colour b) {
  for (int shift : {0, 8, 16}) {
    const int difference = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
    if (difference > 12 || difference < -12) return false;
  }
  return true;
}

using DesktopWindowTest = DesktopProgramTest;

TEST_F(DesktopWindowTest, WidgetsFollowTheModel) {
  Window desk = OpenShown("Desk", "按钮_确定");
  GtkWidget* toplevel = backend_.WindowWidget(desk.Id());
  GtkWidget* panel = Widget(desk, "图片框_面板");
  GtkWidget* button = Widget(desk, "按钮_确定");
  GtkWidget* label = Widget(desk, "标签_状态");
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(toplevel)), "\xe6\xa1\x8c\xe9\x9d\xa2");  // UTF-8
  // A fixed dialog's client area is its outer size less the frame.
  EXPECT_EQ(gtk_widget_get_allocated_width(gtk_bin_get_child(GTK_BIN(toplevel))), 320 - 6);
  EXPECT_EQ(gtk_widget_get_allocated_height(gtk_bin_get_child(GTK_BIN(toplevel))), 240 - 28);
  EXPECT_EQ(gtk_widget_get_parent(button), panel);
  EXPECT_EQ(PlaceIn(button).x, 5);
  EXPECT_EQ(PlaceIn(button).y, 5);
  EXPECT_EQ(gtk_widget_get_allocated_width(button), 72);
  EXPECT_EQ(gtk_widget_get_allocated_height(button), 22);
  EXPECT_EQ(backend_.UnitWidget(desk.Find<Timer>("时钟").Id()), nullptr);
  EXPECT_EQ(ListRows(Widget(desk, "列表框")), (std::vector<std::string>{"\xe7\x94\xb2", "\xe4\xb9\x99"}));

  program_.MoveUnit(desk.Find<Label>("标签_状态"), 8, 50, 120, 30);
  desk.Find<ListBox>("列表框").AddItem("丙");
  // Children hide with their parent.
  desk.Find<PictureBox>("图片框_面板").SetVisible(false);
  EXPECT_EQ(PlaceIn(label).x, 8);
  EXPECT_EQ(PlaceIn(label).y, 50);
  EXPECT_EQ(ListRows(Widget(desk, "列表框")).size(), 3u);
  EXPECT_FALSE(gtk_widget_is_visible(button));
  desk.Find<PictureBox>("图片框_面板").SetVisible(true);
  EXPECT_TRUE(gtk_widget_is_visible(button));

  // z-order within the parent, back first; a re-parented control moves with its new parent.
  program_.SetUnitZOrder(desk.Find<Label>("标签_状态"), ZOrder::kBack);
  EXPECT_EQ(ChildrenOf(panel), (std::vector<GtkWidget*>{label, button}));
  program_.SetUnitParent(desk.Find<Label>("标签_状态"), desk);
  EXPECT_EQ(gtk_widget_get_parent(label), gtk_bin_get_child(GTK_BIN(toplevel)));
  // A removed control's widget goes with it.
  program_.DestroyUnit(desk.Find<PictureButton>("按钮_确定"));
  EXPECT_EQ(ChildrenOf(panel), std::vector<GtkWidget*>{});
}

TEST_F(DesktopWindowTest, AClickReachesTheProgramOnlyWhereTheUserCouldClick) {
  int clicks = 0;
  program_.BindHandler("OnOkClicked", [&](const Event&) { ++clicks; });
  Window desk = OpenShown("Desk", "按钮_确定");
  GtkWidget* button = Widget(desk, "按钮_确定");
  Click(button);
  EXPECT_EQ(clicks, 1);
  desk.Find<PictureButton>("按钮_确定").SetEnabled(false);
  Click(button);
  EXPECT_EQ(clicks, 1);

  // The check box shows the model's tick: the program flips it on the click it takes.
  CheckBox check = desk.Find<CheckBox>("复选框");
  GtkWidget* toggle = ChildrenOf(Widget(desk, "复选框")).front();
  gtk_button_clicked(GTK_BUTTON(toggle));
  EXPECT_EQ(check.Tick(), 1);
  EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(toggle)));
  check.SetEnabled(false);
  gtk_button_clicked(GTK_BUTTON(toggle));
  EXPECT_EQ(check.Tick(), 1);
  EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(toggle)));
}

TEST_F(DesktopWindowTest, ARowTheUserSelectsReachesTheListsModel) {
  Window desk = OpenShown("Desk", "列表框");
  GtkWidget* view = gtk_bin_get_child(GTK_BIN(ChildrenOf(Widget(desk, "列表框")).front()));
  GtkTreePath* row = gtk_tree_path_new_from_indices(1, -1);
  gtk_tree_view_set_cursor(GTK_TREE_VIEW(view), row, nullptr, FALSE);
  gtk_tree_path_free(row);
  EXPECT_EQ(desk.Find<ListBox>("列表框").Selection(), 1);
  desk.Find<ListBox>("列表框").SetSelection(0);
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  ASSERT_TRUE(gtk_tree_selection_get_selected(gtk_tree_view_get_selection(GTK_TREE_VIEW(view)), &model, &iter));
  GtkTreePath* shown = gtk_tree_model_get_path(model, &iter);
  EXPECT_EQ(gtk_tree_path_get_indices(shown)[0], 0);
  gtk_tree_path_free(shown);
}

struct GradientCase {
  std::uint32_t mode;
  Point first;  // inside the panel's border
  Point last;
};

class DrawPanelSnapshotTest : public DesktopProgramTest, public ::testing::WithParamInterface<GradientCase> {};

// Board's panel is 297 by 20 with a single border: its drawable area is 295 by 18.
TEST_P(DrawPanelSnapshotTest, ThePaintShowsTheGradientsColoursClippedToTheRegion) {
  const GradientCase& gradient = GetParam();
  Window board = OpenShown("Board", "画板_水晶进度条_1");
  const DrawPanel panel = board.Find<DrawPanel>("画板_水晶进度条_1");
  const WindowHandle handle = program_.GetWindowHandle(panel);
  const TriVertex vertices[2] = {{0, 0, 0xFF00, 0, 0, 0}, {295, 18, 0, 0, 0xFF00, 0}};
  const GradientRect rect;
  const DeviceContext context = program_.GetDC(handle);
  ASSERT_TRUE(program_.GradientFill(context, {reinterpret_cast<const char*>(vertices), sizeof vertices}, 2, &rect, 1,
                                    gradient.mode));
  program_.ReleaseDC(handle, context);
  program_.SetWindowRgn(handle, program_.CreateRoundRectRgn(0, 0, 298, 21, 10, 10), true);

  cairo_surface_t* snapshot = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 297, 20);
  cairo_t* cr = cairo_create(snapshot);
  gtk_widget_draw(Widget(board, "画板_水晶进度条_1"), cr);
  cairo_destroy(cr);
  EXPECT_TRUE(Near(PixelAt(snapshot, 1 + gradient.first.x, 1 + gradient.first.y).colour, 0x0000FF));
  EXPECT_TRUE(Near(PixelAt(snapshot, 1 + gradient.last.x, 1 + gradient.last.y).colour, 0xFF0000));
  const Colour middle = PixelAt(snapshot, 1 + (gradient.first.x + gradient.last.x) / 2,
                                1 + (gradient.first.y + gradient.last.y) / 2).colour;
  EXPECT_TRUE(Near(middle, 0x800080)) << std::hex << middle;
  EXPECT_FALSE(PixelAt(snapshot, 0, 0).painted);  // outside the rounded corner
  cairo_surface_destroy(snapshot);
}

INSTANTIATE_TEST_SUITE_P(Modes, DrawPanelSnapshotTest,
                         ::testing::Values(GradientCase{kGradientFillRectH, {0, 9}, {294, 9}},
                                           GradientCase{kGradientFillRectV, {147, 0}, {147, 17}}));

// The sample window holds a control of every kind, a browser, a hypertext box and the
// playback engine among them: each that the user sees has its widget.
TEST_F(DesktopWindowTest, AWindowWithEveryKindOfControlOpens) {
  for (const char* name : {"OnSampleCreated", "OnSampleTray", "OnNextClicked", "OnOptionsClicked", "OnCloseListClicked",
                           "OnTopTicked", "OnItemActivated", "OnAdPressed", "OnPageLoaded", "OnPageComplete",
                           "OnBrowserMenu", "OnMemoryTimer", "OnAlwaysOnTop", "OnNotOnTop", "OnExitSelected",
                           "OnBrowserBack", "OnBackToPlayer"}) {
    program_.BindHandler(name, [](const Event&) {});
  }
  Window sample = program_.LoadWindow("Sample", false);
  for (const char* name : {"片库浏览器", "播放器", "广告页", "节目列表", "编辑框_说明", "画板_进度"}) {
    EXPECT_NE(backend_.UnitWidget(sample.Find<Unit>(name).Id()), nullptr) << name;
  }
}

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
