#include "ui/qt/FileList.h"

#include "ui/qt/FileNames.h"

#include <QListWidget>

namespace brivane {

void FillFileList(QListWidget& list, const std::vector<std::string>& names)
{
    list.clear();
    for (const std::string& name : names)
        list.addItem(ToText(name));
}

} // namespace brivane
