#include "ui/qt/ProgressDialog.h"

#include "ui/qt/TextBytes.h"
#include "ui/shared/Captions.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace brivane {

ProgressDialog::ProgressDialog(QWidget& owner)
    : QDialog(&owner), label_(new QLabel(this)), bar_(new QProgressBar(this))
{
    setObjectName(QStringLiteral("progress"));
    setWindowTitle(tr(captions::kProgressTitle));
    setWindowModality(Qt::WindowModal);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &ProgressDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    layout->addWidget(buttons);
    // Wide enough for a long song name without the dialog jumping in size as names change.
    label_->setMinimumWidth(label_->fontMetrics().averageCharWidth() * 48);
}

void ProgressDialog::ShowProgress(std::size_t done, std::size_t count, const std::string& text)
{
    bar_->setRange(0, static_cast<int>(count));
    bar_->setValue(static_cast<int>(done));
    label_->setText(ToText(text));
}

QString ProgressDialog::labelText() const
{
    return label_->text();
}

void ProgressDialog::reject()
{
    hide();
    emit canceled();
}

} // namespace brivane
