#pragma once

#include "interaction/UserInteraction.h"

#include <iosfwd>
#include <set>
#include <string>

namespace brivane {

// How the command line answers a Yes/No question.
enum class QuestionPolicy {
    AskTerminal,  // ask when standard input is a terminal, otherwise answer No
    AlwaysYes,
    AlwaysNo,
};

// Prints messages: information to standard output, errors to standard error.
class TerminalInteraction : public UserInteraction {
public:
    TerminalInteraction(QuestionPolicy policy, std::istream& in, std::ostream& out, std::ostream& err,
                        bool inputIsTerminal, bool errorIsTerminal = false);

    UserReply Show(const UserMessage& message) override;
    // One line on a terminal's standard error, rewritten in place and cleared at the end, with
    // a carriage return and spaces: a console that shows escape codes (Windows before 10) shows
    // the same as any other.
    void Progress(std::size_t done, std::size_t count, const std::string& path) override;

private:
    UserAnswer Ask(const UserMessage& message);
    void ClearProgress();

    QuestionPolicy policy_;
    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    bool inputIsTerminal_;
    bool errorIsTerminal_;
    std::size_t progressColumns_ = 0; // of the line shown, 0 when none is
    // An automatic Yes is given once per file, by its full path: should the question come
    // back for the same song (its backup changed under the revert), the batch still ends.
    std::set<std::string> answeredYes_;
};

} // namespace brivane
