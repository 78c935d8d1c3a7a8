#include "ui/qt/ProgressDialog.h"

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
    setWindowTitle(tr("Converting"));
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

void ProgressDialog::SetProgress(int done, int count, const QString& text)
{
    bar_->setRange(0, count);
    bar_->setValue(done);
    label_->setText(text);
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
