#include "MainWindowFixture.h"
#include "support/Songs.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include "ui/qt/ProgressDialog.h"
#include <QTimer>

#include <cstdlib>
#include <fcntl.h>
#include <regex>
#include <sys/file.h>
#include <unistd.h>

namespace brivane::test {
namespace {

class BatchTest : public MainWindowTest {
protected:
    ProgressDialog* Progress() const { return window->findChild<ProgressDialog*>("progress"); }
    void SelectAllAndConvert()
    {
        Find<QPushButton>("cmdSelectAll")->click();
        Find<QPushButton>("cmdConvert")->click();
    }
};

TEST_F(BatchTest, ALongBatchShowsProgressKeepsTheWindowAliveAndCancelStopsBeforeTheNextSong)
{
    constexpr int kSongs = 40;
    std::vector<Bytes> originals;
    for (int i = 0; i < kSongs; ++i) {
        originals.push_back(MakeHeaderlessSong(600, static_cast<std::uint32_t>(i)));
        WriteBytes(app / ("S" + std::to_string(100 + i) + ".imf"), originals.back());
    }
    // Another run holds the second song, so the batch waits there for as long as the test likes.
    const int held = ::open((app / "S101.imf").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    Open();

    bool shown = false;
    bool laidOut = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        ProgressDialog* dialog = Progress();
        if (!dialog || !dialog->isVisible() || shown)
            return;
        shown = true;
        EXPECT_EQ(dialog->labelText().toStdString(), "Converting 2 of 40: S101.imf");
        window->resize(window->width() + 150, window->height()); // drawn now, not at the end
        QCoreApplication::processEvents();
        laidOut = Find<QPushButton>("cmdConvert")->width() > 300;
        dialog->findChild<QPushButton*>()->click(); // Cancel
        ::close(held);
    });
    poll.start(20);
    SelectAllAndConvert();

    EXPECT_TRUE(shown) << "the progress dialog appeared";
    EXPECT_TRUE(laidOut) << "the window was laid out during the batch";
    ASSERT_FALSE(answerer.seen.empty());
    std::smatch stopped;
    const std::string text = answerer.seen.back().Text;
    ASSERT_TRUE(std::regex_match(text, stopped, std::regex("Conversion stopped after (\\d+) of 40 files."))) << Describe(answerer.seen);
    EXPECT_EQ(answerer.seen.back().Title, "Stopped");
    const int done = std::stoi(stopped[1]);
    EXPECT_GE(done, 2);
    EXPECT_LT(done, kSongs);
    for (int i = 0; i < kSongs; ++i) {
        const std::string song = app / ("S" + std::to_string(100 + i) + ".imf");
        EXPECT_EQ(ReadBytes(song), i < done ? ReferenceConversion(originals[i], 280) : originals[i]) << song;
    }
}

TEST_F(BatchTest, ATickedBoxAnswersTheRestAndTheFinalMessageCountsWhatItAnswered)
{
    const Bytes converted{8, 0, 0, 0, 0, 0, 0x20, 1, 8, 0};
    for (const char* name : {"a.imf", "b.imf", "c.imf", "d.imf", "e.imf", "f.imf"})
        WriteBytes(app / name, converted);
    Open();
    ::unlink((app / "e.imf").c_str());
    ::unlink((app / "f.imf").c_str());
    answerer.tickApplyToRest = true;
    SelectAllAndConvert();

    EXPECT_EQ(answerer.seen, (std::vector<Message>{
        {"a.imf is already compatible with Wolfenstein 3D.", "Already compatible", MessageStyle::Information},
        {"Could not find " + app / "e.imf!", "File not found", MessageStyle::Error},
        {"Conversion complete!\n4 already compatible, 2 not found: see the list below", "Complete", MessageStyle::Information}}));
    EXPECT_EQ(answerer.offeredApplyToRest, (std::vector<bool>{true, true, false})) << "not on the final message";
    EXPECT_EQ(answerer.details.back(), "Could not find " + app / "e.imf!\nCould not find " + app / "f.imf!\n");
}

TEST_F(BatchTest, AOneFileBatchOffersNoCheckBox)
{
    WriteBytes(app / "a.imf", {8, 0, 0, 0, 0, 0, 0x20, 1, 8, 0});
    Open();
    answerer.tickApplyToRest = true;
    SelectAllAndConvert();
    EXPECT_EQ(answerer.offeredApplyToRest, (std::vector<bool>{false, false}));
    EXPECT_EQ(answerer.seen.back().Text, "Conversion complete!");
}

TEST_F(BatchTest, OriginalTicsAndItsValueEachHaveTheirOwnRoom)
{
    Open();
    const QLabel* caption = Find<QLabel>("lbl");
    EXPECT_GE(caption->width(), caption->sizeHint().width());
    EXPECT_LT(caption->geometry().right(), TicsLabel()->x());
    EXPECT_LE(TicsLabel()->geometry().right(), Tics()->x());
    EXPECT_EQ(Tics()->geometry().right(), Find<QPushButton>("cmdConvert")->geometry().right());
}

// Input as a user gives it: on a real X server through the server itself (xdotool), so that
// focus and modality decide where it goes; offscreen, straight to the widget.
bool OnRealDisplay()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

void PressKey(QWidget& box, Qt::Key key, const char* keyName)
{
    if (OnRealDisplay())
        ASSERT_EQ(std::system((std::string("xdotool key ") + keyName).c_str()), 0);
    else
        QTest::keyClick(&box, key);
}

void Click(QWidget& target)
{
    if (!OnRealDisplay()) {
        QTest::mouseClick(&target, Qt::LeftButton);
        return;
    }
    const QPoint centre = target.mapToGlobal(target.rect().center());
    const std::string command =
        "xdotool mousemove " + std::to_string(centre.x()) + " " + std::to_string(centre.y()) + " click 1";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

TEST_F(BatchTest, AMessageHeldOpenPastTheProgressDelayIsAnsweredWithKeysAndClicksAndTheBatchGoesOn)
{
    const Bytes converted{8, 0, 0, 0, 0, 0, 0x20, 1, 8, 0};
    const Bytes original{0, 0, 0, 0, 0x20, 1, 3, 0};
    for (const char* name : {"a.imf", "b.imf", "c.imf", "d.imf", "e.imf", "f.imf"})
        WriteBytes(app / name, converted);
    for (const char* name : {"b.imf.bak", "c.imf.bak"})
        WriteBytes(app / name, original);
    Open();
    ::unlink((app / "a.imf").c_str());

    enum class Answer { Enter, Escape, ClickYes, TickAndClickOk };
    struct Step {
        std::string Title;
        std::string Text;
        Answer Given;
    };
    const std::vector<Step> steps{
        {"File not found", "Could not find " + app / "a.imf!", Answer::Enter},
        {"Reconvert?", "b.imf is already compatible", Answer::Escape},
        {"Reconvert?", "c.imf is already compatible", Answer::ClickYes},
        {"Already compatible", "d.imf is already compatible", Answer::TickAndClickOk},
        {"Complete", "Conversion complete!\n3 already compatible", Answer::Enter},
    };
    answerer.answering = false;
    std::size_t next = 0;
    std::vector<std::string> faults;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box->property("answered").toBool() || next >= steps.size())
            return;
        box->setProperty("answered", true);
        const Step& step = steps[next++];
        if (box->windowTitle().toStdString() != step.Title || box->text().toStdString().rfind(step.Text, 0) != 0)
            faults.push_back("expected " + step.Title + ": " + step.Text + ", got " + box->text().toStdString());
        // Longer than the progress dialog's delay: it must not come up over the message.
        QTest::qWait(900);
        if (Progress() && Progress()->isVisible())
            faults.push_back("the progress dialog covers " + step.Text);
        if (QApplication::activeWindow() != box)
            faults.push_back("the message " + step.Text + " does not have the focus");
        switch (step.Given) {
        case Answer::Enter: PressKey(*box, Qt::Key_Return, "Return"); break;
        case Answer::Escape: PressKey(*box, Qt::Key_Escape, "Escape"); break;
        case Answer::ClickYes: Click(*box->button(QMessageBox::Yes)); break;
        case Answer::TickAndClickOk:
            Click(*box->checkBox());
            QTest::qWait(100);
            Click(*box->button(QMessageBox::Ok));
            break;
        }
    });
    poll.start(20);
    SelectAllAndConvert();

    EXPECT_EQ(next, steps.size()) << "every message came, in list order";
    EXPECT_TRUE(faults.empty()) << faults.front();
    EXPECT_FALSE(Progress() && Progress()->isVisible()) << "the progress dialog is gone with its batch";
    EXPECT_EQ(ReadBytes(app / "b.imf"), converted) << "No kept the song";
    EXPECT_EQ(ReadBytes(app / "c.imf"), ReferenceConversion(original, 280)) << "Yes reverted and converted it";
}

} // namespace
} // namespace brivane::test
