#include "ui/shared/TextFitting.h"

#include <gtest/gtest.h>

namespace brivane {
namespace {

// One byte, one unit of width, except that a character of several bytes is two units wide.
FitsRoom Within(std::size_t room)
{
    return [room](const std::string& text) {
        std::size_t width = 0;
        for (const char c : text)
            width += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 0 : (static_cast<unsigned char>(c) < 0x80 ? 1 : 2);
        return width <= room;
    };
}

TEST(TextFittingTest, APathKeepsItsStartAndItsLastName)
{
    const struct {
        const char* Path;
        std::size_t Room;
        const char* Shown;
    } cases[] = {
        {"/home/ann/music", 15, "/home/ann/music"},
        {"/home/ann/music", 14, "/home.../music"},
        {"/home/ann/music", 9, ".../music"},
        {"/home/ann/music", 6, "...sic"},
        {"C:\\Games\\Wolf3D", 12, "C:...\\Wolf3D"},
        // never cut inside a character
        {"/\xC3\xA9t\xC3\xA9/xy", 8, "/.../xy"},
        {"/a/\xC3\xA9t\xC3\xA9", 7, "...t\xC3\xA9"},
        {"/a/\xC3\xA9t\xC3\xA9", 5, "...\xC3\xA9"},
        {"/home", 2, "..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ElidePath(c.Path, Within(c.Room)), c.Shown) << c.Path << " in " << c.Room;
}

} // namespace
} // namespace brivane
