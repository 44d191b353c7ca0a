// TVirtualListView: a report list that holds no data of its own.
//
// It knows only its row count (ItemCount) and asks its owner for a row's texts through
// OnData whenever it shows that row, so a queue of any length costs one call per visible
// row. Columns are set once; one column may take the free width. Grid lines, whole-row
// single selection, no editing. The view is owned by its Qt parent; the model is its own.
// An exception from OnData leaves the row empty and goes to the application's default
// exception handler after the paint.
// Interface thread only; OnData is called on it, also while a handler pumps messages.
#pragma once

#include <QTableView>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace marlovent::platform {

// One row as OnData fills it: Caption is the first column, SubItems the others; Hint is
// the row's tooltip. Index is set by the view.
struct TListItem {
  int Index = 0;
  std::string Caption;
  std::vector<std::string> SubItems;
  std::string Hint;
};

using TListDataEvent = std::function<void(TListItem& Item)>;

class TVirtualListView final : public QTableView {
 public:
  explicit TVirtualListView(QWidget* Parent);
  ~TVirtualListView() override;

  // Adds a column; Width 0 makes it take the width the other columns leave free.
  void AddColumn(const std::string& Caption, int Width);

  TListDataEvent OnData;

  int ItemCount() const;
  // Changes the row count; rows that stay keep their place and the selection.
  void SetItemCount(int Count);
  // The selected row, or -1.
  int ItemIndex() const;
  void SetItemIndex(int Index);
  // Asks OnData again for every row shown.
  void Refresh();

 protected:
  void paintEvent(QPaintEvent* Event) override;

 private:
  class TModel;
  std::unique_ptr<TModel> FModel;
  bool FPainting = false;
};

}  // namespace marlovent::platform
