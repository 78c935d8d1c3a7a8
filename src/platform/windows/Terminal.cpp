#include "platform/Terminal.h"

#include "platform/windows/Win32.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <iostream>
#include <shellapi.h>
#include <streambuf>

namespace brivane {
namespace {

HANDLE StandardHandle(StandardStream stream)
{
    return ::GetStdHandle(stream == StandardStream::Input    ? STD_INPUT_HANDLE
                          : stream == StandardStream::Output ? STD_OUTPUT_HANDLE
                                                             : STD_ERROR_HANDLE);
}

// Gathers UTF-8 and writes it to a console as UTF-16, which shows every character whatever
// the console's code page; a character split between two writes waits for its other half.
class ConsoleBuffer : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}

protected:
    int_type overflow(int_type c) override
    {
        if (c != traits_type::eof()) {
            pending_ += static_cast<char>(c);
            if (c == '\n')
                sync();
        }
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        pending_.append(text, static_cast<std::size_t>(count));
        sync();
        return count;
    }

    int sync() override
    {
        std::size_t whole = pending_.size();
        // Back over an unfinished sequence: continuation bytes, then its lead byte.
        std::size_t back = 0;
        while (back < whole && back < 4 && (static_cast<unsigned char>(pending_[whole - 1 - back]) & 0xC0) == 0x80)
            ++back;
        if (back < whole && static_cast<unsigned char>(pending_[whole - 1 - back]) >= 0xC0) {
            const unsigned char lead = static_cast<unsigned char>(pending_[whole - 1 - back]);
            const std::size_t needed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            if (back + 1 < needed)
                whole -= back + 1;
        }
        const std::wstring text = win32::Widen(pending_.substr(0, whole));
        pending_.erase(0, whole);
        DWORD written = 0;
        return text.empty() || ::WriteConsoleW(console_, text.data(), static_cast<DWORD>(text.size()), &written,
                                               nullptr)
                   ? 0
                   : -1;
    }

private:
    HANDLE console_;
    std::string pending_;
};

void UseUtf8(std::ostream& out, FILE* file, StandardStream stream)
{
    DWORD mode = 0;
    const HANDLE handle = StandardHandle(stream);
    if (::GetConsoleMode(handle, &mode)) {
        // Never freed: the stream flushes through it when the process exits.
        out.rdbuf(new ConsoleBuffer(handle));
    } else {
        ::_setmode(::_fileno(file), _O_BINARY);
    }
}

} // namespace

void PrepareCommandLineProcess()
{
    UseUtf8(std::cout, stdout, StandardStream::Output);
    UseUtf8(std::cerr, stderr, StandardStream::Error);
}

std::vector<std::string> CommandLineArguments(int, char*[])
{
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i)
        arguments.push_back(win32::Narrow(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

std::optional<std::vector<std::string>> ExpandWildcards(const std::string& argument)
{
    const std::size_t nameAt = argument.find_last_of("\\/:") + 1; // 0 when there is no folder part
    if (argument.find_first_of("*?", nameAt) == std::string::npos)
        return std::nullopt;
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW(win32::SystemPath(argument).c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.emplace_back(found.cFileName);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        const int order = ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE);
        return order != CSTR_EQUAL ? order == CSTR_LESS_THAN : a < b;
    });
    std::vector<std::string> files;
    for (const std::wstring& name : names)
        files.push_back(argument.substr(0, nameAt) + win32::Narrow(name));
    return files;
}

bool IsSystemHelpSwitch(const std::string& argument)
{
    return argument == "/?";
}

bool IsTerminal(StandardStream stream)
{
    DWORD mode = 0;
    return ::GetConsoleMode(StandardHandle(stream), &mode) != 0;
}

} // namespace brivane
