// Holds a file for a while as another program would, then lets it go:
//   file_holder open PATH MS READY   open without sharing its deletion, as players and
//                                    virus scanners do, so that no rename over it succeeds
//   file_holder exclusive PATH MS READY  open sharing nothing at all, not even reading
//   file_holder lock PATH MS READY   take the lock another Brivane takes on a song
// READY is created once the file is held.
#include <cstdlib>
#include <string>
#include <windows.h>

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 5)
        return 2;
    const std::wstring how = argv[1];
    const bool lock = how == L"lock";
    const DWORD share =
        how == L"exclusive" ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE | (lock ? FILE_SHARE_DELETE : 0);
    const HANDLE file = ::CreateFileW(argv[2], GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    OVERLAPPED beyond{};
    beyond.OffsetHigh = 0x7FFFFFF0;
    if (lock && !::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &beyond))
        return 4;
    const HANDLE ready = ::CreateFileW(argv[4], GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (ready == INVALID_HANDLE_VALUE)
        return 5;
    ::CloseHandle(ready);
    ::Sleep(static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)));
    ::CloseHandle(file);
    return 0;
}
