// Message boxes and popup menus: real GTK dialogs and menus, answered the way a user
// would, return what the programs expect.

#include <string>
#include <vector>

#include "tests/platform/ui/desktop/desktop_test_fixture.h"

namespace korvane::platform::ui::desktop::testing {
namespace {

// The toolkit's open top-level window of `type` (a message dialog, a menu's popup).
GtkWidget* FindToplevel(GType type) {
  GList* toplevels = gtk_window_list_toplevels();
  GtkWidget* found = nullptr;
  for (GList* item = toplevels; item != nullptr; item = item->next) {
    GtkWidget* widget = GTK_WIDGET(item->data);
    if (!gtk_widget_get_visible(widget)) continue;
    if (G_TYPE_CHECK_INSTANCE_TYPE(widget, type)) found = widget;
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(widget));
    if (child != nullptr && G_TYPE_CHECK_INSTANCE_TYPE(child, type)) found = child;
  }
  g_list_free(toplevels);
  return found;
}

struct MessageBoxCase {
  MessageBoxStyle style;
  int response;  // a button's answer, or GTK_RESPONSE_DELETE_EVENT for the close box
  MessageBoxAnswer answer;
};

class MessageBoxTest : public DesktopProgramTest, public ::testing::WithParamInterface<MessageBoxCase> {};

TEST_P(MessageBoxTest, TheUsersAnswerIsTheButtonCode) {
  const MessageBoxCase& question = GetParam();
  backend_.Post([&] {
    ASSERT_TRUE(PumpUntil([] { return FindToplevel(GTK_TYPE_MESSAGE_DIALOG) != nullptr; }));
    gtk_dialog_response(GTK_DIALOG(FindToplevel(GTK_TYPE_MESSAGE_DIALOG)), question.response);
  });
  EXPECT_EQ(program_.ShowMessageBox("没有可用的更新", question.style, "在线升级"), question.answer);
  EXPECT_EQ(FindToplevel(GTK_TYPE_MESSAGE_DIALOG), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Buttons, MessageBoxTest,
                         ::testing::Values(
                             MessageBoxCase{{MessageBoxButtons::kOk, MessageBoxIcon::kInformation}, 1,
                                            MessageBoxAnswer::kOk},
                             MessageBoxCase{{MessageBoxButtons::kOk, MessageBoxIcon::kInformation},
                                            GTK_RESPONSE_DELETE_EVENT, MessageBoxAnswer::kOk},
                             MessageBoxCase{{MessageBoxButtons::kOkCancel, MessageBoxIcon::kQuestion},
                                            GTK_RESPONSE_DELETE_EVENT, MessageBoxAnswer::kCancel},
                             MessageBoxCase{{MessageBoxButtons::kYesNo, MessageBoxIcon::kQuestion}, 7,
                                            MessageBoxAnswer::kNo},
                             MessageBoxCase{{MessageBoxButtons::kYesNoCancel, MessageBoxIcon::kQuestion}, 6,
                                            MessageBoxAnswer::kYes}));

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

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
