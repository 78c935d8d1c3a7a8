#include "platform/FileError.h"
#include "settings/IniTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <regex>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace brivane {
namespace {

using test::WriteText;

struct GrammarCase {
    const char* Name;
    std::string Input;
    std::vector<INISection> Expected;
};

void PrintTo(const GrammarCase& c, std::ostream* os) { *os << c.Name; }

class IniGrammarTest : public ::testing::TestWithParam<GrammarCase> {};

TEST_P(IniGrammarTest, LoadsTheDocumentTheLinesDescribe)
{
    test::TempDir dir;
    WriteText(dir / "a.ini", GetParam().Input);
    test::RecordingInteraction ui;
    clsINI ini(ui);
    ini.LoadINI(dir / "a.ini");
    EXPECT_EQ(ini.Sections(), GetParam().Expected);
    EXPECT_TRUE(ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Lines, IniGrammarTest, ::testing::Values(
    GrammarCase{"Section", "[General]\r\n", {{"General", {}}}},
    GrammarCase{"SectionNameKeepsEverythingButTheLastCharacter", "[General] \r\n", {{"General]", {}}}},
    GrammarCase{"EmptySectionNames", "[]\r\n[x\r\n[\r\n", {{"", {}}, {"", {}}, {"", {}}}},
    GrammarCase{"CommentAndBlankFirstCharacter", "[S]\r\n;x=1\r\n ;x=1\r\n", {{"S", {{" ;x", "1"}}}}},
    GrammarCase{"KeyForms", "[S]\r\nx=y=z\r\n=v\r\nk=\r\nno equals\r\n",
                {{"S", {{"", "v"}, {"k", ""}, {"x", "y=z"}}}}},
    GrammarCase{"LoneCrEndsALineLoneLfDoesNot", "[S]\ra=1\nb=2\rc=3", {{"S", {{"a", "1\nb=2"}, {"c", "3"}}}}},
    GrammarCase{"WithoutAnyCrLfEndsTheLines", "[General]\nFolder=/songs\nOriginalTics=560\n",
                {{"General", {{"Folder", "/songs"}, {"OriginalTics", "560"}}}}},
    GrammarCase{"NothingIsTrimmed", "[ S ]\r\n k = v \r\n", {{" S ", {{" k ", " v "}}}}},
    GrammarCase{"DuplicatesAreKept", "[S]\r\nk=1\r\nk=2\r\n[S]\r\nk=3\r\n",
                {{"S", {{"k", "1"}, {"k", "2"}}}, {"S", {{"k", "3"}}}}},
    GrammarCase{"KeysBeforeTheFirstSectionAreDropped", "a=1\r\n\r\n[S]\r\nb=2\r\n", {{"S", {{"b", "2"}}}}},
    GrammarCase{"EightBitBytesSurvive", "[Gr\xFC\xDF" "e]\r\n\xC3\xA9t\xE9=\x80\xFF\r\n",
                {{"Gr\xFC\xDF" "e", {{"\xC3\xA9t\xE9", "\x80\xFF"}}}}},
    GrammarCase{"Empty", "", {}}),
    [](const auto& info) { return std::string(info.param.Name); });

struct OrderCase {
    std::vector<std::string> Arrivals;
    std::vector<std::string> Expected;
};

TEST(IniInsertionOrderTest, KeysArePlacedByTheInsertionRule)
{
    const std::vector<OrderCase> cases{
        {{"b", "a", "10", "9"}, {"9", "10", "a", "b"}},
        {{"9", "a", "10"}, {"9", "10", "a"}},
        {{"9", "a", "10", "1x"}, {"1x", "9", "10", "a"}},
        {{"9", "a", "10", "1x", "5"}, {"5", "1x", "9", "10", "a"}},
        {{"Zeta", "alpha"}, {"Zeta", "alpha"}},
        {{"OriginalTics", "MakeBackups", "Folder"}, {"Folder", "MakeBackups", "OriginalTics"}},
        {{"MakeBackups", "Folder", "OriginalTics"}, {"Folder", "MakeBackups", "OriginalTics"}},
        {{"2.5", "2", "3.5", " 4 ", "-1e1"}, {"-1e1", "2.5", "2", "3.5", " 4 "}},
        {{"0x10", "1,000", "20"}, {"20", "0x10", "1,000"}},
        {{"99999999999", "2147483647", "-99999999999"}, {"-99999999999", "99999999999", "2147483647"}},
        {{"\xE9", "z", "Z"}, {"Z", "z", "\xE9"}},
    };
    for (const OrderCase& c : cases) {
        test::TempDir dir;
        std::string text = "[S]\r\n";
        for (const auto& name : c.Arrivals)
            text += name + "=v\r\n";
        WriteText(dir / "a.ini", text);
        test::RecordingInteraction ui;
        clsINI ini(ui);
        ini.LoadINI(dir / "a.ini");
        ASSERT_EQ(ini.Sections().size(), 1u);
        EXPECT_EQ(test::KeyNames(ini.Sections()[0]), c.Expected) << testing::PrintToString(c.Arrivals);
    }
}

TEST(IniLoadTest, AMissingFileGivesAnEmptyDocumentAndCreatesNothing)
{
    test::TempDir dir;
    test::RecordingInteraction ui;
    clsINI ini(ui);
    ini.LoadINI(dir / "none.ini");
    EXPECT_TRUE(ini.Sections().empty());
    EXPECT_EQ(ini.FileName(), dir / "none.ini");
    EXPECT_TRUE(dir.Names().empty());
    ini.LoadINI("");
    EXPECT_TRUE(ini.Sections().empty());
}

#ifndef _WIN32 // FIFOs and symbolic links
TEST(IniLoadTest, AnythingButARegularFileOfSaneSizeIsRefusedWithTheReason)
{
    test::TempDir dir;
    const std::string path = dir / "Brivane.ini";
    const std::vector<std::pair<std::function<void()>, std::string>> cases{
        {[&] { ::mkdir(path.c_str(), 0777); }, "it is a directory, not a regular file"},
        {[&] { ::mkfifo(path.c_str(), 0666); }, "it is a FIFO, not a regular file"},
        {[&] { ::symlink("nowhere", path.c_str()); }, "it is a symbolic link that leads nowhere"},
        {[&] { ::symlink("Brivane.ini", path.c_str()); }, "Too many levels of symbolic links"},
        {[&] { WriteText(path, std::string((1 << 20) + 1, ';')); },
         "it is 1048577 bytes long, more than the 1 MiB a settings file may have"},
    };
    for (const auto& [plant, reason] : cases) {
        plant();
        test::RecordingInteraction ui;
        clsINI ini(ui);
        try {
            ini.LoadINI(path);
            ADD_FAILURE() << "loaded: " << reason;
        } catch (const FileError& error) {
            EXPECT_EQ(error.Reason(), reason);
        }
        EXPECT_EQ(ini.FileName(), path);
        std::filesystem::remove_all(path);
    }
    WriteText(path, "[General]\r\n" + std::string((1 << 20) - 11, ';'));
    test::RecordingInteraction ui;
    clsINI ini(ui);
    EXPECT_NO_THROW(ini.LoadINI(path)) << "1 MiB itself is still read";
}
#endif

TEST(IniLoadTest, LoadingAgainReplacesTheWholeDocument)
{
    test::TempDir dir;
    WriteText(dir / "a.ini", "[A]\r\nx=1\r\n");
    WriteText(dir / "b.ini", "[B]\r\ny=2\r\n");
    test::RecordingInteraction ui;
    clsINI ini(ui);
    ini.LoadINI(dir / "a.ini");
    ini.LoadINI(dir / "b.ini");
    EXPECT_EQ(ini.Sections(), (std::vector<INISection>{{"B", {{"y", "2"}}}}));
    EXPECT_EQ(ini.FileName(), dir / "b.ini");
}

} // namespace
} // namespace brivane

namespace brivane {
namespace {

// An independent statement of the insertion rule: a regular expression for numeric
// names and a plain scan of the list as it grows.
std::optional<long long> ReferenceValue(const std::string& name)
{
    static const std::regex numeric(R"(^[ \t]*[+-]?(\d+(\.\d*)?|\.\d+)([eE][+-]?\d+)?[ \t]*$)");
    if (!std::regex_match(name, numeric))
        return std::nullopt;
    const double value = std::stod(name);
    const double below = std::floor(value);
    double whole = value - below > 0.5 ? below + 1 : below;
    if (value - below == 0.5 && std::fmod(below, 2.0) != 0)
        whole = below + 1;
    return static_cast<long long>(std::clamp(whole, -2147483648.0, 2147483647.0));
}

std::vector<std::string> ReferenceOrder(const std::vector<std::string>& arrivals)
{
    std::vector<std::string> order;
    std::vector<std::optional<long long>> values; // of `order`, read once
    for (const std::string& name : arrivals) {
        std::size_t p = 0;
        const auto value = ReferenceValue(name);
        if (value) {
            while (p < order.size() && values[p] && !(*value < *values[p]))
                ++p;
        } else {
            const auto before = [](const std::string& x, const std::string& y) {
                return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char a, char b) {
                    return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
                });
            };
            while (p < order.size() && !before(name, order[p]))
                ++p;
        }
        order.insert(order.begin() + static_cast<std::ptrdiff_t>(p), name);
        values.insert(values.begin() + static_cast<std::ptrdiff_t>(p), value);
    }
    return order;
}

TEST(IniInsertionOrderTest, AgreesWithAnIndependentReferenceOnRandomArrivals)
{
    const std::vector<std::string> pool{"1", "2", "10", "-3", "2.5", "3.5", " 7 ", "1e1", "a", "B", "b",
                                        "1x", "Folder", "\xE9", "", "0x1", ".5", "1.", "+4"};
    std::mt19937 random(20261208);
    for (int trial = 0; trial < 310; ++trial) {
        std::vector<std::string> arrivals;
        std::string text = "[S]\r\n";
        // The last trials are long enough for a large file's way of placing keys in blocks.
        const int count = static_cast<int>(trial < 300 ? random() % 12 : 1000 + random() % 2000);
        for (int i = 0; i < count; ++i) {
            arrivals.push_back(pool[random() % pool.size()]);
            text += arrivals.back() + "=" + std::to_string(i) + "\r\n";
        }
        test::TempDir dir;
        WriteText(dir / "a.ini", text);
        test::RecordingInteraction ui;
        clsINI ini(ui);
        ini.LoadINI(dir / "a.ini");
        ASSERT_EQ(test::KeyNames(ini.Sections()[0]), ReferenceOrder(arrivals))
            << "seed 20261208, trial " << trial << ": " << testing::PrintToString(arrivals);
    }
}

} // namespace
} // namespace brivane
