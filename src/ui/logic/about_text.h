// Texts of the About dialog, from the program's version information.
#pragma once

#include "common/text.h"
#include "platform/version_info.h"

namespace brannock::ui {

inline constexpr char16_t kAboutCaption[] = u"About....";
inline constexpr char16_t kMakerEmail[] = u"mailto:brannock@example.org";
inline constexpr char16_t kMakerHomepage[] = u"https://brannock.example.org";

// "%d.%d.%d.%d"; a pre-release adds " BETA %d" with the build number, or
// only " BETA" when the build number is 0.
Text FileVersionText(const platform::TVersionInfo& info);

// "Version " and the file version.
Text VersionLineText(const platform::TVersionInfo& info);

// The comments when there are any, else the file description.
Text DescriptionText(const platform::TVersionInfo& info);

// An address as the dialog shows it: without its scheme ("mailto:",
// "https://", ...).
Text LinkDisplayText(TextView address);

// The program's terms of use.
Text TermsOfUseText();

}  // namespace brannock::ui
