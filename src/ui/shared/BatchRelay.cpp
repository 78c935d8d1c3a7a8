#include "ui/shared/BatchRelay.h"

#include "songfile/ImfPaths.h"

namespace brivane {
namespace {

// How long a batch runs quietly before its progress is shown: a short batch shows none.
constexpr std::chrono::milliseconds kQuiet{500};

} // namespace

BatchRelay::BatchRelay(UserInteraction& boxes, OnWindowThread onWindowThread, BatchDialog& dialog,
                       const std::atomic<bool>& cancel)
    : boxes_(boxes), onWindowThread_(std::move(onWindowThread)), dialog_(dialog), cancel_(cancel)
{
}

UserReply BatchRelay::Show(const UserMessage& message)
{
    UserReply reply;
    onWindowThread_([&] {
        messageOpen_ = true;
        dialog_.HideDialog();
        reply = boxes_.Show(message);
        messageOpen_ = false;
        quietSince_ = std::chrono::steady_clock::now();
    });
    return reply;
}

void BatchRelay::Progress(std::size_t done, std::size_t count, const std::string& path)
{
    std::lock_guard lock(mutex_);
    if (done >= count) {
        finished_ = true; // the final message comes next; the dialog stays hidden from here on
        fresh_ = false;
        return;
    }
    done_ = done;
    count_ = count;
    path_ = path;
    fresh_ = true;
}

void BatchRelay::UpdateDialog()
{
    std::unique_lock lock(mutex_);
    if (finished_ || messageOpen_ || cancel_)
        return;
    if (fresh_)
        dialog_.ShowProgress(done_, count_, "Converting " + std::to_string(done_ + 1) + " of " +
                                                std::to_string(count_) + ": " + DisplayName(path_));
    fresh_ = false;
    const bool started = count_ > 0;
    lock.unlock();
    if (started && std::chrono::steady_clock::now() - quietSince_ >= kQuiet && !dialog_.IsShown())
        dialog_.ShowDialog();
}

} // namespace brivane
