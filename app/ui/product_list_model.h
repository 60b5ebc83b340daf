#pragma once

#include <QAbstractTableModel>
#include <deque>
#include <optional>

#include "app/records/record_context.h"
#include "framework/status.h"
#include "framework/storage/keyed_file.h"

namespace paltrix::app {

// The catalogue's list: the Produkt file in the order of one of its keys, read
// through the storage engine page by page as the user scrolls, never copied
// whole. The model holds a window of consecutive records of the key order;
// scrolling past its end reads on (fetchMore), scrolling to its top reads
// back (FetchBefore), and locating a record far away replaces the window by
// the records around it. Each read re-reads from the key position, so
// Refresh() shows what other stations changed.
//
// The model reads through handles of its own on the context's session (one
// reading forward, one back, one locating), so the form and the print windows, which
// use the context's own handle, never move its position.
class ProductListModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kIdColumn, kGtinColumn, kNameColumn, kDescriptionColumn, kOrderColumn };
  static constexpr int kColumnCount = 5;
  // Records read per step of scrolling.
  static constexpr int kPageRows = 64;

  // Opens the model's handles (failures are reported by the file manager;
  // the model is then empty) and fills the first page in ID order.
  // REQUIRES: `context` outlives the model.
  explicit ProductListModel(records::RecordContext& context, QObject* parent = nullptr);
  ~ProductListModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

  // produkt::kIDKey or produkt::kNavneKey. Switching reloads the window at
  // the start, or around the record `around` (its row is returned).
  std::size_t key() const { return key_; }
  std::optional<int> SetKey(std::size_t key, const storage::Record* around = nullptr);

  // Reads up to a page of the records before the first row and inserts them
  // at the top; returns how many.
  int FetchBefore();
  bool atStart() const { return atStart_; }
  bool atEnd() const { return atEnd_; }

  // The row of the first record whose key is >= the key value in `probe`
  // (the last record when there is none), reloading the window around it
  // when it is not loaded; nullopt for an empty file.
  std::optional<int> Locate(const storage::Record& probe);
  // Reloads the window at the first or the last record of the key order;
  // returns the row of that record.
  std::optional<int> First();
  std::optional<int> Last();
  // Re-reads the window around `number` (which keeps its place when it still
  // exists; otherwise the record after it in key order is chosen); returns
  // the row to highlight.
  std::optional<int> Refresh(storage::RecordNumber number);

  const storage::Record& RecordAt(int row) const {
    return rows_[static_cast<std::size_t>(row)].record;
  }
  storage::RecordNumber NumberAt(int row) const {
    return rows_[static_cast<std::size_t>(row)].number;
  }
  std::optional<int> RowOf(storage::RecordNumber number) const;

 private:
  struct Row {
    storage::RecordNumber number = 0;
    storage::Record record;
  };
  enum class Anchor { kStart, kEnd, kProbe };

  // Replaces the rows by a page on each side of the anchor; returns the row
  // of the first record at or after it (the last row when none).
  std::optional<int> Reload(Anchor anchor, const storage::Record* probe);
  // Reads one record; false at the end (the side is then marked complete) or
  // on a failure, which is reported once.
  bool Read(storage::KeyedFile& file, bool forward, Row& row);

  records::RecordContext& context_;
  storage::KeyedFile* forward_ = nullptr;
  storage::KeyedFile* backward_ = nullptr;
  storage::KeyedFile* probe_ = nullptr;  // finds a located record
  std::size_t key_;
  std::deque<Row> rows_;
  bool atStart_ = true;
  bool atEnd_ = true;
  bool failureReported_ = false;
};

}  // namespace paltrix::app
