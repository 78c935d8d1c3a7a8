#pragma once

#include <cstddef>
#include <string>
#include <utility>

namespace brivane {

// What a message is, and what the user answered. The numbers are the classic message box
// ones, so a message written out as a number reads as it always has; no front end takes them
// for its toolkit's own.
enum class MessageStyle : int {
    Error = 16,
    Information = 64,
    Question = 36, // Yes and No
};

enum class UserAnswer : int {
    Ok = 1,
    Yes = 6,
    No = 7,
};

struct UserMessage {
    UserMessage(std::string text, std::string title, MessageStyle style, std::string subject = {})
        : Text(std::move(text)), Title(std::move(title)), Style(style), Subject(std::move(subject))
    {
    }

    std::string Text;
    std::string Title;
    MessageStyle Style = MessageStyle::Information;
    std::string Subject;           // the file the message is about, when there is one
    std::string Details;           // a longer account, shown on request
    bool OfferApplyToRest = false; // offer "Do this for the remaining files"
    // A question whose Yes writes over a file that holds no copy elsewhere: Enter keeps it.
    bool DefaultNo = false;

    UserMessage AsDefaultNo() &&
    {
        DefaultNo = true;
        return std::move(*this);
    }
};

struct UserReply {
    UserAnswer Answer = UserAnswer::Ok;
    bool ApplyToRest = false;
};

// Everything the core says to the user goes through this, so the command line,
// the window and the tests can each answer in their own way.
class UserInteraction {
public:
    virtual ~UserInteraction() = default;

    // Shows a modal message and returns the answer. Texts break their lines with "\n"; each front
    // end makes its own line breaks of them.
    virtual UserReply Show(const UserMessage& message) = 0;

    UserAnswer ShowMessage(const std::string& text, const std::string& title, MessageStyle style)
    {
        return Show({text, title, style}).Answer;
    }

    // A batch is about to report on file `done` + 1 of `count`, at `path`; when done equals
    // count, the batch has finished with its files.
    virtual void Progress(std::size_t done, std::size_t count, const std::string& path)
    {
        (void)done, (void)count, (void)path;
    }
};

} // namespace brivane
