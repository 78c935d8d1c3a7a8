#include "MainWindowFixture.h"
#include "ui/shared/MainLayout.h"
#include "ui/qt/modDrawText.h"

#include <QFontMetrics>

namespace brivane::test {
namespace {

TEST(MainLayoutTest, TheDesignSizeGivesTheDesignTable)
{
    MainLayout layout;
    layout.Arrange(5760, 5355);
    EXPECT_EQ(layout.cmdBrowse, (TwipRect{5325, 120, 315, 315}));
    EXPECT_EQ(layout.lblFolder, (TwipRect{120, 120, 5205, 315}));
    EXPECT_EQ(layout.cmdConvert, (TwipRect{120, 4920, 5520, 315}));
    EXPECT_EQ(layout.hsbTics, (TwipRect{1560, 4560, 4080, 255}));
    EXPECT_EQ(layout.cmdSelectAll, (TwipRect{120, 4125, 5520, 315}));
    EXPECT_EQ(layout.File, (TwipRect{120, 480, 5520, 3525}));
    EXPECT_EQ(layout.lbl, (TwipRect{120, 4560, 975, 345}));
    EXPECT_EQ(layout.lblTics, (TwipRect{1080, 4560, 495, 255}));
}

TEST(MainLayoutTest, WidthAndHeightMoveTheEdgeControls)
{
    MainLayout design;
    design.Arrange(5760, 5355);
    MainLayout wider = design;
    wider.Arrange(6760, 5355);
    EXPECT_EQ(wider.cmdBrowse.Left, design.cmdBrowse.Left + 1000);
    for (auto member : {&MainLayout::lblFolder, &MainLayout::cmdConvert, &MainLayout::cmdSelectAll,
                        &MainLayout::File, &MainLayout::hsbTics}) {
        EXPECT_EQ((wider.*member).Width, (design.*member).Width + 1000);
        EXPECT_EQ((wider.*member).Top, (design.*member).Top);
    }

    MainLayout taller = design;
    taller.Arrange(5760, 6355);
    EXPECT_EQ(taller.cmdConvert.Top, design.cmdConvert.Top + 1000);
    EXPECT_EQ(taller.hsbTics.Top, design.hsbTics.Top + 1000) << "the row keeps its distance above Convert";
    EXPECT_EQ(taller.File.Height, design.File.Height + 1000) << "the list gets the room";
}

TEST(MainLayoutTest, TinySizesGiveNoNegativeSizeAndConvertNeverCoversTheRow)
{
    for (float width : {0.0f, 100.0f, 555.0f, 1680.0f, 3000.0f})
        for (float height : {0.0f, 300.0f, 1500.0f, 5000.0f}) {
            MainLayout layout;
            layout.Arrange(width, height);
            for (const TwipRect& rect : {layout.lblFolder, layout.cmdBrowse, layout.File, layout.cmdSelectAll,
                                         layout.hsbTics, layout.cmdConvert}) {
                EXPECT_GE(rect.Width, 0) << width << "x" << height;
                EXPECT_GE(rect.Height, 0) << width << "x" << height;
            }
            EXPECT_LE(layout.hsbTics.Top + layout.hsbTics.Height, layout.cmdConvert.Top);
        }
}

TEST_F(MainWindowTest, TheWindowOpensAtTheDesignSizeAndFollowsResizes)
{
    Open();
    EXPECT_EQ(window->centralWidget()->size(), QSize(384, 357)); // 5760 x 5355 twips at 15 per pixel
    EXPECT_EQ(window->Layout().cmdConvert, (TwipRect{120, 4920, 5520, 315}));
    EXPECT_EQ(Find<QWidget>("cmdConvert")->geometry(), QRect(8, 328, 368, 21));
    EXPECT_EQ(Find<QWidget>("cmdBrowse")->geometry(), QRect(355, 8, 21, 21));

    window->resize(window->width() + 100, window->height());
    EXPECT_EQ(Find<QWidget>("cmdBrowse")->geometry(), QRect(455, 8, 21, 21));
    window->resize(1, 1);
    EXPECT_GE(Find<QWidget>("File")->width(), 0);
    // Minimised and restored, it comes back laid out as it was.
    const QRect list = Find<QWidget>("File")->geometry(), convert = Find<QWidget>("cmdConvert")->geometry();
    window->showMinimized();
    window->showNormal();
    EXPECT_EQ(Find<QWidget>("File")->geometry(), list);
    EXPECT_EQ(Find<QWidget>("cmdConvert")->geometry(), convert);
}

TEST_F(MainWindowTest, LongPathsAreShortenedInTheMiddleAndKeepTheirLastFolder)
{
    Open();
    QLabel* label = FolderLabel();
    struct Case {
        std::string Path;
        bool Shortened;
    };
    std::string deep = "/home/modder";
    for (int level = 0; level < 12; ++level)
        deep += "/level" + std::to_string(level);
    deep += "/Duke Nukem II songs";
    for (const Case& c : {Case{"/music", false}, Case{"", false}, Case{deep, true},
                          Case{"/" + std::string(200, 'x'), true}}) {
        const QString path = QString::fromStdString(c.Path);
        FitPathToLabel(*window, *label, path);
        const QString shown = label->text();
        EXPECT_EQ(LabelTag(*label), path);
        EXPECT_EQ(shown != path, c.Shortened) << c.Path;
        EXPECT_EQ(label->toolTip(), c.Shortened ? path : QString()) << c.Path;
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(shown), FittingWidth(*label, 15.0f)) << c.Path;
        FitPathToLabel(*window, *label, path);
        EXPECT_EQ(label->text(), shown) << "fitting again gives the same text";
    }
    FitPathToLabel(*window, *label, QString::fromStdString(deep));
    EXPECT_TRUE(label->text().startsWith("/home/")) << label->text().toStdString();
    EXPECT_TRUE(label->text().endsWith("...") || label->text().endsWith("/Duke Nukem II songs"));
    EXPECT_TRUE(label->text().contains("...") && label->text().endsWith("/Duke Nukem II songs"))
        << label->text().toStdString();
}

TEST(FitPathTest, TheFittingWidthIsNinetySixPercentOfTheLabel)
{
    QLabel label;
    label.resize(265, 21);
    EXPECT_EQ(FittingWidth(label, 15.0f), 254);
    label.resize(347, 21);
    EXPECT_EQ(FittingWidth(label, 15.0f), 333);
}

} // namespace
} // namespace brivane::test
