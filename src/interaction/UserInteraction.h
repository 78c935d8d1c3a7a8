#pragma once

#include <cstddef>
#include <string>
#include <utility>

namespace brivane {

// Message styles and answers keep the classic message box numbers, so the texts and
// styles the program shows can be compared one to one with what the user is told.
enum MessageStyle : int {
    MB_ICONHAND = 16,
    MB_ICONINFORMATION = 64,
    MB_ICONQUESTION_YESNO = 36,
};

enum MessageAnswer : int {
    IDOK = 1,
    IDYES = 6,
    IDNO = 7,
};

struct UserMessage {
    UserMessage(std::string text, std::string title, int style, std::string subject = {})
        : Text(std::move(text)), Title(std::move(title)), Style(style), Subject(std::move(subject))
    {
    }

    std::string Text;
    std::string Title;
    int Style = MB_ICONINFORMATION;
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
    int Answer = IDOK;
    bool ApplyToRest = false;
};

// Everything the core says to the user goes through this, so the command line,
// the window and the tests can each answer in their own way.
class UserInteraction {
public:
    virtual ~UserInteraction() = default;

    // Shows a modal message and returns the answer (IDOK, IDYES or IDNO).
    virtual UserReply Show(const UserMessage& message) = 0;

    int ShowMessage(const std::string& text, const std::string& title, int style)
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
