// List and tree boxes as the user meets them on the desktop: a click on a row is the
// model's selection (or is refused and undone), a double click on a tree item activates
// it, and every row shows the list's picture before its text.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/desktop/desktop_drawing.h"
#include "tests/platform/ui/desktop/desktop_test_fixture.h"

namespace korvane::platform::ui::desktop::testing {
namespace {

// The programme list's look: white text on dark grey, with a picture.
inline constexpr char8_t kListsLayout[] = u8R"({
  "caption": "列表",
  "size": [480, 300],
  "pictures": {"option.gif": [15, 34]},
  "controls": [
    {"kind": "TreeBox", "name": "节目列表", "rect": [0, 0, 204, 280], "back_colour": "0x181818",
     "text_colour": "0xFFFFFF", "font": {"face": "宋体", "pixel_height": 12, "charset": 134},
     "picture": "option.gif", "events": {"Clicked": "OnPicked", "ItemActivated": "OnActivated"}},
    {"kind": "ListBox", "name": "列表框", "rect": [220, 0, 200, 280], "rows": ["甲", "乙", "丙"],
     "events": {"Clicked": "OnPicked"}}
  ]
})";

class DesktopListTest : public DesktopProgramTest {
 protected:
  DesktopListTest() {
    resources_.AddCopy("Lists.layout.json", std::string(AsChars(kListsLayout)));
    program_.BindHandler("OnPicked", [this](const Event& event) {
      trace_.push_back("Clicked " + event.source.Name());
    });
    program_.BindHandler("OnActivated", [this](const Event& event) {
      trace_.push_back("ItemActivated " + std::to_string(event.values.at(0)));
    });
    window_ = OpenShown("Lists", "节目列表");
    tree_ = window_.Find<TreeBox>("节目列表");
    const int title = tree_.AddItem(-1, "影片");
    tree_.AddItem(title, "第1集");
    tree_.AddItem(title, "第2集");
    tree_.Expand(title);
  }

  GtkTreeView* ViewOf(std::string_view name) const {
    GList* children = gtk_container_get_children(GTK_CONTAINER(Widget(window_, name)));
    GtkWidget* scrolled = GTK_WIDGET(children->data);
    g_list_free(children);
    return GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(scrolled)));
  }

  // Where row `path` is drawn in the view's bin window: the window is laid out first,
  // which measures the rows.
  static GdkRectangle RowArea(GtkTreeView* view, const char* path) {
    GtkTreePath* row = gtk_tree_path_new_from_string(path);
    GdkRectangle area{};
    EXPECT_TRUE(PumpUntil([&] {
      gtk_container_check_resize(GTK_CONTAINER(gtk_widget_get_toplevel(GTK_WIDGET(view))));
      gtk_tree_view_get_cell_area(view, row, gtk_tree_view_get_column(view, 0), &area);
      return gtk_tree_view_get_bin_window(view) != nullptr && area.height > 0;
    }));
    gtk_tree_path_free(row);
    return area;
  }

  // Presses and releases the left button `presses` times on the middle of the row.
  static void ClickRow(GtkTreeView* view, const char* path, int presses) {
    const GdkRectangle area = RowArea(view, path);
    for (int press = 0; press < presses; ++press) {
      for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
        SendButton(gtk_tree_view_get_bin_window(view), type, 1, area.x + area.width / 2.0, area.y + area.height / 2.0);
      }
    }
  }

  // The item number of the row the view shows selected, -1 for none.
  static int ShownSelection(GtkTreeView* view) {
    GtkTreeModel* model = nullptr;
    GtkTreeIter iter;
    if (!gtk_tree_selection_get_selected(gtk_tree_view_get_selection(view), &model, &iter)) return -1;
    int item = -1;
    gtk_tree_model_get(model, &iter, 1, &item, -1);
    return item;
  }

  int ModelSelection(std::string_view name) const {
    return name == "节目列表" ? tree_.CurrentSelection() : window_.Find<ListBox>(name).Selection();
  }

  Window window_;
  TreeBox tree_;
};

struct RowCase {
  const char* control;  // UTF-8 name
  const char* path;     // of the row in the view
  int item;             // its number in the model
};

class DesktopRowClickTest : public DesktopListTest, public ::testing::WithParamInterface<RowCase> {};

TEST_P(DesktopRowClickTest, AClickSelectsTheItemInTheModelOnceAndOnlyWhereTheUserCouldClick) {
  const RowCase& row = GetParam();
  const std::string name = row.control;
  GtkTreeView* view = ViewOf(row.control);
  ClickRow(view, row.path, 1);
  EXPECT_EQ(ModelSelection(row.control), row.item);
  EXPECT_EQ(ShownSelection(view), row.item);
  EXPECT_EQ(trace_, std::vector<std::string>{"Clicked " + name});

  // A window that takes no input keeps the selection the program made, on screen too.
  InputOf(program_).UserSelectItem(window_.Find<Unit>(row.control), 0);
  trace_.clear();
  window_.SetEnabled(false);
  ClickRow(view, row.path, 1);
  EXPECT_EQ(ModelSelection(row.control), 0);
  EXPECT_EQ(ShownSelection(view), 0);
  EXPECT_EQ(trace_, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Rows, DesktopRowClickTest,
                         ::testing::Values(RowCase{"节目列表", "0:1", 2}, RowCase{"节目列表", "0", 0},
                                           RowCase{"列表框", "1", 1}));

// The path of the row that shows item `item` of the view's model.
std::string PathOf(GtkTreeView* view, int item) {
  struct Search {
    int item;
    std::string path;
  } search{item, {}};
  gtk_tree_model_foreach(
      gtk_tree_view_get_model(view),
      [](GtkTreeModel* model, GtkTreePath* path, GtkTreeIter* iter, gpointer data) -> gboolean {
        auto* search = static_cast<Search*>(data);
        int number = -1;
        gtk_tree_model_get(model, iter, 1, &number, -1);
        if (number != search->item) return FALSE;
        gchar* text = gtk_tree_path_to_string(path);
        search->path = text;
        g_free(text);
        return TRUE;
      },
      &search);
  return search.path;
}

// The colour the theme selects rows with.
Colour SelectionColour(GtkTreeView* view) {
  GdkRGBA rgba{};
  EXPECT_TRUE(gtk_style_context_lookup_color(gtk_widget_get_style_context(GTK_WIDGET(view)), "theme_selected_bg_color",
                                             &rgba));
  auto byte = [](double part) { return static_cast<Colour>(part * 255 + 0.5); };
  return byte(rgba.red) | byte(rgba.green) << 8 | byte(rgba.blue) << 16;
}

struct SelectionCase {
  const char* name;
  const char* control;                       // UTF-8 name
  std::function<void(TreeBox&, Window&)> change;  // what the handler does
  int item;                                  // the item it selects
  int before;                                // the item selected before, -1 for none
  const char* clicked_row = nullptr;         // the user clicks this row after the change
};

void PrintTo(const SelectionCase& c, std::ostream* os) { *os << c.name; }

class DesktopSelectionTest : public DesktopListTest, public ::testing::WithParamInterface<SelectionCase> {};

// What a handler selects is the row the view selects, drawn in the selection colour on
// the screen, and the row selected before is drawn as any other.
TEST_P(DesktopSelectionTest, TheModelsSelectionIsDrawnAsTheSelectedRow) {
  const SelectionCase& c = GetParam();
  GtkTreeView* view = ViewOf(c.control);
  backend_.Guard([&] { c.change(tree_, window_); });
  if (c.clicked_row != nullptr) ClickRow(view, c.clicked_row, 1);
  const Colour selected = SelectionColour(view);
  auto row_colour = [&](int item) {
    const GdkRectangle row = RowArea(view, PathOf(view, item).c_str());
    int x = 0;
    int y = 0;
    gtk_tree_view_convert_bin_window_to_widget_coords(view, row.x + row.width - 3, row.y + row.height / 2, &x, &y);
    return ServerPixels(GTK_WIDGET(view)).At(x, y);
  };
  EXPECT_TRUE(PumpUntil([&] { return ShownSelection(view) == c.item && row_colour(c.item) == selected; }))
      << "shown " << ShownSelection(view) << ", row colour " << std::hex << row_colour(c.item) << " against "
      << selected;
  EXPECT_EQ(ModelSelection(c.control), c.item);
  if (c.before >= 0) {
    EXPECT_NE(row_colour(c.before), selected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, DesktopSelectionTest,
    ::testing::Values(
        SelectionCase{"FillAndPickTheFirstEpisode", "节目列表",
                      [](TreeBox& tree, Window&) {
                        tree.Clear();
                        const int title = tree.AddItem(-1, "新片");
                        for (const char* episode : {"第1集", "第2集", "第3集"}) tree.AddItem(title, episode);
                        tree.Expand(title);
                        tree.SetCurrentSelection(title + 1);
                      },
                      1, -1},
        SelectionCase{"NextEpisode", "节目列表",
                      [](TreeBox& tree, Window&) {
                        tree.SetCurrentSelection(1);
                        tree.SetCurrentSelection(tree.CurrentSelection() + 1);
                      },
                      2, 1},
        SelectionCase{"ClickOnAnotherRow", "节目列表",
                      [](TreeBox& tree, Window&) { tree.SetCurrentSelection(1); }, 2, 1, "0:1"},
        SelectionCase{"ListRow", "列表框",
                      [](TreeBox&, Window& window) {
                        window.Find<ListBox>("列表框").SetSelection(2);
                      },
                      2, -1}),
    [](const auto& info) { return std::string(info.param.name); });

// The rows of a view as (depth-first) text and item number, UTF-8.
std::vector<std::string> StoreRows(GtkTreeView* view) {
  std::vector<std::string> rows;
  gtk_tree_model_foreach(
      gtk_tree_view_get_model(view),
      [](GtkTreeModel* model, GtkTreePath*, GtkTreeIter* iter, gpointer data) -> gboolean {
        gchar* text = nullptr;
        int number = -1;
        gtk_tree_model_get(model, iter, 0, &text, 1, &number, -1);
        static_cast<std::vector<std::string>*>(data)->push_back(std::string(text) + "#" + std::to_string(number));
        g_free(text);
        return FALSE;
      },
      &rows);
  return rows;
}

// The model's items as StoreRows shows them: item order is depth-first order.
std::vector<std::string> ModelRows(const TreeBox& tree) {
  std::vector<std::string> rows;
  for (int item = 0; item < tree.ItemCount(); ++item) rows.push_back(ToUtf8(tree.ItemText(item)) + "#" + std::to_string(item));
  return rows;
}

// A handler that fills the list one item at a time costs the store one insert an item,
// not a rebuild per item; changes in the middle and a refill leave the store as the model.
TEST_F(DesktopListTest, TheStoreFollowsTheModelByItsDifferences) {
  GtkTreeView* view = ViewOf("节目列表");
  int inserted = 0;
  int deleted = 0;
  GtkTreeModel* store = gtk_tree_view_get_model(view);
  const gulong on_insert = g_signal_connect_swapped(store, "row-inserted", G_CALLBACK(+[](int* count) { ++*count; }), &inserted);
  const gulong on_delete = g_signal_connect_swapped(store, "row-deleted", G_CALLBACK(+[](int* count) { ++*count; }), &deleted);
  constexpr int kEpisodes = 2000;
  backend_.Guard([&] {
    for (int episode = 3; episode <= kEpisodes; ++episode) tree_.AddItem(0, "第" + std::to_string(episode) + "集");
    tree_.SetCurrentSelection(kEpisodes);
  });
  EXPECT_EQ(inserted, kEpisodes - 2);
  EXPECT_EQ(deleted, 0);
  EXPECT_EQ(StoreRows(view), ModelRows(tree_));
  EXPECT_EQ(ShownSelection(view), kEpisodes);
  g_signal_handler_disconnect(store, on_insert);
  g_signal_handler_disconnect(store, on_delete);

  // A second title, then an episode under the first: it goes in the middle.
  backend_.Guard([&] {
    const int second = tree_.AddItem(-1, "续集");
    tree_.AddItem(second, "上");
    tree_.AddItem(0, "花絮");
  });
  EXPECT_EQ(StoreRows(view), ModelRows(tree_));
  EXPECT_EQ(ShownSelection(view), kEpisodes);
  for (bool in_handler : {true, false}) {
    auto refill = [&] {
      tree_.Clear();
      const int title = tree_.AddItem(-1, "影片");
      for (const char* episode : {"第1集", "第2集"}) tree_.AddItem(title, episode);
      tree_.Expand(title);
      tree_.SetCurrentSelection(1);
    };
    in_handler ? backend_.Guard(refill) : refill();
    EXPECT_EQ(StoreRows(view), ModelRows(tree_));
    EXPECT_EQ(ShownSelection(view), 1);
    GtkTreePath* title = gtk_tree_path_new_first();
    EXPECT_TRUE(gtk_tree_view_row_expanded(view, title));
    gtk_tree_path_free(title);
  }
}

TEST_F(DesktopListTest, ADoubleClickOnATreeItemSelectsThenActivatesIt) {
  ClickRow(ViewOf("节目列表"), "0:0", 2);
  EXPECT_EQ(tree_.CurrentSelection(), 1);
  ASSERT_FALSE(trace_.empty());
  EXPECT_EQ(trace_.front(), "Clicked 节目列表");
  EXPECT_EQ(trace_.back(), "ItemActivated 1");
}

// Where `picture` appears whole (its opaque pixels) in the band of `snapshot` between
// `top` and `bottom`: the left edge, or none.
std::optional<int> FindPicture(cairo_surface_t* snapshot, cairo_surface_t* picture, int top, int bottom) {
  cairo_surface_flush(snapshot);
  const int width = cairo_image_surface_get_width(picture);
  const int height = cairo_image_surface_get_height(picture);
  auto pixel = [](cairo_surface_t* surface, int x, int y) {
    return reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                                  y * cairo_image_surface_get_stride(surface))[x];
  };
  for (int y = top; y + height <= bottom; ++y) {
    for (int x = 0; x + width <= cairo_image_surface_get_width(snapshot); ++x) {
      bool same = true;
      for (int py = 0; same && py < height; ++py) {
        for (int px = 0; same && px < width; ++px) {
          const std::uint32_t want = pixel(picture, px, py);
          if (want >> 24 == 0xFF) same = (pixel(snapshot, x + px, y + py) & 0xFFFFFF) == (want & 0xFFFFFF);
        }
      }
      if (same) return x;
    }
  }
  return std::nullopt;
}

// Whether a white pixel (text, or a parent's expander arrow) lies in the band between
// columns `from` and `to`.
bool HasWhiteBetween(cairo_surface_t* snapshot, int from, int to, int top, int bottom) {
  for (int y = top; y < bottom; ++y) {
    const auto* line = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(snapshot) +
                                                              y * cairo_image_surface_get_stride(snapshot));
    for (int x = from; x < to; ++x) {
      if ((line[x] & 0xFF) > 0xC0 && (line[x] >> 8 & 0xFF) > 0xC0 && (line[x] >> 16 & 0xFF) > 0xC0) return true;
    }
  }
  return false;
}

TEST_F(DesktopListTest, EveryItemShowsTheListsPictureBeforeItsText) {
  PictureCache pictures(resources_);
  cairo_surface_t* picture = pictures.Find("option.gif");
  ASSERT_NE(picture, nullptr);
  GtkTreeView* view = ViewOf("节目列表");
  std::vector<GdkRectangle> rows;
  for (const char* path : {"0", "0:0", "0:1"}) rows.push_back(RowArea(view, path));
  GtkWidget* widget = GTK_WIDGET(view);
  const int width = gtk_widget_get_allocated_width(widget);
  cairo_surface_t* snapshot =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, gtk_widget_get_allocated_height(widget));
  cairo_t* cr = cairo_create(snapshot);
  gtk_widget_draw(widget, cr);
  cairo_destroy(cr);
  for (const GdkRectangle& row : rows) {
    int top = 0;
    int x = 0;
    gtk_tree_view_convert_bin_window_to_widget_coords(view, row.x, row.y, &x, &top);
    const int bottom = top + row.height;
    SCOPED_TRACE(top);
    // Rows are as high as the picture, whole.
    EXPECT_GE(row.height, cairo_image_surface_get_height(picture));
    const std::optional<int> left = FindPicture(snapshot, picture, top, bottom);
    ASSERT_TRUE(left.has_value());
    EXPECT_TRUE(HasWhiteBetween(snapshot, *left + cairo_image_surface_get_width(picture), width, top, bottom));
  }
  cairo_surface_destroy(snapshot);
}

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
