#include "platform/TemporaryName.h"

#include "platform/FileSystem.h"
#include "platform/TemporaryFile.h"

#include <random>

namespace brivane {
namespace {

constexpr std::size_t kNameKept = 200;
constexpr std::size_t kRandomLength = 10;

std::string RandomPart()
{
    static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
    std::string part;
    for (std::size_t i = 0; i < kRandomLength; ++i)
        part += kAlphabet[pick(generator)];
    return part;
}

} // namespace

std::string TemporaryNamePrefix(const std::string& target)
{
    return "." + NameOf(target).substr(0, kNameKept) + ".";
}

std::string NewTemporaryName(const std::string& target)
{
    return TemporaryNamePrefix(target) + RandomPart() + kTemporarySuffix;
}

bool IsTemporaryNameOf(const std::string& name, const std::string& target)
{
    const std::string prefix = TemporaryNamePrefix(target);
    return name.size() == prefix.size() + kRandomLength + kTemporarySuffix.size() && name.starts_with(prefix) &&
           name.ends_with(kTemporarySuffix);
}

bool IsTemporaryFileName(const std::string& name)
{
    return name.size() > 1 + kTemporarySuffix.size() && name[0] == '.' && name.ends_with(kTemporarySuffix);
}

} // namespace brivane
