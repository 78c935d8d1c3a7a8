// The Game Music dialog without a toolkit: the controller over a view that keeps what it is
// shown and picks what the test says, on game files built here.
#include "support/GameFiles.h"
#include "support/KeenFiles.h"
#include "support/RecordingInteraction.h"
#include "ui/shared/GameMusicController.h"

#include <gtest/gtest.h>

namespace brivane {
namespace {

using test::Bytes;

class ShownDialog : public GameMusicView {
public:
    void ShowSongs(const std::vector<GameMusicRow>& shown, const std::vector<std::size_t>& kept) override
    {
        rows = shown, selected = kept;
    }
    void ShowStatus(const std::string& shown) override { status = shown; }
    void ShowButtons(const GameMusicButtons& shown) override { buttons = shown; }
    std::vector<std::size_t> SelectedSongs() const override { return selected; }
    std::string ChooseFolder(const std::string&) override { return folder; }
    std::string ChooseSongFile(const std::string&) override { return file; }

    std::vector<GameMusicRow> rows;
    std::vector<std::size_t> selected;
    std::string status, folder, file;
    GameMusicButtons buttons;
};

class SilentOutput : public SongOutput {
    bool StartOutput() override { return true; }
    void StopOutput() override {}
};

TEST(GameMusicControllerTest, ListsPlaysExtractsReplacesAndRestoresWithTheCommandLinesWords)
{
    test::TempDir dir, out;
    const auto [header, data] = test::AudioPair(261, 27);
    test::WriteBytes(dir / "AUDIOHED.WL6", header);
    test::WriteBytes(dir / "AUDIOT.WL6", data);
    const Bytes cmp = test::Group({{"CAVES.IMF", Bytes{0, 0, 0, 0, 0x20, 1, 28, 0}}}, 200);
    test::WriteBytes(dir / "NUKEM2.CMP", cmp);
    test::WriteBytes(dir / "COSMO2.VOL", Bytes(10, 1));
    test::WriteBytes(dir / "song.imf", Bytes{0, 0, 0, 0, 0x20, 2, 1, 0});
    test::WriteBytes(dir / "AUDIOT.WL6.bak", data); // Brivane's backup: no game of its own
    const test::KeenAudioFiles keen = test::KeenAudio(60, 9);
    test::WriteBytes(dir / "AUDIO.CK6", keen.Audio);
    test::WriteBytes(dir / "KEEN6.EXE", test::PackedExecutable(test::ExecutableImage(keen)));

    ShownDialog view;
    SilentOutput output;
    test::RecordingInteraction boxes({UserAnswer::No, UserAnswer::Yes});
    Conversion rates;
    rates.HeaderlessTics = 560; // the main window's bar
    GameMusicController dialog(view, boxes, output, true, dir.Path(), rates);
    dialog.Start();
    ASSERT_EQ(view.rows.size(), 37u);
    EXPECT_EQ(view.status, "37 songs in 3 game files; Not a game file: " + dir / "COSMO2.VOL" +
                               ": it is too short for a group file's table");
    EXPECT_EQ(view.buttons, GameMusicButtons{});

    const struct {
        std::vector<std::size_t> Selected;
        void (GameMusicController::*Click)();
        const char* Status;  // what the status line then says, or empty
        const char* Message; // the last message then shown, or empty
    } steps[] = {
        {{0}, &GameMusicController::PlayClicked, "Playing WONDER at 560 ticks per second", ""},
        {{0}, &GameMusicController::ReplaceClicked, "AUDIO.CK6, song 1 (WONDER): length word at 560",
         "Put song.imf into AUDIO.CK6 as song 1 (WONDER)"},
        {{0}, &GameMusicController::RestoreClicked, "AUDIO.CK6, song 1 (WONDER)", "Restored "},
        {{12}, &GameMusicController::SelectionChanged, "AUDIOT.WL6, song 4 (GETTHEM): length word at 700, 23 bytes, 0.01 seconds", ""},
        {{12}, &GameMusicController::PlayClicked, "Playing GETTHEM at 700 ticks per second, 0:00 of 0:00", ""},
        {{12}, &GameMusicController::StopClicked, "AUDIOT.WL6, song 4 (GETTHEM)", ""},
        {{12, 13}, &GameMusicController::ExtractClicked, "", "Extracted song 5 (HEADACHE) to "},
        {{13}, &GameMusicController::ExtractClicked, "", "HEADACHE.imf exists. Replace it?"},            // No
        {{13}, &GameMusicController::ExtractClicked, "", "Extracted song 5 (HEADACHE) to "},            // Yes
        // The list is read anew, the song still selected.
        {{36}, &GameMusicController::ReplaceClicked, "NUKEM2.CMP, song 1 (CAVES.IMF): headerless at 280, 8 bytes",
         "Put song.imf into NUKEM2.CMP as song 1 (CAVES.IMF): converted from 560 to 280 ticks per second"},
        {{36}, &GameMusicController::RestoreClicked, "NUKEM2.CMP, song 1 (CAVES.IMF)", "from "},
    };
    view.folder = out.Path();
    view.file = dir / "song.imf";
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Status + std::string(" / ") + step.Message);
        view.selected = step.Selected;
        boxes.messages.clear();
        (dialog.*step.Click)();
        EXPECT_EQ(view.status.find(step.Status), 0u) << view.status;
        if (*step.Message) {
            ASSERT_FALSE(boxes.messages.empty());
            EXPECT_NE(boxes.messages.back().Text.find(step.Message), std::string::npos) << boxes.messages.back().Text;
        }
    }
    EXPECT_EQ(out.Names(), (std::vector<std::string>{"GETTHEM.imf", "HEADACHE.imf"}));
    EXPECT_EQ(test::ReadBytes(dir / "NUKEM2.CMP"), cmp) << "restored";
    EXPECT_EQ(test::ReadBytes(dir / "AUDIO.CK6"), keen.Audio) << "restored";
}

} // namespace
} // namespace brivane
