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

// Characters, not bytes: a name in UTF-8 takes one column a character.
std::size_t Columns(const std::string& text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A line longer than the narrowest terminal wraps, and a carriage return then goes back to
// its last row only: the line is cut to 79 columns.
std::string FitColumns(std::string line)
{
    constexpr std::size_t kWidth = 79;
    while (Columns(line) > kWidth) {
        // Back over one character: its continuation bytes, then its first byte.
        while ((static_cast<unsigned char>(line.back()) & 0xC0) == 0x80)
            line.pop_back();
        line.pop_back();
    }
    return line;
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
    const std::string line = FitColumns(
        "Converting " + std::to_string(done + 1) + "/" + std::to_string(count) + " " + Printable(DisplayName(path)));
    const std::size_t columns = Columns(line);
    // Spaces over what the last line had beyond this one.
    err_ << '\r' << line << std::string(progressColumns_ > columns ? progressColumns_ - columns : 0, ' ') << std::flush;
    progressColumns_ = columns;
}

void TerminalInteraction::ClearProgress()
{
    if (progressColumns_ > 0)
        err_ << '\r' << std::string(progressColumns_, ' ') << '\r' << std::flush;
    progressColumns_ = 0;
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
