#include "MainWindowFixture.h"
#include "support/Songs.h"

#include <QProgressDialog>
#include <QTimer>

#include <fcntl.h>
#include <regex>
#include <sys/file.h>
#include <unistd.h>

namespace brivane::test {
namespace {

class BatchTest : public MainWindowTest {
protected:
    QProgressDialog* Progress() const { return window->findChild<QProgressDialog*>("progress"); }
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
        QProgressDialog* dialog = Progress();
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

TEST_F(BatchTest, ATickedBoxAnswersTheRestAndTheFinalMessageCountsWhatWasHeldBack)
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
        {"a.imf is already compatible with Wolfenstein 3D.", "Already compatible", MB_ICONINFORMATION},
        {"Could not find " + app / "e.imf!", "File not found", MB_ICONHAND},
        {"Conversion complete!\n3 already compatible, 1 not found: see the list below", "Complete", MB_ICONINFORMATION}}));
    EXPECT_EQ(answerer.offeredApplyToRest, (std::vector<bool>{true, true, false})) << "not on the final message";
    EXPECT_EQ(answerer.details.back(), "Could not find " + app / "f.imf!\n");
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

} // namespace
} // namespace brivane::test
