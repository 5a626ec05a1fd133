#include "explorer/FileListModel.h"

namespace explorer {

FileListModel::FileListModel(QObject* parent) : QFileSystemModel(parent) {
    setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    setReadOnly(false);
    sort(0, Qt::AscendingOrder);
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        switch (section) {
        case 0:
            return QString::fromUtf8("Имя");
        case 1:
            return QString::fromUtf8("Размер");
        case 2:
            return QString::fromUtf8("Тип");
        case 3:
            return QString::fromUtf8("Изменён");
        default:
            break;
        }
    }
    return QFileSystemModel::headerData(section, orientation, role);
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (index.isValid() && index.column() == 2 && role == Qt::DisplayRole) {
        if (isDir(index))
            return QString::fromUtf8("Папка");
        const QString suffix = fileInfo(index).suffix();
        return suffix.isEmpty() ? QString::fromUtf8("Файл") : QString::fromUtf8("Файл ") + suffix.toUpper();
    }
    return QFileSystemModel::data(index, role);
}

} // namespace explorer
