#include "conversion/RescaleDelays.h"
#include "conversion/TicScale.h"
#include "support/Songs.h"

#include <gtest/gtest.h>

namespace brivane {
namespace {

struct DelayCase {
    int OriginalTics;
    std::uint16_t Delay;
    std::uint16_t Expected;
};

void PrintTo(const DelayCase& c, std::ostream* os)
{
    *os << c.Delay << " at " << c.OriginalTics << " ticks";
}

class RescaleDelayTest : public ::testing::TestWithParam<DelayCase> {};

TEST_P(RescaleDelayTest, RoundsHalfToEvenWithTheSinglePrecisionScale)
{
    const DelayCase c = GetParam();
    EXPECT_EQ(RescaleDelay(c.Delay, TicScaleFor(c.OriginalTics)), c.Expected)
        << c.Delay << " at " << c.OriginalTics << " ticks";
}

INSTANTIATE_TEST_SUITE_P(Cases, RescaleDelayTest, ::testing::Values(
    DelayCase{280, 0, 0}, DelayCase{280, 1, 2}, DelayCase{280, 2, 5}, DelayCase{280, 3, 8},
    DelayCase{280, 5, 12}, DelayCase{280, 7, 18},
    DelayCase{560, 2, 2}, DelayCase{560, 6, 8},
    DelayCase{700, 1, 1}, DelayCase{700, 12345, 12345}, DelayCase{700, 65535, 65535},
    DelayCase{600, 3, 3},                       // 3.4999999: the single-precision scale decides
    DelayCase{300, 3, 7},                       // 6.99999975
    DelayCase{100, 9362, 65534}, DelayCase{100, 9363, 65535}, // saturates instead of wrapping to 5
    DelayCase{280, 0xFFFF, 65535},              // read unsigned: 163837.5 saturates
    DelayCase{280, 0x7FFF, 65535}, DelayCase{280, 26214, 65535}, DelayCase{280, 26213, 65532}));

TEST(TicScaleTest, IsTheQuotientHeldInSinglePrecision)
{
    EXPECT_EQ(TicScaleFor(280), 2.5f);
    EXPECT_EQ(TicScaleFor(560), 1.25f);
    EXPECT_EQ(TicScaleFor(700), 1.0f);
    EXPECT_EQ(TicScaleFor(100), 7.0f);
    EXPECT_EQ(static_cast<double>(TicScaleFor(600)), static_cast<double>(1.16666663f));
    EXPECT_NE(static_cast<double>(TicScaleFor(300)), 700.0 / 300.0);
    EXPECT_FLOAT_EQ(TicScaleFor(300), 2.33333325f);
}

TEST(RescaleDelaysTest, RescalesEveryCompleteRecordAndNoPartialOne)
{
    for (std::size_t length = 0; length <= 13; ++length) {
        test::Bytes stream(length, 0x03); // every delay 0x0303 = 771, at 280 ticks 1927.5 -> 1928
        RescaleDelays(stream, TicScaleFor(280));
        for (std::size_t i = 0; i < length; ++i) {
            const bool inCompleteDelay = i % 4 >= 2 && (i / 4 + 1) * 4 <= length;
            const std::uint8_t expected = !inCompleteDelay ? 0x03 : (i % 4 == 2 ? 0x88 : 0x07);
            EXPECT_EQ(stream[i], expected) << "length " << length << ", byte " << i;
        }
    }
}

TEST(RescaleDelaysTest, MatchesTheIndependentReferenceAtEveryRate)
{
    const test::Bytes song = test::MakeHeaderlessSong(40003, 7);
    for (int tics = kMinOriginalTics; tics <= kMaxOriginalTics; tics += 37) {
        test::Bytes stream = song;
        RescaleDelays(stream, TicScaleFor(tics));
        const test::Bytes reference = test::ReferenceConversion(song, tics);
        ASSERT_EQ(stream, test::Bytes(reference.begin() + 2, reference.end())) << tics << " ticks";
    }
}

} // namespace
} // namespace brivane
