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

}  // namespace
}  // namespace korvane::platform::ui::desktop::testing
