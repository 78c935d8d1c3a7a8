#pragma once

#include "ui/shared/BatchRelay.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace brivane {

// "Converting N of M" with a bar and Cancel, modal to its window. Unlike QProgressDialog it
// never shows itself: its owner decides when it may cover the window, and when it must not.
class ProgressDialog : public QDialog, public BatchDialog {
    Q_OBJECT

public:
    explicit ProgressDialog(QWidget& owner);

    void ShowProgress(std::size_t done, std::size_t count, const std::string& text) override;
    bool IsShown() const override { return isVisible(); }
    void ShowDialog() override { show(); }
    void HideDialog() override { hide(); }
    QString labelText() const;

signals:
    void canceled();

protected:
    void reject() override; // Esc and the close box cancel, as the button does

private:
    QLabel* label_;
    QProgressBar* bar_;
};

} // namespace brivane
