// Commander Keen 4-6's compressed AUDIO.CKn, built here with their dictionaries and offsets
// beside them, in an executable as it stands, and in one packed as LZEXE packs them.
#include "games/GameFile.h"
#include "support/KeenFiles.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace brivane {
namespace {

using test::Bytes;
using test::Song;

enum class Coding { Beside, Plain, Packed, Patched };

// An episode's files in `dir`: AUDIO.CKn, and its dictionary and offsets where `coding` puts them.
test::KeenAudioFiles WriteEpisode(const test::TempDir& dir, const std::string& extension, std::size_t sounds,
                                  std::size_t songs, Coding coding, const std::string& executable)
{
    const test::KeenAudioFiles files = test::KeenAudio(sounds, songs);
    test::WriteBytes(dir / ("AUDIO." + extension), files.Audio);
    if (coding == Coding::Beside) {
        test::WriteBytes(dir / ("AUDIODCT." + extension), files.Dictionary);
        test::WriteBytes(dir / ("AUDIOHED." + extension), files.Offsets);
    } else if (coding == Coding::Patched) {
        // Other names, which the mod's patch file loads; a patch file for another episode beside it.
        test::WriteText(dir / "MOD.PAT", "%ext " + extension + "\n%audiohed modhed." + extension + " # offsets\n" +
                                             "%audiodct MODDCT." + extension + "\n%end\n");
        test::WriteText(dir / "KEEN4.PAT", "%ext ck4\n%audiohed K4HED.CK4\n");
        test::WriteBytes(dir / ("MODDCT." + extension), files.Dictionary);
        test::WriteBytes(dir / ("MODHED." + extension), files.Offsets);
    } else {
        const Bytes image = test::ExecutableImage(files);
        test::WriteBytes(dir / executable, coding == Coding::Plain ? test::PlainExecutable(image) : test::PackedExecutable(image));
    }
    return files;
}

TEST(KeenAudioTest, EachEpisodesSongsAreReadWhereverItsDictionaryAndOffsetsAre)
{
    const struct {
        const char* Extension;
        std::size_t Sounds, Songs;
        Coding Where;
        const char* Executable;
        const char* Game;
        const char* SecondName;
        const char* Files;
    } cases[] = {
        {"CK4", 52, 6, Coding::Beside, "", "Commander Keen 4", "VEGGIES", "AUDIO.CK4, coded by AUDIODCT.CK4 and AUDIOHED.CK4"},
        {"CK5", 64, 14, Coding::Plain, "KEEN5E.EXE", "Commander Keen 5", "HAVING_T",
         "AUDIO.CK5, coded by the dictionary and offsets in KEEN5E.EXE"},
        {"CK6", 60, 9, Coding::Packed, "KEEN6.EXE", "Commander Keen 6", "BRERTAR",
         "AUDIO.CK6, coded by the dictionary and offsets in KEEN6.EXE (packed with LZEXE)"},
        {"CK4", 52, 6, Coding::Packed, "keen4e.exe", "Commander Keen 4", "VEGGIES", "in keen4e.exe (packed with LZEXE)"},
        {"CK4", 40, 3, Coding::Beside, "", "Commander Keen 4", "song 2", "AUDIOHED.CK4"}, // a mod's count: told by contents
        {"CK5", 64, 14, Coding::Patched, "", "Commander Keen 5", "HAVING_T", "AUDIO.CK5, coded by MODDCT.CK5 and MODHED.CK5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Extension) + " " + c.Executable);
        test::TempDir dir;
        WriteEpisode(dir, c.Extension, c.Sounds, c.Songs, c.Where, c.Executable);
        const GameFile game = ReadGameFile(dir / (std::string("AUDIO.") + c.Extension));
        EXPECT_EQ(game.Game, c.Game);
        EXPECT_NE(game.Files.find(c.Files), std::string::npos) << game.Files;
        ASSERT_EQ(game.Songs.size(), c.Songs);
        EXPECT_EQ(game.Songs[1].Name, c.SecondName);
        for (std::size_t i = 0; i < c.Songs; ++i)
            EXPECT_EQ(game.Songs[i].Bytes, Song(static_cast<std::uint8_t>(i + 1)));
        EXPECT_EQ(game.Songs[0].Tics, 560);
        EXPECT_EQ(game.Songs[0].Place, 3 * c.Sounds);
    }
}

TEST(KeenAudioTest, ADamagedDictionaryOrOffsetsAreRefusedWithTheReason)
{
    const test::KeenAudioFiles files = test::KeenAudio(52, 6);
    const auto node = [](Bytes dictionary, std::size_t at, std::size_t value) {
        dictionary[at] = static_cast<std::uint8_t>(value), dictionary[at + 1] = static_cast<std::uint8_t>(value >> 8);
        return dictionary;
    };
    Bytes backwards = files.Offsets, shortChunk = files.Audio, longChunk = files.Audio;
    backwards[4 * 10 + 2] = 0xFF;
    const std::size_t song = files.Offsets[4 * 156] | files.Offsets[4 * 156 + 1] << 8;
    const std::size_t bits = 8 * ((files.Offsets[4 * 157] | files.Offsets[4 * 157 + 1] << 8) - song - 4);
    shortChunk[song] = static_cast<std::uint8_t>(bits);
    longChunk[song] = static_cast<std::uint8_t>(bits + 1);
    Bytes image = test::ExecutableImage(files);
    image.erase(image.begin() + 2100, image.begin() + 2100 + 2048); // both dictionaries
    Bytes packed = test::PackedExecutable(test::ExecutableImage(files));
    packed.resize(200);
    const struct {
        const char* Name;
        Bytes Dictionary, Offsets, Audio, Executable;
        std::string Reason;
    } cases[] = {
        {"a loop", node(files.Dictionary, 0, 256 + 254), files.Offsets, files.Audio, {},
         "its dictionary AUDIODCT.CK4 is damaged: node 0 leads back to node 254, a loop"},
        {"out of range", node(files.Dictionary, 2, 256 + 300), files.Offsets, files.Audio, {},
         "its dictionary AUDIODCT.CK4 is damaged: node 0 leads to node 300, past the 255 it has"},
        {"short", Bytes(1000, 0), files.Offsets, files.Audio, {},
         "its dictionary AUDIODCT.CK4 is damaged: it holds 1000 bytes, fewer than the 1,020 of a dictionary"},
        {"backwards", files.Dictionary, backwards, files.Audio, {}, "its offsets go backwards at chunk 10"},
        {"past the end", files.Dictionary, files.Offsets, Bytes(files.Audio.begin(), files.Audio.end() - 1), {},
         "its offsets reach byte " + std::to_string(files.Audio.size()) + " of an AUDIO.CK4 of " +
             std::to_string(files.Audio.size() - 1)},
        {"bits run out", files.Dictionary, files.Offsets, shortChunk, {},
         "its chunk 156's bits run out before its " + std::to_string(bits) + " bytes are expanded"},
        {"too long", files.Dictionary, files.Offsets, longChunk, {},
         "its chunk 156 gives a length of " + std::to_string(bits + 1) + " bytes, more than its " + std::to_string(bits) +
             " bits can hold"},
        {"nothing beside", {}, files.Offsets, files.Audio, {},
         "neither AUDIODCT.CK4 nor the game's KEEN4E.EXE is beside it, so its dictionary cannot be found"},
        {"no dictionary in it", {}, {}, files.Audio, test::PlainExecutable(image),
         "KEEN4E.EXE holds no dictionary that expands AUDIO.CK4"},
        {"no offsets in it", {}, {}, Bytes(files.Audio.begin(), files.Audio.end() - 1), test::PlainExecutable(image),
         "KEEN4E.EXE holds no offsets that end at the " + std::to_string(files.Audio.size() - 1) + " bytes of AUDIO.CK4"},
        {"packing cut off", {}, {}, files.Audio, packed, "KEEN4E.EXE: its LZEXE header lies past its end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        test::TempDir dir;
        test::WriteBytes(dir / "AUDIO.CK4", c.Audio);
        for (const auto& [name, bytes] : {std::pair("AUDIODCT.CK4", &c.Dictionary), std::pair("AUDIOHED.CK4", &c.Offsets),
                                          std::pair("KEEN4E.EXE", &c.Executable)})
            if (!bytes->empty())
                test::WriteBytes(dir / name, *bytes);
        try {
            ReadGameFile(dir / "AUDIO.CK4");
            ADD_FAILURE() << "read";
        } catch (const GameFileError& error) {
            EXPECT_EQ(error.what(), c.Reason);
        }
    }
}

// Extract and put back gives the same AUDIO.CKn; a Duke Nukem II song grows its chunk and
// moves the offsets wherever the game reads them; restore puts every file back.
TEST(KeenAudioTest, ReplaceCodesWithTheGamesDictionaryAndRestorePutsEveryFileBack)
{
    const struct {
        const char* Extension;
        Coding Where;
        const char* Executable;
        const char* OffsetsIn; // where the game reads the new offsets
        std::size_t Sounds, Songs;
        const char* Second;
        const char* Says;
    } cases[] = {
        {"CK4", Coding::Beside, "", "AUDIOHED.CK4", 52, 6, "VEGGIES.imf",
         "Put INTRO.IMF into AUDIO.CK4 and AUDIOHED.CK4 as song 1 (SHADOWS)"},
        {"CK5", Coding::Plain, "KEEN5E.EXE", "KEEN5E.EXE", 64, 14, "HAVING_T.imf",
         "Put INTRO.IMF into AUDIO.CK5 and KEEN5E.EXE as song 1 (CAMEIN)"},
        {"CK6", Coding::Packed, "KEEN6.EXE", "AUDIOHED.CK6", 60, 9, "BRERTAR.imf",
         "patch file it is started with has this line:\n%audiohed AUDIOHED.CK6\n"},
    };
    const Bytes intro{0, 0, 0, 0, 0x20, 1, 1, 0, 0x20, 2, 3, 0, 0xB0, 0x20, 5, 0}; // at 280
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Extension);
        test::TempDir dir;
        const std::string audio = dir / (std::string("AUDIO.") + c.Extension);
        const std::size_t sounds = c.Sounds;
        const test::KeenAudioFiles files = WriteEpisode(dir, c.Extension, sounds, c.Songs, c.Where, c.Executable);
        const std::string offsetsPath = dir / c.OffsetsIn;
        const Bytes executable = c.Where == Coding::Beside ? Bytes{} : test::ReadBytes(dir / c.Executable);
        test::WriteBytes(dir / "NUKEM2.CMP", test::Group({{"INTRO.IMF", intro}}, 200));
        for (const test::ProcessResult& step :
             {test::RunCli({"extract", "-o", dir.Path(), audio, "2"}), test::RunCli({"replace", audio, "2", dir / c.Second}),
              test::RunCli({"extract", "-o", dir.Path(), dir / "NUKEM2.CMP"})})
            ASSERT_EQ(step.ExitCode, 0) << step.Err;
        EXPECT_EQ(test::ReadBytes(audio), files.Audio) << "extracted and put back, a song gives the same bytes";

        // The files the game's audio is read with are the game's too, never a song for it.
        const std::string own = c.Where == Coding::Beside ? std::string("AUDIODCT.") + c.Extension : c.Executable;
        const test::ProcessResult itself = test::RunCli({"replace", audio, "1", dir / own});
        EXPECT_NE(itself.Err.find(own + ", a file of the game itself; nothing was changed"), std::string::npos) << itself.Err;
        EXPECT_EQ(test::ReadBytes(audio), files.Audio);

        const test::ProcessResult grown = test::RunCli({"replace", audio, "1", dir / "INTRO.IMF"});
        EXPECT_EQ(grown.ExitCode, 0) << grown.Err;
        EXPECT_NE(grown.Out.find(c.Says), std::string::npos) << grown.Out;
        // As the engine reads it: the offsets where it looks, the chunk expanded by the tree.
        const Bytes now = test::ReadBytes(audio), offsets = test::ReadBytes(offsetsPath);
        const std::size_t at = c.Where == Coding::Plain ? std::search(offsets.begin(), offsets.end(), files.Offsets.begin(),
                                                                      files.Offsets.begin() + 4 * sounds * 3) - offsets.begin()
                                                        : 0;
        const auto offset = [&](std::size_t chunk) {
            return std::size_t{offsets[at + 4 * chunk]} | offsets[at + 4 * chunk + 1] << 8 | offsets[at + 4 * chunk + 2] << 16;
        };
        const Bytes played = test::EngineExpand(files.Dictionary, Bytes(now.begin() + offset(3 * sounds), now.end()));
        ASSERT_EQ(played.size(), 18u);
        for (std::size_t record = 0; record < 4; ++record)
            EXPECT_EQ(played[2 + 4 * record + 2], 2 * intro[4 * record + 2]) << "each delay at 560, twice its 280";
        EXPECT_EQ(test::EngineExpand(files.Dictionary, Bytes(now.begin() + offset(3 * sounds + 2), now.end())), Song(3));
        EXPECT_EQ(offset(3 * sounds + c.Songs), now.size());
        if (c.Where != Coding::Beside) {
            EXPECT_EQ(test::ReadBytes(dir / c.Executable) == executable, c.Where == Coding::Packed) << "never a packed one";
        }

        ASSERT_EQ(test::RunCli({"restore", audio}).ExitCode, 0);
        EXPECT_EQ(test::ReadBytes(audio), files.Audio);
        if (c.Where != Coding::Beside) {
            EXPECT_EQ(test::ReadBytes(dir / c.Executable), executable);
        }
        if (c.Where != Coding::Plain) {
            EXPECT_EQ(test::ReadBytes(dir / c.OffsetsIn), files.Offsets) << "the offsets the game read before";
        }
    }
}

} // namespace
} // namespace brivane
