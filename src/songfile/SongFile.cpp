#include "songfile/SongFile.h"

#include "capture/CaptureReaders.h"
#include "capture/Inflate.h"
#include "midi/MidiOnOpl2.h"
#include "opl/ImfCommand.h"
#include "opl/OplRegisters.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <string_view>

namespace brivane {
namespace {

enum class Reader { None, Dro, Raw, Vgm, Gzip, Midi, RiffMidi };

// A mark at an offset and, for RIFF, the form type that follows its size.
struct Signature {
    std::string_view Mark;
    std::string_view Form;
    const char* Name;
    Reader Read = Reader::None;
};

constexpr std::size_t kRiffFormAt = 8;

// Every kind of file Brivane tells apart, as the formats' own documents mark them at offset 0.
// An IMF song has no mark, so everything else is told first: read as records, any of these
// would be rewritten into noise.
constexpr Signature kSignatures[] = {
    {"DBRAWOPL", {}, "a DOSBox DRO capture", Reader::Dro},
    {"RAWADATA", {}, "an Rdos RAW capture", Reader::Raw},
    {"Vgm ", {}, "a VGM capture", Reader::Vgm},
    {std::string_view("\x1F\x8B", 2), {}, "a gzip-compressed file (a VGZ capture, perhaps)", Reader::Gzip},
    {"MThd", {}, "a MIDI file", Reader::Midi},
    {"RIFF", "RMID", "a RIFF MIDI file", Reader::RiffMidi},
    {"RIFF", "WAVE", "a WAV file"},
    {"CTMF", {}, "a Creative CMF file"},
    {"OggS", {}, "an Ogg file"},
    {"fLaC", {}, "a FLAC file"},
    {"ID3", {}, "an MP3 file"},
    {"PK\x03\x04", {}, "a ZIP archive"},
    {"\x7F" "ELF", {}, "an ELF executable"},
};

bool HasAt(std::span<const std::uint8_t> bytes, std::string_view mark, std::size_t at)
{
    return bytes.size() >= at + mark.size() &&
           std::equal(mark.begin(), mark.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

std::uint16_t Word(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return ReadLe16(bytes.data() + at);
}

// A DOS or Windows executable's header: the two letters alone are also a length word of
// 23,117, so the header's own fields must agree (a last page under 512 bytes, a header of at
// least two paragraphs, the relocations inside the formatted header).
bool IsExecutableHeader(std::span<const std::uint8_t> start)
{
    if (!HasAt(start, "MZ", 0) || start.size() < 0x1A)
        return false;
    const unsigned lastPage = Word(start, 2), pages = Word(start, 4), paragraphs = Word(start, 8);
    const unsigned relocations = Word(start, 0x18);
    return lastPage < 512 && pages >= 1 && paragraphs >= 2 && relocations >= 0x1C && relocations <= 0x40;
}

// An MPEG audio frame's sync: eleven bits set. As a length word it would count a partial
// record, which no song's does.
bool IsMpegFrame(std::span<const std::uint8_t> start)
{
    return start.size() >= 2 && start[0] == 0xFF && (start[1] & 0xE0) == 0xE0;
}

const Signature* SignatureOf(std::span<const std::uint8_t> start)
{
    for (const Signature& signature : kSignatures)
        if (HasAt(start, signature.Mark, 0) && (signature.Form.empty() || HasAt(start, signature.Form, kRiffFormAt)))
            return &signature;
    static constexpr Signature kExecutable{"MZ", {}, "a DOS or Windows executable"};
    static constexpr Signature kMpeg{"", {}, "an MP3 file"};
    if (IsExecutableHeader(start))
        return &kExecutable;
    if (IsMpegFrame(start))
        return &kMpeg;
    return nullptr;
}

// The Standard MIDI File inside a RIFF MIDI file's "data" chunk.
std::span<const std::uint8_t> RiffMidiData(std::span<const std::uint8_t> riff)
{
    for (std::size_t at = kRiffFormAt + 4; at + 8 <= riff.size();) {
        const std::size_t size = ReadLe16(riff.data() + at + 4) | std::size_t{ReadLe16(riff.data() + at + 6)} << 16;
        if (size > riff.size() - at - 8)
            throw SongReadError("its chunk at " + std::to_string(at) + " passes the file's end");
        if (HasAt(riff, "data", at))
            return riff.subspan(at + 8, size);
        at += 8 + size + size % 2; // chunks are padded to an even size
    }
    throw SongReadError("its RIFF form holds no data chunk");
}

TimedSong ReadTimed(Reader reader, std::span<const std::uint8_t> bytes, const MidiPlaying& midi)
{
    switch (reader) {
    case Reader::Dro: return ReadDro(bytes);
    case Reader::Raw: return ReadRaw(bytes);
    case Reader::Vgm: return ReadVgm(bytes);
    case Reader::Midi: return PlayMidiFile(bytes, midi);
    case Reader::RiffMidi: return PlayMidiFile(RiffMidiData(bytes), midi);
    case Reader::Gzip: { // inflated already
        TimedSong song = ReadVgm(bytes);
        song.Kind += " (gzip-compressed)";
        return song;
    }
    case Reader::None: break;
    }
    throw SongReadError("it is no song");
}

// A file of a kind, named for the messages, with why it cannot be used when it cannot.
SongFile OfKind(SongFileKind kind, std::string name, std::string reason = {})
{
    SongFile file;
    file.Kind = kind;
    file.Name = std::move(name);
    file.Reason = std::move(reason);
    return file;
}

SongFile TimedFile(const Signature& signature, std::span<const std::uint8_t> bytes, const MidiPlaying& midi)
{
    SongFile file = OfKind(SongFileKind::Timed, signature.Name);
    try {
        // A .vgz is inflated once: a VGM inside, or a gzip file of another kind.
        std::vector<std::uint8_t> inflated;
        if (signature.Read == Reader::Gzip) {
            inflated = Gunzip(bytes);
            if (!HasAt(inflated, "Vgm ", 0))
                return OfKind(SongFileKind::OtherKind, signature.Name);
            bytes = inflated;
        }
        file.Timed = ReadTimed(signature.Read, bytes, midi);
    } catch (const SongReadError& error) {
        return OfKind(SongFileKind::Damaged, signature.Name, error.what());
    }
    file.FromMidi = signature.Read == Reader::Midi || signature.Read == Reader::RiffMidi;
    // A capture of no writes would make a silent song that a game would play as one.
    if (file.Timed->Writes.empty())
        return OfKind(SongFileKind::Damaged, signature.Name,
                       file.Timed->SecondChipWrites > 0
                           ? std::string("it holds no writes to ") + PlayedPart(*file.Timed) + ", the one IMF plays"
                           : "it holds no writes");
    return file;
}

// Records of registers no OPL2 has, in each way the file may be read: as its first word says,
// and as a headerless song when that word counts past the file's end (a headerless song
// without its leading record). Over a tenth of them in every way, and the file is an
// executable, a picture or random bytes.
std::string UnknownRegisters(std::span<const std::uint8_t> bytes)
{
    constexpr std::size_t kJudgedFrom = 4; // records; fewer say too little
    std::optional<std::size_t> fewest;
    std::size_t judged = 0;
    const bool lengthWord = LayoutOfBytes(bytes) == ImfLengthWord;
    for (const bool headerless : {true, false}) {
        if (headerless ? lengthWord && LengthWordOverrun(bytes) == 0 : !lengthWord)
            continue;
        const std::span<const std::uint8_t> records = SplitSong(bytes, headerless).Records;
        const std::size_t count = records.size() / kImfCommandSize;
        if (count < kJudgedFrom)
            continue;
        std::size_t unknown = 0;
        for (std::size_t at = 0; at < records.size(); at += kImfCommandSize)
            unknown += IsOpl2Register(records[at]) ? 0 : 1;
        if (unknown * 10 <= count)
            return {};
        if (!fewest || unknown < *fewest)
            fewest = unknown, judged = count;
    }
    if (!fewest)
        return {};
    return "a file whose records write registers no OPL2 has (" + std::to_string(*fewest) + " of " +
           std::to_string(judged) + ")";
}

SongFile ImfFile(std::vector<std::uint8_t> bytes)
{
    if (std::string unknown = UnknownRegisters(bytes); !unknown.empty())
        return OfKind(SongFileKind::OtherKind, std::move(unknown));
    SongFile file;
    file.Layout = LayoutOfBytes(bytes);
    file.Bytes = std::move(bytes);
    return file;
}

std::string TooLarge(std::uint64_t size)
{
    return "it is " + std::to_string(size) + " bytes, more than the 64 MiB of the largest song Brivane reads";
}

// What the signature and the size alone refuse, before the rest of the file is read.
std::optional<SongFile> RefusedUnread(const Signature* signature, std::uint64_t size)
{
    std::optional<SongFile> refused;
    if (signature && signature->Read == Reader::None)
        refused = OfKind(SongFileKind::OtherKind, signature->Name);
    else if (size > kMaxSongFileBytes)
        refused = OfKind(SongFileKind::Damaged, signature ? signature->Name : "a file", TooLarge(size));
    if (refused)
        refused->Size = size;
    return refused;
}

SongFile FromBytes(const Signature* signature, std::vector<std::uint8_t> bytes, const MidiPlaying& midi)
{
    const std::uint64_t size = bytes.size();
    SongFile file = signature ? TimedFile(*signature, bytes, midi) : ImfFile(std::move(bytes));
    file.Size = size;
    return file;
}

} // namespace

std::string SignatureName(std::span<const std::uint8_t> start)
{
    const Signature* signature = SignatureOf(start);
    return signature ? signature->Name : "";
}

bool IsTimedSongSignature(std::span<const std::uint8_t> start)
{
    const Signature* signature = SignatureOf(start);
    return signature && signature->Read != Reader::None;
}

bool IsWavSignature(std::span<const std::uint8_t> start)
{
    return HasAt(start, "RIFF", 0) && HasAt(start, "WAVE", kRiffFormAt);
}

SongFile ReadSongFile(const FileDescriptor& descriptor, const std::string& what, const MidiPlaying& midi)
{
    const Signature* signature = SignatureOf(ReadFileStart(descriptor, kSignatureBytes, what));
    if (std::optional<SongFile> refused = RefusedUnread(signature, SizeOf(descriptor, what)))
        return *refused;
    std::vector<std::uint8_t> bytes = ReadFileStart(descriptor, kMaxSongFileBytes + 1, what);
    // It may have grown since its size was taken.
    if (std::optional<SongFile> refused = RefusedUnread(signature, bytes.size()))
        return *refused;
    return FromBytes(signature, std::move(bytes), midi);
}

SongFile ReadSongFile(const std::string& path, const MidiPlaying& midi)
{
    return ReadSongFile(OpenForReading(path, path), path, midi);
}

SongFile ReadSongBytes(std::span<const std::uint8_t> bytes, const MidiPlaying& midi)
{
    const Signature* signature = SignatureOf(bytes.first(std::min(bytes.size(), kSignatureBytes)));
    if (std::optional<SongFile> refused = RefusedUnread(signature, bytes.size()))
        return *refused;
    return FromBytes(signature, {bytes.begin(), bytes.end()}, midi);
}

std::string NotASongText(const std::string& name, const std::string& kind)
{
    return name + " is not an IMF song (it is " + kind + "); nothing was changed.";
}

} // namespace brivane
