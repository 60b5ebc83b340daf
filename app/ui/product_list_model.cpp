#include "app/ui/product_list_model.h"

#include <algorithm>

#include "app/records/produkt.h"
#include "framework/errors/message_numbers.h"
#include "framework/fields/record_codec.h"
#include "framework/text/windows1252.h"

namespace paltrix::app {
namespace {

namespace produkt = records::produkt;

struct ColumnDef {
  const char* title;
  const fields::FieldDef* field;
  int shownCharacters;
};

constexpr ColumnDef kColumns[ProductListModel::kColumnCount] = {
    {"Produkt ID", &produkt::PRODUKTID, 20}, {"GTIN", &produkt::EANNR, 14},
    {"Produkt", &produkt::PRODUKTNAVN, 40},  {"Beskrivelse", &produkt::ANTALPRKOLLIE, 60},
    {"Ordre nr.", &produkt::NAVN2, 15},
};

}  // namespace

ProductListModel::ProductListModel(records::RecordContext& context, QObject* parent)
    : QAbstractTableModel(parent), context_(context), key_(produkt::kIDKey) {
  const records::FileManager& manager = context.files().file(produkt::kSchema);
  Result<storage::KeyedFile*> forward = manager.Open(context.session());
  Result<storage::KeyedFile*> backward = manager.Open(context.session());
  Result<storage::KeyedFile*> probe = manager.Open(context.session());
  if (forward.ok()) forward_ = *forward;
  if (backward.ok()) backward_ = *backward;
  if (probe.ok()) probe_ = *probe;
  First();
}

ProductListModel::~ProductListModel() {
  if (forward_ != nullptr) context_.session().Close(forward_);
  if (backward_ != nullptr) context_.session().Close(backward_);
  if (probe_ != nullptr) context_.session().Close(probe_);
}

int ProductListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ProductListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant ProductListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  const ColumnDef& column = kColumns[index.column()];
  const std::string text = fields::ReadText(RecordAt(index.row()).image, *column.field);
  return QString::fromStdString(text::ToUtf8(text::TrimRight(text))).left(column.shownCharacters);
}

QVariant ProductListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return QString::fromUtf8(kColumns[section].title);
}

bool ProductListModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && !atEnd_;
}

void ProductListModel::fetchMore(const QModelIndex& parent) {
  if (parent.isValid() || forward_ == nullptr) return;
  std::vector<Row> page;
  Row row;
  while (static_cast<int>(page.size()) < kPageRows && Read(*forward_, true, row)) {
    page.push_back(std::move(row));
  }
  if (page.empty()) return;
  const int first = static_cast<int>(rows_.size());
  beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
  std::move(page.begin(), page.end(), std::back_inserter(rows_));
  endInsertRows();
}

int ProductListModel::FetchBefore() {
  if (atStart_ || backward_ == nullptr) return 0;
  std::vector<Row> page;
  Row row;
  while (static_cast<int>(page.size()) < kPageRows && Read(*backward_, false, row)) {
    page.push_back(std::move(row));
  }
  if (page.empty()) return 0;
  const int count = static_cast<int>(page.size());
  beginInsertRows({}, 0, count - 1);
  for (Row& read : page) rows_.push_front(std::move(read));
  endInsertRows();
  return count;
}

std::optional<int> ProductListModel::SetKey(std::size_t key, const storage::Record* around) {
  key_ = key;
  return around != nullptr ? Reload(Anchor::kProbe, around) : First();
}

std::optional<int> ProductListModel::Locate(const storage::Record& probe) {
  // One read finds the record; the window is kept when it holds it already.
  storage::Record found;
  if (probe_ != nullptr && probe_->SetKeyOrder(key_, &probe).ok() && probe_->Next(found).ok()) {
    if (std::optional<int> row = RowOf(probe_->position())) return row;
  }
  return Reload(Anchor::kProbe, &probe);
}

std::optional<int> ProductListModel::First() {
  return Reload(Anchor::kStart, nullptr);
}

std::optional<int> ProductListModel::Last() {
  return Reload(Anchor::kEnd, nullptr);
}

std::optional<int> ProductListModel::Refresh(storage::RecordNumber number) {
  const std::optional<int> current = RowOf(number);
  if (!current) return First();
  const storage::Record probe = RecordAt(*current);
  const std::optional<int> located = Reload(Anchor::kProbe, &probe);
  if (std::optional<int> kept = RowOf(number)) return kept;
  return located;
}

std::optional<int> ProductListModel::RowOf(storage::RecordNumber number) const {
  const auto found = std::find_if(rows_.begin(), rows_.end(),
                                  [number](const Row& row) { return row.number == number; });
  if (found == rows_.end()) return std::nullopt;
  return static_cast<int>(found - rows_.begin());
}

std::optional<int> ProductListModel::Reload(Anchor anchor, const storage::Record* probe) {
  beginResetModel();
  rows_.clear();
  atStart_ = atEnd_ = true;
  failureReported_ = false;
  int firstAtAnchor = 0;
  if (forward_ != nullptr && backward_ != nullptr) {
    Status positioned;
    switch (anchor) {
      case Anchor::kStart:
        positioned = forward_->SetKeyOrder(key_);
        if (positioned.ok()) positioned = backward_->SetKeyOrder(key_);
        break;
      case Anchor::kEnd:
        positioned = forward_->SetKeyOrderFromEnd(key_);
        if (positioned.ok()) positioned = backward_->SetKeyOrderFromEnd(key_);
        break;
      case Anchor::kProbe:
        positioned = forward_->SetKeyOrder(key_, probe);
        if (positioned.ok()) positioned = backward_->SetKeyOrder(key_, probe);
        break;
    }
    if (positioned.ok()) {
      atStart_ = atEnd_ = false;
      const int before = anchor == Anchor::kEnd ? kPageRows : kPageRows / 2;
      Row row;
      for (int i = 0; i < before && Read(*backward_, false, row); ++i) {
        rows_.push_front(std::move(row));
      }
      firstAtAnchor = static_cast<int>(rows_.size());
      for (int i = 0; i < kPageRows && Read(*forward_, true, row); ++i) {
        rows_.push_back(std::move(row));
      }
    }
  }
  endResetModel();
  if (rows_.empty()) return std::nullopt;
  if (anchor == Anchor::kEnd) return static_cast<int>(rows_.size()) - 1;
  return std::min(firstAtAnchor, static_cast<int>(rows_.size()) - 1);
}

bool ProductListModel::Read(storage::KeyedFile& file, bool forward, Row& row) {
  bool& complete = forward ? atEnd_ : atStart_;
  if (complete) return false;
  const Status status = forward ? file.Next(row.record) : file.Previous(row.record);
  if (status.ok()) {
    row.number = file.position();
    return true;
  }
  complete = true;
  if (status.code() != ErrorCode::kRecordNotAvailable && !failureReported_) {
    failureReported_ = true;
    context_.files().file(produkt::kSchema).Report(errors::msg::kRecordRetrievalError, status);
  }
  return false;
}

}  // namespace paltrix::app
