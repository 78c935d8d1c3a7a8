#pragma once

#include "interaction/UserInteraction.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>

namespace brivane {

// The work of a batch: converts, telling the user through `ui`, until done or `cancel` is set.
using BatchWork = std::function<void(UserInteraction& ui, const std::atomic<bool>& cancel)>;

// The progress dialog a batch shows, in each toolkit: "Converting N of M" with a bar and Cancel.
class BatchDialog {
public:
    virtual ~BatchDialog() = default;
    virtual void ShowProgress(std::size_t done, std::size_t count, const std::string& text) = 0;
    virtual bool IsShown() const = 0;
    virtual void ShowDialog() = 0;
    virtual void HideDialog() = 0;
};

// Stands between a batch's thread and the window's thread, whatever the toolkit: each message
// is shown on the window's thread while the batch waits for its answer, and progress is only
// noted, for the window to show a few times a second, so thousands of small songs cost no
// more than a few.
//
// The progress dialog is modal, and over a waiting message it would take the message's input:
// it is hidden before every message and comes back only once the batch has again run quietly
// for half a second; once the batch has reported its last song it never comes back.
class BatchRelay : public UserInteraction {
public:
    // Runs a call on the window's thread and returns once it has run.
    using OnWindowThread = std::function<void(const std::function<void()>&)>;

    BatchRelay(UserInteraction& boxes, OnWindowThread onWindowThread, BatchDialog& dialog,
               const std::atomic<bool>& cancel);

    UserReply Show(const UserMessage& message) override;
    void Progress(std::size_t done, std::size_t count, const std::string& path) override;

    // On the window's thread, a few times a second: "Converting 3 of 40: SONG.IMF", and the
    // dialog shown once the batch has run quietly long enough.
    void UpdateDialog();

private:
    UserInteraction& boxes_;
    OnWindowThread onWindowThread_;
    BatchDialog& dialog_;
    const std::atomic<bool>& cancel_;
    std::chrono::steady_clock::time_point quietSince_ = std::chrono::steady_clock::now(); // window's thread
    bool messageOpen_ = false;                                                            // window's thread
    std::mutex mutex_;
    std::size_t done_ = 0, count_ = 0;
    std::string path_;
    bool fresh_ = false;
    bool finished_ = false;
};

} // namespace brivane
