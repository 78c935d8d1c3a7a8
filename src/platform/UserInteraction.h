#pragma once

#include <string>

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

// Everything the core says to the user goes through this, so the command line,
// the window and the tests can each answer in their own way.
class UserInteraction {
public:
    virtual ~UserInteraction() = default;

    // Shows a modal message and returns the answer (IDOK, IDYES or IDNO).
    virtual int ShowMessage(const std::string& text, const std::string& title, int style) = 0;
};

} // namespace brivane
