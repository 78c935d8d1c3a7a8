#include "ui/qt/frmAbout.h"

#include "ui/shared/AboutBox.h"
#include "ui/qt/ScaleMode.h"
#include "ui/qt/modMouseOver.h"
#include "ui/qt/modSetCursorToHand.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

namespace brivane {

using namespace about;

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
    Place(*cmdOK, kOkPlace);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    imgIcon = new QLabel(this);
    imgIcon->setObjectName("imgIcon");
    Place(*imgIcon, kIconPlace);
    auto* etched = new QFrame(this); // a dark line over a light one
    etched->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Place(*etched, kLinePlace);

    for (const AboutLabel& label : AboutLabels())
        AddLabel(label);
    for (std::size_t i = 0; i < std::size(kAboutLinks); ++i)
        links_[i] = CreateLink(kAboutLinks[i]);
}

void frmAbout::AddLabel(const AboutLabel& design)
{
    auto* label = new QLabel(QString::fromStdString(design.Text), this);
    label->setObjectName(design.Name);
    if (design.IsTitle) {
        QFont titleFont = font();
        titleFont.setPointSizeF(9.75);
        titleFont.setBold(true);
        label->setFont(titleFont);
    }
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(!design.OneLine); // a wrapping label keeps its design width and breaks its lines
    Place(*label, design.Place);
    if (design.OneLine)
        WidenToFitText(*label, label->sizeHint().width());
}

QLineEdit* frmAbout::CreateLink(const AboutLink& link)
{
    const QString text = QString::fromUtf8(link.Text);
    auto* field = new QLineEdit(text, this);
    field->setObjectName(link.Name);
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
    Place(*field, link.Place);
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
    setWindowTitle(QString::fromStdString(Caption()));
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    const auto link = std::find(std::begin(links_), std::end(links_), field);
    if (link == std::end(links_))
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        cmdOK->setFocus();
        opener_(QString::fromStdString(LinkTarget(field->text().toStdString(), kAboutLinks[link - std::begin(links_)].IsEmail)));
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

} // namespace brivane
