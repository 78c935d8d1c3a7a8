// The Win32 window, created for real under Wine and driven with the messages a user's keys,
// clicks and scroll-bar drags produce. Message boxes are answered through the interface the
// core uses.
#include "capture/CaptureFiles.h"
#include "support/GameFiles.h"
#include "support/RecordingInteraction.h"
#include "support/Songs.h"
#include "support/TempDir.h"
#include "support/TextMarks.h"
#include "ui/win32/MessageBoxInteraction.h"
#include "ui/win32/SongPlayer.h"
#include "ui/win32/frm.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <functional>
#include <map>
#include <windows.h>

namespace brivane::win32 {
namespace {

using test::Bytes;

// Runs `act` from a timer once the window's thread is inside a modal loop, `delayMs` from now.
void Later(int delayMs, std::function<void()> act)
{
    static std::map<UINT_PTR, std::function<void()>> pending;
    const UINT_PTR id = ::SetTimer(nullptr, 0, static_cast<UINT>(delayMs), [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        const std::function<void()> act = std::move(pending[id]); // `act` may call Later again
        pending.erase(id);
        act();
    });
    pending[id] = std::move(act);
}

class WindowTest : public ::testing::Test {
protected:
    void Open(std::deque<UserAnswer> answers = {})
    {
        boxes_ = std::make_unique<test::RecordingInteraction>(std::move(answers));
        window_ = std::make_unique<frm>(::GetModuleHandleW(nullptr), Settings(), dir_.Path(), *boxes_);
        ::ShowWindow(window_->Handle(), SW_SHOW);
    }

    std::string Settings() const { return dir_ / "Brivane.ini"; }
    HWND Control(int id) const { return ::GetDlgItem(window_->Handle(), id); }
    std::string Text(int id) const
    {
        wchar_t text[1024] = {};
        ::GetWindowTextW(Control(id), text, 1024);
        return test::Utf8Path(std::filesystem::path(text));
    }

    // A key as the message loop hands it on: through the dialog keyboard handling first.
    void Key(UINT message, WPARAM key, HWND focus)
    {
        ::SetFocus(focus);
        MSG msg{focus, message, key, message == WM_SYSCHAR ? (1 << 29) : 0, 0, {}};
        if (!window_->TranslateDialogKeys(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    void Menu(int command) { ::SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0); }
    int Selected() const { return static_cast<int>(::SendMessageW(Control(frm::kFile), LB_GETSELCOUNT, 0, 0)); }

    test::TempDir dir_;
    std::unique_ptr<test::RecordingInteraction> boxes_;
    std::unique_ptr<frm> window_;
};

TEST_F(WindowTest, FirstStartWritesTheSettingsBesideTheProgramAndEachChangeAtOnce)
{
    Open();
    EXPECT_EQ(test::ReadText(Settings()), "[General]\r\nOriginalTics=280\r\n");
    EXPECT_EQ(Text(frm::kTicsValue), "280");
    EXPECT_EQ(Text(frm::kConvert), "Convert to Wolfenstein IMF");
    EXPECT_EQ(::GetFocus(), Control(frm::kBrowse));

    Menu(kOptionsMakeBackups);
    EXPECT_EQ(test::ReadText(Settings()), "[General]\r\nMakeBackups=0\r\nOriginalTics=280\r\n");
    EXPECT_EQ(::GetMenuState(::GetSubMenu(::GetMenu(window_->Handle()), 1), kOptionsMakeBackups, MF_BYCOMMAND) &
                  MF_CHECKED,
              0u);
    EXPECT_TRUE(boxes_->messages.empty());
}

TEST_F(WindowTest, TheScrollBarsKeysAndDragsStepTheRateAndStoreIt)
{
    Open();
    struct Step {
        const char* Name;
        std::function<void(HWND bar)> Do;
        int Expected;
    };
    const Step steps[] = {
        {"Right arrow", [this](HWND bar) { Key(WM_KEYDOWN, VK_RIGHT, bar); }, 281},
        {"Page Up (page left)", [this](HWND bar) { Key(WM_KEYDOWN, VK_PRIOR, bar); }, 256},
        {"End", [this](HWND bar) { Key(WM_KEYDOWN, VK_END, bar); }, 700},
        {"a thumb drag", [this](HWND bar) {
             ::SendMessageW(window_->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 433), reinterpret_cast<LPARAM>(bar));
         }, 433},
        {"the left line arrow at the lowest rate", [this](HWND bar) {
             ::SendMessageW(window_->Handle(), WM_HSCROLL, MAKEWPARAM(SB_LEFT, 0), reinterpret_cast<LPARAM>(bar));
             ::SendMessageW(window_->Handle(), WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0), reinterpret_cast<LPARAM>(bar));
         }, 100},
    };
    for (const Step& step : steps) {
        step.Do(Control(frm::kTics));
        EXPECT_EQ(Text(frm::kTicsValue), std::to_string(step.Expected)) << step.Name;
        EXPECT_EQ(test::ReadText(Settings()), "[General]\r\nOriginalTics=" + std::to_string(step.Expected) + "\r\n")
            << step.Name;
    }
}

TEST_F(WindowTest, AltAAndEnterConvertTheStoredFolderWithEveryMessageInListOrder)
{
    const Bytes song = test::MakeHeaderlessSong(400, 3);
    for (const char* name : {"b.imf", "A.IMF", "c.imf", "d.WLF"})
        test::WriteBytes(dir_ / name, song);
    test::WriteBytes(dir_ / "c.imf", test::ReferenceConversion(song, 280));
    test::WriteBytes(dir_ / "c.imf.bak", song);
    test::WriteBytes(dir_ / "notes.txt", {1});
    test::WriteText(Settings(), "[General]\r\nFolder=" + dir_.Path() + "\r\nOriginalTics=280\r\n");

    Open({UserAnswer::No});
    const HWND list = Control(frm::kFile);
    EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 4) << "only the songs";
    Key(WM_SYSCHAR, 'a', list); // Select &All
    EXPECT_EQ(Selected(), 4);
    Key(WM_KEYDOWN, VK_RETURN, Control(frm::kSelectAll)); // Enter presses Convert, even on another button
    const std::string compatible = "c.imf is already compatible with Wolfenstein 3D.";
    ASSERT_EQ(boxes_->messages.size(), 2u) << test::Describe(boxes_->messages);
    EXPECT_EQ(boxes_->messages[0].Title, "Reconvert?");
    EXPECT_EQ(boxes_->messages[0].Text.rfind(compatible, 0), 0u);
    EXPECT_EQ(boxes_->messages[1].Text.rfind("Conversion complete!", 0), 0u);
    EXPECT_EQ(test::ReadBytes(dir_ / "A.IMF"), test::ReferenceConversion(song, 280));
    EXPECT_EQ(test::ReadBytes(dir_ / "b.imf.bak"), song);
    EXPECT_EQ(test::ReadBytes(dir_ / "d.WLF"), test::ReferenceConversion(song, 280));
    EXPECT_EQ(test::ReadBytes(dir_ / "c.imf"), test::ReferenceConversion(song, 280)) << "No keeps the song";
    EXPECT_TRUE(::IsWindowEnabled(window_->Handle())) << "the window takes input again after the batch";

    // Yes restores the backup and converts it afresh, here at another rate.
    boxes_ = nullptr;
    window_ = nullptr;
    Open({UserAnswer::Yes});
    ::SendMessageW(window_->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 560),
                   reinterpret_cast<LPARAM>(Control(frm::kTics)));
    ::SendMessageW(Control(frm::kFile), LB_SETSEL, TRUE, 2);
    ::SendMessageW(Control(frm::kConvert), BM_CLICK, 0, 0);
    EXPECT_EQ(test::ReadBytes(dir_ / "c.imf"), test::ReferenceConversion(song, 560));
}

// Notepad's "UTF-8 with BOM" and "Unicode" (UTF-16 LE), made here by Windows' own encoder.
TEST_F(WindowTest, SettingsSavedWithAMarkAreReadAndWrittenBackWithIt)
{
    const std::string folder = dir_.Path() + "\\Musik f\u00FCr Spiele";
    std::filesystem::create_directory(test::NativePath(folder));
    const auto utf16 = [](const std::string& text) {
        std::wstring wide(text.size(), L'\0');
        wide.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                                    wide.data(), static_cast<int>(wide.size()))));
        Bytes bytes{0xFF, 0xFE};
        for (const wchar_t c : wide)
            bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8)});
        return bytes;
    };
    for (const auto& [kind, encode] : test::NotepadEncodings(utf16)) {
        const std::string stored = "[General]\r\nFolder=" + folder + "\r\nOriginalTics=350\r\n";
        test::WriteBytes(Settings(), encode(stored));
        Open();
        EXPECT_TRUE(Text(frm::kFolder).ends_with("Musik f\u00FCr Spiele")) << kind << ": " << Text(frm::kFolder);
        EXPECT_EQ(test::ReadBytes(Settings()), encode(stored)) << kind << ": nothing is written at start";
        ::SendMessageW(window_->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 400),
                       reinterpret_cast<LPARAM>(Control(frm::kTics)));
        window_ = nullptr;
        EXPECT_EQ(test::ReadBytes(Settings()), encode("[General]\r\nFolder=" + folder + "\r\nOriginalTics=400\r\n"))
            << kind;
    }
}

TEST_F(WindowTest, ALongPathIsShortenedWithItsLastFolderAndTheSizeLimitsHold)
{
    std::string deep = dir_.Path();
    for (const char* part : {"\\Games and their music", "\\Duke Nukem II", "\\Original soundtrack", "\\Last folder"}) {
        deep += part;
        std::filesystem::create_directory(test::NativePath(deep));
    }
    test::WriteText(Settings(), "[General]\r\nFolder=" + deep + "\r\n");
    Open();
    const std::string shown = Text(frm::kFolder);
    EXPECT_NE(shown, deep);
    EXPECT_NE(shown.find("..."), std::string::npos) << shown;
    EXPECT_TRUE(shown.ends_with("\\Last folder")) << shown;

    ::SetWindowPos(window_->Handle(), nullptr, 0, 0, 20, 20, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    ::GetClientRect(window_->Handle(), &client);
    EXPECT_GE(client.right, 1680 / 15 - 1) << "1680 twips at 96 dots per inch";
    EXPECT_GE(client.bottom, 1830 / 15 - 1);
}

TEST_F(WindowTest, TheAboutBoxIsModalAndEnterOrEscCloseIt)
{
    Open();
    for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        bool sawModal = false;
        Later(300, [&] {
            const HWND about = ::FindWindowW(nullptr, L"About Brivane");
            sawModal = about && !::IsWindowEnabled(window_->Handle());
            ::PostMessageW(::GetFocus(), WM_KEYDOWN, key, 0);
        });
        Menu(kHelpAbout); // returns when the box has closed
        EXPECT_TRUE(sawModal) << key;
        EXPECT_EQ(::FindWindowW(nullptr, L"About Brivane"), nullptr);
        EXPECT_TRUE(::IsWindowEnabled(window_->Handle()));
    }
}

TEST_F(WindowTest, ALongBatchShowsItsProgressAndCancelStopsIt)
{
    const Bytes song = test::MakeHeaderlessSong(40000, 5);
    for (int i = 0; i < 400; ++i)
        test::WriteBytes(dir_ / ("song" + std::to_string(1000 + i) + ".imf"), song);
    test::WriteText(Settings(), "[General]\r\nFolder=" + dir_.Path() + "\r\n");
    Open();
    ::SendMessageW(Control(frm::kSelectAll), BM_CLICK, 0, 0);
    std::string progress;
    // Looks every 100 ms from the moment the dialog may appear, however fast the disk is.
    std::function<void()> cancelOnceShown = [&] {
        const HWND dialog = ::FindWindowW(L"#32770", L"Converting");
        if (!dialog || !::IsWindowVisible(dialog)) {
            Later(100, cancelOnceShown);
            return;
        }
        wchar_t text[256] = {};
        ::GetWindowTextW(::GetWindow(dialog, GW_CHILD), text, 256);
        progress = test::Utf8Path(std::filesystem::path(text));
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    Later(500, cancelOnceShown);
    ::SendMessageW(Control(frm::kConvert), BM_CLICK, 0, 0);
    EXPECT_EQ(progress.rfind("Converting ", 0), 0u) << progress;
    ASSERT_FALSE(boxes_->messages.empty());
    const std::string& last = boxes_->messages.back().Text;
    EXPECT_EQ(last.rfind("Conversion stopped after ", 0), 0u) << last;
    int converted = 0;
    for (int i = 0; i < 400; ++i)
        converted += test::Exists(dir_ / ("song" + std::to_string(1000 + i) + ".imf.bak"));
    EXPECT_GT(converted, 0);
    EXPECT_LT(converted, 400) << "Cancel stopped the batch";
}

TEST_F(WindowTest, ConvertingASongOfTheTargetsLayoutAgainAsksAndTheOriginalIsNeverLost)
{
    const Bytes original = test::MakeHeaderlessSong(400, 9);
    test::WriteBytes(dir_ / "a.imf", original);
    test::WriteText(Settings(), "[General]\r\nFolder=" + dir_.Path() + "\r\nOriginalTics=280\r\n");
    Open({UserAnswer::No, UserAnswer::Yes, UserAnswer::No});
    Menu(kOptionsConvertTo + 1); // Cosmo
    Menu(kOptionsExactTiming);
    EXPECT_NE(test::ReadText(Settings()).find("ExactTiming=1\r\n"), std::string::npos);
    ::SendMessageW(Control(frm::kFile), LB_SETSEL, TRUE, -1);
    Menu(frm::kConvert);
    const Bytes once = test::ReadBytes(dir_ / "a.imf");
    for (int run = 0; run < 3; ++run) {
        boxes_->messages.clear();
        Menu(frm::kConvert);
        ASSERT_FALSE(boxes_->messages.empty());
        EXPECT_EQ(boxes_->messages.front().Title, "Reconvert?");
        EXPECT_EQ(test::ReadBytes(dir_ / "a.imf"), once) << "converted once, whatever the answer";
        EXPECT_EQ(test::ReadBytes(dir_ / "a.imf.bak"), original);
    }
    const HMENU play = ::GetSubMenu(::GetMenu(window_->Handle()), 2);
    EXPECT_NE(::GetMenuState(play, kPlayStop, MF_BYCOMMAND) & MF_GRAYED, 0u) << "nothing plays";
}

// A capture's song over a converted song asks before each file it would write over, and in a
// real box Enter answers such a question No.
TEST_F(WindowTest, ACapturesSongOverASongAsksAndEnterOnTheQuestionKeepsTheFile)
{
    const Bytes original = test::MakeHeaderlessSong(400, 9);
    test::WriteBytes(dir_ / "a.imf", original);
    test::WriteBytes(dir_ / "a.dro", test::Dro(0, {0, 1, 0x70, 10, 1, 0x20}));
    test::WriteText(Settings(), "[General]\r\nFolder=" + dir_.Path() + "\r\nOriginalTics=280\r\n");
    Open({UserAnswer::Yes, UserAnswer::No});
    ::SendMessageW(Control(frm::kFile), LB_SETSEL, TRUE, 1); // a.imf, after a.dro
    Menu(frm::kConvert);
    const Bytes converted = test::ReadBytes(dir_ / "a.imf");
    ::SendMessageW(Control(frm::kFile), LB_SETSEL, FALSE, -1);
    ::SendMessageW(Control(frm::kFile), LB_SETSEL, TRUE, 0);
    boxes_->messages.clear();
    Menu(frm::kConvert);
    ASSERT_GE(boxes_->messages.size(), 2u);
    EXPECT_EQ(boxes_->messages[0].Title, "Replace song?");
    EXPECT_EQ(boxes_->messages[1].Title, "Replace backup?");
    EXPECT_EQ(test::ReadBytes(dir_ / "a.imf"), converted);
    EXPECT_EQ(test::ReadBytes(dir_ / "a.imf.bak"), original);

    MessageBoxInteraction boxes(window_->Handle());
    for (const bool defaultNo : {true, false}) {
        Later(500, [] {
            const HWND focus = ::GetFocus();
            ::PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
            ::PostMessageW(focus, WM_KEYUP, VK_RETURN, 0);
        });
        UserMessage question("a.imf already exists.\nReplace it with the song of a.dro?", "Replace song?",
                             MessageStyle::Question);
        question.DefaultNo = defaultNo;
        EXPECT_EQ(boxes.Show(question).Answer, defaultNo ? UserAnswer::No : UserAnswer::Yes) << defaultNo;
    }
}

TEST_F(WindowTest, ALongStatusEndsInAnEllipsisAndTheTooltipHoldsItWhole)
{
    test::WriteBytes(dir_ / (std::string(60, 'x') + ".imf"), test::MakeHeldNoteSong(280));
    test::WriteText(Settings(), "[General]\r\nFolder=" + dir_.Path() + "\r\nOriginalTics=280\r\n");
    Open();
    ::SetWindowPos(window_->Handle(), nullptr, 0, 0, 300, 400, SWP_NOMOVE | SWP_NOZORDER);
    ::SendMessageW(Control(frm::kFile), LB_SETSEL, TRUE, 0);
    ::SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(frm::kFile, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(Control(frm::kFile)));
    wchar_t shown[512] = {};
    ::SendMessageW(Control(frm::kStatus), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(shown));
    const std::wstring text = shown;
    EXPECT_TRUE(text.ends_with(L"...")) << test::Utf8Path(std::filesystem::path(text));
    EXPECT_EQ(text.rfind(L"xxxxxxxxxx", 0), 0u);

    HWND tips = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND found, LPARAM into) {
        wchar_t type[64] = {};
        ::GetClassNameW(found, type, 64);
        if (std::wstring(type) == TOOLTIPS_CLASSW)
            *reinterpret_cast<HWND*>(into) = found;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&tips));
    wchar_t tip[512] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window_->Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(Control(frm::kStatus));
    tool.lpszText = tip;
    ::SendMessageW(tips, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(tip), std::wstring(60, L'x') + L".imf: headerless, 0:01 at 280 ticks per second");
}

TEST_F(WindowTest, AMessageBoxIsOwnedByTheWindowAndCentredOverIt)
{
    Open();
    ::SetWindowPos(window_->Handle(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    MessageBoxInteraction boxes(window_->Handle());
    RECT box{}, owner{};
    HWND ownedBy = nullptr;
    Later(500, [&] {
        const HWND shown = ::GetForegroundWindow();
        ::GetWindowRect(shown, &box);
        ownedBy = ::GetWindow(shown, GW_OWNER);
        ::PostMessageW(shown, WM_COMMAND, IDOK, 0);
    });
    boxes.Show({"one song's message", "A title", MessageStyle::Information});
    ::GetWindowRect(window_->Handle(), &owner);
    EXPECT_EQ(ownedBy, window_->Handle());
    EXPECT_NEAR((box.left + box.right) / 2, (owner.left + owner.right) / 2, 2);
    EXPECT_NEAR((box.top + box.bottom) / 2, (owner.top + owner.bottom) / 2, 2);
}

// Game Music with a click, the file picker and the keys: a song replaced, the original put back.
TEST_F(WindowTest, GameMusicReplacesASongThroughThePickerAndAltORestoresIt)
{
    Bytes gate{0, 0, 0, 0};
    gate.resize(1333, 0);
    const Bytes cmp = test::Group({{"CAVES.IMF", Bytes{0, 0, 0, 0, 0x20, 1, 28, 0}}, {"OPNGATEA.IMF", gate}}, 200);
    test::WriteBytes(dir_ / "NUKEM2.CMP", cmp);
    test::WriteBytes(dir_ / "song.imf", Bytes{0, 0, 0, 0, 0x20, 2, 1, 0});
    test::WriteText(Settings(), "[General]\r\nFolder=" + dir_.Path() + "\r\n");
    Open();
    std::vector<std::string> seen; // the dialog's status, then each message box's text
    const auto textOf = [](HWND control) {
        wchar_t text[1024] = {};
        ::GetWindowTextW(control, text, 1024);
        return test::Utf8Path(std::filesystem::path(text));
    };
    const auto messageText = [&](HWND box) { return textOf(::GetDlgItem(box, 0xFFFF)); };
    // Acts on the window of this title once it is shown, looking every 100 ms.
    std::function<void(const wchar_t*, std::function<void(HWND)>)> whenShown = [&](const wchar_t* title,
                                                                                   std::function<void(HWND)> act) {
        Later(100, [&, title, act] {
            const HWND shown = ::FindWindowW(nullptr, title);
            if (shown && ::IsWindowVisible(shown))
                act(shown);
            else
                whenShown(title, act);
        });
    };
    HWND dialog = nullptr;
    bool modal = false;
    whenShown(L"Game Music", [&](HWND shown) {
        dialog = shown;
        modal = !::IsWindowEnabled(window_->Handle());
        const HWND list = ::GetDlgItem(dialog, 100);
        RECT row{LVIR_BOUNDS, 0, 0, 0};
        ::SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
        const LPARAM at = MAKELPARAM(row.left + 40, (row.top + row.bottom) / 2);
        ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(list, WM_LBUTTONUP, 0, at);
        Later(300, [&] {
            seen.push_back(textOf(::GetDlgItem(dialog, 101)));
            const HWND songs = ::GetDlgItem(dialog, 100);
            // The columns fit their widest texts.
            for (const auto& [column, widest] : {std::pair{2, L"OPNGATEA.IMF"}, {4, L"1333 bytes"}})
                EXPECT_GE(ListView_GetColumnWidth(songs, column), ListView_GetStringWidth(songs, widest) + 12) << column;
            // Enter on the list plays the song, as a double click does.
            ::SetFocus(songs);
            MSG enter{songs, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
            ::IsDialogMessageW(dialog, &enter);
            if (SongPlayer::HasOutputDevice()) {
                EXPECT_EQ(textOf(::GetDlgItem(dialog, 101)).rfind("Playing CAVES.IMF", 0), 0u)
                    << textOf(::GetDlgItem(dialog, 101));
            }
            ::PostMessageW(::GetDlgItem(dialog, 111), BM_CLICK, 0, 0); // Stop
            ::PostMessageW(::GetDlgItem(dialog, 113), BM_CLICK, 0, 0); // Replace With...
        });
        whenShown(L"Replace With", [&](HWND picker) {
            ::SetDlgItemTextW(picker, 1148, std::filesystem::path(dir_ / "song.imf").wstring().c_str());
            ::PostMessageW(picker, WM_COMMAND, IDOK, 0);
            whenShown(L"Replaced", [&](HWND box) {
                seen.push_back(messageText(box));
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                Later(300, [&] {
                    LVITEMW selected{LVIF_STATE, 0, 0, LVIS_SELECTED, LVIS_SELECTED, nullptr, 0, 0, 0, 0, 0, 0, nullptr, nullptr, 0};
                    ::SendMessageW(::GetDlgItem(dialog, 100), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
                    ::SetFocus(::GetDlgItem(dialog, 100));
                    MSG alt{::GetFocus(), WM_SYSCHAR, 'o', 1 << 29, 0, {}};
                    ::IsDialogMessageW(dialog, &alt); // Alt+O: Restore Originals
                });
                whenShown(L"Restored", [&](HWND restored) {
                    seen.push_back(messageText(restored));
                    ::PostMessageW(restored, WM_COMMAND, IDOK, 0);
                    Later(300, [&] { ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); });
                });
            });
        });
    });
    Menu(kOptionsGameMusic); // returns when the dialog has closed
    EXPECT_TRUE(modal);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], "NUKEM2.CMP, song 1 (CAVES.IMF): headerless at 280, 8 bytes, 0.10 seconds");
    EXPECT_EQ(seen[1], "Put song.imf into NUKEM2.CMP as song 1 (CAVES.IMF): already in its layout and rate");
    EXPECT_EQ(seen[2].rfind("Restored ", 0), 0u) << seen[2];
    EXPECT_EQ(test::ReadBytes(dir_ / "NUKEM2.CMP"), cmp);
    EXPECT_TRUE(::IsWindowEnabled(window_->Handle()));
}

} // namespace
} // namespace brivane::win32
