#pragma once

namespace brivane::captions {

// The words both windows show, written once; the menus' are in MainMenus() and the About
// box's in AboutBox.h.
inline constexpr const char* kSelectAll = "Select &All";
inline constexpr const char* kOriginalTics = "Original Tics:";
inline constexpr const char* kChooseFolder = "Select a folder"; // the folder dialog's title
inline constexpr const char* kNoOutputDevice = "No audio output device";
inline constexpr const char* kProgressTitle = "Converting";
inline constexpr const char* kApplyToRest = "Do this for the remaining files";

} // namespace brivane::captions
