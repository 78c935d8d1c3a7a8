#include "midi/MidiOnOpl2.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace brivane {
namespace {

constexpr int kPercussionChannel = 9;
constexpr int kFirstPercussionNote = 35, kLastPercussionNote = 81;
constexpr std::array<std::uint8_t, 9> kModulatorOffsets{0, 1, 2, 8, 9, 10, 16, 17, 18};
constexpr double kOplClock = 49716.0;

struct ChannelState {
    std::uint8_t Program = 0;
    std::uint8_t Volume = 100, Expression = 127;
    bool Sustain = false;
    int Bend = 8192;
    int BendRangeCents = 200;
    std::uint8_t RpnMsb = 127, RpnLsb = 127;
};

struct Voice {
    bool Busy = false;
    int Channel = 0;
    std::uint8_t Note = 0, Velocity = 0;
    const Instrument* Sound = nullptr;
    int Part = 0;          // which of the instrument's two voices
    bool Held = false;     // its key is up and the sustain pedal holds it
    std::uint64_t Serial = 0;
    const OplVoice* Programmed = nullptr;
};

class Player {
public:
    Player(const GenMidiBank& bank, int voices) : bank_(bank), voices_(voices >= 9 ? 9 : 8)
    {
        registers_.fill(-1);
    }

    TimedSong Play(const MidiSong& song)
    {
        capture_.Writes.reserve(song.Events.size() * 3); // a note's key-on, pitch and level, about
        Write(0x01, 0x20, 0); // the waveforms the bank's instruments choose
        for (const MidiEvent& event : song.Events) {
            at_ = event.At;
            const int channel = event.Status & 0x0F;
            switch (event.Status & 0xF0) {
            case 0x80: NoteOff(channel, event.Data1); break;
            case 0x90: NoteOn(channel, event.Data1, event.Data2); break;
            case 0xB0: Controller(channel, event.Data1, event.Data2); break;
            case 0xC0: channels_[channel].Program = event.Data1; break;
            case 0xE0:
                channels_[channel].Bend = event.Data1 | event.Data2 << 7;
                Retune(channel);
                break;
            }
        }
        at_ = std::max(at_, song.End);
        for (int v = 0; v < 9; ++v)
            if (voice_[v].Busy)
                Release(v);
        capture_.UnitsPerSecond = song.UnitsPerSecond;
        capture_.End = at_;
        capture_.Kind = "Standard MIDI File (format " + std::to_string(song.Format) + ", " +
                        std::to_string(song.Tracks) + (song.Tracks == 1 ? " track)" : " tracks)");
        capture_.Hardware = "OPL2";
        capture_.Title = song.Title;
        capture_.Author = song.Copyright;
        capture_.Details = Details(song);
        if (taken_ > 0)
            capture_.Remarks.push_back(std::to_string(taken_) + (taken_ == 1 ? " note was" : " notes were") +
                                       " cut short: more sounded at once than the " + std::to_string(9 - FirstVoice()) +
                                       " voices");
        capture_.Remarks.insert(capture_.Remarks.end(), song.Notes.begin(), song.Notes.end());
        return std::move(capture_);
    }

private:
    std::string Details(const MidiSong& song) const
    {
        const auto list = [](const std::vector<int>& numbers, int plus) {
            std::string text;
            for (const int n : numbers)
                text += (text.empty() ? "" : ", ") + std::to_string(n + plus);
            return text.empty() ? std::string("none") : text;
        };
        std::vector<int> channels, programs;
        for (int c = 0; c < 16; ++c)
            if (channelsUsed_ >> c & 1)
                channels.push_back(c);
        for (int p = 0; p < 128; ++p)
            if (programsUsed_[p])
                programs.push_back(p);
        std::string text = song.Division + (channels.size() == 1 ? "; channel " : "; channels ") + list(channels, 1) +
                           (programs.size() == 1 ? "; program " : "; programs ") + list(programs, 0) + "; at most " +
                           std::to_string(mostAtOnce_) + (mostAtOnce_ == 1 ? " note" : " notes") + " at once, " +
                           (taken_ == 0 ? std::string("none") : std::to_string(taken_)) + " cut on " +
                           std::to_string(9 - FirstVoice()) + " voices";
        for (const std::string& note : song.Notes)
            text += "; " + note;
        return text;
    }

    void Write(std::uint8_t reg, std::uint8_t value, std::uint64_t at)
    {
        if (registers_[reg] == value)
            return;
        registers_[reg] = value;
        capture_.Writes.push_back({reg, value, at});
    }

    int FirstVoice() const { return voices_ == 9 ? 0 : 1; }

    const Instrument* SoundOf(int channel, std::uint8_t note) const
    {
        if (channel != kPercussionChannel)
            return &bank_.Instruments[channels_[channel].Program];
        if (note < kFirstPercussionNote || note > kLastPercussionNote)
            return nullptr;
        return &bank_.Instruments[GenMidiBank::kFirstPercussion + note - kFirstPercussionNote];
    }

    // A free voice, or the one to take: the oldest of the lowest rank.
    std::optional<int> VoiceFor(bool mayTake)
    {
        std::optional<int> chosen;
        for (int v = FirstVoice(); v < 9; ++v)
            if (!voice_[v].Busy && (!chosen || voice_[v].Serial < voice_[*chosen].Serial))
                chosen = v;
        if (chosen || !mayTake)
            return chosen;
        const auto rank = [&](const Voice& voice) { return voice.Held ? 0 : voice.Part == 1 ? 1 : 2; };
        for (int v = FirstVoice(); v < 9; ++v) {
            const Voice& voice = voice_[v];
            if (!chosen || rank(voice) < rank(voice_[*chosen]) ||
                (rank(voice) == rank(voice_[*chosen]) && voice.Serial < voice_[*chosen].Serial))
                chosen = v;
        }
        ++taken_;
        Release(*chosen);
        return chosen;
    }

    void NoteOn(int channel, std::uint8_t note, std::uint8_t velocity)
    {
        const Instrument* sound = SoundOf(channel, note);
        if (!sound)
            return;
        NoteOff(channel, note); // a key struck again starts afresh
        channelsUsed_ |= 1u << channel;
        if (channel != kPercussionChannel)
            programsUsed_[channels_[channel].Program] = true;
        SetKey(channel, note, kDown);
        mostAtOnce_ = std::max(mostAtOnce_, sounding_);
        const int parts = sound->Flags & Instrument::kTwoVoices ? 2 : 1;
        for (int part = 0; part < parts; ++part) {
            const std::optional<int> v = VoiceFor(part == 0);
            if (!v)
                break;
            Voice& voice = voice_[*v];
            voice = {true, channel, note, velocity, sound, part, false, ++serial_, voice.Programmed};
            Program(*v);
            SetLevel(*v);
            SetPitch(*v);
        }
    }

    void NoteOff(int channel, std::uint8_t note)
    {
        SetKey(channel, note, channels_[channel].Sustain && Key(channel, note) != kUp ? kHeld : kUp);
        for (int v = FirstVoice(); v < 9; ++v) {
            Voice& voice = voice_[v];
            if (!voice.Busy || voice.Channel != channel || voice.Note != note || voice.Held)
                continue;
            if (channels_[channel].Sustain)
                voice.Held = true;
            else
                Release(v);
        }
    }

    // The voice's key let go, its block and F-number kept.
    void KeyOff(int v)
    {
        Write(static_cast<std::uint8_t>(0xB0 + v), static_cast<std::uint8_t>(std::max(registers_[0xB0 + v], 0) & ~0x20), at_);
    }

    void Release(int v)
    {
        KeyOff(v);
        voice_[v].Busy = false;
        voice_[v].Serial = ++serial_;
    }

    void Controller(int channel, std::uint8_t control, std::uint8_t value)
    {
        ChannelState& state = channels_[channel];
        switch (control) {
        case 7: state.Volume = value; return Relevel(channel);
        case 11: state.Expression = value; return Relevel(channel);
        case 64:
            state.Sustain = value >= 64;
            if (!state.Sustain)
                ReleaseHeld(channel);
            return;
        case 101: state.RpnMsb = value; return;
        case 100: state.RpnLsb = value; return;
        case 6:
            if (state.RpnMsb == 0 && state.RpnLsb == 0)
                state.BendRangeCents = value * 100 + state.BendRangeCents % 100;
            return Retune(channel);
        case 38:
            if (state.RpnMsb == 0 && state.RpnLsb == 0)
                state.BendRangeCents = state.BendRangeCents / 100 * 100 + value;
            return Retune(channel);
        case 121: // reset all controllers
            state.Expression = 127, state.Bend = 8192, state.RpnMsb = state.RpnLsb = 127;
            state.Sustain = false;
            ReleaseHeld(channel);
            Relevel(channel);
            return Retune(channel);
        case 120: // all sound off
        case 123: // all notes off
            for (int note = 0; note < 128; ++note)
                if (Key(channel, static_cast<std::uint8_t>(note)) != kUp)
                    SetKey(channel, static_cast<std::uint8_t>(note), control == 123 && state.Sustain ? kHeld : kUp);
            for (int v = FirstVoice(); v < 9; ++v)
                if (voice_[v].Busy && voice_[v].Channel == channel && (control == 120 || !state.Sustain))
                    Release(v);
                else if (voice_[v].Busy && voice_[v].Channel == channel)
                    voice_[v].Held = true;
            return;
        }
    }

    // The keys as the file has them, whatever voices they found: what `info` counts.
    enum KeyState : std::uint8_t { kUp, kDown, kHeld };
    KeyState Key(int channel, std::uint8_t note) const { return keys_[channel * 128 + note]; }
    void SetKey(int channel, std::uint8_t note, KeyState state)
    {
        KeyState& key = keys_[channel * 128 + note];
        sounding_ += (state != kUp) - (key != kUp);
        key = state;
    }

    void ReleaseHeld(int channel)
    {
        for (int note = 0; note < 128; ++note)
            if (Key(channel, static_cast<std::uint8_t>(note)) == kHeld)
                SetKey(channel, static_cast<std::uint8_t>(note), kUp);
        for (int v = FirstVoice(); v < 9; ++v)
            if (voice_[v].Busy && voice_[v].Held && voice_[v].Channel == channel)
                Release(v);
    }

    void Relevel(int channel)
    {
        for (int v = FirstVoice(); v < 9; ++v)
            if (voice_[v].Busy && voice_[v].Channel == channel)
                SetLevel(v);
    }

    void Retune(int channel)
    {
        for (int v = FirstVoice(); v < 9; ++v)
            if (voice_[v].Busy && voice_[v].Channel == channel)
                SetPitch(v); // a note the pedal holds sounds on too
    }

    void Program(int v)
    {
        Voice& voice = voice_[v];
        const OplVoice& patch = voice.Sound->Voices[voice.Part];
        if (voice.Programmed == &patch)
            return;
        KeyOff(v);
        const std::uint8_t mod = kModulatorOffsets[v], car = static_cast<std::uint8_t>(mod + 3);
        const std::uint8_t bases[4] = {0x20, 0x60, 0x80, 0xE0};
        for (int i = 0; i < 4; ++i) {
            Write(static_cast<std::uint8_t>(bases[i] + mod), patch.Modulator[i], at_);
            Write(static_cast<std::uint8_t>(bases[i] + car), patch.Carrier[i], at_);
        }
        Write(static_cast<std::uint8_t>(0xC0 + v), patch.Feedback, at_);
        voice.Programmed = &patch;
    }

    // Velocity, volume and expression as attenuation in the OPL's steps of 0.75 dB: a gain
    // of v sounds at 40 log10(v) dB, the square law MIDI's levels follow.
    static std::uint8_t Attenuated(std::uint8_t scale, std::uint8_t level, double gain)
    {
        const int steps = gain <= 0 ? 63 : static_cast<int>(std::lround(-40.0 * std::log10(gain) / 0.75));
        return static_cast<std::uint8_t>((scale & 0xC0) | std::min(63, (level & 0x3F) + steps));
    }

    void SetLevel(int v)
    {
        const Voice& voice = voice_[v];
        const ChannelState& state = channels_[voice.Channel];
        const OplVoice& patch = voice.Sound->Voices[voice.Part];
        const double gain = voice.Velocity / 127.0 * state.Volume / 127.0 * state.Expression / 127.0;
        const std::uint8_t mod = kModulatorOffsets[v];
        Write(static_cast<std::uint8_t>(0x43 + mod), Attenuated(patch.CarrierScale, patch.CarrierLevel, gain), at_);
        // An additive voice sounds its modulator too.
        Write(static_cast<std::uint8_t>(0x40 + mod), patch.Feedback & 1
                  ? Attenuated(patch.ModulatorScale, patch.ModulatorLevel, gain)
                  : static_cast<std::uint8_t>((patch.ModulatorScale & 0xC0) | (patch.ModulatorLevel & 0x3F)), at_);
    }

    // The voice's note, bent and tuned, keyed on.
    void SetPitch(int v)
    {
        const Voice& voice = voice_[v];
        const Instrument& sound = *voice.Sound;
        const ChannelState& state = channels_[voice.Channel];
        double semitones = sound.Flags & Instrument::kFixedPitch
                               ? sound.FixedNote + 12.0
                               : voice.Note + sound.Voices[voice.Part].NoteOffset + 12.0;
        semitones += (state.Bend - 8192) / 8192.0 * state.BendRangeCents / 100.0;
        if (voice.Part == 1)
            semitones += (sound.FineTune / 2 - 64) / 32.0;
        const double hertz = 440.0 * std::pow(2.0, (semitones - 69.0) / 12.0);
        int block = 0;
        long number = std::lround(hertz * (1 << 20) / kOplClock);
        while (number > 1023 && block < 7)
            number = std::lround(hertz * (1 << (20 - ++block)) / kOplClock);
        number = std::clamp(number, 1L, 1023L);
        Write(static_cast<std::uint8_t>(0xA0 + v), static_cast<std::uint8_t>(number & 0xFF), at_);
        Write(static_cast<std::uint8_t>(0xB0 + v),
              static_cast<std::uint8_t>(0x20 | block << 2 | number >> 8), at_);
    }

    const GenMidiBank& bank_;
    int voices_;
    std::array<int, 256> registers_;
    std::array<ChannelState, 16> channels_{};
    std::array<Voice, 9> voice_{};
    std::uint64_t serial_ = 0, taken_ = 0, at_ = 0;
    std::array<KeyState, 16 * 128> keys_{};
    int sounding_ = 0;
    std::uint32_t channelsUsed_ = 0;
    std::array<bool, 128> programsUsed_{};
    int mostAtOnce_ = 0;
    TimedSong capture_;
};

} // namespace

TimedSong PlayMidiOnOpl2(const MidiSong& song, const GenMidiBank& bank, int voices)
{
    return Player(bank, voices).Play(song);
}

TimedSong PlayMidiFile(std::span<const std::uint8_t> bytes, const MidiPlaying& playing)
{
    const MidiSong song = ReadMidi(bytes);
    if (playing.Bank.empty())
        return PlayMidiOnOpl2(song, DefaultBank(), playing.Voices);
    return PlayMidiOnOpl2(song, ReadGenMidiFile(playing.Bank), playing.Voices);
}

} // namespace brivane
