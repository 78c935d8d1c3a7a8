#include "settings/clsINI.h"

#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/TemporaryFile.h"
#include "settings/IniNumbers.h"
#include "settings/KeyPlacement.h"
#include "settings/TextMark.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

namespace brivane {
namespace {

// Settings files are a few lines long; the insertion rule is linear per key, so a huge
// file would hold the window up for minutes before it could show.
constexpr std::uintmax_t kMaxSettingsSize = 1 << 20;

// Only a regular file (or a link to one) of sane size is read, and later replaced: a FIFO,
// a device or a broken link at the settings path is reported and left as it is.
void CheckSettingsFile(const std::string& FileName)
{
    const std::string action = "could not read the settings file " + FileName;
    const PathLookup found = LookUpPath(FileName);
    if (found.Kind == PathKind::Missing)
        throw FileError(action, "it is a symbolic link that leads nowhere");
    if (found.Kind == PathKind::Inaccessible)
        throw FileError(action, found.SystemError);
    if (found.Kind != PathKind::Regular)
        throw FileError(action, std::string("it is ") + KindName(found.Kind) + ", not a regular file");
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(FileName, error);
    if (!error && size > kMaxSettingsSize)
        throw FileError(action, "it is " + std::to_string(size) +
                                    " bytes long, more than the 1 MiB a settings file may have");
}

} // namespace

clsINI::clsINI(UserInteraction& ui) : ui_(ui) {}

int clsINI::AddSection(const std::string& SectionName)
{
    sections_.push_back({SectionName, {}});
    return static_cast<int>(sections_.size()) - 1;
}

int clsINI::AddKey(int SectionIndex, const std::string& KeyName, const std::string& Value)
{
    std::vector<INIKey>& keys = sections_[static_cast<std::size_t>(SectionIndex)].Keys;
    const auto number = NumericNameValue(KeyName);
    const auto at = std::find_if(keys.begin(), keys.end(), [&](const INIKey& key) {
        return PlacedBefore(KeyName, number, key.Name, NumericNameValue(key.Name));
    });
    return static_cast<int>(keys.insert(at, {KeyName, Value}) - keys.begin());
}

int clsINI::FindSection(const std::string& SectionName) const
{
    for (std::size_t i = 0; i < sections_.size(); ++i)
        if (sections_[i].Name == SectionName)
            return static_cast<int>(i);
    return -1;
}

int clsINI::FindKey(int SectionIndex, const std::string& KeyName) const
{
    const auto& keys = sections_[static_cast<std::size_t>(SectionIndex)].Keys;
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (keys[i].Name == KeyName)
            return static_cast<int>(i);
    return -1;
}

void clsINI::ParseLine(const std::string& line, int& currentSection, KeyPlacement& placing)
{
    if (line.empty() || line[0] == ';')
        return;
    if (line[0] == '[') {
        // The last character is dropped whatever it is; a lone "[" gives an empty name.
        const std::string name = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string();
        PlaceKeys(currentSection, placing);
        currentSection = AddSection(name);
        return;
    }
    const auto equals = line.find('=');
    // A key line ahead of the first section has no section to go to: it is dropped.
    if (equals == std::string::npos || currentSection < 0)
        return;
    placing.Add(line.substr(0, equals), line.substr(equals + 1));
}

void clsINI::PlaceKeys(int SectionIndex, KeyPlacement& placing)
{
    if (SectionIndex >= 0)
        sections_[static_cast<std::size_t>(SectionIndex)].Keys = placing.Take();
}

void clsINI::LoadINI(const std::string& FileName)
{
    sections_.clear();
    mark_ = TextMark::None;
    fileName_ = FileName;
    const PathLookup entry = LookUpPath(FileName, Links::DoNotFollow);
    if (entry.Kind == PathKind::Missing)
        return;
    if (entry.Kind == PathKind::Inaccessible)
        throw FileError("could not read the settings file " + FileName, entry.SystemError);
    CheckSettingsFile(FileName);
    // A save killed part-way leaves its temporary file; the next start clears it away.
    RemoveStaleTemporaryFiles(FolderOf(FileName));

    MarkedText read = ReadMarkedText(ReadWholeFile(FileName, "the settings file " + FileName));
    mark_ = read.Mark;
    const std::string text = std::move(read.Text);
    // Key lines only ever go to the latest section: its keys are placed together, as AddKey
    // would place them one by one.
    int currentSection = -1;
    KeyPlacement placing;
    std::string line;
    // A line ends at CR LF or at a lone CR; a lone LF stays inside the line, so that a value
    // holding one keeps it. A file with no CR at all was written by a Unix editor: LF ends
    // its lines.
    const char lineEnd = text.find('\r') == std::string::npos ? '\n' : '\r';
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != lineEnd) {
            line += text[i];
            continue;
        }
        if (lineEnd == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        ParseLine(line, currentSection, placing);
        line.clear();
    }
    ParseLine(line, currentSection, placing);
    PlaceKeys(currentSection, placing);
}

std::string clsINI::ReadString(const std::string& SectionName, const std::string& KeyName,
                               const std::string& DefaultValue) const
{
    const int s = FindSection(SectionName);
    if (s >= 0) {
        const int k = FindKey(s, KeyName);
        if (k >= 0)
            return sections_[static_cast<std::size_t>(s)].Keys[static_cast<std::size_t>(k)].Value;
    }
    return DefaultValue;
}

std::string clsINI::ReadString(const std::string& SectionName, const std::string& KeyName,
                               long long DefaultValue) const
{
    return ReadString(SectionName, KeyName, std::to_string(DefaultValue));
}

std::int32_t clsINI::ReadLong(const std::string& SectionName, const std::string& KeyName,
                              long long DefaultValue) const
{
    const std::int32_t d = RoundToInt32(static_cast<double>(DefaultValue));
    return LeadingNumber(ReadString(SectionName, KeyName, d));
}

std::int32_t clsINI::ReadLong(const std::string& SectionName, const std::string& KeyName,
                              const std::string& DefaultValue) const
{
    return ReadLong(SectionName, KeyName, LeadingNumber(DefaultValue));
}

void clsINI::WriteValue(const std::string& SectionName, const std::string& KeyName, const std::string& Value)
{
    int s = FindSection(SectionName);
    if (s < 0) {
        s = AddSection(SectionName);
        AddKey(s, KeyName, Value);
    } else if (const int k = FindKey(s, KeyName); k >= 0) {
        sections_[static_cast<std::size_t>(s)].Keys[static_cast<std::size_t>(k)].Value = Value;
    } else {
        AddKey(s, KeyName, Value);
    }
    SaveFile();
}

void clsINI::DeleteKey(const std::string& SectionName, const std::string& KeyName)
{
    if (const int s = FindSection(SectionName); s >= 0) {
        if (const int k = FindKey(s, KeyName); k >= 0) {
            auto& keys = sections_[static_cast<std::size_t>(s)].Keys;
            keys.erase(keys.begin() + k);
        }
    }
    SaveFile();
}

void clsINI::DeleteSection(const std::string& SectionName)
{
    if (const int s = FindSection(SectionName); s >= 0)
        sections_.erase(sections_.begin() + s);
    SaveFile();
}

std::string clsINI::Serialize() const
{
    std::string text;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += "[" + sections_[i].Name + "]\r\n";
        for (const INIKey& key : sections_[i].Keys)
            text += key.Name + "=" + key.Value + "\r\n";
    }
    return text;
}

void clsINI::SaveFile()
{
    if (!allowSaveFile_)
        return;
    try {
        if (fileName_.empty())
            // The same words on every system: there is no file, so there is no system error.
            throw FileError("no settings file name", "No such file or directory");
        const Bytes bytes = WriteMarkedText(mark_, Serialize());
        // Written whole to a temporary file and renamed over the old one, so a crash never
        // leaves half a settings file. No flush to disk: losing the very last edit to a power
        // cut is acceptable, and the tick-rate slider saves at every step of a drag.
        ReplaceFile(fileName_, bytes, "the settings file", {Durability::Buffered, Links::Follow, {}, {}});
    } catch (const FileError& error) {
        ui_.ShowMessage("clsINI.SaveFile: " + error.Reason(), "Could not save INI file.", MessageStyle::Error);
    }
}

} // namespace brivane
