#include "platform/VirtualListView.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <optional>

#include "platform/Application.h"
#include "platform/Text.h"

namespace marlovent::platform {

class TVirtualListView::TModel final : public QAbstractTableModel {
 public:
  explicit TModel(TVirtualListView& View) : FView(View) {}

  int rowCount(const QModelIndex& Parent) const override { return Parent.isValid() ? 0 : FCount; }
  int columnCount(const QModelIndex& Parent) const override {
    return Parent.isValid() ? 0 : int(FColumns.size());
  }

  QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override {
    if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole) return {};
    if (Section < 0 || std::size_t(Section) >= FColumns.size()) return {};
    return ToQt(FColumns[std::size_t(Section)]);
  }

  QVariant data(const QModelIndex& Index, int Role) const override {
    if (!Index.isValid() || Index.row() >= FCount) return {};
    if (Role != Qt::DisplayRole && Role != Qt::ToolTipRole) return {};
    const TListItem& Item = Row(Index.row());
    if (Role == Qt::ToolTipRole) return Item.Hint.empty() ? QVariant() : ToQt(Item.Hint);
    if (Index.column() == 0) return ToQt(Item.Caption);
    const std::size_t Sub = std::size_t(Index.column() - 1);
    return Sub < Item.SubItems.size() ? ToQt(Item.SubItems[Sub]) : QString();
  }

  void AddColumn(const std::string& Caption) {
    const int At = int(FColumns.size());
    beginInsertColumns({}, At, At);
    FColumns.push_back(Caption);
    endInsertColumns();
  }

  int Count() const { return FCount; }

  void SetCount(int Count) {
    Count = std::max(Count, 0);
    Forget();
    if (Count > FCount) {
      beginInsertRows({}, FCount, Count - 1);
      FCount = Count;
      endInsertRows();
    } else if (Count < FCount) {
      beginRemoveRows({}, Count, FCount - 1);
      FCount = Count;
      endRemoveRows();
    }
  }

  void RefreshAll() {
    Forget();
    if (FCount > 0 && !FColumns.empty())
      emit dataChanged(index(0, 0), index(FCount - 1, int(FColumns.size()) - 1));
  }

 private:
  // A paint asks for a row once per column and role: within one paint the last row asked
  // is kept. Outside a paint every question goes to OnData, so nothing shown is stale.
  const TListItem& Row(int RowIndex) const {
    if (!FView.FPainting || !FLast || FLast->Index != RowIndex) {
      FLast.emplace();
      FLast->Index = RowIndex;
      Fill(*FLast);
      FLast->Index = RowIndex;
    }
    return *FLast;
  }

  // OnData runs under the program's exception handling: a row whose handler fails stays
  // empty, and the failure is reported once the paint is over, once until the rows change.
  void Fill(TListItem& Item) const {
    if (!FView.OnData) return;
    try {
      FView.OnData(Item);
    } catch (const std::exception& Error) {
      Item = TListItem{};
      Report(Error.what());
    }
  }

  void Report(const std::string& Message) const {
    if (FReported) return;
    FReported = true;
    QMetaObject::invokeMethod(
        &FView,
        [Message] {
          if (TApplication* App = TApplication::Current())
            App->HandleException(std::runtime_error(Message));
        },
        Qt::QueuedConnection);
  }

 public:
  void Forget() {
    FLast.reset();
    FReported = false;
  }

 private:
  TVirtualListView& FView;
  std::vector<std::string> FColumns;
  int FCount = 0;
  mutable std::optional<TListItem> FLast;
  mutable bool FReported = false;
};

TVirtualListView::TVirtualListView(QWidget* Parent)
    : QTableView(Parent), FModel(std::make_unique<TModel>(*this)) {
  setModel(FModel.get());
  setShowGrid(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setFrameShape(QFrame::NoFrame);
  setWordWrap(false);
  setTextElideMode(Qt::ElideMiddle);
  setCornerButtonEnabled(false);
  verticalHeader()->hide();
  // Fixed row heights: the view never measures rows, whatever their number.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setSectionsMovable(false);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

TVirtualListView::~TVirtualListView() {
  setModel(nullptr);
}

void TVirtualListView::AddColumn(const std::string& Caption, int Width) {
  FModel->AddColumn(Caption);
  const int Column = FModel->columnCount({}) - 1;
  if (Width <= 0) {
    horizontalHeader()->setSectionResizeMode(Column, QHeaderView::Stretch);
  } else {
    horizontalHeader()->setSectionResizeMode(Column, QHeaderView::Fixed);
    horizontalHeader()->resizeSection(Column, Width);
  }
}

int TVirtualListView::ItemCount() const {
  return FModel->Count();
}

void TVirtualListView::SetItemCount(int Count) {
  // A selected row that goes leaves no selection behind (Qt would select a neighbour).
  if (ItemIndex() >= Count) selectionModel()->clear();
  FModel->SetCount(Count);
}

int TVirtualListView::ItemIndex() const {
  const QModelIndexList Rows = selectionModel()->selectedRows();
  return Rows.isEmpty() ? -1 : Rows.first().row();
}

void TVirtualListView::SetItemIndex(int Index) {
  if (Index < 0 || Index >= ItemCount()) {
    selectionModel()->clearSelection();
    return;
  }
  selectRow(Index);
}

void TVirtualListView::paintEvent(QPaintEvent* Event) {
  FPainting = true;
  QTableView::paintEvent(Event);
  FPainting = false;
}

void TVirtualListView::Refresh() {
  FModel->RefreshAll();
  viewport()->update();
}

}  // namespace marlovent::platform
