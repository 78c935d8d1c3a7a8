#include "ui/main/BatchRunner.h"

#include "ui/main/InputBlocker.h"

#include <QEventLoop>
#include <QFile>
#include <QProgressDialog>

#include <thread>

namespace brivane {
namespace {

// Stands between the batch's thread and the window: messages are shown on the window's
// thread while the batch waits; progress goes to the dialog without waiting.
class RelayToWindow : public UserInteraction {
public:
    RelayToWindow(QProgressDialog& dialog, UserInteraction& boxes) : dialog_(dialog), boxes_(boxes) {}

    UserReply Show(const UserMessage& message) override
    {
        UserReply reply;
        QMetaObject::invokeMethod(
            &dialog_, [&] { reply = boxes_.Show(message); }, Qt::BlockingQueuedConnection);
        return reply;
    }

    void Progress(std::size_t done, std::size_t count, const std::string& path) override
    {
        const QString name = QFile::decodeName(QByteArray::fromStdString(path.substr(path.rfind('/') + 1)));
        QMetaObject::invokeMethod(
            &dialog_,
            [this, done, count, name] {
                if (done >= count) {
                    dialog_.reset(); // hides it, and it will not pop up over the final message
                    return;
                }
                dialog_.setMaximum(static_cast<int>(count));
                dialog_.setValue(static_cast<int>(done));
                dialog_.setLabelText(QProgressDialog::tr("Converting %1 of %2: %3").arg(done + 1).arg(count).arg(name));
            },
            Qt::QueuedConnection);
    }

private:
    QProgressDialog& dialog_;
    UserInteraction& boxes_;
};

} // namespace

void RunBatch(QWidget& window, UserInteraction& boxes, const BatchWork& work)
{
    QProgressDialog dialog(&window);
    dialog.setObjectName(QStringLiteral("progress"));
    dialog.setWindowTitle(QProgressDialog::tr("Converting"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(500);
    std::atomic<bool> cancel{false};
    QObject::connect(&dialog, &QProgressDialog::canceled, [&cancel] { cancel = true; });

    const InputBlocker blocker(window);
    RelayToWindow relay(dialog, boxes);
    QEventLoop loop;
    std::thread batch([&] {
        work(relay, cancel);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    batch.join();
}

} // namespace brivane
