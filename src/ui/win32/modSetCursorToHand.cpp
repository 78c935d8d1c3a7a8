#include "ui/win32/modSetCursorToHand.h"

#include <windows.h>

namespace brivane::win32 {

void SetCursorToHand()
{
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
}

} // namespace brivane::win32
