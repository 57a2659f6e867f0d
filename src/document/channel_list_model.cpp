#include "document/channel_list_model.h"

#include "document/document_host.h"

namespace talveron::document {

ChannelListModel::ChannelListModel(DocumentHost* host, int number, QObject* parent)
    : QAbstractListModel(parent), host_(host), number_(number) {
    if (const auto* lines = Lines()) rows_ = static_cast<int>(lines->size());
}

const std::vector<std::string>* ChannelListModel::Lines() const {
    const Document* doc = host_->DocumentOf(number_);
    return doc ? &doc->lines : nullptr;
}

int ChannelListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

QVariant ChannelListModel::data(const QModelIndex& index, int role) const {
    const auto* lines = Lines();
    if (role != Qt::DisplayRole || !lines || !index.isValid() ||
        index.row() >= static_cast<int>(lines->size()))
        return {};
    return QString::fromStdString((*lines)[static_cast<std::size_t>(index.row())]);
}

void ChannelListModel::LinesChanged(const std::vector<int>& rows) {
    // One signal per run of neighbouring rows.
    std::size_t i = 0;
    while (i < rows.size()) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
        if (rows[i] >= 0 && rows[j] < rows_) emit dataChanged(index(rows[i]), index(rows[j]));
        i = j + 1;
    }
}

void ChannelListModel::Reload() {
    const auto* lines = Lines();
    const int count = lines ? static_cast<int>(lines->size()) : 0;
    if (count == rows_) {
        if (count > 0) emit dataChanged(index(0), index(count - 1));
        return;
    }
    beginResetModel();
    rows_ = count;
    endResetModel();
}

}  // namespace talveron::document
