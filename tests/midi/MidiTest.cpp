// Songs from MIDI files built here, played through a bank built here, converted to a song at
// 700 and read back from its registers: each key-on at its note's time and pitch, each key-off
// at its end, never more voices than allowed.
#include "opl/TimedSong.h"
#include "conversion/ConvertCapture.h"
#include "midi/MidiOnOpl2.h"
#include "support/GameFiles.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brivane {
namespace {

using test::Bytes;

Bytes Vlq(std::uint32_t value)
{
    Bytes out{static_cast<std::uint8_t>(value & 0x7F)};
    while (value >>= 7)
        out.insert(out.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    return out;
}

// A track of (delta, bytes) events, ended.
Bytes Track(const std::vector<std::pair<std::uint32_t, Bytes>>& events, bool end = true)
{
    Bytes body;
    for (const auto& [delta, bytes] : events) {
        const Bytes d = Vlq(delta);
        body.insert(body.end(), d.begin(), d.end());
        body.insert(body.end(), bytes.begin(), bytes.end());
    }
    if (end)
        body.insert(body.end(), {0, 0xFF, 0x2F, 0});
    Bytes track{'M', 'T', 'r', 'k'};
    for (int i = 3; i >= 0; --i)
        track.push_back(static_cast<std::uint8_t>(body.size() >> (8 * i)));
    track.insert(track.end(), body.begin(), body.end());
    return track;
}

Bytes Midi(int format, std::uint16_t division, const std::vector<Bytes>& tracks)
{
    Bytes file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, static_cast<std::uint8_t>(format), 0,
               static_cast<std::uint8_t>(tracks.size()), static_cast<std::uint8_t>(division >> 8),
               static_cast<std::uint8_t>(division)};
    for (const Bytes& track : tracks)
        file.insert(file.end(), track.begin(), track.end());
    return file;
}

// A GENMIDI bank: every melodic instrument one voice an octave down (as most of Freedoom's),
// instrument 1 of two voices; every percussion one fixed at note 40.
Bytes BankBytes()
{
    Bytes bank{'#', 'O', 'P', 'L', '_', 'I', 'I', '#'};
    for (int i = 0; i < 175; ++i) {
        const bool drum = i >= 128;
        const std::uint16_t flags = drum ? 1 : i == 1 ? 4 : 0;
        bank.insert(bank.end(), {static_cast<std::uint8_t>(flags), 0, 160, static_cast<std::uint8_t>(drum ? 40 : 0)});
        for (int voice = 0; voice < 2; ++voice)
            bank.insert(bank.end(), {0x21, 0xF0, 0x77, 0, 0x40, 0x10, 0x0A, 0x21, 0xF0, 0x77, 0, 0x00, 0x00, 0, 0xF4, 0xFF});
    }
    for (int i = 0; i < 175; ++i) {
        Bytes name(32, 0);
        const std::string text = "Instrument " + std::to_string(i);
        std::copy(text.begin(), text.end(), name.begin());
        bank.insert(bank.end(), name.begin(), name.end());
    }
    return bank;
}

struct Sounded {
    double On, Off, Hertz;
    int Channel;
};

// The notes a song at 700 plays, read from its records: key-on to key-off on each channel.
std::vector<Sounded> NotesOf(const Bytes& song, int& mostAtOnce)
{
    std::vector<Sounded> notes;
    int registers[256] = {};
    std::uint64_t tick = 0;
    int sounding = 0;
    mostAtOnce = 0;
    std::vector<int> open(9, -1);
    for (std::size_t at = 0; at + 4 <= song.size(); at += 4) {
        const int reg = song[at], value = song[at + 1];
        const bool wasOn = reg >= 0xB0 && reg <= 0xB8 && registers[reg] & 0x20;
        registers[reg] = value;
        if (reg >= 0xB0 && reg <= 0xB8) {
            const int channel = reg - 0xB0;
            if (wasOn && (!(value & 0x20) || open[channel] >= 0)) {
                notes[open[channel]].Off = tick / 700.0;
                open[channel] = -1;
                --sounding;
            }
            if (value & 0x20) {
                const int number = registers[0xA0 + channel] | (value & 3) << 8, block = value >> 2 & 7;
                notes.push_back({tick / 700.0, -1, number * 49716.0 / (1 << (20 - block)), channel});
                open[channel] = static_cast<int>(notes.size() - 1);
                mostAtOnce = std::max(mostAtOnce, ++sounding);
            }
        }
        tick += song[at + 2] | song[at + 3] << 8;
    }
    return notes;
}

double Hz(double note) { return 440 * std::pow(2.0, (note - 69) / 12); }

TEST(MidiTest, EachNoteSoundsAtItsTimeAndPitchOnTheVoicesAllowed)
{
    const GenMidiBank bank = ReadGenMidi(BankBytes());
    EXPECT_EQ(bank.Instruments[174].Name, "Instrument 174");
    const Bytes on60{0x90, 60, 100}, off60{0x80, 60, 0};
    std::vector<std::pair<std::uint32_t, Bytes>> chord;
    for (std::uint8_t n = 0; n < 10; ++n)
        chord.push_back({0, {0x90, static_cast<std::uint8_t>(50 + n), 100}});
    chord.push_back({700, {0xB0, 123, 0}});
    const struct {
        const char* Name;
        Bytes File;
        int Voices;
        std::vector<Sounded> Expected; // on, off, pitch; channel unchecked
        int Most;
    } cases[] = {
        {"format 0, running status, velocity-0 note-offs",
         Midi(0, 480, {Track({{0, on60}, {240, {60, 0}}, {240, {64, 90}}, {480, {64, 0}}})}), 8,
         {{0, 0.25, Hz(60), 0}, {0.5, 1.0, Hz(64), 0}}, 1},
        {"format 1, a tempo change in another track",
         Midi(1, 480, {Track({{480, {0xFF, 0x51, 3, 0x0F, 0x42, 0x40}}}),
                       Track({{0, on60}, {480, off60}, {0, on60}, {480, off60}, {0, on60}, {480, off60}})}),
         8, {{0, 0.5, Hz(60), 0}, {0.5, 1.5, Hz(60), 0}, {1.5, 2.5, Hz(60), 0}}, 1},
        {"SMPTE division: 25 frames of 40 ticks",
         Midi(0, 0xE728, {Track({{0, on60}, {500, off60}})}), 8, {{0, 0.5, Hz(60), 0}}, 1},
        {"sustain holds a note until the pedal's release",
         Midi(0, 480, {Track({{0, {0xB0, 64, 127}}, {0, on60}, {240, off60}, {720, {0xB0, 64, 0}}})}), 8,
         {{0, 1.0, Hz(60), 0}}, 1},
        {"pitch bend over a range of 12 set by RPN 0",
         Midi(0, 480, {Track({{0, {0xB0, 101, 0}}, {0, {0xB0, 100, 0}}, {0, {0xB0, 6, 12}}, {0, {0xE0, 0x7F, 0x7F}},
                               {0, on60}, {480, off60}})}),
         8, {{0, 0.5, Hz(72 - 12.0 / 8192), 0}}, 1},
        {"drums at their fixed note; a two-voice instrument on two",
         Midi(0, 480, {Track({{0, {0x99, 36, 100}}, {0, {0xC0, 1}}, {0, on60}, {480, {0x89, 36, 0}}, {0, off60}})}),
         8, {{0, 0.5, Hz(52), 0}, {0, 0.5, Hz(60), 0}, {0, 0.5, Hz(60 + (160 / 2 - 64) / 32.0), 0}}, 3},
        {"ten notes on eight voices, then nine", Midi(0, 480, {Track(chord)}), 8, {}, 8},
        {"ten notes on nine voices", Midi(0, 480, {Track(chord)}), 9, {}, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TimedSong played = PlayMidiOnOpl2(ReadMidi(c.File), bank, c.Voices);
        const std::optional<Bytes> song = CaptureSongBytes(played, {ImfHeaderless, 700, ""});
        ASSERT_TRUE(song);
        int most = 0;
        const std::vector<Sounded> notes = NotesOf(*song, most);
        EXPECT_EQ(most, c.Most);
        for (const Sounded& note : notes)
            EXPECT_TRUE(c.Voices == 9 || note.Channel != 0) << "the first channel is the games' sound effects'";
        if (c.Expected.empty())
            continue;
        ASSERT_EQ(notes.size(), c.Expected.size());
        for (std::size_t i = 0; i < notes.size(); ++i) {
            EXPECT_NEAR(notes[i].On, c.Expected[i].On, 1.0 / 700) << i;
            EXPECT_NEAR(notes[i].Off, c.Expected[i].Off, 1.0 / 700) << i;
            EXPECT_NEAR(1200 * std::log2(notes[i].Hertz / c.Expected[i].Hertz), 0, 5) << i << " (cents)";
        }
    }
}

TEST(MidiTest, ADamagedFileIsRefusedWithTheReason)
{
    const Bytes note{0x90, 60, 100};
    const struct {
        Bytes File;
        const char* Reason;
    } cases[] = {
        {{'M', 'T', 'h', 'd', 0, 0, 0, 4, 0, 0, 0, 1}, "its header is shorter than 6 bytes"},
        {[] { Bytes f = Midi(0, 480, {Track({{0, {0x90, 60, 100}}})}); f[21] = 0x7F; return f; }(),
         "its track 1's length passes the file's end"},
        {Midi(0, 480, {Track({{0, {60, 100}}})}), "its track 1 holds a data byte where a status byte must be"},
        {Midi(0, 480, {Track({{0, {0x90, 0x90, 100}}})}), "its track 1 holds a status byte 0x90 where a data byte must be"},
        {[] { Bytes f = Midi(0, 480, {Track({{0, {0x90, 60, 100}}})}); f[22] = f[23] = f[24] = f[25] = 0x81; return f; }(),
         "its track 1 holds a variable-length number longer than 4 bytes"},
        {Midi(0, 480, {Track({{0, {0xFF, 0x51, 3, 0, 0, 0}}, {0, note}})}), "its track 1 holds a tempo of 0"},
        {Midi(1, 480, {Track({{0, {0xC0, 5}}})}), "it holds no notes"},
    };
    for (const auto& c : cases) {
        try {
            ReadMidi(c.File);
            ADD_FAILURE() << "read: " << c.Reason;
        } catch (const SongReadError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(c.Reason, 0), 0u) << error.what();
        }
    }
}

// The first sample louder than silence, in a 16-bit mono WAV file.
std::size_t FirstSound(const Bytes& wav)
{
    for (std::size_t at = 44; at + 1 < wav.size(); at += 2)
        if (std::abs(static_cast<std::int16_t>(wav[at] | wav[at + 1] << 8)) > 64)
            return (at - 44) / 2;
    return wav.size();
}

// The command line converts a MIDI file through the bank it ships, beside the program, or
// through another; what the song plays is what the MIDI file rendered plays.
TEST(MidiTest, ConvertInfoAndRenderGoThroughTheSameMapping)
{
    test::TempDir dir;
    std::vector<std::pair<std::uint32_t, Bytes>> events{{0, {0xFF, 0x03, 4, 'T', 'u', 'n', 'e'}}};
    for (std::uint8_t n = 0; n < 10; ++n)
        events.push_back({n == 0 ? 240u : 0u, {0x90, static_cast<std::uint8_t>(50 + n), 100}});
    events.push_back({480, {0xB0, 123, 0}});
    test::WriteBytes(dir / "tune.mid", Midi(0, 480, {Track(events)}));
    test::WriteBytes(dir / "bank.op2", BankBytes());
    const struct {
        std::vector<std::string> Options;
        const char* Says;
    } cases[] = {
        {{}, "title \"Tune\"; 480 ticks per quarter note; channel 1; program 0; at most 10 notes at once, 2 cut on 8 voices"},
        {{"--voices", "9", "--bank", dir / "bank.op2"}, "at most 10 notes at once, 1 cut on 9 voices"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> info{"info"};
        info.insert(info.end(), c.Options.begin(), c.Options.end());
        info.push_back(dir / "tune.mid");
        const test::ProcessResult run = test::RunCli(info);
        EXPECT_NE(run.Out.find("Standard MIDI File (format 0, 1 track), OPL2"), std::string::npos) << run.Out;
        EXPECT_NE(run.Out.find(c.Says), std::string::npos) << run.Out;
    }
    const test::ProcessResult converted = test::RunCli({"convert", "--to", "keen", dir / "tune.mid"});
    EXPECT_EQ(converted.ExitCode, 0) << converted.Err;
    EXPECT_NE(converted.Out.find("tune.mid: 2 notes were cut short: more sounded at once than the 8 voices."),
              std::string::npos) << converted.Out;
    // Put into a game, it tells the same.
    auto [header, data] = test::AudioPair(261, 27);
    test::WriteBytes(dir / "AUDIOHED.WL6", header);
    test::WriteBytes(dir / "AUDIOT.WL6", data);
    const test::ProcessResult replaced = test::RunCli({"replace", dir / "AUDIOT.WL6", "1", dir / "tune.mid"});
    EXPECT_NE(replaced.Out.find("; 2 notes were cut short: more sounded at once than the 8 voices"), std::string::npos)
        << replaced.Out << replaced.Err;
    // The same bytes on every system: the pitches' arithmetic is the same everywhere.
    const Bytes written = test::ReadBytes(dir / "tune.imf");
    std::uint32_t hash = 2166136261u;
    for (const std::uint8_t byte : written)
        hash = (hash ^ byte) * 16777619u;
    EXPECT_EQ(written.size(), 530u);
    EXPECT_EQ(hash, 1420260248u) << "FNV-1a of the song";
    ASSERT_EQ(test::RunCli({"render", dir / "tune.mid", "-o", dir / "midi.wav"}).ExitCode, 0);
    ASSERT_EQ(test::RunCli({"render", "--game", "keen", dir / "tune.imf", "-o", dir / "song.wav"}).ExitCode, 0);
    const Bytes midi = test::ReadBytes(dir / "midi.wav"), song = test::ReadBytes(dir / "song.wav");
    const double tick = 44100.0 / 560;
    EXPECT_NEAR(static_cast<double>(midi.size()) / 2, static_cast<double>(song.size()) / 2, tick) << "equal lengths";
    EXPECT_NEAR(static_cast<double>(FirstSound(midi)), static_cast<double>(FirstSound(song)), tick) << "onsets together";
    EXPECT_NEAR(static_cast<double>(FirstSound(midi)), 0.25 * 44100, tick);
}

} // namespace
} // namespace brivane
