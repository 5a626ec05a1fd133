#pragma once
#include <QFileSystemModel>

namespace explorer {

// The explorer's file list: folders and files, hidden ones included, sorted by name with folders
// first, names editable (an edit renames the file or folder on disk). The columns of the table
// view carry Russian titles and a Russian type text.
class FileListModel : public QFileSystemModel {
    Q_OBJECT
public:
    explicit FileListModel(QObject* parent = nullptr);

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

} // namespace explorer
