// What a user meets when a song is converted again, is not what its bytes seem, or is named
// oddly: through the real command-line tool, on real files.
#include "support/Process.h"
#include "support/Songs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#endif

namespace brivane {
namespace {

using test::Bytes;
using test::ProcessResult;

using test::RunCli;

// A song with a length word and a tag after its records, as Wolfenstein 3-D's are.
Bytes LengthWordSong(std::size_t records, std::uint32_t seed)
{
    const Bytes stream = test::MakeHeaderlessSong(records * 4, seed);
    Bytes song{static_cast<std::uint8_t>(stream.size() & 0xFF), static_cast<std::uint8_t>(stream.size() >> 8)};
    song.insert(song.end(), stream.begin(), stream.end());
    for (const char c : std::string("\x1A" "Theme\0Bobby\0\0", 13))
        song.push_back(static_cast<std::uint8_t>(c));
    return song;
}

struct Answer {
    const char* Name;
    std::vector<std::string> Options;
    std::function<void()> InChild;
};

std::vector<Answer> Answers()
{
    std::vector<Answer> answers{{"--no", {"--no"}, {}}, {"--yes", {"--yes"}, {}}};
#ifndef _WIN32
    answers.push_back({"y on a terminal", {}, [] { test::InputFromTerminal("y\n"); }});
    answers.push_back({"n on a terminal", {}, [] { test::InputFromTerminal("n\n"); }});
#endif
    return answers;
}

TEST(NothingLostTest, WithBackupsTheOriginalIsInTheSongOrItsBackupAfterAnyNumberOfRuns)
{
    const Bytes headerless = test::MakeHeaderlessSong(4000, 3);
    const Bytes lengthWord = LengthWordSong(1000, 4);
    struct Pair {
        const char* Name;
        Bytes Original;
        std::vector<std::vector<std::string>> Runs; // the options of each run, in turn
    };
    const std::vector<std::string> toCosmo{"--game", "duke2", "--to", "cosmo"};
    const std::vector<std::string> keenTo280{"--game", "keen", "--to", "length:280"};
    const std::vector<Pair> pairs{
        {"headerless into headerless", headerless, {toCosmo, toCosmo, toCosmo}},
        {"headerless into a length word", headerless, {{"--to", "keen"}, {"--to", "keen"}, {"--to", "keen"}}},
        {"a length word into headerless", lengthWord, {{"--to", "duke2"}, {"--to", "duke2"}, {"--to", "duke2"}}},
        {"a length word into a length word", lengthWord, {keenTo280, keenTo280, keenTo280}},
        {"there and back, and there again", lengthWord, {{"--to", "duke2"}, {"--to", "wolf3d"}, {"--to", "duke2"}}},
    };
    for (const Pair& pair : pairs) {
        for (const Answer& answer : Answers()) {
            SCOPED_TRACE(std::string(pair.Name) + ", " + answer.Name);
            test::TempDir dir;
            const std::string song = dir / "a.imf";
            test::WriteBytes(song, pair.Original);
            for (std::size_t run = 0; run < pair.Runs.size(); ++run) {
                std::vector<std::string> arguments{"convert"};
                arguments.insert(arguments.end(), pair.Runs[run].begin(), pair.Runs[run].end());
                arguments.insert(arguments.end(), answer.Options.begin(), answer.Options.end());
                arguments.push_back(song);
                const ProcessResult result = RunCli(arguments, answer.InChild);
                EXPECT_EQ(result.ExitCode, 0) << result.Err;
                const bool kept = test::ReadBytes(song) == pair.Original || test::ReadBytes(song + ".bak") == pair.Original;
                EXPECT_TRUE(kept) << "run " << run + 1 << ":\n" << result.Out;
                if (run > 0 && pair.Runs[run] == pair.Runs[run - 1]) {
                    EXPECT_NE(result.Out.find("Reconvert?: a.imf"), std::string::npos) << result.Out;
                }
            }
        }
    }
}

TEST(NothingLostTest, SongsThatAreNotWhatTheirBytesSeemAreNamedAndLeftAlone)
{
    const Bytes misleading{0xB0, 0x31, 0x18, 0x01}; // a headerless record without the leading 00 00
    const std::string question = "Headerless song?: a.imf: its length word counts 12718 bytes more than the file holds: "
                                 "perhaps a headerless song without its leading 00 00 record.\nConvert a.imf as a "
                                 "headerless song?";
    const std::string hint = "Give --from headerless to convert such a song as a headerless one, or --from length to "
                             "keep its length word.\n";
    struct Case {
        const char* Name;
        Bytes Song;
        std::vector<std::string> Options;
        int ExitCode;
        std::string Out; // before "Complete: ..."
        std::string Err;
        Bytes After;
    };
    const std::vector<Case> cases{
        {"two zero bytes", {0, 0}, {}, 0, "No whole record: a.imf holds no whole record; nothing to convert.\n", "",
         {0, 0}},
        {"one byte", {0xB0}, {}, 0, "No whole record: a.imf holds no whole record; nothing to convert.\n", "", {0xB0}},
        {"a length word past the end", misleading, {}, 1, question + " no\n", hint, misleading},
        {"answered Yes", misleading, {"--yes"}, 0, question + " yes\n", "", {4, 0, 0xB0, 0x31, 0xBC, 0x02}},
        {"--from headerless", misleading, {"--from", "headerless"}, 0, "", "", {4, 0, 0xB0, 0x31, 0xBC, 0x02}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        test::TempDir dir;
        test::WriteBytes(dir / "a.imf", c.Song);
        std::vector<std::string> arguments{"convert"};
        arguments.insert(arguments.end(), c.Options.begin(), c.Options.end());
        arguments.push_back(dir / "a.imf");
        const ProcessResult result = RunCli(arguments);
        EXPECT_EQ(result.ExitCode, c.ExitCode);
        EXPECT_EQ(result.Out.substr(0, result.Out.find("Complete: ")), c.Out);
        EXPECT_EQ(result.Err, c.Err);
        EXPECT_EQ(test::ReadBytes(dir / "a.imf"), c.After);
    }
}

TEST(NothingLostTest, ASongGivenWithItsOwnBackupGivesTheSameOutcomeWhateverTheJobs)
{
    test::TempDir dir;
    const Bytes song = test::MakeHeaderlessSong(400, 5);
    for (const char* jobs : {"1", "4"}) {
        SCOPED_TRACE(jobs);
        test::WriteBytes(dir / "a.imf", song);
        const ProcessResult result = RunCli({"convert", "--jobs", jobs, dir / "a.imf", dir / "a.imf.bak"});
        EXPECT_EQ(result.ExitCode, 0) << result.Err;
        EXPECT_EQ(result.Out, "Backup left alone: a.imf.bak is the backup of a.imf; left alone.\n"
                              "Complete: Conversion complete!\n1 converted, 1 left alone as a backup\n");
        EXPECT_EQ(test::ReadBytes(dir / "a.imf.bak"), song);
        EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.imf", "a.imf.bak"}));
    }
}

TEST(NothingLostTest, TheClassicConversionSaysWhatItDoesToTheLengthAndExactKeepsIt)
{
    test::TempDir dir;
    Bytes song{0, 0, 0, 0};
    for (int i = 0; i < 500; ++i)
        song.insert(song.end(), {0x20, 1, 1, 0}); // one tick each at 280: 2.5 at 700, rounded to 2
    test::WriteBytes(dir / "classic.imf", song);
    test::WriteBytes(dir / "exact.imf", song);

    const ProcessResult info = RunCli({"info", dir / "classic.imf"});
    EXPECT_NE(info.Out.find("1.79 seconds at 280 ticks per second; at 280, the classic conversion shortens this song "
                            "by 0.36 s\n"), std::string::npos) << info.Out;
    EXPECT_EQ(RunCli({"info", "--tics", "700", dir / "classic.imf"}).Out.find("the classic"), std::string::npos);
    ASSERT_EQ(RunCli({"convert", dir / "classic.imf"}).ExitCode, 0);
    ASSERT_EQ(RunCli({"convert", "--exact", dir / "exact.imf"}).ExitCode, 0);
    EXPECT_NE(RunCli({"info", dir / "classic.imf"}).Out.find("1.43 seconds at 700"), std::string::npos);
    EXPECT_NE(RunCli({"info", dir / "exact.imf"}).Out.find("1.79 seconds at 700"), std::string::npos);

    // A two-minute rest at 280 is 84,000 ticks at 700, more than one record holds: the classic
    // conversion keeps what one holds and says so; an exact one carries the rest on.
    const Bytes rest{0, 0, 0, 0, 0x20, 1, 0x40, 0x83, 0x20, 2, 0, 0};
    test::WriteBytes(dir / "rest.imf", rest);
    test::WriteBytes(dir / "rest-exact.imf", rest);
    EXPECT_NE(RunCli({"info", dir / "rest.imf"}).Out.find("120.00 seconds at 280 ticks per second; at 280, the classic "
                                                          "conversion shortens this song by 26.38 s (26.38 s of it in "
                                                          "rests longer than one record holds)"),
              std::string::npos);
    ASSERT_EQ(RunCli({"convert", "--exact", dir / "rest-exact.imf"}).ExitCode, 0);
    EXPECT_NE(RunCli({"info", dir / "rest-exact.imf"}).Out.find("4 records, 0 trailing bytes, 120.00 seconds at 700"),
              std::string::npos);

    // A song longer than a length word counts is left alone by that conversion: nothing to tell.
    test::WriteBytes(dir / "long.imf", test::MakeHeaderlessSong(70000, 1));
    EXPECT_EQ(RunCli({"info", dir / "long.imf"}).Out.find("the classic"), std::string::npos);
}

// Converted for one game and then for a game whose layout its backup has: the revert puts the
// original back exactly, and says so, with no warning that the length word would give.
TEST(NothingLostTest, ARevertToABackupAlreadyInTheTargetsLayoutSaysItRestoredIt)
{
    test::TempDir dir;
    const Bytes original = test::MakeHeaderlessSong(528, 5);
    test::WriteBytes(dir / "s.imf", original);
    ASSERT_EQ(RunCli({"convert", dir / "s.imf"}).ExitCode, 0);
    const ProcessResult revert = RunCli({"convert", "--yes", "--to", "duke2", dir / "s.imf"});
    EXPECT_EQ(revert.ExitCode, 0);
    EXPECT_EQ(revert.Out, "Reconvert?: s.imf may have been converted before: its backup s.imf.bak holds another song.\n"
                          "Do you wish to revert to your backup copy and reconvert it? yes\n"
                          "Restored: Restored s.imf from its backup s.imf.bak, which is already compatible with "
                          "Duke Nukem II.\nComplete: Conversion complete!\n1 restored\n");
    EXPECT_EQ(test::ReadBytes(dir / "s.imf"), original);
}

TEST(NothingLostTest, FilesOfOtherKindsAreNamedAndNeverConvertedRenderedOrPlayed)
{
    const auto with = [](std::string mark) {
        Bytes file(mark.begin(), mark.end());
        file.resize(64, 0x40);
        return file;
    };
    const struct {
        Bytes File;
        const char* Kind;
    } cases[] = {
        // Captures and MIDI files are read, and their songs written beside them (CaptureSongTest, MidiTest).
        {with(std::string("RIFF\x24\0\0\0WAVE", 12)), "a WAV file"},
        {with("CTMF"), "a Creative CMF file"}, {with("OggS"), "an Ogg file"}, {with("fLaC"), "a FLAC file"},
        {with("ID3"), "an MP3 file"}, {with("\xFF\xFB"), "an MP3 file"}, {with("PK\x03\x04"), "a ZIP archive"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Kind);
        test::TempDir dir;
        const std::string file = dir / "song.imf";
        test::WriteBytes(file, c.File);
        const std::string refusal = std::string("song.imf is not an IMF song (it is ") + c.Kind + "); nothing was changed.";
        const ProcessResult converted = RunCli({"convert", "--from", "headerless", file, dir / "missing.imf"});
        EXPECT_EQ(converted.ExitCode, 1);
        EXPECT_EQ(converted.Err.substr(0, converted.Err.find('\n')), "Not an IMF song: " + refusal);
        EXPECT_EQ(converted.Out, "Complete: Conversion complete!\n1 not an IMF song, 1 not found\n") << "the batch goes on";
        const ProcessResult rendered = RunCli({"render", file, "-o", dir / "out.wav"});
        EXPECT_EQ(rendered.ExitCode, 1);
        EXPECT_EQ(rendered.Err, "Not an IMF song: " + refusal + "\n");
        EXPECT_EQ(RunCli({"info", file}).Out, file + ": " + c.Kind + ", not an IMF song\n");
        EXPECT_EQ(test::ReadBytes(file), c.File);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"song.imf"});
    }
}

#ifndef _WIN32 // terminals, FIFOs, devices and names that are not UTF-8
TEST(NothingLostTest, TerminalAnswersAreReadWithoutRegardToCaseOrSpaces)
{
    const Bytes original{0, 0, 0, 0, 0x20, 1, 3, 0};
    const struct {
        const char* Typed;
        bool Yes;
    } cases[] = {{"YES\n", true}, {" y\n", true}, {"y \n", true}, {"Yes\n", true}, {"no\n", false},
                 {"\n", false},   {"yess\n", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed);
        test::TempDir dir;
        test::WriteBytes(dir / "a.imf", original);
        ASSERT_EQ(RunCli({"convert", dir / "a.imf"}).ExitCode, 0);
        const Bytes once = test::ReadBytes(dir / "a.imf");
        const ProcessResult again = RunCli({"convert", "--tics", "700", dir / "a.imf"},
                                        [&] { test::InputFromTerminal(c.Typed); });
        EXPECT_NE(again.Out.find("[y/N]"), std::string::npos);
        EXPECT_EQ(test::ReadBytes(dir / "a.imf") != once, c.Yes);
    }
}

TEST(NothingLostTest, NamesWithControlCharactersOrBytesThatAreNotTextArePrintedEscaped)
{
    test::TempDir dir;
    const ProcessResult result = RunCli({"convert", dir / "new\nline.imf", dir / "caf\xE9\x1B[2J.imf"});
    EXPECT_EQ(result.Err, "File not found: Could not find " + dir / "new\\nline.imf" + "!\n"
                          "File not found: Could not find " + dir / "caf\\351\\033[2J.imf" + "!\n");
}

TEST(NothingLostTest, RenderWritesIntoStreamsAndReplacesOnlyRegularFiles)
{
    test::TempDir dir;
    test::WriteBytes(dir / "song.imf", test::MakeHeldNoteSong(140));
    ::mkfifo((dir / "fifo").c_str(), 0666);
    ::mkdir((dir / "folder").c_str(), 0777);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir / "socket";
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    Bytes heard;
    std::thread reader([&] { heard = test::ReadBytes(dir / "fifo"); });
    const ProcessResult piped = RunCli({"render", dir / "song.imf", "-o", dir / "fifo"});
    reader.join();
    EXPECT_EQ(piped.ExitCode, 0) << piped.Err;
    ASSERT_EQ(RunCli({"render", dir / "song.imf", "-o", dir / "song.wav"}).ExitCode, 0);
    EXPECT_EQ(heard, test::ReadBytes(dir / "song.wav")) << "the FIFO's reader gets the WAV";

    const struct {
        std::vector<std::string> Arguments;
        int ExitCode;
        std::string Err;
    } cases[] = {
        {{"--force", "-o", dir / "folder"}, 2, "the output " + dir / "folder" + " is a directory"},
        {{"--force", "-o", socketPath}, 2, "the output " + socketPath + " is a socket"},
        {{"-o", "/dev/null"}, 0, ""},
        {{"--force", "-o", "/dev/null"}, 0, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"render", dir / "song.imf"};
        arguments.insert(arguments.end(), c.Arguments.begin(), c.Arguments.end());
        const ProcessResult result = RunCli(arguments);
        EXPECT_EQ(result.ExitCode, c.ExitCode) << c.Arguments.back();
        EXPECT_EQ(result.Err.substr(0, result.Err.find(';')), c.Err.empty() ? "" : "brivane-cli: " + c.Err);
    }
    struct stat kind {};
    EXPECT_TRUE(::stat((dir / "fifo").c_str(), &kind) == 0 && S_ISFIFO(kind.st_mode));
    EXPECT_TRUE(::stat("/dev/null", &kind) == 0 && S_ISCHR(kind.st_mode));
    ::close(socket);

    const ProcessResult toTerminal = RunCli({"render", dir / "song.imf", "-o", "-"}, [] { test::OutputToTerminal(); });
    EXPECT_EQ(toTerminal.ExitCode, 2);
    EXPECT_EQ(toTerminal.Err, "brivane-cli: standard output is a terminal; give -o FILE or a pipe (see brivane-cli --help)\n");
}
#endif

} // namespace
} // namespace brivane
