#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace brivane {

// The pixel width a label's text is fitted to: 96 % of its width, as whole pixels.
int FittingWidth(const QLabel& label, float twipsPerPixelX);

// Shows `path` in the label shortened to fit, keeps the full path in its "Tag" property,
// and offers it as the tool tip whenever the shown text is shortened.
void FitPathToLabel(QWidget& window, QLabel& label, const QString& path);

// The full path FitPathToLabel keeps with the label.
QString LabelTag(const QLabel& label);

} // namespace brivane
