#pragma once

#include "ui/qt/Controls.h"
#include "ui/shared/AboutBox.h"

#include <QDialog>

#include <functional>
#include <iterator>

class QLabel;
class QLineEdit;
class QPushButton;

namespace brivane {

// Opens a link text; the desktop's opener in the program, a recorder in tests.
using LinkOpener = std::function<void(const QString&)>;

// The About box: product, version, what it converts, a warning to keep backups, and the
// maker's web and e-mail links. Shown modally over the main window; OK, Enter or Esc close it.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* owner, LinkOpener opener);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void Load();
    void Place(QWidget& control, const TwipRect& rect);
    void AddLabel(const about::AboutLabel& design);
    QLineEdit* CreateLink(const about::AboutLink& link);
    void LinkMouseMove(QLineEdit& field, float X, float Y);

    LinkOpener opener_;
    float twipsPerPixelX_;
    float twipsPerPixelY_;

    QLabel* imgIcon = nullptr;
    QLineEdit* links_[std::size(about::kAboutLinks)] = {}; // txtWebSite, txtEmail
    QPushButton* cmdOK = nullptr;
};

} // namespace brivane
