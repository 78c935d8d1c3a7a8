#pragma once

#include "interaction/UserInteraction.h"
#include "settings/TextMark.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brivane {

class KeyPlacement;

// Names and values are held as the file's bytes, whatever the encoding, and written back
// byte for byte.
struct INIKey {
    std::string Name;
    std::string Value;
    bool operator==(const INIKey&) const = default;
};

struct INISection {
    std::string Name;
    std::vector<INIKey> Keys;
    bool operator==(const INISection&) const = default;
};

// An INI settings document in memory, with its own reader and writer. Every edit saves the
// whole file at once; a failed save is told to the user through `ui` and not to the caller.
class clsINI {
public:
    explicit clsINI(UserInteraction& ui);

    bool AllowSaveFile() const { return allowSaveFile_; }
    void AllowSaveFile(bool NewAllowSaveFile) { allowSaveFile_ = NewAllowSaveFile; }

    void SaveFile();

    // Replaces the document by the file's content; a missing file gives an empty document.
    // A file that exists but cannot be read, is not a regular file (a FIFO, a directory, a
    // broken link) or is over 1 MiB throws FileError with the reason.
    void LoadINI(const std::string& FileName);

    void DeleteSection(const std::string& SectionName);
    void DeleteKey(const std::string& SectionName, const std::string& KeyName);

    std::string ReadString(const std::string& SectionName, const std::string& KeyName,
                           const std::string& DefaultValue = {}) const;
    std::string ReadString(const std::string& SectionName, const std::string& KeyName,
                           long long DefaultValue) const;

    std::int32_t ReadLong(const std::string& SectionName, const std::string& KeyName,
                          long long DefaultValue) const;
    // A default given as text counts by its leading number (0 when it has none).
    std::int32_t ReadLong(const std::string& SectionName, const std::string& KeyName,
                          const std::string& DefaultValue) const;

    void WriteValue(const std::string& SectionName, const std::string& KeyName, const std::string& Value);

    const std::string& FileName() const { return fileName_; }
    const std::vector<INISection>& Sections() const { return sections_; }

    // The document's text as SaveFile writes it, before the file's own mark, if any, encodes it.
    std::string Serialize() const;

private:
    int AddSection(const std::string& SectionName);
    int AddKey(int SectionIndex, const std::string& KeyName, const std::string& Value);
    int FindSection(const std::string& SectionName) const;
    int FindKey(int SectionIndex, const std::string& KeyName) const;
    void ParseLine(const std::string& line, int& currentSection, KeyPlacement& placing);
    void PlaceKeys(int SectionIndex, KeyPlacement& placing);

    UserInteraction& ui_;
    bool allowSaveFile_ = true;
    std::string fileName_;
    TextMark mark_ = TextMark::None;
    std::vector<INISection> sections_;
};

} // namespace brivane
