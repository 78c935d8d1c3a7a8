#include "opl/ImfType.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace brivane {
namespace {

using test::Bytes;

struct ContentCase {
    const char* Name;
    Bytes Content;
    int Expected;
};

void PrintTo(const ContentCase& c, std::ostream* os) { *os << c.Name; }

class ImfTypeContentTest : public ::testing::TestWithParam<ContentCase> {};

TEST_P(ImfTypeContentTest, DependsOnTheFirstWordAlone)
{
    test::TempDir dir;
    const std::string path = dir / "song.imf";
    test::WriteBytes(path, GetParam().Content);
    EXPECT_EQ(GetImfType(path), GetParam().Expected);
    EXPECT_EQ(test::ReadBytes(path), GetParam().Content) << "classifying must not change the file";
}

INSTANTIATE_TEST_SUITE_P(Cases, ImfTypeContentTest, ::testing::Values(
    ContentCase{"Empty", {}, ImfHeaderless},
    ContentCase{"OneZeroByte", {0}, ImfHeaderless},
    ContentCase{"OneNonZeroByte", {7}, ImfLengthWord},
    ContentCase{"ZeroWordThenData", {0, 0, 0x20, 1, 3, 0}, ImfHeaderless},
    ContentCase{"ZeroRegisterNonZeroValue", {0, 1, 0, 0}, ImfLengthWord},
    ContentCase{"NonZeroRegisterZeroValue", {1, 0, 0, 0}, ImfLengthWord},
    ContentCase{"LengthWord", {8, 0, 0, 0, 0, 0, 0x20, 1, 8, 0}, ImfLengthWord}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ImfTypeTest, ThingsThatAreNotRegularFilesAreNotFound)
{
    test::TempDir dir;
    EXPECT_EQ(GetImfType(""), ImfNotFound);
    EXPECT_EQ(GetImfType(dir / "missing.imf"), ImfNotFound);
    EXPECT_EQ(GetImfType(dir.Path()), ImfNotFound);

    // A FIFO would block an open for reading; it must be passed over without one.
    ASSERT_EQ(::mkfifo((dir / "pipe.imf").c_str(), 0666), 0);
    EXPECT_EQ(GetImfType(dir / "pipe.imf"), ImfNotFound);

    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir / "sock.imf";
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(GetImfType(socketPath), ImfNotFound);
    ::close(sock);

    EXPECT_EQ(GetImfType("/dev/null"), ImfNotFound);
    ASSERT_EQ(::symlink((dir / "missing.imf").c_str(), (dir / "dangling.imf").c_str()), 0);
    EXPECT_EQ(GetImfType(dir / "dangling.imf"), ImfNotFound);
}

TEST(ImfTypeTest, LinksAndDotFilesCountAsTheFilesTheyAre)
{
    test::TempDir dir;
    test::WriteBytes(dir / ".hidden.imf", {0, 0, 1, 1});
    EXPECT_EQ(GetImfType(dir / ".hidden.imf"), ImfHeaderless);
    ASSERT_EQ(::symlink((dir / ".hidden.imf").c_str(), (dir / "link.imf").c_str()), 0);
    EXPECT_EQ(GetImfType(dir / "link.imf"), ImfHeaderless);
}

} // namespace
} // namespace brivane
