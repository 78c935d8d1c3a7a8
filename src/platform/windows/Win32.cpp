#include "platform/windows/Win32.h"

#include <array>
#include <chrono>
#include <thread>
#include <io.h>
#include <string_view>
#include <vector>

namespace brivane::win32 {
namespace {

// The classic limit less the room Windows keeps for a file name inside a folder.
constexpr std::size_t kClassicLimit = MAX_PATH - 12;

bool IsReservedDeviceName(std::string part)
{
    // "CON.imf" and "nul .txt" are the device too: only the part before the first dot counts.
    part = part.substr(0, part.find('.'));
    while (!part.empty() && part.back() == ' ')
        part.pop_back();
    for (char& c : part)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    static constexpr std::array<std::string_view, 6> kPlain = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (std::string_view name : kPlain)
        if (part == name)
            return true;
    if (!part.starts_with("COM") && !part.starts_with("LPT"))
        return false;
    // Windows takes the superscript digits one, two and three (UTF-8 C2 B9, C2 B2, C2 B3) as
    // the digits they look like.
    const std::string_view number = std::string_view(part).substr(3);
    return (number.size() == 1 && number[0] >= '1' && number[0] <= '9') ||
           number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3";
}

} // namespace

std::wstring Widen(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

std::string Narrow(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr,
                          nullptr);
    return utf8;
}

std::wstring SystemPath(const std::string& path)
{
    std::wstring wide = Widen(path);
    for (wchar_t& c : wide)
        if (c == L'/')
            c = L'\\';
    if (wide.starts_with(L"\\\\?\\"))
        return wide;
    const DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return wide;
    std::wstring full(size, L'\0');
    full.resize(::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr));
    if (full.size() < kClassicLimit)
        return wide;
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

int NameFault(const std::string& path)
{
    std::size_t start = path.starts_with("\\\\?\\") ? 4 : 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && path[end] != '\\' && path[end] != '/')
            ++end;
        const std::string part = path.substr(start, end - start);
        const bool drive = part.size() == 2 && part[1] == ':';
        if (!part.empty() && part != "." && part != ".." && !drive) {
            if (part.back() == '.' || part.back() == ' ')
                return kTrailingDotOrSpace;
            if (IsReservedDeviceName(part))
                return kReservedName;
        }
        start = end + 1;
    }
    return 0;
}

HANDLE OpenShared(const std::string& path, DWORD access, DWORD flags)
{
    return ::CreateFileW(SystemPath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | flags, nullptr);
}

HANDLE OpenSharedWaiting(const std::string& path, DWORD access, DWORD flags)
{
    for (const int wait : kInUseWaitsMs) {
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
        const HANDLE file = OpenShared(path, access, flags);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_SHARING_VIOLATION)
            return file;
    }
    ::SetLastError(static_cast<DWORD>(kInUse));
    return INVALID_HANDLE_VALUE;
}

HANDLE HandleOf(const FileDescriptor& file)
{
    return reinterpret_cast<HANDLE>(::_get_osfhandle(file.get()));
}

FileDescriptor DescriptorOf(HANDLE handle)
{
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), 0);
    if (fd < 0)
        ::CloseHandle(handle);
    return FileDescriptor(fd);
}

bool TryLockFile(HANDLE file)
{
    OVERLAPPED beyond{};
    beyond.OffsetHigh = 0x7FFFFFF0;
    return ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &beyond) != 0;
}

DWORD AttributesOf(const std::string& path)
{
    return ::GetFileAttributesW(SystemPath(path).c_str());
}

} // namespace brivane::win32
