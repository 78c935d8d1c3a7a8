#pragma once

#include <optional>
#include <utility>

namespace brivane {

// What a view last showed of one thing, so that it is told again only when that changes.
template <typename T>
class LastShown {
public:
    // `shown`: what the view shows before it is first told; nothing when it shows nothing yet.
    explicit LastShown(std::optional<T> shown = std::nullopt) : shown_(std::move(shown)) {}

    // Whether `now` is new to the view; it counts as shown from then on.
    bool Changes(const T& now)
    {
        if (shown_ == now)
            return false;
        shown_ = now;
        return true;
    }

private:
    std::optional<T> shown_;
};

} // namespace brivane
