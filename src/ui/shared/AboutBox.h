#pragma once

#include "platform/ApplicationInfo.h"
#include "ui/shared/Twips.h"

#include <string>
#include <vector>

namespace brivane::about {

// The About box's words and where each stands, in twips, for both windows.
inline constexpr float kClientWidth = 5730;
inline constexpr float kClientHeight = 3255;

inline constexpr TwipRect kOkPlace{4245, 2745, 1260, 345};
inline constexpr TwipRect kIconPlace{240, 240, 300, 300};
inline constexpr TwipRect kTitlePlace{1050, 240, 3885, 360};
inline constexpr TwipRect kVersionPlace{1050, 600, 3885, 225};
inline constexpr TwipRect kDescriptionPlace{1050, 960, 3885, 930};
inline constexpr TwipRect kWebSiteCaptionPlace{1080, 1920, 615, 210};
inline constexpr TwipRect kWebSitePlace{1800, 1920, 2055, 255};
inline constexpr TwipRect kEmailCaptionPlace{1080, 2280, 495, 255};
inline constexpr TwipRect kEmailPlace{1800, 2280, 1695, 255};
inline constexpr TwipRect kDisclaimerPlace{255, 2745, 3870, 465};
// The etched line above the disclaimer: a dark line, and a light one a pixel below it.
inline constexpr TwipRect kLinePlace{90, 2565, 5564, 30};

inline constexpr const char* kDescription =
    "Converts Duke Nukem 2 and Cosmo IMF files to Wolfenstein 3-D's IMF format.";
inline constexpr const char* kDisclaimer =
    "Warning: Not responsible for any lost data.  Be sure to make back up copies.";
inline constexpr const char* kWebSiteCaption = "website:";
inline constexpr const char* kEmailCaption = "email:";
inline constexpr const char* kWebSite = "https://brivane.example.org";
inline constexpr const char* kEmail = "brivane@example.org";

inline std::string Caption() { return std::string("About ") + kApplicationTitle; }
inline std::string Version() { return "Version " + VersionText(); }

// The box's labels from the top, each named as the toolkit's object is; a one-line label is
// widened to its text where this system's font would clip it, never narrowed.
struct AboutLabel {
    const char* Name;
    std::string Text;
    TwipRect Place;
    bool OneLine;
    bool IsTitle = false; // bold, a size up
};

inline std::vector<AboutLabel> AboutLabels()
{
    return {{"lblTitle", kApplicationTitle, kTitlePlace, true, true},
            {"lblVersion", Version(), kVersionPlace, true},
            {"lblDescription", kDescription, kDescriptionPlace, false},
            {"lbl0", kWebSiteCaption, kWebSiteCaptionPlace, true},
            {"lbl1", kEmailCaption, kEmailCaptionPlace, true},
            {"lblDisclaimer", kDisclaimer, kDisclaimerPlace, false}};
}

// The two links: read-only fields, blue and underlined, that a click opens.
struct AboutLink {
    const char* Name;
    const char* Text;
    TwipRect Place;
    bool IsEmail;
};

inline constexpr AboutLink kAboutLinks[] = {{"txtWebSite", kWebSite, kWebSitePlace, false},
                                            {"txtEmail", kEmail, kEmailPlace, true}};

// What a click on a link hands to the shell: the e-mail field's address as a mailto: link.
inline std::string LinkTarget(const std::string& fieldText, bool isEmail)
{
    return isEmail ? "mailto:" + fieldText : fieldText;
}

} // namespace brivane::about
