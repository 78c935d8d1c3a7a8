#include "ui/main/BatchRunner.h"

#include "conversion/ImfPaths.h"
#include "ui/FileNames.h"
#include "ui/main/InputBlocker.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <mutex>

#include <thread>

namespace brivane {
namespace {

// Stands between the batch's thread and the window: messages are shown on the window's
// thread while the batch waits. Progress is only noted; the window shows the latest a few
// times a second, so thousands of small songs cost no more than a few.
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
        std::lock_guard lock(mutex_);
        if (done >= count) {
            // Hidden before the final message, and kept from popping up over it.
            latest_.Fresh = false;
            QMetaObject::invokeMethod(&dialog_, &QProgressDialog::reset, Qt::QueuedConnection);
            return;
        }
        latest_ = {done, count, path, true};
    }

    // On the window's thread: shows the latest progress, if any came since the last call.
    void UpdateDialog()
    {
        std::unique_lock lock(mutex_);
        if (!latest_.Fresh)
            return;
        latest_.Fresh = false;
        const Latest shown = latest_;
        lock.unlock();
        const QString name = ToText(DisplayName(shown.Path));
        dialog_.setMaximum(static_cast<int>(shown.Count));
        dialog_.setValue(static_cast<int>(shown.Done));
        dialog_.setLabelText(
            QProgressDialog::tr("Converting %1 of %2: %3").arg(shown.Done + 1).arg(shown.Count).arg(name));
    }

private:
    struct Latest {
        std::size_t Done = 0;
        std::size_t Count = 0;
        std::string Path;
        bool Fresh = false;
    };

    QProgressDialog& dialog_;
    UserInteraction& boxes_;
    std::mutex mutex_;
    Latest latest_;
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
    QTimer updates;
    QObject::connect(&updates, &QTimer::timeout, [&relay] { relay.UpdateDialog(); });
    updates.start(40);
    QEventLoop loop;
    std::thread batch([&] {
        work(relay, cancel);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    batch.join();
}

} // namespace brivane
