// What reaches the screen: changes made inside a blocking handler, sibling stacking, the
// window manager's hints, labels, list rows and drawing panels' pictures. Pixels are read
// back from the X server, or drawn into an image where only the painting counts.

#include <gdk/gdk.h>

#include <algorithm>
#include <string>

#include "platform/services/wait_pump.h"
#include "tests/platform/ui/desktop/desktop_test_fixture.h"

namespace korvane::platform::ui::desktop::testing {
namespace {

constexpr char8_t kScreenLayout[] = u8R"({
  "caption": "屏幕",
  "size": [320, 240],
  "frame": "fixed_dialog",
  "pictures": {"arrow.jpg": [9, 54]},
  "controls": [
    {"kind": "PictureButton", "name": "按钮_开始", "rect": [5, 5, 72, 22], "events": {"Clicked": "OnStartClicked"}},
    {"kind": "Label", "name": "标签_步骤", "rect": [90, 5, 150, 20], "back_colour": "0xFFFFFF"},
    {"kind": "PictureBox", "name": "图片框_列表页", "rect": [10, 40, 140, 60], "back_colour": "0x00FF00"},
    {"kind": "PictureBox", "name": "图片框_错误", "rect": [60, 60, 140, 60], "back_colour": "0x0000FF"},
    {"kind": "Label", "name": "标签_居中", "rect": [10, 130, 60, 40], "alignment": "centre",
     "caption": "一二三四五六七八九十", "back_colour": "0xFFFFFF"},
    {"kind": "ListBox", "name": "列表框_文件", "rect": [160, 130, 150, 98],
     "rows": ["1", "2", "3", "4", "5", "6", "7", "8", "9", "10"]},
    {"kind": "DrawPanel", "name": "画板_状态", "rect": [210, 40, 20, 60], "picture": "arrow.jpg",
     "back_colour": "0xFF00FF"}
  ]
})";

// A click as the X server queues it: handled when the loop next reads its events.
void QueueClick(GtkWidget* control) {
  for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
    GdkEvent* event = gdk_event_new(type);
    event->button.window = GDK_WINDOW(g_object_ref(gtk_layout_get_bin_window(GTK_LAYOUT(control))));
    event->button.button = 1;
    event->button.x = 2;
    event->button.y = 2;
    event->button.time = GDK_CURRENT_TIME;
    gdk_event_set_device(event, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default())));
    gdk_event_put(event);
    gdk_event_free(event);
  }
}

// The rows of `snapshot` (an ARGB image of one control) that hold a pixel darker than grey.
std::pair<int, int> InkedRows(cairo_surface_t* snapshot) {
  cairo_surface_flush(snapshot);
  int first = -1;
  int last = -1;
  for (int y = 0; y < cairo_image_surface_get_height(snapshot); ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(snapshot) +
                                                             y * cairo_image_surface_get_stride(snapshot));
    for (int x = 0; x < cairo_image_surface_get_width(snapshot); ++x) {
      if ((row[x] & 0xFF) < 0x80) {
        if (first < 0) first = y;
        last = y;
      }
    }
  }
  return {first, last};
}

cairo_surface_t* Snapshot(GtkWidget* control) {
  cairo_surface_t* snapshot = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, gtk_widget_get_allocated_width(control),
                                                         gtk_widget_get_allocated_height(control));
  cairo_t* cr = cairo_create(snapshot);
  gtk_widget_draw(control, cr);
  cairo_destroy(cr);
  return snapshot;
}

class DesktopScreenTest : public DesktopProgramTest {
 protected:
  DesktopScreenTest() {
    resources_.AddCopy("Screen.layout.json", std::string(AsChars(kScreenLayout)));
    program_.BindHandler("OnStartClicked", [](const Event&) {});
  }
};

// A handler's changes show when it waits in a blocking service (as a fetch does), and
// input made meanwhile waits for the handler to return.
TEST_F(DesktopScreenTest, WhatAHandlerChangesShowsWhenItWaitsWhileInputWaits) {
  const InstalledWaitPump pump(backend_);
  Window screen = OpenShown("Screen", "标签_步骤");
  GtkWidget* start = Widget(screen, "按钮_开始");
  GtkWidget* step = Widget(screen, "标签_步骤");
  ASSERT_TRUE(PumpUntil([&] { return ServerPixels(step).CountOther(0xFFFFFF) == 0; }));  // the first paint
  int clicks = 0;
  std::vector<int> inked;
  program_.BindHandler("OnStartClicked", [&](const Event&) {
    if (++clicks > 1) return;
    screen.Find<Label>("标签_步骤").SetCaption("正在下载更新列表......");
    {
      WaitScope wait;
      inked.push_back(ServerPixels(step).CountOther(0xFFFFFF));
      QueueClick(start);  // the user clicks while the handler waits
      wait.Waiting();
    }
    screen.Find<Label>("标签_步骤").SetCaption("");
    {
      const WaitScope wait;
      inked.push_back(ServerPixels(step).CountOther(0xFFFFFF));
    }
    inked.push_back(clicks);
  });
  Click(start);
  ASSERT_EQ(inked.size(), 3u);
  EXPECT_GT(inked[0], 0);
  EXPECT_EQ(inked[1], 0);
  EXPECT_EQ(inked[2], 1);
  EXPECT_TRUE(PumpUntil([&] { return clicks == 2; }));
}

TEST_F(DesktopScreenTest, SiblingsStackInTheirZOrderAfterAnyIsShownAgain) {
  Window screen = OpenShown("Screen", "图片框_错误");
  GtkWidget* page = Widget(screen, "图片框_列表页");
  ASSERT_TRUE(PumpUntil([&] { return ServerPixels(page).At(10, 10) == 0x00FF00u; }));  // the first paint
  // The page is shown after the error panel above it, as a wizard steps back to it.
  backend_.Guard([&] {
    screen.Find<PictureBox>("图片框_列表页").SetVisible(false);
    screen.Find<PictureBox>("图片框_列表页").SetVisible(true);
  });
  const ServerPixels pixels(page);
  EXPECT_EQ(pixels.At(10, 10), 0x00FF00u);   // the page alone
  EXPECT_EQ(pixels.At(100, 40), 0x0000FFu);  // under the error panel
}

TEST_F(DesktopScreenTest, AFixedDialogOffersOnlyMovingAndClosing) {
  Window screen = OpenShown("Screen", "按钮_开始");
  GdkWindow* frame = gtk_widget_get_window(backend_.WindowWidget(screen.Id()));
  GdkAtom type = GDK_NONE;
  gint format = 0;
  gint length = 0;
  guchar* data = nullptr;
  ASSERT_TRUE(gdk_property_get(frame, gdk_atom_intern("_MOTIF_WM_HINTS", FALSE), GDK_NONE, 0, 1024, FALSE, &type,
                               &format, &length, &data));
  ASSERT_EQ(format, 32);
  ASSERT_GE(length, static_cast<gint>(3 * sizeof(long)));
  const auto* hints = reinterpret_cast<const long*>(data);  // flags, functions, decorations
  EXPECT_EQ(hints[1], GDK_FUNC_MOVE | GDK_FUNC_CLOSE);
  EXPECT_EQ(hints[2], GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU);
  g_free(data);
}

TEST_F(DesktopScreenTest, ASingleLineLabelIsCentredVerticallyAndNeverWraps) {
  Window screen = OpenShown("Screen", "标签_居中");
  cairo_surface_t* snapshot = Snapshot(Widget(screen, "标签_居中"));
  const auto [first, last] = InkedRows(snapshot);
  cairo_surface_destroy(snapshot);
  ASSERT_GE(first, 0);
  EXPECT_LE(last - first, 16);                     // one line
  EXPECT_NEAR((first + last) / 2.0, 20, 3);        // in the middle of 40
}

TEST_F(DesktopScreenTest, ListRowsAreALineOfTheFontHighWithABarWhenTheyDoNotFit) {
  Window screen = OpenShown("Screen", "列表框_文件");
  GList* children = gtk_container_get_children(GTK_CONTAINER(Widget(screen, "列表框_文件")));
  ASSERT_NE(children, nullptr);
  GtkWidget* scrolled = GTK_WIDGET(children->data);
  g_list_free(children);
  GtkTreeView* tree = GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(scrolled)));
  ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_mapped(GTK_WIDGET(tree)); }));
  GdkRectangle rows[2];
  for (int row = 0; row < 2; ++row) {
    GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
    gtk_tree_view_get_background_area(tree, path, gtk_tree_view_get_column(tree, 0), &rows[row]);
    gtk_tree_path_free(path);
  }
  EXPECT_NEAR(rows[1].y - rows[0].y, 16, 2);  // 9 points
  EXPECT_TRUE(gtk_widget_get_visible(gtk_scrolled_window_get_vscrollbar(GTK_SCROLLED_WINDOW(scrolled))));
}

TEST_F(DesktopScreenTest, ADrawingPanelShowsItsPicture) {
  Window screen = OpenShown("Screen", "画板_状态");
  cairo_surface_t* snapshot = Snapshot(Widget(screen, "画板_状态"));
  cairo_surface_flush(snapshot);
  const auto* data = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(snapshot));
  const int stride = cairo_image_surface_get_stride(snapshot) / 4;
  EXPECT_NE(data[20 * stride + 4] & 0xFFFFFF, 0xFF00FFu);   // the 9 by 54 picture
  EXPECT_EQ(data[20 * stride + 15] & 0xFFFFFF, 0xFF00FFu);  // beside it, the back colour
  cairo_surface_destroy(snapshot);
}

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
