// The header icon of the detail pane: the icon named by DefaultIcon, else
// by the server file, else the icon the desktop associates with the server
// file's type.
#pragma once

#include <QIcon>
#include <filesystem>

#include "catalogue/object_data.h"
#include "ui/logic/icon_location.h"

namespace brannock::ui {

// Icon number `index` of a host file (an .ico file, or the icon resources of
// a PE file); a null icon when there is none.
QIcon ExtractFileIcon(const std::filesystem::path& file, int index);

// The icon of the file's type on this desktop; null when there is none.
QIcon AssociatedFileIcon(const std::filesystem::path& file);

// The two candidates in turn, then the associated icon of the second. An
// icon index that is not an integer raises ConversionError.
QIcon HeaderIcon(const TObjectData& snapshot, const HostFileLocator& locator, bool wow64Files = false);

}  // namespace brannock::ui
