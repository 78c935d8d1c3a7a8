#pragma once

#include "interaction/UserInteraction.h"

#include <map>
#include <string>
#include <vector>

namespace brivane {

// "Do this for the remaining files": once the user ticks it on a message, the same answer
// stands for every later message of that kind (its title) in the batch, which is then
// counted instead of shown. The counts, the ticked message's own file among them, make a
// closing line for the final message.
class RememberedAnswers {
public:
    explicit RememberedAnswers(UserInteraction& ui) : ui_(ui) {}

    // Shows the message, or answers it as remembered. The offer is made in a batch of several
    // files only: a batch of one is told everything as it always was.
    UserReply Deliver(UserMessage message, bool batchOfSeveral);

    // "30 already compatible, 2 failed: see the list below", or empty when nothing was ticked.
    std::string Summary() const;
    // The failures answered by a tick, one line each, for the final message's details.
    std::string Details() const;

private:
    struct Remembered {
        UserReply Reply;
        std::size_t Answered = 0; // the ticked message and those held back after it
    };

    UserInteraction& ui_;
    std::map<std::string, Remembered> byTitle_;
    std::vector<std::string> titlesInOrder_;
    std::vector<std::string> answeredFailures_;
};

} // namespace brivane
