#include "ui/qt/frmAbout.h"

#include "platform/ApplicationInfo.h"
#include "ui/qt/DesignFont.h"
#include "ui/qt/ScaleMode.h"
#include "ui/qt/modMouseOver.h"
#include "ui/qt/modSetCursorToHand.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace brivane {

const QString frmAbout::kWebSite = QStringLiteral("https://brivane.example.org");
const QString frmAbout::kEmail = QStringLiteral("brivane@example.org");

namespace {

constexpr float kClientWidth = 5730;
constexpr float kClientHeight = 3255;

} // namespace

frmAbout::frmAbout(QWidget* owner, LinkOpener opener)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      opener_(std::move(opener)),
      twipsPerPixelX_(TwipsPerPixelX(*this)),
      twipsPerPixelY_(TwipsPerPixelY(*this))
{
    setObjectName("frmAbout");
    setModal(true);
    UseDesignFont(*this);
    MarkScaleModeTwips(*this);
    setFixedSize(TwipsToPixels(kClientWidth, twipsPerPixelX_), TwipsToPixels(kClientHeight, twipsPerPixelY_));
    CreateControls();
    Load();
    // QDialog centres itself over its owner when it is shown.
}

void frmAbout::Place(QWidget& control, const TwipRect& rect)
{
    PlaceInTwips(control, rect, twipsPerPixelX_, twipsPerPixelY_);
}

void frmAbout::CreateControls()
{
    // OK comes first, so it is first in the tab order and has the focus.
    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    Place(*cmdOK, {4245, 2745, 1260, 345});
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    imgIcon = new QLabel(this);
    imgIcon->setObjectName("imgIcon");
    Place(*imgIcon, {240, 240, 300, 300});

    QFont titleFont = font();
    titleFont.setPointSizeF(9.75);
    titleFont.setBold(true);
    lblTitle = AddLabel(QString::fromLatin1(kApplicationTitle), "lblTitle", {1050, 240, 3885, 360}, false, titleFont);
    lblVersion = AddLabel(tr("Version"), "lblVersion", {1050, 600, 3885, 225});
    lblDescription = AddLabel(
        QStringLiteral("Converts Duke Nukem 2 and Comso IMF files to Wolfenstein 3-D's IMF format."),
        "lblDescription", {1050, 960, 3885, 930}, true);

    AddLabel(QStringLiteral("website:"), "lbl0", {1080, 1920, 615, 210});
    txtWebSite = CreateLink(kWebSite, {1800, 1920, 2055, 255});
    txtWebSite->setObjectName("txtWebSite");
    AddLabel(QStringLiteral("email:"), "lbl1", {1080, 2280, 495, 255});
    txtEmail = CreateLink(kEmail, {1800, 2280, 1695, 255});
    txtEmail->setObjectName("txtEmail");

    lblDisclaimer = AddLabel(
        QStringLiteral("Warning: Not responsible for any lost data.  Be sure to make back up copies."),
        "lblDisclaimer", {255, 2745, 3870, 465}, true);
}

QLabel* frmAbout::AddLabel(const QString& text, const char* name, const TwipRect& rect, bool wraps,
                           const std::optional<QFont>& labelFont)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    if (labelFont)
        label->setFont(*labelFont);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(wraps);
    Place(*label, rect);
    // A wrapping label keeps its design width and breaks its lines; a one-line one is not clipped.
    if (!wraps)
        WidenToFitText(*label, label->sizeHint().width());
    return label;
}

QLineEdit* frmAbout::CreateLink(const QString& text, const TwipRect& rect)
{
    auto* field = new QLineEdit(text, this);
    field->setReadOnly(true);
    field->setFrame(false);
    field->setFocusPolicy(Qt::NoFocus); // a click moves the focus to OK instead
    field->setMouseTracking(true);
    field->setCursorPosition(0);
    QFont linkFont = font();
    linkFont.setPointSizeF(8.25);
    linkFont.setUnderline(true);
    field->setFont(linkFont);
    QPalette colours = field->palette();
    colours.setColor(QPalette::Base, palette().color(QPalette::Button));
    colours.setColor(QPalette::Text, QColor(0, 0, 255));
    field->setPalette(colours);
    field->installEventFilter(this);
    Place(*field, rect);
    const QMargins margins = field->textMargins();
    WidenToFitText(*field, field->fontMetrics().horizontalAdvance(text) + margins.left() + margins.right() + 6);
    return field;
}

void frmAbout::Load()
{
    ReleaseMouseOver(); // a link may still hold the grab from an earlier showing
    const QIcon icon = parentWidget() ? parentWidget()->windowIcon() : windowIcon();
    setWindowIcon(icon);
    imgIcon->setPixmap(icon.pixmap(imgIcon->size()));
    setWindowTitle(QStringLiteral("About ") + QString::fromLatin1(kApplicationTitle));
    lblVersion->setText(QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field != txtWebSite && field != txtEmail)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        cmdOK->setFocus();
        opener_(field == txtEmail ? QStringLiteral("mailto:") + field->text() : field->text());
        return true; // a link is not a text to select
    }
    if (event->type() == QEvent::MouseMove) {
        const QPointF at = static_cast<QMouseEvent*>(event)->position();
        LinkMouseMove(*field, static_cast<float>(at.x()), static_cast<float>(at.y()));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::LinkMouseMove(QLineEdit& field, float X, float Y)
{
    if (MouseLeftControl(field, X, Y)) {
        field.unsetCursor();
        unsetCursor();
        return;
    }
    CaptureMouseOver(field);
    SetCursorToHand();
}

void frmAbout::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // A grey line over a white one draws an etched separator.
    QPainter painter(this);
    const auto x = [this](float twips) { return TwipsToPixels(twips, twipsPerPixelX_); };
    const auto y = [this](float twips) { return TwipsToPixels(twips, twipsPerPixelY_); };
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(x(90), y(2565), x(5654), y(2565));
    painter.setPen(Qt::white);
    painter.drawLine(x(105), y(2580), x(5654), y(2580));
}

} // namespace brivane
