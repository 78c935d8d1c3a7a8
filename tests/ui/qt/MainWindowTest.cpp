#include "MainWindowFixture.h"
#include "capture/CaptureFiles.h"
#include "support/Songs.h"
#include "support/TextMarks.h"
#include "ui/qt/modDrawText.h"

#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

#include <functional>

#include <sys/stat.h>

namespace brivane::test {
namespace {

TEST_F(MainWindowTest, FirstStartShowsTheProgramFolderAndWritesOnlyTheRate)
{
    for (const char* name : {"SONG.IMF", "b.imf", "a.Imf", ".hidden.imf", "notes.txt", "song.imf.bak"})
        WriteBytes(app / name, {0, 0, 1, 1});
    ::mkfifo((app / "pipe.imf").c_str(), 0666);
    ::mkdir((app / "folder.imf").c_str(), 0777);
    Open();

    EXPECT_EQ(FolderLabel()->text().toStdString(), app.Path());
    EXPECT_EQ(LabelTag(*FolderLabel()).toStdString(), app.Path());
    EXPECT_EQ(Entries(), (std::vector<std::string>{"a.Imf", "b.imf", "SONG.IMF"}));
    EXPECT_EQ(Tics()->value(), 280);
    EXPECT_EQ(TicsLabel()->text(), "280");
    EXPECT_TRUE(MakeBackups()->isChecked());
    EXPECT_EQ(SettingsText(), "[General]\r\nOriginalTics=280\r\n");
    EXPECT_EQ(window->windowTitle(), "Brivane");
    EXPECT_EQ(window->focusWidget(), Find<QPushButton>("cmdBrowse"));
    EXPECT_TRUE(answerer.seen.empty());
}

TEST_F(MainWindowTest, AWlfSongIsListedAndConvertedAsAnyOther)
{
    const Bytes song{0, 0, 0, 0, 0x20, 1, 3, 0};
    WriteBytes(app / "THEME.WLF", song);
    Open();
    ASSERT_EQ(Entries(), std::vector<std::string>{"THEME.WLF"});
    Find<QPushButton>("cmdSelectAll")->click();
    Find<QPushButton>("cmdConvert")->click();
    EXPECT_EQ(ReadBytes(app / "THEME.WLF"), ReferenceConversion(song, 280));
}

TEST_F(MainWindowTest, StoredSettingsAreApplied)
{
    struct Case {
        std::string Stored;
        int Tics;
        bool Backups;
        std::string Afterwards; // the file after start-up; empty: unchanged
    };
    const std::vector<Case> cases{
        {"OriginalTics=350", 350, true, ""},
        {"MakeBackups=0\r\nOriginalTics=350", 350, false, ""},
        {"MakeBackups=-1\r\nOriginalTics=350", 350, false, ""},
        {"MakeBackups=2\r\nOriginalTics=350", 350, false, ""},
        {"MakeBackups=1\r\nOriginalTics=350", 350, true, ""},
        {"OriginalTics=500", 500, true, "OriginalTics=500"},
        {"OriginalTics=50", 100, true, "OriginalTics=100"},
        {"OriginalTics=9000", 700, true, "OriginalTics=700"},
        {"OriginalTics=abc", 100, true, "OriginalTics=100"},
    };
    for (const Case& c : cases) {
        const std::string before = "[General]\r\n" + c.Stored + "\r\n";
        WriteSettings(before);
        Open();
        EXPECT_EQ(Tics()->value(), c.Tics) << c.Stored;
        EXPECT_EQ(TicsLabel()->text().toStdString(), std::to_string(c.Tics)) << c.Stored;
        EXPECT_EQ(MakeBackups()->isChecked(), c.Backups) << c.Stored;
        EXPECT_EQ(SettingsText(), c.Afterwards.empty() ? before : "[General]\r\n" + c.Afterwards + "\r\n") << c.Stored;
        window.reset();
        EXPECT_EQ(SettingsText(), c.Afterwards.empty() ? before : "[General]\r\n" + c.Afterwards + "\r\n")
            << "nothing is written at exit";
    }
}

// Notepad saves text with a mark: "UTF-8 with BOM", and "Unicode", UTF-16 LE. Qt's own
// encoder makes the files; the window must read them and write them back in their kind.
TEST_F(MainWindowTest, SettingsSavedWithAMarkAreReadAndWrittenBackWithIt)
{
    TempDir music;
    const std::string folder = music / "Musik f\u00FCr Spiele";
    std::filesystem::create_directory(folder);
    WriteBytes(folder + "/x.imf", {0, 0});
    const auto utf16 = [](const std::string& text) {
        const QString wide = QString::fromUtf8(text);
        Bytes bytes{0xFF, 0xFE};
        for (const QChar c : wide)
            bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c.unicode() & 0xFF), static_cast<std::uint8_t>(c.unicode() >> 8)});
        return bytes;
    };
    for (const auto& [kind, encode] : test::NotepadEncodings(utf16)) {
        const std::string stored = "[General]\r\nFolder=" + folder + "\r\nOriginalTics=350\r\n";
        WriteBytes(Settings(), encode(stored));
        Open();
        EXPECT_EQ(LabelTag(*FolderLabel()).toStdString(), folder) << kind;
        EXPECT_EQ(Tics()->value(), 350) << kind;
        EXPECT_EQ(ReadBytes(Settings()), encode(stored)) << kind << ": nothing is written at start";
        Tics()->setValue(400);
        window.reset();
        EXPECT_EQ(ReadBytes(Settings()), encode("[General]\r\nFolder=" + folder + "\r\nOriginalTics=400\r\n")) << kind;
    }
}

TEST_F(MainWindowTest, AStoredFolderThatIsGoneFallsBackToTheProgramFolder)
{
    TempDir music;
    WriteBytes(music / "x.imf", {0, 0});
    WriteSettings("[General]\r\nFolder=" + music.Path() + "\r\nOriginalTics=350\r\n");
    Open();
    EXPECT_EQ(LabelTag(*FolderLabel()).toStdString(), music.Path());
    EXPECT_EQ(Entries(), std::vector<std::string>{"x.imf"});

    window.reset();
    const std::string stored = "[General]\r\nFolder=" + app.Path() + "/gone\r\nOriginalTics=350\r\n";
    WriteSettings(stored);
    Open();
    EXPECT_EQ(LabelTag(*FolderLabel()).toStdString(), app.Path());
    EXPECT_EQ(SettingsText(), stored) << "the stored key stays until the user picks a folder";
    EXPECT_EQ(window->statusBar()->toolTip().toStdString(),
              "The folder " + app.Path() + "/gone cannot be opened; showing " + app.Path() + " instead.");
}

TEST_F(MainWindowTest, ANameThatIsNotTextIsListedAndConvertedByItsBytes)
{
    const std::string name = "caf\xE9.imf"; // Latin-1, not UTF-8
    WriteBytes(app / name, {0, 0, 0, 0, 0x20, 1, 3, 0});
    Open();
    ASSERT_EQ(Entries(), std::vector<std::string>{"caf\uFFFD.imf"});
    Find<QPushButton>("cmdSelectAll")->click();
    Find<QPushButton>("cmdConvert")->click();
    EXPECT_EQ(ReadBytes(app / name), (Bytes{8, 0, 0, 0, 0, 0, 0x20, 1, 8, 0}));
    EXPECT_EQ(answerer.seen.back().Text, "Conversion complete!");
}

TEST_F(MainWindowTest, AnUnreadableSettingsFileIsReportedAndNeverReplaced)
{
    ::mkdir(Settings().c_str(), 0777);
    Open();
    EXPECT_EQ(answerer.seen, (std::vector<Message>{{"Could not read the settings file " + Settings() +
                                                        ": it is a directory, not a regular file",
                                                    "Settings not loaded", MessageStyle::Error}}));
    EXPECT_EQ(Tics()->value(), 280);
    Tics()->setValue(400);
    MakeBackups()->trigger();
    EXPECT_EQ(answerer.seen.size(), 1u) << "saving stays off for this run";
    EXPECT_TRUE(std::filesystem::is_directory(Settings()));
}

TEST_F(MainWindowTest, SelectAllSelectsEveryEntryAndAltAPressesIt)
{
    Open();
    Find<QPushButton>("cmdSelectAll")->click();
    EXPECT_TRUE(File()->selectedItems().isEmpty());

    for (const char* name : {"a.imf", "b.imf", "c.imf"})
        WriteBytes(app / name, {0, 0});
    window.reset();
    Open();
    File()->item(1)->setSelected(true);
    QTest::keyClick(window->windowHandle(), Qt::Key_A, Qt::AltModifier);
    // A mnemonic presses its button with a short animation, as a click does.
    EXPECT_TRUE(QTest::qWaitFor([&] { return File()->selectedItems().size() == 3; }, 2000));
}

TEST_F(MainWindowTest, TheRateIsShownAndSavedAtEveryStepOfADrag)
{
    Open();
    QScrollBar* tics = Tics();
    tics->setSliderDown(true);
    for (int position : {281, 300, 450}) {
        tics->setSliderPosition(position);
        EXPECT_EQ(TicsLabel()->text().toStdString(), std::to_string(position));
        EXPECT_EQ(SettingsText(), "[General]\r\nOriginalTics=" + std::to_string(position) + "\r\n");
    }
    WriteSettings("changed");
    tics->setSliderDown(false);
    EXPECT_EQ(tics->value(), 450);
    EXPECT_EQ(SettingsText(), "[General]\r\nOriginalTics=450\r\n") << "the change that ends the drag saves again";

    tics->setFocus();
    QTest::keyClick(window->windowHandle(), Qt::Key_Right);
    EXPECT_EQ(TicsLabel()->text(), "451");
    QTest::keyClick(window->windowHandle(), Qt::Key_PageUp);
    EXPECT_EQ(SettingsText(), "[General]\r\nOriginalTics=476\r\n");
}

TEST_F(MainWindowTest, MakeBackupsTogglesAndSavesEachTime)
{
    Open();
    MakeBackups()->trigger();
    EXPECT_FALSE(MakeBackups()->isChecked());
    EXPECT_EQ(SettingsText(), "[General]\r\nMakeBackups=0\r\nOriginalTics=280\r\n");
    MakeBackups()->trigger();
    EXPECT_TRUE(MakeBackups()->isChecked());
    EXPECT_EQ(SettingsText(), "[General]\r\nMakeBackups=1\r\nOriginalTics=280\r\n");
}

TEST_F(MainWindowTest, ConvertConvertsTheSelectedSongsInListOrder)
{
    const Bytes first = MakeHeaderlessSong(30000, 1);
    const Bytes second = MakeHeaderlessSong(50001, 2);
    const Bytes untouched = MakeHeaderlessSong(100, 3);
    WriteBytes(app / "B.IMF", second);
    WriteBytes(app / "a.imf", first);
    WriteBytes(app / "c.imf", untouched);
    Open();
    Tics()->setValue(560);
    File()->item(1)->setSelected(true);
    File()->item(0)->setSelected(true);
    Find<QPushButton>("cmdConvert")->click();

    EXPECT_EQ(answerer.seen, (std::vector<Message>{{"Conversion complete!", "Complete", MessageStyle::Information}}));
    EXPECT_EQ(window->TicScale(), 1.25f);
    EXPECT_EQ(ReadBytes(app / "a.imf"), ReferenceConversion(first, 560));
    EXPECT_EQ(ReadBytes(app / "B.IMF"), ReferenceConversion(second, 560));
    EXPECT_EQ(ReadBytes(app / "a.imf.bak"), first);
    EXPECT_EQ(ReadBytes(app / "c.imf"), untouched);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"a.imf", "B.IMF", "c.imf"})) << "the list is not refreshed";
}

TEST_F(MainWindowTest, ConvertingAgainAsksAboutEachFileAndOnlyYesReverts)
{
    const Bytes song{0, 0, 0, 0, 0x20, 1, 3, 0};
    WriteBytes(app / "a.imf", song);
    WriteBytes(app / "b.imf", song);
    Open();
    MakeBackups()->trigger(); // off
    Find<QPushButton>("cmdSelectAll")->click();
    Find<QPushButton>("cmdConvert")->click();
    EXPECT_FALSE(Exists(app / "a.imf.bak"));
    WriteBytes(app / "a.imf.bak", song);

    answerer.Expect({QMessageBox::Yes});
    Tics()->setValue(700);
    window->activateWindow(); // the message box had the focus
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    File()->setFocus();
    QTest::keyClick(window->windowHandle(), Qt::Key_Return); // Enter presses Convert wherever the focus is
    EXPECT_EQ(answerer.seen, (std::vector<Message>{
        {"a.imf is already compatible with Wolfenstein 3D.\nDo you wish to revert to your backup copy and reconvert it?",
         "Reconvert?", MessageStyle::Question},
        {"b.imf is already compatible with Wolfenstein 3D.", "Already compatible", MessageStyle::Information},
        {"Conversion complete!", "Complete", MessageStyle::Information}}));
    EXPECT_EQ(ReadBytes(app / "a.imf"), (Bytes{8, 0, 0, 0, 0, 0, 0x20, 1, 3, 0}));
    EXPECT_EQ(ReadBytes(app / "b.imf"), (Bytes{8, 0, 0, 0, 0, 0, 0x20, 1, 8, 0}));

    answerer.Expect({QMessageBox::No});
    Find<QPushButton>("cmdConvert")->click();
    EXPECT_EQ(answerer.seen.front().Title, "Reconvert?");
    EXPECT_EQ(ReadBytes(app / "a.imf"), (Bytes{8, 0, 0, 0, 0, 0, 0x20, 1, 3, 0}));
}

TEST_F(MainWindowTest, BrowsePicksAFolderAndCancelChangesNothing)
{
    TempDir music;
    WriteBytes(music / "tune.imf", {0, 0});
    Open();
    const std::string before = SettingsText();

    WithDialogHandler([](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        if (!dialog)
            return false;
        EXPECT_EQ(dialog->windowTitle(), "Select a folder");
        dialog->reject();
        return true;
    }, [&] { Find<QPushButton>("cmdBrowse")->click(); });
    EXPECT_EQ(LabelTag(*FolderLabel()).toStdString(), app.Path());
    EXPECT_EQ(SettingsText(), before);

    WithDialogHandler([&](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        if (!dialog)
            return false;
        EXPECT_EQ(dialog->directory().absolutePath().toStdString(), app.Path()) << "starts at the current folder";
        dialog->setDirectory(QString::fromStdString(music.Path()));
        QMetaObject::invokeMethod(dialog, "accept");
        return true;
    }, [&] { Find<QPushButton>("cmdBrowse")->click(); });
    EXPECT_EQ(LabelTag(*FolderLabel()).toStdString(), music.Path());
    EXPECT_EQ(Entries(), std::vector<std::string>{"tune.imf"});
    EXPECT_EQ(SettingsText(), "[General]\r\nFolder=" + music.Path() + "\r\nOriginalTics=280\r\n");
}

TEST_F(MainWindowTest, KeyboardOrderFollowsTheTabIndexes)
{
    Open();
    QWidget* widget = Find<QPushButton>("cmdBrowse");
    std::vector<std::string> order;
    for (int i = 0; i < 5; ++i) {
        order.push_back(widget->objectName().toStdString());
        do
            widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus || !widget->isVisible() ||
               widget->objectName().isEmpty());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"cmdBrowse", "File", "cmdConvert", "cmdSelectAll", "hsbTics"}));
}

TEST_F(MainWindowTest, ExitClosesWithoutWriting)
{
    Open();
    const std::string before = SettingsText();
    Find<QAction>("mnuFileExit")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(SettingsText(), before);
    const QStringList menus{"&File", "&Options", "&Play", "&Help"};
    QStringList titles;
    for (QAction* action : window->menuBar()->actions())
        titles << action->text();
    EXPECT_EQ(titles, menus);
}

TEST_F(MainWindowTest, GameAndConvertToChooseTheRatesTheTargetAndTheButtonAndAreStoredOnceChosen)
{
    WriteBytes(app / "keen.imf", {8, 0, 0, 0, 0, 0, 0x20, 1, 4, 0}); // a Keen song: 4 ticks at 560
    Open();
    QMenu* game = Find<QMenu>("mnuOptionsGame");
    QMenu* target = Find<QMenu>("mnuOptionsConvertTo");
    QPushButton* convert = Find<QPushButton>("cmdConvert");
    const auto checked = [](QMenu* menu) {
        std::vector<std::string> texts;
        for (QAction* action : menu->actions())
            if (action->isChecked())
                texts.push_back(Plain(action));
        return texts;
    };
    const auto choose = [](QMenu* menu, const std::string& text) {
        for (QAction* action : menu->actions())
            if (Plain(action) == text)
                action->trigger();
    };
    ASSERT_EQ(target->actions().size(), 6);
    // Each item has an access key of its own, the same in both menus.
    std::vector<QString> keys;
    for (QMenu* menu : {game, target})
        for (QAction* action : menu->actions())
            keys.push_back(action->text().section(QLatin1Char('&'), 1).left(1));
    EXPECT_EQ(keys, (std::vector<QString>{"D", "C", "K", "B", "W", "S", "D", "C", "K", "B", "W", "S"}));
    EXPECT_EQ(checked(target), std::vector<std::string>{"Wolfenstein 3-D"});
    EXPECT_EQ(checked(game), std::vector<std::string>{"Duke Nukem II (280)"});
    EXPECT_EQ(convert->text(), "Convert to Wolfenstein IMF");
    EXPECT_EQ(SettingsText(), "[General]\r\nOriginalTics=280\r\n") << "nothing new until the user chooses";

    choose(game, "Commander Keen 4\u20136 (560)");
    EXPECT_EQ(Tics()->value(), 560);
    EXPECT_EQ(checked(game), std::vector<std::string>{"Commander Keen 4\u20136 (560)"}) << "not Cosmo, also at 560";
    EXPECT_EQ(window->statusBar()->toolTip(), "Songs with a length word are taken at 560 ticks per second");
    Find<QPushButton>("cmdSelectAll")->click();
    convert->click();
    EXPECT_EQ(ReadBytes(app / "keen.imf"), (Bytes{8, 0, 0, 0, 0, 0, 0x20, 1, 5, 0})) << "4 ticks at 560 are 5 at 700";

    choose(target, "Duke Nukem II");
    EXPECT_EQ(convert->text(), "Convert to Duke Nukem II IMF");
    EXPECT_EQ(checked(target), std::vector<std::string>{"Duke Nukem II"});
    Tics()->setValue(561);
    EXPECT_TRUE(checked(game).empty());
    EXPECT_EQ(window->statusBar()->toolTip(), "");
    Tics()->setValue(560);
    EXPECT_EQ(checked(game), std::vector<std::string>{"Cosmo's Cosmic Adventure (560)"}) << "the Keen choice ended";
    EXPECT_EQ(SettingsText(), "[General]\r\nGame=\r\nOriginalTics=560\r\nTarget=duke2\r\n");

    window.reset();
    Open();
    EXPECT_EQ(Find<QPushButton>("cmdConvert")->text(), "Convert to Duke Nukem II IMF");
}

TEST_F(MainWindowTest, ConvertingASongOfTheTargetsLayoutAgainAsksAndTheOriginalIsNeverLost)
{
    const Bytes original = MakeHeaderlessSong(400, 9);
    WriteBytes(app / "a.imf", original);
    Open();
    for (QAction* target : Find<QMenu>("mnuOptionsConvertTo")->actions())
        if (Plain(target) == "Cosmo's Cosmic Adventure")
            target->trigger();
    Find<QPushButton>("cmdSelectAll")->click();
    Find<QPushButton>("cmdConvert")->click();
    const Bytes once = ReadBytes(app / "a.imf");
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes, QMessageBox::No}) {
        answerer.Expect({answer});
        Find<QPushButton>("cmdConvert")->click();
        ASSERT_FALSE(answerer.seen.empty());
        EXPECT_EQ(answerer.seen.front().Title, "Reconvert?");
        EXPECT_EQ(ReadBytes(app / "a.imf"), once) << "converted once, whatever the answer";
        EXPECT_EQ(ReadBytes(app / "a.imf.bak"), original);
    }
}

// A capture's song over a converted song: each question whose Yes writes over a file that
// holds no copy elsewhere is answered by Enter with No, and nothing is lost.
TEST_F(MainWindowTest, ACapturesSongOverASongAsksAndEnterKeepsTheSongAndItsBackup)
{
    const Bytes original = MakeHeaderlessSong(400, 9);
    WriteBytes(app / "a.imf", original);
    WriteBytes(app / "a.dro", Dro(0, {0, 1, 0x70, 10, 1, 0x20}));
    Open();
    File()->item(1)->setSelected(true); // a.imf, after a.dro
    Find<QPushButton>("cmdConvert")->click();
    const Bytes converted = ReadBytes(app / "a.imf");
    File()->clearSelection();
    File()->item(0)->setSelected(true);
    answerer.pressEnter = true;
    // Enter on "Replace song?"; then Yes to it and Enter on "Replace backup?".
    for (const auto& answers : {std::deque<QMessageBox::StandardButton>{QMessageBox::NoButton},
                                std::deque<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::NoButton}}) {
        answerer.Expect(answers);
        Find<QPushButton>("cmdConvert")->click();
        ASSERT_GE(answerer.seen.size(), answers.size());
        EXPECT_EQ(answerer.seen[0].Title, "Replace song?");
        EXPECT_EQ(answerer.defaults[0], QMessageBox::No);
        if (answers.size() == 2) {
            EXPECT_EQ(answerer.seen[1].Title, "Replace backup?");
            EXPECT_EQ(answerer.defaults[1], QMessageBox::No);
        }
        EXPECT_EQ(ReadBytes(app / "a.imf"), converted);
        EXPECT_EQ(ReadBytes(app / "a.imf.bak"), original);
    }
}

// At the size the window opens at, the bar shows a selected song's short form whole; the
// tooltip holds all that is known of it.
TEST_F(MainWindowTest, TheStatusOfASelectedSongFitsTheBarAtTheWindowsFirstSize)
{
    Bytes song{0, 0, 0, 0};
    for (int i = 0; i < 500; ++i)
        song.insert(song.end(), {0x20, 1, 1, 0});
    WriteBytes(app / "CAVES.IMF", song);
    WriteBytes(app / "tune.dro", test::Dro(0, {0, 0x21, 0x70, 9}));
    Open();
    const struct {
        int Row;
        const char* Shown;
        const char* Whole;
    } rows[] = {
        {0, "CAVES.IMF: headerless, 0:01 at 280",
         "CAVES.IMF: headerless, 0:01 at 280 ticks per second; at 280, the classic conversion shortens this song by "
         "0.36 s"},
        {1, "tune.dro: capture, 0:00", "tune.dro: DOSBox DRO 2.0 capture, OPL2, 1 write, 0.01 seconds"},
    };
    for (const auto& row : rows) {
        File()->setCurrentRow(row.Row);
        EXPECT_EQ(window->statusBar()->currentMessage().toStdString(), row.Shown);
        EXPECT_EQ(window->statusBar()->toolTip().toStdString(), row.Whole);
    }
}

TEST_F(MainWindowTest, ExactTimingIsStoredOnceChosenAndTheStatusSaysWhatTheClassicConversionDoes)
{
    Bytes song{0, 0, 0, 0};
    for (int i = 0; i < 500; ++i)
        song.insert(song.end(), {0x20, 1, 1, 0});
    WriteBytes(app / "a.imf", song);
    WriteBytes(app / "b.imf", {0xB0, 0x31, 0x18, 0x01});
    Open();
    File()->setCurrentRow(0);
    const QStatusBar* status = window->statusBar();
    EXPECT_EQ(status->toolTip(), "a.imf: headerless, 0:01 at 280 ticks per second; at 280, the classic conversion "
                                 "shortens this song by 0.36 s");
    EXPECT_EQ(SettingsText().find("ExactTiming"), std::string::npos);
    Find<QAction>("mnuOptionsExactTiming")->trigger();
    EXPECT_EQ(status->toolTip(), "a.imf: headerless, 0:01 at 280 ticks per second");
    EXPECT_NE(SettingsText().find("ExactTiming=1\r\n"), std::string::npos);

    // A length word larger than the file: the window asks, and No leaves the song alone.
    File()->setCurrentRow(1);
    File()->item(1)->setSelected(true);
    answerer.Expect({QMessageBox::No});
    Find<QPushButton>("cmdConvert")->click();
    ASSERT_FALSE(answerer.seen.empty());
    EXPECT_EQ(answerer.seen.front().Title, "Headerless song?");
    EXPECT_NE(answerer.seen.front().Text.find("Convert b.imf as a headerless song?"), std::string::npos);
    EXPECT_EQ(ReadBytes(app / "b.imf"), (Bytes{0xB0, 0x31, 0x18, 0x01}));

    window.reset();
    Open();
    EXPECT_TRUE(Find<QAction>("mnuOptionsExactTiming")->isChecked());
}

} // namespace
} // namespace brivane::test
