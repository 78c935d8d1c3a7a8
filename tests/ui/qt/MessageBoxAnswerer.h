#pragma once

#include "support/RecordingInteraction.h"

#include <QMessageBox>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>
#include <vector>

namespace brivane::test {

// Answers the real message boxes the window shows, as a user would: it reads each one,
// then presses OK, or the next answer queued for a question (No once the queue is empty).
class MessageBoxAnswerer : public QObject {
public:
    explicit MessageBoxAnswerer(std::deque<QMessageBox::StandardButton> answers = {});

    // Queues the answers to the next questions and forgets the messages seen so far.
    void Expect(std::deque<QMessageBox::StandardButton> answers)
    {
        answers_ = std::move(answers);
        defaults.clear();
        seen.clear();
        offeredApplyToRest.clear();
        details.clear();
    }

    std::vector<Message> seen;
    std::vector<bool> offeredApplyToRest; // whether each box seen had the check box
    std::vector<std::string> details;     // each box's details, empty when it had none
    std::vector<QMessageBox::StandardButton> defaults; // the button each box's Enter presses
    bool tickApplyToRest = false;         // tick the check box wherever there is one
    bool answering = true;                // false: the test answers the boxes itself
    bool pressEnter = false;              // answer questions with Enter, as a user in a hurry

private:
    void Poll();

    std::deque<QMessageBox::StandardButton> answers_;
    QTimer timer_;
};

// Runs `work` while `handle` is called for each top-level widget that appears, until
// `handle` returns true for one; for modal dialogs other than message boxes.
void WithDialogHandler(const std::function<bool(QWidget*)>& handle, const std::function<void()>& work);

} // namespace brivane::test
