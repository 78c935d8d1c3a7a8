#include "ui/win32/BatchRunner.h"

#include "ui/shared/BatchRelay.h"
#include "ui/shared/Captions.h"
#include "ui/win32/Controls.h"

#include <commctrl.h>
#include <optional>
#include <thread>

namespace brivane::win32 {
namespace {

constexpr UINT kBatchEnded = WM_APP + 2;
constexpr UINT_PTR kPollTimer = 1;
constexpr int kBarId = 100;

// "Converting N of M" with a bar and Cancel; Esc and the close box cancel too.
class ProgressWindow : public BatchDialog {
public:
    ProgressWindow(HWND owner, std::atomic<bool>& cancel) : owner_(owner), cancel_(cancel)
    {
        CreateEmptyDialog(owner, Procedure, reinterpret_cast<LPARAM>(this));
    }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;
    ~ProgressWindow() override
    {
        ::DestroyWindow(window_);
        ::DeleteObject(font_);
    }

    HWND Handle() const { return window_; }
    void HideDialog() override { ::ShowWindow(window_, SW_HIDE); }
    bool IsShown() const override { return ::IsWindowVisible(window_) != FALSE; }
    void ShowDialog() override { ::ShowWindow(window_, SW_SHOW); }

    void ShowProgress(std::size_t done, std::size_t count, const std::string& text) override
    {
        ::SendMessageW(bar_, PBM_SETRANGE32, 0, static_cast<LPARAM>(count));
        ::SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(done), 0);
        SetText(text_, text);
    }

    // The controls, made as the dialog is created; it stays hidden until ShowDialog.
    void Load(HWND dialog)
    {
        window_ = dialog;
        SizeAndCentre(dialog, owner_, 5260, 1560);
        const float tpp = TwipsPerPixel(dialog);
        font_ = CreateMessageFont(dialog);
        SetText(dialog, captions::kProgressTitle);
        text_ = CreateChild(dialog, L"STATIC", "", SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS, 0, font_);
        bar_ = CreateChild(dialog, PROGRESS_CLASSW, "", 0, kBarId, font_);
        const HWND cancelButton = CreateChild(dialog, L"BUTTON", "Cancel", BS_DEFPUSHBUTTON | WS_TABSTOP, IDCANCEL, font_);
        PlaceInTwips(text_, {180, 150, 4900, 300}, tpp);
        PlaceInTwips(bar_, {180, 540, 4900, 300}, tpp);
        PlaceInTwips(cancelButton, {3800, 1020, 1280, 360}, tpp);
    }

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = DialogObject<ProgressWindow>(dialog, message, lParam);
        if (!self || message != WM_COMMAND || LOWORD(wParam) != IDCANCEL)
            return FALSE;
        self->cancel_ = true; // the dialog turns Esc and its close box into Cancel
        ::ShowWindow(dialog, SW_HIDE);
        return TRUE;
    }

    HWND owner_;
    std::atomic<bool>& cancel_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HWND text_ = nullptr;
    HWND bar_ = nullptr;
};

} // namespace

LRESULT RunOnWindowThread(LPARAM call)
{
    (*reinterpret_cast<const std::function<void()>*>(call))();
    return 0;
}

void RunBatch(HWND window, UserInteraction& boxes, const BatchWork& work)
{
    std::atomic<bool> cancel{false};
    ProgressWindow dialog(window, cancel);
    ::EnableWindow(window, FALSE);
    BatchRelay relay(
        boxes,
        [window](const std::function<void()>& call) {
            // A message box gives its owner its input back when it closes; the batch has not ended.
            const std::function<void()> thenBlock = [&] {
                call();
                ::EnableWindow(window, FALSE);
            };
            ::SendMessageW(window, kRunOnWindowThread, 0, reinterpret_cast<LPARAM>(&thenBlock));
        },
        dialog, cancel);

    ::SetTimer(dialog.Handle(), kPollTimer, 40, nullptr);
    std::thread batch([&] {
        work(relay, cancel);
        ::PostMessageW(window, kBatchEnded, 0, 0);
    });
    MSG message{};
    std::optional<WPARAM> quit; // a quit waits for the batch, which may be waiting for us
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            quit = message.wParam;
            continue;
        }
        if (got < 0 || (message.message == kBatchEnded && message.hwnd == window))
            break;
        if (message.message == WM_TIMER && message.hwnd == dialog.Handle()) {
            relay.UpdateDialog();
            continue;
        }
        if (!::IsDialogMessageW(dialog.Handle(), &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    batch.join();
    ::KillTimer(dialog.Handle(), kPollTimer);
    ::EnableWindow(window, TRUE);
    ::SetForegroundWindow(window);
    if (quit)
        ::PostQuitMessage(static_cast<int>(*quit));
}

} // namespace brivane::win32
