#pragma once

#include "interaction/UserInteraction.h"

#include <deque>
#include <string>
#include <vector>

namespace brivane::test {

struct Message {
    std::string Text;
    std::string Title;
    int Style = 0;
    bool operator==(const Message&) const = default;
};

// Keeps every message shown and answers questions from a queue (No once it is empty).
class RecordingInteraction : public UserInteraction {
public:
    explicit RecordingInteraction(std::deque<int> answers = {}) : answers_(std::move(answers)) {}

    UserReply Show(const UserMessage& message) override
    {
        messages.push_back({message.Text, message.Title, message.Style});
        if (message.Style != MB_ICONQUESTION_YESNO)
            return {IDOK};
        if (answers_.empty())
            return {IDNO};
        const int answer = answers_.front();
        answers_.pop_front();
        return {answer};
    }

    std::vector<Message> messages;

private:
    std::deque<int> answers_;
};

// The messages as text, one line each: title [style] text. Children send this back to the test.
inline std::string Describe(const std::vector<Message>& messages)
{
    std::string text;
    for (const Message& m : messages)
        text += m.Title + " [" + std::to_string(m.Style) + "] " + m.Text + "\n";
    return text;
}

} // namespace brivane::test
