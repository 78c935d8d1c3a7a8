#pragma once

#include <string>

namespace brivane {

// A status line: what fits the bar at the window's design width, and the whole of it for
// the bar's tooltip.
struct StatusText {
    std::string Shown, Whole;
    StatusText() = default;
    StatusText(std::string text) : Shown(text), Whole(std::move(text)) {}
    StatusText(std::string shown, std::string whole) : Shown(std::move(shown)), Whole(std::move(whole)) {}
    bool operator==(const StatusText&) const = default;
};

} // namespace brivane
