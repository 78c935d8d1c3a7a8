#include "midi/MidiFile.h"

#include "opl/TimedSong.h"

#include <algorithm>
#include <iterator>
#include <map>

namespace brivane {
namespace {

constexpr std::uint32_t kDefaultTempo = 500000; // microseconds a quarter note: 120 beats a minute

std::uint32_t ReadBe(std::span<const std::uint8_t> bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | bytes[at + i];
    return value;
}

// An event of one track at its tick, before the tempo map gives it a time.
struct TrackEvent {
    std::uint64_t Tick;
    MidiEvent Event;
};

struct Track {
    std::vector<TrackEvent> Events;
    std::map<std::uint64_t, std::uint32_t> Tempos; // tick -> microseconds a quarter note
    std::uint64_t End = 0;
    bool Ended = false;
    std::string Name, Copyright;
};

class TrackReader {
public:
    TrackReader(std::span<const std::uint8_t> bytes, std::size_t number) : bytes_(bytes), number_(number) {}

    Track Read()
    {
        Track track;
        std::uint64_t tick = 0;
        std::uint8_t running = 0;
        while (at_ < bytes_.size() && !track.Ended) {
            tick += Number();
            std::uint8_t status = Byte();
            if (status < 0x80) {
                if (running == 0)
                    Fail("a data byte where a status byte must be (running status with no status yet)");
                status = running;
                --at_;
            }
            if (status == 0xFF) {
                running = 0;
                Meta(tick, track);
            } else if (status == 0xF0 || status == 0xF7) {
                running = 0;
                Skip(Number()); // a system exclusive message
            } else if (status >= 0xF0) {
                Fail("a system message 0x" + Hex(status) + ", which a file cannot hold");
            } else {
                running = status;
                MidiEvent event{0, status, Data(), 0};
                const std::uint8_t kind = status & 0xF0;
                if (kind != 0xC0 && kind != 0xD0)
                    event.Data2 = Data();
                if (kind == 0x90 && event.Data2 == 0) // a note-on of velocity 0 ends the note
                    event.Status = static_cast<std::uint8_t>(0x80 | (status & 0x0F));
                track.Events.push_back({tick, event});
            }
            track.End = tick;
        }
        return track;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw SongReadError("its track " + std::to_string(number_) + " holds " + what);
    }

    static std::string Hex(std::uint8_t value)
    {
        const char* digits = "0123456789ABCDEF";
        return {digits[value >> 4], digits[value & 15]};
    }

    std::uint8_t Byte()
    {
        if (at_ >= bytes_.size())
            Fail("an event cut short by the track's end");
        return bytes_[at_++];
    }

    std::uint8_t Data()
    {
        const std::uint8_t value = Byte();
        if (value >= 0x80)
            Fail("a status byte 0x" + Hex(value) + " where a data byte must be");
        return value;
    }

    // A variable-length number: seven bits a byte, at most four bytes.
    std::uint32_t Number()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t byte = Byte();
            value = value << 7 | (byte & 0x7F);
            if (byte < 0x80)
                return value;
        }
        Fail("a variable-length number longer than 4 bytes");
    }

    void Skip(std::size_t count)
    {
        if (count > bytes_.size() - at_)
            Fail("an event longer than the track");
        at_ += count;
    }

    void Meta(std::uint64_t tick, Track& track)
    {
        const std::uint8_t type = Byte();
        const std::size_t length = Number();
        const std::size_t start = at_;
        Skip(length);
        const auto text = [&] { return std::string(bytes_.begin() + start, bytes_.begin() + start + length); };
        if (type == 0x2F) {
            track.Ended = true;
        } else if (type == 0x51 && length == 3) {
            const std::uint32_t tempo = ReadBe(bytes_, start, 3);
            if (tempo == 0)
                Fail("a tempo of 0");
            track.Tempos[tick] = tempo;
        } else if (type == 0x03 && track.Name.empty()) {
            track.Name = text();
        } else if (type == 0x02 && track.Copyright.empty()) {
            track.Copyright = text();
        }
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t number_;
    std::size_t at_ = 0;
};

// Ticks to the song's time units: with a tempo map, each stretch at its own tempo.
class TimeBase {
public:
    TimeBase(std::uint16_t division, const std::map<std::uint64_t, std::uint32_t>& tempos, MidiSong& song)
    {
        // Each tempo change with the time it comes at, so that a tick's time is one search away.
        std::uint64_t units = 0, from = 0;
        std::uint32_t tempo = kDefaultTempo;
        stretches_.push_back({0, 0, tempo});
        for (const auto& [change, next] : tempos) {
            units += (change - from) * tempo;
            from = change, tempo = next;
            stretches_.push_back({change, units, tempo});
        }
        if (division & 0x8000) {
            const int frames = -static_cast<std::int8_t>(division >> 8);
            const int ticksPerFrame = division & 0xFF;
            if (frames <= 0 || ticksPerFrame == 0)
                throw SongReadError("its division 0x" + std::to_string(division) + " names no frame rate");
            smpte_ = true;
            // 29 frames a second is the drop-frame rate of 30000/1001.
            song.UnitsPerSecond = static_cast<std::uint64_t>(frames == 29 ? 30000 : frames) * ticksPerFrame;
            unitsPerTick_ = frames == 29 ? 1001 : 1;
            song.Division = (frames == 29 ? std::string("29.97") : std::to_string(frames)) + " frames a second of " +
                            std::to_string(ticksPerFrame) + " ticks";
        } else {
            if (division == 0)
                throw SongReadError("its division is 0 ticks a quarter note");
            song.UnitsPerSecond = static_cast<std::uint64_t>(division) * 1000000;
            song.Division = std::to_string(division) + " ticks per quarter note";
        }
    }

    std::uint64_t At(std::uint64_t tick) const
    {
        if (smpte_)
            return tick * unitsPerTick_;
        const auto after = std::upper_bound(stretches_.begin(), stretches_.end(), tick,
                                            [](std::uint64_t t, const Stretch& s) { return t < s.Tick; });
        const Stretch& stretch = *(after - 1);
        return stretch.Units + (tick - stretch.Tick) * stretch.Tempo;
    }

private:
    struct Stretch {
        std::uint64_t Tick, Units;
        std::uint32_t Tempo;
    };
    std::vector<Stretch> stretches_;
    bool smpte_ = false;
    std::uint64_t unitsPerTick_ = 1;
};

} // namespace

MidiSong ReadMidi(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 8 || ReadBe(bytes, 4, 4) < 6 || bytes.size() < 14)
        throw SongReadError("its header is shorter than 6 bytes");
    MidiSong song;
    song.Format = static_cast<int>(ReadBe(bytes, 8, 2));
    const std::size_t declared = ReadBe(bytes, 10, 2);
    const auto division = static_cast<std::uint16_t>(ReadBe(bytes, 12, 2));
    std::vector<Track> tracks;
    for (std::size_t at = 8 + ReadBe(bytes, 4, 4); at + 8 <= bytes.size();) {
        const std::size_t length = ReadBe(bytes, at + 4, 4);
        if (length > bytes.size() - at - 8)
            throw SongReadError("its track " + std::to_string(tracks.size() + 1) + "'s length passes the file's end");
        if (std::equal(bytes.begin() + at, bytes.begin() + at + 4, "MTrk")) {
            tracks.push_back(TrackReader(bytes.subspan(at + 8, length), tracks.size() + 1).Read());
            if (!tracks.back().Ended)
                song.Notes.push_back("its track " + std::to_string(tracks.size()) + " has no end of track");
        }
        at += 8 + length;
    }
    if (tracks.size() != declared)
        song.Notes.push_back("its header counts " + std::to_string(declared) + " tracks and it holds " +
                             std::to_string(tracks.size()));
    if (song.Format == 2 && tracks.size() > 1) {
        song.Notes.push_back("it is a format 2 file: its first sequence is read");
        tracks.resize(1);
    }
    song.Tracks = tracks.size();

    std::map<std::uint64_t, std::uint32_t> tempos;
    for (const Track& track : tracks)
        for (const auto& [tick, tempo] : track.Tempos)
            tempos[tick] = tempo;
    const TimeBase time(division, tempos, song);
    // Each track is in time order already: merged one by one, a later track's events come
    // after an earlier one's of the same time.
    std::vector<TrackEvent> merged, both;
    std::uint64_t end = 0;
    const auto byTick = [](const TrackEvent& a, const TrackEvent& b) { return a.Tick < b.Tick; };
    for (const Track& track : tracks) {
        both.clear();
        both.reserve(merged.size() + track.Events.size());
        std::merge(merged.begin(), merged.end(), track.Events.begin(), track.Events.end(), std::back_inserter(both), byTick);
        merged.swap(both);
        end = std::max(end, track.End);
        if (song.Title.empty())
            song.Title = track.Name;
        if (song.Copyright.empty())
            song.Copyright = track.Copyright;
    }
    song.Events.reserve(merged.size());
    for (TrackEvent& event : merged) {
        event.Event.At = time.At(event.Tick);
        song.Events.push_back(event.Event);
    }
    song.End = time.At(end);
    if (std::none_of(song.Events.begin(), song.Events.end(),
                     [](const MidiEvent& e) { return (e.Status & 0xF0) == 0x90; }))
        throw SongReadError("it holds no notes");
    return song;
}

} // namespace brivane
