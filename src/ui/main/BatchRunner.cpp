#include "ui/main/BatchRunner.h"

#include "conversion/ImfPaths.h"
#include "ui/FileNames.h"
#include "ui/main/InputBlocker.h"
#include "ui/main/ProgressDialog.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <mutex>
#include <thread>

namespace brivane {
namespace {

// How long a batch runs quietly before its progress is shown: a short batch shows none.
constexpr qint64 kQuietMilliseconds = 500;

// Stands between the batch's thread and the window: messages are shown on the window's
// thread while the batch waits. Progress is only noted; the window shows the latest a few
// times a second, so thousands of small songs cost no more than a few.
//
// The progress dialog is shown and hidden here alone: it is modal, and over a waiting
// message it would take the message's input. While a message waits the
// dialog is hidden; it comes back only once the batch has again run quietly for a while.
class RelayToWindow : public UserInteraction {
public:
    RelayToWindow(ProgressDialog& dialog, UserInteraction& boxes, const std::atomic<bool>& cancel)
        : dialog_(dialog), boxes_(boxes), cancel_(cancel)
    {
        quiet_.start();
    }

    UserReply Show(const UserMessage& message) override
    {
        UserReply reply;
        QMetaObject::invokeMethod(
            &dialog_,
            [&] {
                messageOpen_ = true;
                dialog_.hide();
                reply = boxes_.Show(message);
                messageOpen_ = false;
                quiet_.restart();
            },
            Qt::BlockingQueuedConnection);
        return reply;
    }

    void Progress(std::size_t done, std::size_t count, const std::string& path) override
    {
        std::lock_guard lock(mutex_);
        if (done >= count) {
            // The final message comes next; the dialog is gone before it and stays gone.
            latest_.Fresh = false;
            finished_ = true;
            QMetaObject::invokeMethod(&dialog_, &QWidget::hide, Qt::QueuedConnection);
            return;
        }
        latest_ = {done, count, path, true};
    }

    // On the window's thread: shows the latest progress, if any came since the last call, and
    // the dialog itself once the batch has run quietly long enough.
    void UpdateDialog()
    {
        std::unique_lock lock(mutex_);
        const bool finished = finished_;
        const Latest shown = latest_;
        latest_.Fresh = false;
        lock.unlock();
        if (finished || messageOpen_ || cancel_)
            return;
        if (shown.Fresh)
            dialog_.SetProgress(static_cast<int>(shown.Done), static_cast<int>(shown.Count),
                                ProgressDialog::tr("Converting %1 of %2: %3")
                                    .arg(shown.Done + 1)
                                    .arg(shown.Count)
                                    .arg(ToText(DisplayName(shown.Path))));
        if (!dialog_.isVisible() && shown.Count > 0 && quiet_.elapsed() >= kQuietMilliseconds)
            dialog_.show();
    }

private:
    struct Latest {
        std::size_t Done = 0;
        std::size_t Count = 0;
        std::string Path;
        bool Fresh = false;
    };

    ProgressDialog& dialog_;
    UserInteraction& boxes_;
    const std::atomic<bool>& cancel_;
    QElapsedTimer quiet_;      // window's thread only
    bool messageOpen_ = false; // window's thread only
    std::mutex mutex_;
    Latest latest_;
    bool finished_ = false;
};

} // namespace

void RunBatch(QWidget& window, UserInteraction& boxes, const BatchWork& work)
{
    ProgressDialog dialog(window);
    std::atomic<bool> cancel{false};
    QObject::connect(&dialog, &ProgressDialog::canceled, [&cancel] { cancel = true; });

    const InputBlocker blocker(window);
    RelayToWindow relay(dialog, boxes, cancel);
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
