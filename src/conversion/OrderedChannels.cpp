#include "conversion/OrderedChannels.h"

namespace brivane {

UserReply OrderedChannels::Say(std::size_t index, const UserMessage& message)
{
    std::unique_lock lock(mutex_);
    Slot& slot = slots_[index];
    slot.Messages.push_back(message);
    changed_.notify_all();
    if (message.Style != MessageStyle::Question)
        return {UserAnswer::Ok};
    changed_.wait(lock, [&] { return slot.Reply.has_value(); });
    return *std::exchange(slot.Reply, std::nullopt);
}

void OrderedChannels::Finish(std::size_t index, ConversionOutcome outcome)
{
    std::lock_guard lock(mutex_);
    slots_[index].Outcome = outcome;
    changed_.notify_all();
}

void OrderedChannels::WaitUntilFinished(std::size_t index)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return slots_[index].Outcome.has_value(); });
}

ConversionOutcome OrderedChannels::Drain(std::size_t index,
                                         const std::function<UserReply(const UserMessage&)>& deliver)
{
    Slot& slot = slots_[index];
    for (;;) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !slot.Messages.empty() || slot.Outcome.has_value(); });
        if (slot.Messages.empty())
            return *slot.Outcome;
        const UserMessage message = std::move(slot.Messages.front());
        slot.Messages.pop_front();
        lock.unlock();

        const UserReply reply = deliver(message);
        if (message.Style == MessageStyle::Question) {
            lock.lock();
            slot.Reply = reply;
            changed_.notify_all();
        }
    }
}

} // namespace brivane
