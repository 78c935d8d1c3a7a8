#pragma once

#include "conversion/ConvertImf.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace brivane {

// Songs of a batch converted on several threads speak through these channels, one per song;
// a single reader passes what each says on to the user in list order, whatever order the
// songs are converted in. A song that asks a question waits until the user has heard
// everything the songs before it said, and its answer.
class OrderedChannels {
public:
    explicit OrderedChannels(std::size_t count) : slots_(count) {}

    // The channel through which song `index` speaks: give it to ConvertImf.
    class Channel : public UserInteraction {
    public:
        Channel(OrderedChannels& channels, std::size_t index) : channels_(channels), index_(index) {}
        UserReply Show(const UserMessage& message) override { return channels_.Say(index_, message); }

    private:
        OrderedChannels& channels_;
        std::size_t index_;
    };

    void Finish(std::size_t index, ConversionOutcome outcome);
    void WaitUntilFinished(std::size_t index);

    // The reader: hands each message of song `index` to `deliver` as it comes, until the
    // song has finished, and returns how it ended.
    ConversionOutcome Drain(std::size_t index, const std::function<UserReply(const UserMessage&)>& deliver);

private:
    struct Slot {
        std::deque<UserMessage> Messages;
        std::optional<UserReply> Reply;
        std::optional<ConversionOutcome> Outcome;
    };

    UserReply Say(std::size_t index, const UserMessage& message);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Slot> slots_;
};

} // namespace brivane
