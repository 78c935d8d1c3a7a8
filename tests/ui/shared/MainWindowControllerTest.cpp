// What both windows do, without a toolkit: the controller over a view that keeps what it is
// shown and answers as the user would, real settings files and real songs.
#include "capture/CaptureFiles.h"
#include "support/RecordingInteraction.h"
#include "support/Songs.h"
#include "support/TempDir.h"
#include "ui/shared/MainWindowController.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace brivane {
namespace {

using test::Bytes;

// Shows nothing, keeps everything, and runs a batch at once on its own thread of control.
class ShownView : public MainWindowView {
public:
    void ShowFolder(const std::string& shown) override { folder = shown; }
    void ShowSongs(const std::vector<std::string>& names) override { songs = names, selected.clear(); }
    void ShowTics(int shown) override { tics = shown; }
    void ShowConvertCaption(const std::string& shown) override { caption = shown; }
    void ShowMenus(const MenuStates& shown) override { menus = shown; }
    void ShowStatus(const StatusText& text) override
    {
        status = text.Whole;
        shown = text.Shown;
    }
    std::vector<std::size_t> SelectedSongs() const override { return {selected.begin(), selected.end()}; }
    void SelectAllSongs() override
    {
        for (std::size_t i = 0; i < songs.size(); ++i)
            selected.insert(i);
    }
    std::string ChooseFolder(const std::string&) override { return chosen; }
    void ShowAbout() override {}
    void ShowGameMusic(const std::string&, const Conversion&) override {}
    void CloseWindow() override {}
    void RunBatch(const BatchWork& work) override
    {
        const std::atomic<bool> cancel{false};
        work(*boxes, cancel);
    }

    std::string folder, caption, status, shown, chosen;
    std::vector<std::string> songs;
    std::set<std::size_t> selected;
    int tics = 0;
    MenuStates menus;
    UserInteraction* boxes = nullptr;
};

// Plays nothing aloud, and can be told that the device will not open.
class SilentOutput : public SongOutput {
public:
    bool StartOutput() override { return opens; }
    void StopOutput() override {}

    bool opens = true;
};

class MainWindowControllerTest : public ::testing::Test {
protected:
    void Start(bool hasDevice = true)
    {
        view.boxes = &boxes;
        controller = std::make_unique<MainWindowController>(view, boxes, output, hasDevice);
        controller->Start(dir / "Brivane.ini", dir.Path());
    }
    std::string Settings() const { return test::Exists(dir / "Brivane.ini") ? test::ReadText(dir / "Brivane.ini") : ""; }

    test::TempDir dir;
    ShownView view;
    SilentOutput output;
    test::RecordingInteraction boxes;
    std::unique_ptr<MainWindowController> controller;
};

TEST_F(MainWindowControllerTest, StartUpFollowsTheStoredSettings)
{
    const std::string gone = dir / "gone";
    struct Case {
        const char* Name;
        std::string Stored; // the settings file, or empty for none
        std::string Folder;
        int Tics;
        std::string Caption;
        std::string Status;
        std::string Written; // what start-up leaves in the file
    };
    const Case cases[] = {
        {"no settings file", "", dir.Path(), 280, "Convert to Wolfenstein IMF", "",
         "[General]\r\nOriginalTics=280\r\n"},
        {"a stored folder that is gone", "[General]\r\nFolder=" + gone + "\r\nOriginalTics=350\r\n", dir.Path(), 350,
         "Convert to Wolfenstein IMF", "The folder " + gone + " cannot be opened; showing " + dir.Path() + " instead.",
         "[General]\r\nFolder=" + gone + "\r\nOriginalTics=350\r\n"},
        {"a rate out of range", "[General]\r\nOriginalTics=9999\r\n", dir.Path(), 700, "Convert to Wolfenstein IMF", "",
         "[General]\r\nOriginalTics=700\r\n"},
        {"a stored game and target, lines ended by LF alone", "[General]\nGame=keen\nOriginalTics=560\nTarget=duke2\n",
         dir.Path(), 560, "Convert to Duke Nukem II IMF", "Songs with a length word are taken at 560 ticks per second",
         "[General]\r\nGame=keen\r\nOriginalTics=560\r\nTarget=duke2\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Stored.empty())
            std::filesystem::remove(test::NativePath(dir / "Brivane.ini"));
        else
            test::WriteText(dir / "Brivane.ini", c.Stored);
        view = ShownView{};
        Start();
        EXPECT_EQ(view.folder, c.Folder);
        EXPECT_EQ(view.tics, c.Tics);
        EXPECT_EQ(view.caption, c.Caption);
        EXPECT_EQ(view.status, c.Status);
        EXPECT_EQ(Settings(), c.Written);
        EXPECT_TRUE(boxes.messages.empty()) << test::Describe(boxes.messages);
    }
    EXPECT_EQ(view.menus.Game->Key, "keen") << "the stored game is marked while the bar shows its rate";
    EXPECT_EQ(view.menus.Target->Key, "duke2");
}

TEST_F(MainWindowControllerTest, TheSongListAndTheCurrentSongDecideTheStatus)
{
    for (const char* name : {"b.IMF", "a.imf", "C.Imf", ".hidden.imf", "notes.txt"})
        test::WriteBytes(dir / name, test::MakeHeldNoteSong(560));
    Start();
    EXPECT_EQ(view.songs, (std::vector<std::string>{"a.imf", "b.IMF", "C.Imf"}));
    const struct {
        std::optional<std::size_t> Row;
        std::string Status;
    } steps[] = {
        {1, "b.IMF: headerless, 0:02 at 280 ticks per second"},
        {std::nullopt, ""},
        {7, ""}, // past the list: none
    };
    for (const auto& step : steps) {
        controller->CurrentSongChanged(step.Row);
        EXPECT_EQ(view.status, step.Status);
    }
    controller->CurrentSongChanged(0);
    controller->TicsMoved(560);
    EXPECT_EQ(view.status, "a.imf: headerless, 0:01 at 560 ticks per second");
}

TEST_F(MainWindowControllerTest, PlayStopAndTheMenusFollowThePlayer)
{
    test::WriteBytes(dir / "a.imf", test::MakeHeldNoteSong(560));
    Start();
    EXPECT_TRUE(view.menus.CanPlay);
    EXPECT_FALSE(view.menus.CanStop);
    controller->PlayClicked(); // no song is current yet
    EXPECT_FALSE(output.IsPlaying());

    controller->CurrentSongChanged(0);
    controller->PlayClicked();
    EXPECT_TRUE(view.menus.CanStop);
    EXPECT_EQ(view.status, "Playing a.imf at 280 ticks per second, 0:00 of 0:02");
    controller->TicsMoved(400);
    EXPECT_EQ(output.TickRate(), 400) << "a headerless song follows the bar at once";
    controller->MenuChosen(kPlayStop);
    EXPECT_FALSE(view.menus.CanStop);
    EXPECT_EQ(view.status, "a.imf: headerless, 0:01 at 400 ticks per second");

    output.opens = false;
    controller->PlayClicked();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].Text, "Could not play " + dir / "a.imf" + ": the audio output device cannot be opened");
    EXPECT_FALSE(view.menus.CanStop);
}

TEST_F(MainWindowControllerTest, ACapturePlaysAtItsOwnTimingAndTheStatusSaysSo)
{
    test::WriteBytes(dir / "a.dro", test::Dro(0, {0, 1, 0x70, 10, 1, 0x20}));
    Start();
    controller->CurrentSongChanged(0);
    controller->PlayClicked();
    EXPECT_EQ(view.status, "Playing a.dro, a capture, at its own timing, 0:00 of 0:00");
}

TEST_F(MainWindowControllerTest, WithoutADevicePlayIsOff)
{
    test::WriteBytes(dir / "a.imf", test::MakeHeldNoteSong(560));
    Start(false);
    controller->CurrentSongChanged(0);
    controller->PlayClicked();
    EXPECT_FALSE(view.menus.CanPlay);
    EXPECT_FALSE(output.IsPlaying());
}

TEST_F(MainWindowControllerTest, AFileOfAnotherKindIsNamedAndNeverPlayedOrConverted)
{
    const Bytes wav{'R', 'I', 'F', 'F', 0x24, 0, 0, 0, 'W', 'A', 'V', 'E', 0, 0, 0, 0};
    test::WriteBytes(dir / "theme.imf", wav);
    Start();
    controller->CurrentSongChanged(0);
    EXPECT_EQ(view.status, "theme.imf: not an IMF song (a WAV file)");
    controller->PlayClicked();
    view.SelectAllSongs();
    controller->ConvertClicked();
    EXPECT_FALSE(output.IsPlaying());
    const std::string refusal = "theme.imf is not an IMF song (it is a WAV file); nothing was changed.";
    EXPECT_EQ(test::Describe(boxes.messages), "Not an IMF song [16] " + refusal + "\nNot an IMF song [16] " + refusal +
                                                  "\nComplete [64] Conversion complete!\n");
    EXPECT_EQ(test::ReadBytes(dir / "theme.imf"), wav);
}

TEST_F(MainWindowControllerTest, ConvertTakesTheSelectionInListOrderWithTheBackupOptionShown)
{
    const Bytes song = test::MakeHeaderlessSong(400, 4);
    for (const char* name : {"a.imf", "b.imf", "c.imf"})
        test::WriteBytes(dir / name, song);
    Start();
    controller->MenuChosen(kOptionsMakeBackups);
    EXPECT_FALSE(view.menus.MakeBackups);
    EXPECT_NE(Settings().find("MakeBackups=0"), std::string::npos);
    std::filesystem::remove(test::NativePath(dir / "b.imf"));
    view.selected = {2, 1, 0};
    controller->ConvertClicked();
    EXPECT_EQ(test::Describe(boxes.messages), "File not found [16] Could not find " + dir / "b.imf" + "!\n"
                                              "Complete [64] Conversion complete!\n");
    EXPECT_EQ(controller->TicScale(), 2.5f);
    for (const char* name : {"a.imf", "c.imf"})
        EXPECT_EQ(test::ReadBytes(dir / name), test::ReferenceConversion(song, 280)) << name;
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"Brivane.ini", "a.imf", "c.imf"})) << "no backups";
}

TEST_F(MainWindowControllerTest, ACaptureGivesASongBesideItThatTheListShowsAndNeverReplacesOneUnasked)
{
    const Bytes capture = test::Dro(0, {0, 0x21, 0x70, 9});
    test::WriteBytes(dir / "tune.dro", capture);
    Start();
    ASSERT_EQ(view.songs, std::vector<std::string>{"tune.dro"});
    controller->CurrentSongChanged(0);
    EXPECT_EQ(view.status, "tune.dro: DOSBox DRO 2.0 capture, OPL2, 1 write, 0.01 seconds");
    EXPECT_EQ(view.shown, "tune.dro: capture, 0:00") << "the bar's short form";
    for (int time = 0; time < 2; ++time) {
        view.selected = {0};
        controller->ConvertClicked();
        EXPECT_EQ(view.songs, (std::vector<std::string>{"tune.dro", "tune.imf"}));
    }
    EXPECT_EQ(boxes.messages[1].Title, "Replace song?") << test::Describe(boxes.messages);
    EXPECT_EQ(test::ReadBytes(dir / "tune.dro"), capture);
    EXPECT_EQ(test::ReadBytes(dir / "tune.imf"), (Bytes{8, 0, 0, 0, 0, 0, 0x20, 0x21, 7, 0}));
}

} // namespace
} // namespace brivane
