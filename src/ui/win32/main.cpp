// Brivane's window on Windows.
#include "settings/SettingsLocation.h"
#include "ui/win32/MessageBoxInteraction.h"
#include "ui/win32/frm.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    // The window takes no arguments; one given is a mistake the user should hear of.
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const std::wstring unknown = arguments && count > 1 ? arguments[1] : L"";
    ::LocalFree(arguments);
    if (!unknown.empty()) {
        ::MessageBoxW(nullptr, (L"Unknown option '" + unknown + L"'. Brivane takes no arguments.").c_str(),
                      L"Brivane", MB_ICONHAND);
        return 2;
    }
    // The installer and the uninstaller look for this while they change the program's files.
    const HANDLE running = ::CreateMutexW(nullptr, FALSE, L"Brivane.Running");

    // The folder dialog needs COM in a single-threaded apartment.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS;
    ::InitCommonControlsEx(&controls);

    const brivane::WindowSettings settings = brivane::LocateWindowSettings();
    brivane::win32::MessageBoxInteraction boxes;
    brivane::win32::frm window(instance, settings.File, settings.DefaultFolder, boxes);
    boxes.SetOwner(window.Handle());
    ::ShowWindow(window.Handle(), show);
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.TranslateDialogKeys(message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    ::CoUninitialize();
    if (running)
        ::CloseHandle(running);
    return static_cast<int>(message.wParam);
}
