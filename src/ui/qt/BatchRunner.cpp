#include "ui/qt/BatchRunner.h"

#include "ui/qt/InputBlocker.h"
#include "ui/qt/ProgressDialog.h"
#include "ui/shared/BatchRelay.h"

#include <QEventLoop>
#include <QTimer>

#include <thread>

namespace brivane {

void RunBatch(QWidget& window, UserInteraction& boxes, const BatchWork& work)
{
    ProgressDialog dialog(window);
    std::atomic<bool> cancel{false};
    QObject::connect(&dialog, &ProgressDialog::canceled, [&cancel] { cancel = true; });

    const InputBlocker blocker(window);
    BatchRelay relay(
        boxes, [&dialog](const std::function<void()>& call) {
            QMetaObject::invokeMethod(&dialog, call, Qt::BlockingQueuedConnection);
        },
        dialog, cancel);
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
