#pragma once

#include "ui/shared/AboutBox.h"

#include <functional>
#include <iterator>
#include <string>
#include <windows.h>

namespace brivane::win32 {

// The About box: the product, its version, what it converts, a warning to keep backups, and
// two links. Shown modally over its owner; OK, Enter and Esc close it. A click on a link hands
// it to `open` (the shell in the program, a recorder in tests).
class frmAbout {
public:

    frmAbout(HWND owner, std::function<void(const std::string&)> open);
    // Returns when the box has been closed.
    void ShowModal();

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK LinkProcedure(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self);
    template <typename Dialog>
    friend Dialog* DialogObject(HWND dialog, UINT message, LPARAM lParam);
    void Load(HWND dialog);
    int LinkIndex(HWND control) const; // -1: no link

    HWND owner_;
    std::function<void(const std::string&)> open_;
    HFONT font_ = nullptr, titleFont_ = nullptr, linkFont_ = nullptr;
    HWND links_[std::size(about::kAboutLinks)] = {}; // txtWebSite, txtEmail
    HWND cmdOK = nullptr;
};

} // namespace brivane::win32
