#include "support/Process.h"

#include "support/TempDir.h"

#include <stdexcept>
#include <windows.h>

namespace brivane::test {
namespace {

std::wstring Wide(const std::string& utf8)
{
    const std::filesystem::path path = NativePath(utf8);
    return path.wstring();
}

// One argument as CommandLineToArgvW reads it back.
std::wstring Quoted(const std::string& argument)
{
    const std::wstring wide = Wide(argument);
    if (!wide.empty() && wide.find_first_of(L" \t\"") == std::wstring::npos)
        return wide;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : wide) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

HANDLE Inheritable(const std::wstring& path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE file = ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                      disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("could not open a standard stream for a child: error " +
                                 std::to_string(::GetLastError()));
    return file;
}

ProgramId Start(const std::vector<std::string>& argv, const std::wstring& out, const std::wstring& err)
{
    std::wstring line;
    for (const std::string& argument : argv)
        line += (line.empty() ? L"" : L" ") + Quoted(argument);
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    HANDLE streams[3] = {Inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING),
                         Inheritable(out, GENERIC_WRITE, out == L"NUL" ? OPEN_EXISTING : CREATE_ALWAYS),
                         Inheritable(err, GENERIC_WRITE, err == L"NUL" ? OPEN_EXISTING : CREATE_ALWAYS)};
    startup.StartupInfo.hStdInput = streams[0];
    startup.StartupInfo.hStdOutput = streams[1];
    startup.StartupInfo.hStdError = streams[2];
    // Only the three streams are inherited: a song another thread of the test has open at
    // that moment would otherwise stay open in the child for its whole life.
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> attributes(size);
    startup.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
    ::InitializeProcThreadAttributeList(startup.lpAttributeList, 1, 0, &size);
    ::UpdateProcThreadAttribute(startup.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, streams,
                                sizeof streams, nullptr, nullptr);
    PROCESS_INFORMATION started{};
    // Wine now and then fails a process start with ERROR_INTERNAL_ERROR while other
    // processes start and files are opened around it; a second try starts it.
    BOOL created = FALSE;
    for (int attempt = 0; attempt < 5 && !created; ++attempt) {
        if (attempt > 0)
            ::Sleep(50);
        created = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, EXTENDED_STARTUPINFO_PRESENT, nullptr,
                                   nullptr, &startup.StartupInfo, &started);
        if (!created && ::GetLastError() != ERROR_INTERNAL_ERROR)
            break;
    }
    const DWORD error = created ? 0 : ::GetLastError();
    ::DeleteProcThreadAttributeList(startup.lpAttributeList);
    for (const HANDLE handle : streams)
        ::CloseHandle(handle);
    if (!created)
        throw std::runtime_error("could not start " + argv.front() + ": error " + std::to_string(error));
    ::CloseHandle(started.hThread);
    return reinterpret_cast<ProgramId>(started.hProcess);
}

} // namespace

std::string CliPath()
{
    return BRIVANE_CLI_PATH;
}

ProgramId StartProgram(const std::vector<std::string>& argv)
{
    return Start(argv, L"NUL", L"NUL");
}

int WaitProgram(ProgramId child)
{
    const HANDLE process = reinterpret_cast<HANDLE>(child);
    ::WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    const bool known = ::GetExitCodeProcess(process, &code);
    ::CloseHandle(process);
    return known ? static_cast<int>(code) : -1;
}

void KillProgram(ProgramId child)
{
    ::TerminateProcess(reinterpret_cast<HANDLE>(child), 137);
    WaitProgram(child);
}

ProcessResult RunProgram(const std::vector<std::string>& argv, const std::function<void()>& inChild)
{
    if (inChild)
        throw std::logic_error("a child's own set-up exists only on POSIX");
    TempDir outputs;
    const int code = WaitProgram(Start(argv, Wide(outputs / "out"), Wide(outputs / "err")));
    ProcessResult result;
    result.ExitCode = code;
    const Bytes out = ReadBytes(outputs / "out");
    const Bytes err = ReadBytes(outputs / "err");
    result.Out.assign(out.begin(), out.end());
    result.Err.assign(err.begin(), err.end());
    return result;
}

} // namespace brivane::test
