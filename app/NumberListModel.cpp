#include "app/NumberListModel.h"

#include "app/Texts.h"

namespace tavrisk::app {

NumberListModel::NumberListModel(QObject* parent) : QAbstractListModel(parent) {}

void NumberListModel::Append(std::string number, NumberSource source) {
    items_.push_back(std::move(number));
    sources_.push_back(std::move(source));
    if (updateDepth_ == 0) {
        Publish();
    }
}

void NumberListModel::BeginUpdate() {
    ++updateDepth_;
}

void NumberListModel::EndUpdate() {
    if (updateDepth_ > 0 && --updateDepth_ == 0) {
        Publish();
    }
}

void NumberListModel::Publish() {
    if (items_.size() <= shown_) {
        return;
    }
    const int first = static_cast<int>(shown_);
    const int last = static_cast<int>(items_.size()) - 1;
    beginInsertRows(QModelIndex(), first, last);
    shown_ = items_.size();
    endInsertRows();
    emit RowsAppended(last);
}

void NumberListModel::Clear() {
    beginResetModel();
    items_.clear();
    sources_.clear();
    shown_ = 0;
    endResetModel();
}

std::string NumberListModel::FileText() const {
    std::size_t size = 0;
    for (const std::string& item : items_) {
        size += item.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const std::string& item : items_) {
        text += item;
        text += "\r\n";
    }
    return text;
}

std::string NumberListModel::CsvText() const {
    std::string text = CsvHeading();
    for (std::size_t i = 0; i < items_.size(); ++i) {
        text += CsvRow(items_[i], sources_[i]);
    }
    return text;
}

int NumberListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_);
}

QVariant NumberListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.column() != 0 ||
        static_cast<std::size_t>(index.row()) >= shown_) {
        return {};
    }
    return Qs(items_[static_cast<std::size_t>(index.row())]);
}

QVariant NumberListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section == 0) {
        return QStringLiteral("FAX");
    }
    return QAbstractListModel::headerData(section, orientation, role);
}

Qt::ItemFlags NumberListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

}  // namespace tavrisk::app
