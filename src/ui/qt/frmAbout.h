#pragma once

#include "ui/qt/Controls.h"

#include <QDialog>
#include <QFont>

#include <functional>
#include <optional>

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
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateControls();
    void Load();
    void Place(QWidget& control, const TwipRect& rect);
    QLabel* AddLabel(const QString& text, const char* name, const TwipRect& rect, bool wraps = false,
                     const std::optional<QFont>& labelFont = std::nullopt);
    QLineEdit* CreateLink(const QString& text, const TwipRect& rect);
    void LinkMouseMove(QLineEdit& field, float X, float Y);

    LinkOpener opener_;
    float twipsPerPixelX_;
    float twipsPerPixelY_;

    QLabel* imgIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLineEdit* txtWebSite = nullptr;
    QLineEdit* txtEmail = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
};

} // namespace brivane
