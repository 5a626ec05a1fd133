#include "explorer/FileListModel.h"

#include <QFileIconProvider>

namespace explorer {
namespace {

// The widgets' provider falls back on the style's pictures where no icon theme is installed. The
// model's reader thread may ask it until the model is gone, so it lives as long as the process.
QFileIconProvider* styledIcons() {
    static auto* const provider = new QFileIconProvider;
    return provider;
}

} // namespace

FileListModel::FileListModel(QObject* parent) : QFileSystemModel(parent) {
    setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    setReadOnly(false);
    setIconProvider(styledIcons());
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
    // A folder reached through a link gets the folder picture too: the style has no large picture
    // of a linked folder, and Wine's drives and profile folders are links.
    if (index.isValid() && index.column() == 0 && role == Qt::DecorationRole && isDir(index))
        return styledIcons()->icon(QAbstractFileIconProvider::Folder);
    if (index.isValid() && index.column() == 2 && role == Qt::DisplayRole) {
        if (isDir(index))
            return QString::fromUtf8("Папка");
        const QString suffix = fileInfo(index).suffix();
        return suffix.isEmpty() ? QString::fromUtf8("Файл") : QString::fromUtf8("Файл ") + suffix.toUpper();
    }
    return QFileSystemModel::data(index, role);
}

} // namespace explorer
