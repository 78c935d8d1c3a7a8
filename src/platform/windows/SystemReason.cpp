#include "platform/FileError.h"

#include "platform/windows/Win32.h"

namespace brivane {

std::string SystemReason(int errorNumber)
{
    switch (errorNumber) {
    case win32::kReservedName:
        return "Windows keeps this name for a device (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1 to COM9, LPT1 to "
               "LPT9)";
    case win32::kInUse:
        return "it is in use by another program";
    case win32::kTrailingDotOrSpace:
        return "Windows does not keep a name that ends in a dot or a space";
    }
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, static_cast<DWORD>(errorNumber), 0,
                                          reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length ? std::wstring(text, length) : L"Windows error " + std::to_wstring(errorNumber);
    ::LocalFree(text);
    // "Access is denied.\r\n" reads as the POSIX build's "Permission denied" does inside a sentence.
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L'.'))
        reason.pop_back();
    return win32::Narrow(reason);
}

bool IsHeldByAnotherProgram(int errorNumber)
{
    return errorNumber == win32::kInUse;
}

} // namespace brivane
