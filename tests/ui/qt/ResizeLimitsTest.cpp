#include "MainWindowFixture.h"
#include "ui/qt/ScaleMode.h"
#include "ui/qt/clsResizeLimits.h"
#include "ui/qt/modResizeLimits.h"

#include <QScreen>
#include <QStatusBar>

#include <stdexcept>

namespace brivane::test {
namespace {

// A window measured in twips, as the designed windows are.
std::unique_ptr<QWidget> TwipsWindow()
{
    auto window = std::make_unique<QWidget>();
    MarkScaleModeTwips(*window);
    window->setMinimumSize(3, 4);
    window->setMaximumSize(5000, 6000);
    return window;
}

QSize ScreenSize(const QWidget& window)
{
    return window.screen()->availableSize();
}

TEST(ResizeLimitsTest, RegisteringAppliesTheLimitsAndRemovingGivesTheOwnSizesBack)
{
    clsResizeLimits limits;
    ASSERT_EQ(Limits().size(), 1u);
    EXPECT_TRUE(Limits()[0].hWnd.isNull());

    auto window = TwipsWindow();
    limits.AddLimits(window.get(), 1500, 3000);
    ASSERT_EQ(Limits().size(), 2u);
    EXPECT_EQ(FindLimits(window.get()), 1);
    EXPECT_EQ(window->minimumSize(), QSize(100, 200));
    EXPECT_EQ(window->maximumSize(), ScreenSize(*window)) << "a maximum of 0 is the screen's size";

    limits.AddLimits(window.get(), 150, 300, 6000, 4500);
    EXPECT_EQ(Limits().size(), 2u) << "a second registration changes the entry";
    EXPECT_EQ(window->minimumSize(), QSize(10, 20));
    EXPECT_EQ(window->maximumSize(), QSize(400, 300));
    window->resize(1000, 1000);
    EXPECT_EQ(window->size(), QSize(400, 300));

    limits.RemoveFormLimits(window.get());
    EXPECT_EQ(window->minimumSize(), QSize(3, 4)) << "the window's own sizes, not the replacement";
    EXPECT_EQ(window->maximumSize(), QSize(5000, 6000));
    EXPECT_EQ(FindLimits(window.get()), -1);

    auto other = TwipsWindow();
    limits.RemoveFormLimits(other.get()); // never registered: nothing happens
    limits.AddLimits(window.get(), 15, 15);
    EXPECT_EQ(Limits().size(), 3u) << "a freed entry is not reused";
    EXPECT_EQ(FindLimits(window.get()), 2);
    EXPECT_THROW(limits.RemoveFormLimits(nullptr), std::invalid_argument);
}

TEST(ResizeLimitsTest, UnitsFollowTheWindowsScaleMode)
{
    clsResizeLimits limits;
    struct Case {
        const char* Name;
        bool HasScaleMode;
        bool ValuesArePixels;
        double Min;
        int Expected;
    };
    const std::vector<Case> cases{
        {"twips", true, false, 150, 10},
        {"pixels, half down to even", true, true, 2.5, 2},
        {"pixels, half up to even", true, true, 3.5, 4},
        {"no scale mode counts as twips", false, true, 30, 2},
        {"no scale mode, halves to even", false, false, 37.5, 2},
    };
    for (const Case& c : cases) {
        QWidget window;
        if (c.HasScaleMode)
            MarkScaleModeTwips(window);
        limits.AddLimits(&window, c.Min, c.Min, 0, 0, c.ValuesArePixels);
        EXPECT_EQ(window.minimumSize(), QSize(c.Expected, c.Expected)) << c.Name;
        limits.RemoveFormLimits(&window);
    }
    QWidget unusable;
    limits.AddLimits(&unusable, 1e300, 0, 0, 0, true);
    EXPECT_EQ(FindLimits(&unusable), -1) << "a value that is no 32-bit integer registers nothing";
}

TEST(ResizeLimitsTest, ReleasingTheObjectOrRemovingAllUnhooksEveryWindow)
{
    auto first = TwipsWindow();
    auto second = TwipsWindow();
    {
        clsResizeLimits limits;
        limits.AddLimits(first.get(), 150, 150);
        limits.AddLimits(second.get(), 300, 300);
        limits.RemoveAllLimits();
        EXPECT_EQ(first->minimumSize(), QSize(3, 4));
        EXPECT_EQ(FindLimits(first.get()), -1);
        limits.AddLimits(first.get(), 150, 150);
        EXPECT_EQ(first->minimumSize(), QSize(10, 10)) << "hooked again after removing all";
    }
    EXPECT_EQ(first->minimumSize(), QSize(3, 4));

    // A window still hooked when the table is reset has no entry: its events pass untouched.
    clsResizeLimits owner;
    owner.AddLimits(second.get(), 150, 150);
    clsResizeLimits reset;
    second->show();
    EXPECT_EQ(FindLimits(second.get()), -1);
    EXPECT_EQ(second->minimumSize(), QSize(10, 10));
}

TEST_F(MainWindowTest, TheMainWindowCannotBeMadeSmallerThanItsLayout)
{
    Open();
    const int menu = window->menuBar()->sizeHint().height() + window->statusBar()->sizeHint().height();
    EXPECT_EQ(window->minimumSize(), QSize(112, 122 + menu)); // 1680 x 1830 twips of client area
    window->resize(10, 10);
    EXPECT_EQ(window->size(), QSize(112, 122 + menu));
    EXPECT_EQ(window->Layout().hsbTics.Width, 0);
    EXPECT_EQ(window->Layout().File.Height, 0);
    EXPECT_GE(window->Layout().hsbTics.Top, window->Layout().cmdSelectAll.Top + window->Layout().cmdSelectAll.Height);
    window.reset();
    EXPECT_EQ(Limits().size(), 2u);
    EXPECT_TRUE(Limits()[1].hWnd.isNull()) << "released at shut-down";
}

} // namespace
} // namespace brivane::test
