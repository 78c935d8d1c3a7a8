#pragma once

#include "interaction/UserInteraction.h"

#include <map>
#include <string>
#include <vector>

namespace brivane {

// "Do this for the remaining files": once the user ticks it on a message, the same answer
// stands for every later message of that kind (its title) in the batch, which is then
// counted instead of shown. The counts make a closing line for the final message.
class RememberedAnswers {
public:
    explicit RememberedAnswers(UserInteraction& ui) : ui_(ui) {}

    // Shows the message, or answers it as remembered. The offer is made in a batch of several
    // files only: a batch of one is told everything as it always was.
    UserReply Deliver(UserMessage message, bool batchOfSeveral);

    // "30 already compatible, 2 failed: see the list below", or empty when nothing was held back.
    std::string Summary() const;
    // The held-back failures, one line each, for the final message's details.
    std::string Details() const;

private:
    struct Remembered {
        UserReply Reply;
        std::size_t HeldBack = 0;
    };

    UserInteraction& ui_;
    std::map<std::string, Remembered> byTitle_;
    std::vector<std::string> titlesInOrder_;
    std::vector<std::string> heldBackFailures_;
};

} // namespace brivane
