#include "platform/ui/desktop/desktop_item_rows.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "platform/ui/desktop/desktop_drawing.h"

namespace korvane::platform::ui::desktop {
namespace {

// Beyond this many rows added or removed at once, the store is off the view meanwhile.
constexpr std::size_t kBulkRows = 64;

// Takes the store off the view for a bulk change and puts it back when the change is done:
// the view then measures and lays out the rows once instead of once a row.
class DetachedStore {
 public:
  DetachedStore(GtkTreeView* view, bool detach) : view_(view) {
    if (!detach) return;
    model_ = GTK_TREE_MODEL(g_object_ref(gtk_tree_view_get_model(view)));
    gtk_tree_view_set_model(view, nullptr);
  }
  ~DetachedStore() {
    if (model_ == nullptr) return;
    gtk_tree_view_set_model(view_, model_);
    g_object_unref(model_);
  }
  DetachedStore(const DetachedStore&) = delete;
  DetachedStore& operator=(const DetachedStore&) = delete;
  bool Detached() const { return model_ != nullptr; }
  GtkTreeModel* Model() const { return model_ != nullptr ? model_ : gtk_tree_view_get_model(view_); }

 private:
  GtkTreeView* view_;
  GtkTreeModel* model_ = nullptr;
};

// Selects item `item` at `path` (-1 at nullptr for none) unless it is selected already;
// a row newly selected is scrolled into sight.
void Select(GtkTreeView* view, int item, GtkTreePath* path) {
  GtkTreeSelection* selection = gtk_tree_view_get_selection(view);
  if (SelectedItem(selection) == item) return;
  gtk_tree_selection_unselect_all(selection);
  if (path == nullptr) return;
  gtk_tree_selection_select_path(selection, path);
  gtk_tree_view_scroll_to_cell(view, path, nullptr, FALSE, 0, 0);
}

}  // namespace

int SelectedItem(GtkTreeSelection* selection) {
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  if (!gtk_tree_selection_get_selected(selection, &model, &iter)) return -1;
  int item = -1;
  gtk_tree_model_get(model, &iter, kItemNumber, &item, -1);
  return item;
}

void ShowRows(GtkTreeView* view, ShownRows& shown, const std::vector<Text>& rows, int selection) {
  const std::size_t keep =
      std::mismatch(shown.rows.begin(), shown.rows.end(), rows.begin(), rows.end()).first - shown.rows.begin();
  if (keep < shown.rows.size() || keep < rows.size()) {
    DetachedStore store(view, shown.rows.size() - keep + rows.size() - keep > kBulkRows);
    GtkListStore* list = GTK_LIST_STORE(store.Model());
    GtkTreeIter iter;
    if (keep == 0) {
      gtk_list_store_clear(list);
    } else if (gtk_tree_model_iter_nth_child(store.Model(), &iter, nullptr, static_cast<int>(keep))) {
      while (gtk_list_store_remove(list, &iter)) {
      }
    }
    for (std::size_t i = keep; i < rows.size(); ++i) {
      gtk_list_store_insert_with_values(list, nullptr, -1, kItemText, ToUtf8(rows[i]).c_str(), kItemNumber,
                                        static_cast<int>(i), -1);
    }
    shown.rows.resize(keep);
    shown.rows.insert(shown.rows.end(), rows.begin() + static_cast<std::ptrdiff_t>(keep), rows.end());
  }
  GtkTreePath* path = selection >= 0 ? gtk_tree_path_new_from_indices(selection, -1) : nullptr;
  Select(view, selection, path);
  if (path != nullptr) gtk_tree_path_free(path);
}

void ShowItems(GtkTreeView* view, ShownItems& shown, const std::vector<TreeItem>& items, int selection) {
  const std::size_t keep = std::mismatch(shown.items.begin(), shown.items.end(), items.begin(), items.end(),
                                         [](const TreeItem& a, const TreeItem& b) {
                                           return a.text == b.text && a.parent == b.parent;
                                         })
                               .first -
                           shown.items.begin();
  // Items to expand: those that say so and are new, newly expanded, or have new children.
  std::vector<bool> expand(items.size(), false);
  for (std::size_t i = 0; i < items.size(); ++i) {
    expand[i] = items[i].expanded && (i >= keep || !shown.items[i].expanded);
  }
  {
    DetachedStore store(view, shown.items.size() - keep + items.size() - keep > kBulkRows);
    GtkTreeStore* tree = GTK_TREE_STORE(store.Model());
    if (keep == 0) {
      gtk_tree_store_clear(tree);
    } else {
      // Last first: an item's children come after it, so each goes before its parent.
      for (std::size_t i = shown.items.size(); i-- > keep;) gtk_tree_store_remove(tree, &shown.rows[i]);
    }
    shown.items.resize(keep);
    shown.rows.resize(keep);
    // The last child of each item so far (index parent + 1; 0 for the top level): a new
    // row goes after it without walking its siblings.
    std::vector<int> last_child(items.size() + 1, -1);
    for (std::size_t i = 0; i < keep; ++i) last_child[items[i].parent + 1] = static_cast<int>(i);
    for (std::size_t i = keep; i < items.size(); ++i) {
      const int parent = items[i].parent >= 0 && static_cast<std::size_t>(items[i].parent) < i ? items[i].parent : -1;
      const int sibling = last_child[parent + 1];
      GtkTreeIter row;
      gtk_tree_store_insert_after(tree, &row, parent >= 0 ? &shown.rows[parent] : nullptr,
                                  sibling >= 0 ? &shown.rows[sibling] : nullptr);
      gtk_tree_store_set(tree, &row, kItemText, ToUtf8(items[i].text).c_str(), kItemNumber, static_cast<int>(i), -1);
      shown.rows.push_back(row);
      last_child[parent + 1] = static_cast<int>(i);
      if (parent >= 0 && items[parent].expanded) expand[parent] = true;
    }
    shown.items.resize(keep);
    shown.items.insert(shown.items.end(), items.begin() + static_cast<std::ptrdiff_t>(keep), items.end());
    for (std::size_t i = 0; i < keep; ++i) shown.items[i].expanded = items[i].expanded;
    if (store.Detached()) {
      for (std::size_t i = 0; i < items.size(); ++i) expand[i] = items[i].expanded;
    }
  }
  GtkTreeModel* model = gtk_tree_view_get_model(view);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!expand[i]) continue;
    GtkTreePath* path = gtk_tree_model_get_path(model, &shown.rows[i]);
    gtk_tree_view_expand_row(view, path, FALSE);
    gtk_tree_path_free(path);
  }
  const bool selects = selection >= 0 && static_cast<std::size_t>(selection) < shown.rows.size();
  GtkTreePath* path = selects ? gtk_tree_model_get_path(model, &shown.rows[selection]) : nullptr;
  Select(view, selects ? selection : -1, path);
  if (path != nullptr) gtk_tree_path_free(path);
}

}  // namespace korvane::platform::ui::desktop
