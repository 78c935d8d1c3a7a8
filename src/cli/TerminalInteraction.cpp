#include "cli/TerminalInteraction.h"

#include "songfile/ImfPaths.h"
#include "conversion/PrintableText.h"

#include <algorithm>
#include <cctype>
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

// "y", "YES" and " yes " alike; anything else is No.
bool IsYes(std::string answer)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!answer.empty() && space(answer.back()))
        answer.pop_back();
    const auto first = std::find_if_not(answer.begin(), answer.end(), space);
    answer.erase(answer.begin(), first);
    for (char& c : answer)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return answer == "y" || answer == "yes";
}

} // namespace

TerminalInteraction::TerminalInteraction(QuestionPolicy policy, std::istream& in, std::ostream& out,
                                         std::ostream& err, bool inputIsTerminal, bool errorIsTerminal)
    : policy_(policy), in_(in), out_(out), err_(err), inputIsTerminal_(inputIsTerminal),
      errorIsTerminal_(errorIsTerminal)
{
}

void TerminalInteraction::Progress(std::size_t done, std::size_t count, const std::string& path)
{
    if (!errorIsTerminal_)
        return;
    if (done >= count) {
        ClearProgress();
        return;
    }
    err_ << "\r\033[KConverting " << done + 1 << "/" << count << " " << Printable(DisplayName(path)) << std::flush;
    progressShown_ = true;
}

void TerminalInteraction::ClearProgress()
{
    if (progressShown_)
        err_ << "\r\033[K" << std::flush;
    progressShown_ = false;
}

UserReply TerminalInteraction::Show(const UserMessage& message)
{
    ClearProgress();
    if (message.Style == MessageStyle::Question)
        return {Ask(message)};
    std::ostream& stream = message.Style == MessageStyle::Error ? err_ : out_;
    stream << message.Title << ": " << ForTerminal(message.Text) << std::endl;
    if (!message.Details.empty())
        stream << ForTerminal(message.Details) << std::endl;
    return {UserAnswer::Ok};
}

UserAnswer TerminalInteraction::Ask(const UserMessage& message)
{
    out_ << message.Title << ": " << ForTerminal(message.Text);
    bool yes = false;
    if (policy_ == QuestionPolicy::AlwaysYes) {
        yes = answeredYes_.insert(message.Subject.empty() ? message.Text : message.Subject).second;
        out_ << (yes ? " yes" : " no (asked again after a revert)") << std::endl;
    } else if (policy_ == QuestionPolicy::AskTerminal && inputIsTerminal_) {
        out_ << " [y/N] " << std::flush;
        std::string answer;
        std::getline(in_, answer);
        yes = IsYes(answer);
    } else {
        out_ << " no" << std::endl;
    }
    return yes ? UserAnswer::Yes : UserAnswer::No;
}

} // namespace brivane
