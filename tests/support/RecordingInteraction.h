#pragma once

#include "interaction/UserInteraction.h"

#include <deque>
#include <string>
#include <vector>

namespace brivane::test {

struct Message {
    std::string Text;
    std::string Title;
    MessageStyle Style = MessageStyle::Information;
    bool operator==(const Message&) const = default;
};

// Keeps every message shown and answers questions from a queue (No once it is empty).
class RecordingInteraction : public UserInteraction {
public:
    explicit RecordingInteraction(std::deque<UserAnswer> answers = {}) : answers_(std::move(answers)) {}

    UserReply Show(const UserMessage& message) override
    {
        messages.push_back({message.Text, message.Title, message.Style});
        if (message.Style != MessageStyle::Question)
            return {UserAnswer::Ok};
        if (answers_.empty())
            return {UserAnswer::No};
        const UserAnswer answer = answers_.front();
        answers_.pop_front();
        return {answer};
    }

    std::vector<Message> messages;

private:
    std::deque<UserAnswer> answers_;
};

// The messages as text, one line each: title [style] text. Children send this back to the test.
inline std::string Describe(const std::vector<Message>& messages)
{
    std::string text;
    for (const Message& m : messages)
        text += m.Title + " [" + std::to_string(static_cast<int>(m.Style)) + "] " + m.Text + "\n";
    return text;
}

} // namespace brivane::test
