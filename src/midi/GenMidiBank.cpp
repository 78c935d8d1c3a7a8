#include "midi/GenMidiBank.h"

#include "opl/TimedSong.h"
#include "platform/FileError.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cstring>

namespace brivane {
namespace {

constexpr std::size_t kInstrumentSize = 36, kNameSize = 32;
constexpr char kBankFile[] = "GENMIDI.op2";

OplVoice VoiceAt(const std::uint8_t* v)
{
    OplVoice voice;
    std::copy(v, v + 4, voice.Modulator);
    voice.ModulatorScale = v[4], voice.ModulatorLevel = v[5], voice.Feedback = v[6];
    std::copy(v + 7, v + 11, voice.Carrier);
    voice.CarrierScale = v[11], voice.CarrierLevel = v[12];
    voice.NoteOffset = static_cast<std::int16_t>(v[14] | v[15] << 8);
    return voice;
}

GenMidiBank LoadDefaultBank()
{
    // Beside the program (the build and Windows), or in the data folder of an installed one.
    const std::string folder = ProgramFolder();
    for (const std::string& path : {folder + PathSeparator() + kBankFile, folder + "/../share/brivane/" + kBankFile}) {
        if (LookUpPath(path).Kind == PathKind::Regular)
            return ReadGenMidiFile(path);
    }
    throw SongReadError(std::string("its instruments cannot be found: the bank ") + kBankFile + " is not in " + folder);
}

} // namespace

GenMidiBank ReadGenMidi(std::span<const std::uint8_t> bytes)
{
    const std::size_t size = 8 + GenMidiBank::kInstruments * (kInstrumentSize + kNameSize);
    if (bytes.size() < size || std::memcmp(bytes.data(), "#OPL_II#", 8) != 0)
        throw SongReadError("the instrument bank is no GENMIDI bank of 175 instruments");
    GenMidiBank bank;
    for (std::size_t i = 0; i < GenMidiBank::kInstruments; ++i) {
        const std::uint8_t* at = bytes.data() + 8 + i * kInstrumentSize;
        Instrument& instrument = bank.Instruments[i];
        instrument.Flags = static_cast<std::uint16_t>(at[0] | at[1] << 8);
        instrument.FineTune = at[2];
        instrument.FixedNote = at[3];
        instrument.Voices[0] = VoiceAt(at + 4);
        instrument.Voices[1] = VoiceAt(at + 20);
        const char* name = reinterpret_cast<const char*>(bytes.data()) + 8 + GenMidiBank::kInstruments * kInstrumentSize +
                           i * kNameSize;
        instrument.Name.assign(name, std::find(name, name + kNameSize, '\0'));
    }
    return bank;
}

GenMidiBank ReadGenMidiFile(const std::string& path)
{
    try {
        return ReadGenMidi(ReadWholeFile(path, "the instrument bank " + path));
    } catch (const FileError& error) {
        throw SongReadError(std::string("its instruments cannot be read: ") + error.what());
    } catch (const SongReadError& error) {
        throw SongReadError("its instruments cannot be read: " + path + ": " + error.what());
    }
}

const GenMidiBank& DefaultBank()
{
    static const GenMidiBank bank = LoadDefaultBank(); // read once: it never changes while the program runs
    return bank;
}

} // namespace brivane
