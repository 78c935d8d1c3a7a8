#include "MainWindowFixture.h"
#include "ui/qt/frmAbout.h"
#include "ui/qt/modMouseOver.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

namespace brivane::test {
namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    AboutBoxTest() : about(nullptr, [this](const QString& text) { opened.push_back(text.toStdString()); })
    {
        about.show();
        about.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&about));
    }

    template <typename T> T* Find(const char* name)
    {
        T* child = about.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    std::string TextOf(const char* name) { return Find<QLabel>(name)->text().toStdString(); }

    std::vector<std::string> opened;
    frmAbout about;
};

TEST_F(AboutBoxTest, ShowsTheDesignTextsAtTheirPlaces)
{
    EXPECT_EQ(about.windowTitle(), "About Brivane");
    EXPECT_EQ(TextOf("lblTitle"), "Brivane");
    EXPECT_EQ(TextOf("lblVersion"), "Version 1.0.5");
    EXPECT_EQ(TextOf("lblDescription"), "Converts Duke Nukem 2 and Cosmo IMF files to Wolfenstein 3-D's IMF format.");
    EXPECT_EQ(TextOf("lblDisclaimer"), "Warning: Not responsible for any lost data.  Be sure to make back up copies.");
    EXPECT_EQ(TextOf("lbl0"), "website:");
    EXPECT_EQ(TextOf("lbl1"), "email:");
    EXPECT_EQ(Find<QLineEdit>("txtWebSite")->text(), "https://brivane.example.org");
    EXPECT_EQ(Find<QLineEdit>("txtEmail")->text(), "brivane@example.org");

    EXPECT_EQ(about.size(), QSize(382, 217)); // 5730 x 3255 twips at 15 per pixel
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
    EXPECT_EQ(Find<QWidget>("cmdOK")->geometry(), QRect(283, 183, 84, 23));
    EXPECT_EQ(Find<QWidget>("imgIcon")->geometry(), QRect(16, 16, 20, 20));
    EXPECT_EQ(Find<QWidget>("lblDescription")->geometry(), QRect(70, 64, 259, 62));
    EXPECT_EQ(Find<QWidget>("txtWebSite")->pos(), QPoint(120, 128));
    EXPECT_EQ(Find<QWidget>("txtEmail")->pos(), QPoint(120, 152));
    EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>("cmdOK"));
    EXPECT_FALSE(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    // The links show what a click opens, and cannot be edited.
    for (const char* link : {"txtWebSite", "txtEmail"}) {
        QTest::keyClicks(Find<QLineEdit>(link), "typed");
        EXPECT_EQ(Find<QLineEdit>(link)->text().toStdString().find("typed"), std::string::npos) << link;
    }
}

TEST_F(AboutBoxTest, EnterAndEscapeCloseIt)
{
    QTest::keyClick(about.windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    about.show();
    about.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    QTest::keyClick(about.windowHandle(), Qt::Key_Return);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST_F(AboutBoxTest, AnyButtonOnALinkOpensItAndTheFocusGoesToOk)
{
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        QTest::mousePress(Find<QLineEdit>("txtWebSite"), button);
        QTest::mousePress(Find<QLineEdit>("txtEmail"), button);
    }
    EXPECT_EQ(opened, (std::vector<std::string>{"https://brivane.example.org", "mailto:brivane@example.org",
                                                "https://brivane.example.org", "mailto:brivane@example.org"}));
    EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>("cmdOK"));
}

void MoveTo(QWidget* widget, QPointF at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

TEST_F(AboutBoxTest, HoveringALinkShowsTheHandUntilTheMouseLeaves)
{
    QLineEdit* link = Find<QLineEdit>("txtWebSite");
    EXPECT_FALSE(MouseLeftControl(*link, -5, -5)) << "without a capture the mouse never 'left'";

    MoveTo(link, {3, 3});
    EXPECT_TRUE(MouseOverActive());
    EXPECT_EQ(QWidget::mouseGrabber(), link);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    MoveTo(link, {static_cast<qreal>(link->width()), static_cast<qreal>(link->height())});
    EXPECT_TRUE(MouseOverActive()) << "the edges count as inside";

    MoveTo(link, {static_cast<qreal>(link->width()) + 1, 2});
    EXPECT_FALSE(MouseOverActive());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_NE(link->cursor().shape(), Qt::PointingHandCursor);

    // Back over it, and then over the other link: each takes the hand in turn.
    MoveTo(link, {3, 3});
    EXPECT_EQ(QWidget::mouseGrabber(), link);
    QLineEdit* email = Find<QLineEdit>("txtEmail");
    MoveTo(link, link->mapFromGlobal(email->mapToGlobal(QPointF(3, 3))));
    MoveTo(email, {3, 3});
    EXPECT_EQ(QWidget::mouseGrabber(), email);
    EXPECT_EQ(email->cursor().shape(), Qt::PointingHandCursor);
    ReleaseMouseOver();
}

TEST_F(MainWindowTest, HelpAboutShowsTheBoxModallyOverTheWindow)
{
    Open();
    bool shown = false;
    WithDialogHandler([&](QWidget* widget) {
        auto* box = qobject_cast<frmAbout*>(widget);
        if (!box)
            return false;
        shown = true;
        EXPECT_EQ(box->parentWidget(), window.get());
        EXPECT_TRUE(box->isModal());
        EXPECT_EQ(box->windowIcon().cacheKey(), window->windowIcon().cacheKey());
        EXPECT_LE((box->frameGeometry().center() - window->frameGeometry().center()).manhattanLength(), 2);
        box->reject();
        return true;
    }, [&] { Find<QAction>("mnuHelpAbout")->trigger(); });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(window->windowIcon().isNull());
}

} // namespace
} // namespace brivane::test
