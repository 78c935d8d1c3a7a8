#include "conversion/RememberedAnswers.h"

#include "conversion/ConvertImf.h"

namespace brivane {
namespace {

// How a held-back message is counted in the closing line, by its title.
struct Counted {
    const char* Title;
    const char* As;
};
constexpr Counted kCounted[] = {
    {"Already compatible", "already compatible"}, {"File not found", "not found"},
    {"Conversion failed", "failed"},              {"File too long", "too long"},
    {"Empty file", "empty"},                      {"File not readable", "not readable"},
    {"File busy", "skipped while busy"},          {"No whole record", "holding no whole record"},
    {"Backup left alone", "left alone as a backup"}, {"Not an IMF song", "not IMF songs"},
    {"File in use", "in use by another program"},
};

std::string CountedAs(const std::string& title, const UserReply& reply)
{
    if (title == "Reconvert?")
        return reply.Answer == UserAnswer::Yes ? "reverted and converted afresh" : "not reverted";
    if (title == "Headerless song?")
        return reply.Answer == UserAnswer::Yes ? "converted as headerless" : "with a length word past the end";
    for (const Counted& counted : kCounted)
        if (title == counted.Title)
            return counted.As;
    return "\"" + title + "\"";
}

std::string CountedAs(const std::string& title, const UserReply& reply, std::size_t count)
{
    return CountText(count, CountedAs(title, reply));
}

} // namespace

UserReply RememberedAnswers::Deliver(UserMessage message, bool batchOfSeveral)
{
    auto found = byTitle_.find(message.Title);
    if (found == byTitle_.end()) {
        message.OfferApplyToRest = batchOfSeveral;
        const UserReply reply = ui_.Show(message);
        if (!reply.ApplyToRest)
            return reply;
        found = byTitle_.emplace(message.Title, Remembered{reply}).first;
        titlesInOrder_.push_back(message.Title);
    }
    ++found->second.Answered;
    if (message.Style == MessageStyle::Error)
        answeredFailures_.push_back(message.Text);
    return found->second.Reply;
}

std::string RememberedAnswers::Summary() const
{
    std::string summary;
    for (const std::string& title : titlesInOrder_) {
        const Remembered& remembered = byTitle_.at(title);
        summary += (summary.empty() ? "" : ", ") + CountedAs(title, remembered.Reply, remembered.Answered);
    }
    if (!answeredFailures_.empty())
        summary += ": see the list below";
    return summary;
}

std::string RememberedAnswers::Details() const
{
    std::string details;
    for (const std::string& failure : answeredFailures_)
        details += failure + "\n";
    return details;
}

} // namespace brivane
