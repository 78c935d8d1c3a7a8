#include "ui/qt/FileList.h"

#include "conversion/ImfPaths.h"
#include "platform/FileSystem.h"
#include "ui/qt/FileNames.h"

#include <QListWidget>

#include <algorithm>

namespace brivane {
namespace {

const char* const kFolderProperty = "Folder";
constexpr int kNameBytesRole = Qt::UserRole;

} // namespace

void SetFileListFolder(QListWidget& list, const QString& folder)
{
    list.setProperty(kFolderProperty, folder);
    list.clear();
    struct Entry {
        QString Text;
        std::string Bytes;
    };
    std::vector<Entry> entries;
    for (std::string& name : VisibleFilesIn(ToBytes(folder)))
        if (IsSongName(name))
            entries.push_back({ToText(name), std::move(name)});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int order = a.Text.compare(b.Text, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.Bytes < b.Bytes;
    });
    for (const Entry& entry : entries) {
        auto* item = new QListWidgetItem(entry.Text);
        item->setData(kNameBytesRole, QByteArray::fromStdString(entry.Bytes));
        list.addItem(item);
    }
}

QString FileListFolder(const QListWidget& list)
{
    return list.property(kFolderProperty).toString();
}

std::string SongPath(const QListWidget& list, const QListWidgetItem& item)
{
    return JoinPath(ToBytes(FileListFolder(list)), item.data(kNameBytesRole).toByteArray().toStdString());
}

} // namespace brivane
