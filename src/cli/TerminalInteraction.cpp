#include "cli/TerminalInteraction.h"

#include <istream>
#include <ostream>

namespace brivane {
namespace {

// Message texts end their lines with CR LF, as the message boxes want; a terminal wants LF.
std::string ForTerminal(const std::string& text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        result += text[i];
    }
    return result;
}

} // namespace

TerminalInteraction::TerminalInteraction(QuestionPolicy policy, std::istream& in, std::ostream& out,
                                         std::ostream& err, bool inputIsTerminal)
    : policy_(policy), in_(in), out_(out), err_(err), inputIsTerminal_(inputIsTerminal)
{
}

int TerminalInteraction::ShowMessage(const std::string& text, const std::string& title, int style)
{
    if (style == MB_ICONQUESTION_YESNO)
        return Ask(text, title);
    std::ostream& stream = style == MB_ICONHAND ? err_ : out_;
    stream << title << ": " << ForTerminal(text) << std::endl;
    return IDOK;
}

int TerminalInteraction::Ask(const std::string& text, const std::string& title)
{
    out_ << title << ": " << ForTerminal(text);
    bool yes = false;
    if (policy_ == QuestionPolicy::AlwaysYes) {
        yes = answeredYes_.insert(text).second;
        out_ << (yes ? " yes" : " no (asked again after a revert)") << std::endl;
    } else if (policy_ == QuestionPolicy::AskTerminal && inputIsTerminal_) {
        out_ << " [y/N] " << std::flush;
        std::string answer;
        std::getline(in_, answer);
        yes = answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
    } else {
        out_ << " no" << std::endl;
    }
    return yes ? IDYES : IDNO;
}

} // namespace brivane
