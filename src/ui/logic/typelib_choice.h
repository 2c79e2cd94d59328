// "View TypeLib..." on a file with several type libraries (TYPELIB
// resources): the user chooses one from a small list.
#pragma once

#include <vector>

#include "typelib/typelib_resources.h"

namespace brannock::ui {

// The caption and prompt of the list.
inline constexpr char16_t kTypeLibChoiceCaption[] = u"View TypeLib";
inline constexpr char16_t kTypeLibChoicePrompt[] = u"This file holds several type libraries:";

// One list item per library: "N: NAME {GUID} MAJOR.MINOR", or "N: " and
// the error text for one that does not load.
TextList TypeLibChoiceItems(const std::vector<typelib::TypeLibResource>& resources);

// The file name to load for the item at `index` ("FILE\N" past the first
// resource).
Text TypeLibChoiceFile(const Text& fileName, const std::vector<typelib::TypeLibResource>& resources, size_t index);

}  // namespace brannock::ui
