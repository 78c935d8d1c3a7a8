#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace brivane::test {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder in the system's temporary folder, removed with everything in it when the object goes.
class TempDir {
public:
#ifdef _WIN32
    static constexpr char kSeparator = '\\';
#else
    static constexpr char kSeparator = '/';
#endif

    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + kSeparator + name; }
    // Names in the folder, sorted; hidden ones included.
    std::vector<std::string> Names() const { return NamesIn(path_); }
    static std::vector<std::string> NamesIn(const std::string& folder);

private:
    std::string path_;
};

// std::filesystem's path of a UTF-8 path, and back: Windows would read a plain string in its
// ANSI code page.
std::filesystem::path NativePath(const std::string& utf8);
std::string Utf8Path(const std::filesystem::path& path);

void WriteBytes(const std::string& path, const Bytes& bytes);
Bytes ReadBytes(const std::string& path);
bool Exists(const std::string& path);

inline std::string ReadText(const std::string& path)
{
    const Bytes bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

inline void WriteText(const std::string& path, const std::string& text)
{
    WriteBytes(path, Bytes(text.begin(), text.end()));
}

} // namespace brivane::test
