#pragma once
// The rows of a list or tree box's GtkTreeView follow the model by their difference from
// what the store holds: what the model appended is appended, what it removed or changed is
// removed from the first difference on and inserted again. A fill of many rows runs with
// the store taken off the view, so that the view lays the rows out once. The view selects
// the model's selection and scrolls it into sight.

#include <gtk/gtk.h>

#include <vector>

#include "platform/ui/unit_model.h"

namespace korvane::platform::ui::desktop {

// Both the list's and the tree's store hold a row's text and its item number.
enum ItemColumn { kItemText, kItemNumber };

// What a list box's store holds.
struct ShownRows {
  std::vector<Text> rows;
};

// What a tree box's store holds: the items and their rows (tree store rows persist).
struct ShownItems {
  std::vector<TreeItem> items;
  std::vector<GtkTreeIter> rows;
};

// A list box's rows and selected row (-1 for none).
void ShowRows(GtkTreeView* view, ShownRows& shown, const std::vector<Text>& rows, int selection);
// A tree box's items, their expansion and the selected item (-1 for none).
void ShowItems(GtkTreeView* view, ShownItems& shown, const std::vector<TreeItem>& items, int selection);

// The item number of the selected row of a single-selection list or tree view, -1 for none.
int SelectedItem(GtkTreeSelection* selection);

}  // namespace korvane::platform::ui::desktop
