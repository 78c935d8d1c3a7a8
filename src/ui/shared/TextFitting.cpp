#include "ui/shared/TextFitting.h"

#include <vector>

namespace brivane {
namespace {

const std::string kEllipsis = "...";

// Where each character of a UTF-8 text begins, and its end: a text is only ever cut there.
std::vector<std::size_t> CharacterStarts(const std::string& text)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

// The largest n in [0, count] for which fitsWith(n) holds, fitsWith holding for every smaller
// n once it holds for one; -1 when it holds for none.
long LargestFitting(std::size_t count, const std::function<bool(std::size_t)>& fitsWith)
{
    long low = -1, high = static_cast<long>(count);
    while (low < high) {
        const long middle = (low + high + 1) / 2;
        if (fitsWith(static_cast<std::size_t>(middle)))
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

} // namespace

std::string ElidePath(const std::string& path, const FitsRoom& fits)
{
    if (fits(path))
        return path;
    const std::size_t separator = path.find_last_of("/\\");
    const std::string last = separator == std::string::npos ? path : path.substr(separator);
    const std::string head = separator == std::string::npos ? std::string() : path.substr(0, separator);
    const std::vector<std::size_t> headStarts = CharacterStarts(head);
    const long kept = LargestFitting(headStarts.size() - 1, [&](std::size_t n) {
        return fits(head.substr(0, headStarts[n]) + kEllipsis + last);
    });
    if (kept >= 0)
        return head.substr(0, headStarts[static_cast<std::size_t>(kept)]) + kEllipsis + last;
    // Not even the last name fits: keep as much of its end as does.
    const std::vector<std::size_t> lastStarts = CharacterStarts(last);
    const std::size_t characters = lastStarts.size() - 1;
    const long tail = LargestFitting(characters, [&](std::size_t n) {
        return fits(kEllipsis + last.substr(lastStarts[characters - n]));
    });
    return tail > 0 ? kEllipsis + last.substr(lastStarts[characters - static_cast<std::size_t>(tail)]) : kEllipsis;
}

} // namespace brivane
