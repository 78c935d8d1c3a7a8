#include "support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace brivane::test {

fs::path NativePath(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Path(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

#ifdef _WIN32
TempDir::TempDir()
{
    std::mt19937_64 random{std::random_device{}()};
    for (;;) {
        const fs::path candidate = fs::temp_directory_path() / ("brivane-test-" + std::to_string(random() % 1000000000));
        if (fs::create_directory(candidate)) {
            path_ = Utf8Path(candidate);
            return;
        }
    }
}
#else
TempDir::TempDir()
{
    char pattern[] = "/tmp/brivane-test-XXXXXX";
    if (!::mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    // Open to the unprivileged user that the permission tests switch to.
    ::chmod(path_.c_str(), 0777);
}
#endif

TempDir::~TempDir()
{
    std::error_code ignored;
#ifdef _WIN32
    // The long form reaches folders deeper than the classic 260 characters.
    const fs::path path = NativePath("\\\\?\\" + path_);
#else
    const fs::path path = NativePath(path_);
#endif
    fs::permissions(path, fs::perms::all, fs::perm_options::add, ignored);
    for (auto entry = fs::recursive_directory_iterator(path, ignored); entry != fs::recursive_directory_iterator();
         entry.increment(ignored))
        if (!entry->is_symlink(ignored))
            fs::permissions(entry->path(), fs::perms::all, fs::perm_options::add, ignored);
    fs::remove_all(path, ignored);
}

std::vector<std::string> TempDir::NamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(NativePath(folder)))
        names.push_back(Utf8Path(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("could not write " + path);
}

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in)
        throw std::runtime_error("could not read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path)
{
    std::error_code ignored;
    return fs::exists(fs::symlink_status(NativePath(path), ignored));
}

} // namespace brivane::test
