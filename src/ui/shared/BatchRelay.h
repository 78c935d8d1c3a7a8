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

    BatchRelay(UserInteraction& boxes, OnWindowThread onWindowThread, std::function<void()> hideDialog,
               const std::atomic<bool>& cancel);

    UserReply Show(const UserMessage& message) override;
    void Progress(std::size_t done, std::size_t count, const std::string& path) override;

    struct DialogUpdate {
        bool Show = false;      // the dialog should be visible now
        bool NewText = false;   // Done, Count and Text changed since the last poll
        std::size_t Done = 0;
        std::size_t Count = 0;
        std::string Text;       // "Converting 3 of 40: SONG.IMF"
    };
    // On the window's thread, a few times a second.
    DialogUpdate Poll();

private:
    UserInteraction& boxes_;
    OnWindowThread onWindowThread_;
    std::function<void()> hideDialog_;
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
