// The channel lines of a document as the model lstClient shows. The view reads the
// document's own lines (there is no second copy); an edit names the rows that changed, so
// every selected line and the current line stay where they are.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace talveron::document {

class DocumentHost;

class ChannelListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    ChannelListModel(DocumentHost* host, int number, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // These rows show new lines.
    void LinesChanged(const std::vector<int>& rows);
    // Every line again; a changed number of lines starts the view afresh.
    void Reload();

  private:
    const std::vector<std::string>* Lines() const;

    DocumentHost* host_;
    int number_;
    int rows_ = 0;  // the rows the view was told of
};

}  // namespace talveron::document
