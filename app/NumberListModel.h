#pragma once

#include "harvest/FoundNumber.h"

#include <QAbstractListModel>

#include <cstddef>
#include <string>
#include <vector>

namespace tavrisk::app {

// The result list: the numbers found, in the order found, as GBK bytes, shown
// in one column headed "FAX". Read-only for the user.
//
// Appends made inside an update bracket (BeginUpdate/EndUpdate, or a Batch)
// reach the view as one insertion when the outermost bracket closes; an
// append outside a bracket is shown at once. After each insertion the model
// emits RowsAppended with the last row, which the window scrolls into view.
// Rows live in a plain vector, so a million numbers cost a few tens of MB and
// an append is O(1).
class NumberListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit NumberListModel(QObject* parent = nullptr);

    // Closes a bracket on every path out of a scope.
    class Batch {
    public:
        explicit Batch(NumberListModel& model) : model_(model) { model_.BeginUpdate(); }
        ~Batch() { model_.EndUpdate(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        NumberListModel& model_;
    };

    // source: where a search run found the number (empty when unknown).
    void Append(std::string number, NumberSource source = {});
    void BeginUpdate();
    void EndUpdate();
    // Empties the list (a bracket still open stays open, now empty).
    void Clear();

    // Every number appended, including those of a bracket still open.
    [[nodiscard]] std::size_t Count() const { return items_.size(); }
    [[nodiscard]] const std::string& Item(std::size_t index) const { return items_.at(index); }
    [[nodiscard]] const std::vector<std::string>& Items() const { return items_; }
    // The numbers as a number file: each one followed by CR LF.
    [[nodiscard]] std::string FileText() const;
    // Where the number at index was found.
    [[nodiscard]] const NumberSource& Source(std::size_t index) const { return sources_.at(index); }
    // The numbers with their sources as comma-separated values (GBK), with a
    // heading row.
    [[nodiscard]] std::string CsvText() const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void RowsAppended(int lastRow);

private:
    void Publish();

    std::vector<std::string> items_;
    std::vector<NumberSource> sources_;  // beside items_, one for each
    std::size_t shown_ = 0;              // rows the view knows of
    int updateDepth_ = 0;
};

}  // namespace tavrisk::app
