// Message boxes and popup menus: real GTK dialogs and menus, answered the way a user
// would, return what the programs expect.

#include <string>
#include <vector>

#include "tests/platform/ui/desktop/desktop_test_fixture.h"

namespace korvane::platform::ui::desktop::testing {
namespace {

// The answer of each button is part of the loop contract (loop_contract_test.cpp); the
// close box is the desktop's own.
struct CloseBoxCase {
  MessageBoxStyle style;
  MessageBoxAnswer answer;
};

class MessageBoxCloseTest : public DesktopProgramTest, public ::testing::WithParamInterface<CloseBoxCase> {};

TEST_P(MessageBoxCloseTest, TheCloseBoxAnswersAsTheBoxsOwnCloseButton) {
  const CloseBoxCase& question = GetParam();
  backend_.Post([&] {
    ASSERT_TRUE(PumpUntil([] { return FindToplevel(GTK_TYPE_MESSAGE_DIALOG) != nullptr; }));
    gtk_dialog_response(GTK_DIALOG(FindToplevel(GTK_TYPE_MESSAGE_DIALOG)), GTK_RESPONSE_DELETE_EVENT);
  });
  EXPECT_EQ(program_.ShowMessageBox("没有可用的更新", question.style, "在线升级"), question.answer);
  EXPECT_EQ(FindToplevel(GTK_TYPE_MESSAGE_DIALOG), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Boxes, MessageBoxCloseTest,
                         ::testing::Values(CloseBoxCase{{MessageBoxButtons::kOk, MessageBoxIcon::kInformation},
                                                        MessageBoxAnswer::kOk},
                                           CloseBoxCase{{MessageBoxButtons::kOkCancel, MessageBoxIcon::kQuestion},
                                                        MessageBoxAnswer::kCancel}));

using PopupMenuTest = DesktopProgramTest;

TEST_F(PopupMenuTest, ThePickedItemsHandlerRunsFromTheLoopAfterThePopupReturns) {
  std::vector<std::string> picked;
  program_.BindHandler("OnMenuPicked", [&](const Event& event) { picked.push_back(event.text); });
  Window desk = OpenShown("Desk", "按钮_确定");
  backend_.Post([&] {
    ASSERT_TRUE(PumpUntil([] { return FindToplevel(GTK_TYPE_MENU) != nullptr; }));
    GtkWidget* menu = FindToplevel(GTK_TYPE_MENU);
    GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
    GtkWidget* submenu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(g_list_nth_data(items, 2)));
    g_list_free(items);
    GList* sub_items = gtk_container_get_children(GTK_CONTAINER(submenu));
    gtk_menu_shell_activate_item(GTK_MENU_SHELL(submenu), GTK_WIDGET(sub_items->data), TRUE);
    g_list_free(sub_items);
    // A submenu that never popped up does not close its parent: the user's click does.
    gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu));
  });
  program_.PopupMenu(desk, "菜单", Point{100, 100});
  EXPECT_TRUE(picked.empty());
  program_.ProcessPendingMessages();
  EXPECT_EQ(picked, std::vector<std::string>{"乙项"});
  EXPECT_EQ(InspectionOf(program_).Menus().back().picked, "乙项");
}

// The menu's item `index` and the row inside it (an icon column, then the caption).
struct MenuRow {
  GtkWidget* image = nullptr;
  GtkWidget* label = nullptr;
};

MenuRow RowOf(GtkWidget* menu, int index) {
  GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
  GtkWidget* row = gtk_bin_get_child(GTK_BIN(g_list_nth_data(items, index)));
  g_list_free(items);
  MenuRow found;
  GList* parts = gtk_container_get_children(GTK_CONTAINER(row));
  for (GList* part = parts; part != nullptr; part = part->next) {
    if (GTK_IS_IMAGE(part->data)) found.image = GTK_WIDGET(part->data);
    if (GTK_IS_LABEL(part->data)) found.label = GTK_WIDGET(part->data);
  }
  g_list_free(parts);
  return found;
}

// Picks the item `index` of the open menu and closes it, as the user's click does.
void PickAndClose(GtkWidget* menu, int index) {
  GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
  gtk_menu_shell_activate_item(GTK_MENU_SHELL(menu), GTK_WIDGET(g_list_nth_data(items, index)), TRUE);
  g_list_free(items);
}

TEST_F(PopupMenuTest, AMenuOpensAtTheMouseWhileNoWindowIsShown) {
  std::vector<std::string> picked;
  program_.BindHandler("OnMenuPicked", [&](const Event& event) { picked.push_back(event.text); });
  Window desk = OpenShown("Desk", "按钮_确定");
  desk.SetVisible(false);  // in the tray
  GtkWidget* toplevel = backend_.WindowWidget(desk.Id());
  ASSERT_TRUE(PumpUntil([&] { return !gtk_widget_get_mapped(toplevel); }));
  Point shown_at{-1, -1};
  backend_.Post([&] {
    GtkWidget* menu = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
      menu = FindToplevel(GTK_TYPE_MENU);
      return menu != nullptr && gtk_widget_get_mapped(gtk_widget_get_toplevel(menu));
    }));
    gdk_window_get_origin(gtk_widget_get_window(gtk_widget_get_toplevel(menu)), &shown_at.x, &shown_at.y);
    PickAndClose(menu, 0);
  });
  program_.PopupMenu(desk, "菜单", Point{150, 120});
  program_.ProcessPendingMessages();
  EXPECT_EQ(picked, std::vector<std::string>{"甲项"});
  // At the mouse, give or take the theme's shadow margin.
  EXPECT_NEAR(shown_at.x, 150, 24);
  EXPECT_NEAR(shown_at.y, 120, 24);
}

// A window with the menu skin of the player's main window: its items' icons and its font.
constexpr char8_t kSkinnedLayout[] = u8R"({
  "caption": "皮肤",
  "size": [200, 100],
  "pictures": {"option.gif": [15, 34]},
  "controls": [
    {"kind": "PictureButton", "name": "按钮_确定", "rect": [5, 5, 72, 22]},
    {"kind": "MenuSkin", "name": "菜单皮肤", "visible": false, "font": {"face": "微软雅黑", "pixel_height": 12}}
  ],
  "menus": {"菜单": [{"caption": "打开软件", "event": "OnMenuPicked", "icon": "option.gif"},
                     {"caption": " 设置", "event": "OnMenuPicked"}]}
})";

TEST_F(PopupMenuTest, ItemsShowTheirIconsInTheFontOfTheWindowsMenuSkin) {
  resources_.AddCopy("Skinned.layout.json", std::string(AsChars(kSkinnedLayout)));
  Window skinned = OpenShown("Skinned", "按钮_确定");
  backend_.Post([&] {
    GtkWidget* menu = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (menu = FindToplevel(GTK_TYPE_MENU)) != nullptr; }));
    const MenuRow with_icon = RowOf(menu, 0);
    const MenuRow without = RowOf(menu, 1);
    ASSERT_NE(with_icon.image, nullptr);
    ASSERT_NE(without.image, nullptr);  // the column is kept, so the captions line up
    EXPECT_EQ(gtk_image_get_storage_type(GTK_IMAGE(with_icon.image)), GTK_IMAGE_PIXBUF);
    EXPECT_EQ(gdk_pixbuf_get_width(gtk_image_get_pixbuf(GTK_IMAGE(with_icon.image))), 15);
    EXPECT_EQ(gtk_image_get_storage_type(GTK_IMAGE(without.image)), GTK_IMAGE_EMPTY);
    // Blanks are part of the caption.
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(without.label)), reinterpret_cast<const char*>(u8" 设置"));

    PangoAttrList* attributes = gtk_label_get_attributes(GTK_LABEL(with_icon.label));
    ASSERT_NE(attributes, nullptr);
    PangoAttrIterator* at = pango_attr_list_get_iterator(attributes);
    auto* font = reinterpret_cast<PangoAttrFontDesc*>(pango_attr_iterator_get(at, PANGO_ATTR_FONT_DESC));
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(std::string(pango_font_description_get_family(font->desc)).starts_with(reinterpret_cast<const char*>(u8"微软雅黑,")));
    EXPECT_TRUE(pango_font_description_get_size_is_absolute(font->desc));
    EXPECT_EQ(pango_font_description_get_size(font->desc), 12 * PANGO_SCALE);
    // The face the machine shows it in is one of its own fonts.
    PangoFont* loaded = pango_context_load_font(gtk_widget_get_pango_context(with_icon.label), font->desc);
    ASSERT_NE(loaded, nullptr);
    PangoFontDescription* face = pango_font_describe(loaded);
    EXPECT_NE(pango_font_map_get_family(pango_context_get_font_map(gtk_widget_get_pango_context(with_icon.label)),
                                        pango_font_description_get_family(face)),
              nullptr);
    pango_font_description_free(face);
    g_object_unref(loaded);
    pango_attr_iterator_destroy(at);
    gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu));
  });
  program_.PopupMenu(skinned, "菜单", Point{100, 100});
}

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
