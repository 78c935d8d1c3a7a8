#pragma once

#include <string>
#include <vector>

class QListWidget;

namespace brivane {

// Fills the list with these names, in this order; the previous entries and selection go. A
// name that is not valid text is shown with replacement characters.
void FillFileList(QListWidget& list, const std::vector<std::string>& names);

} // namespace brivane
