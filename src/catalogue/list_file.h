// List files: one catalogue list as semicolon-separated text in the ANSI
// code page, header "Name;GUID", one "Name;GUID" line per record, CR LF
// after every line.
#pragma once

#include <filesystem>
#include <string>

#include "catalogue/object_data.h"

namespace brannock {

// The bytes of the list file of a list.
std::string ListFileBytes(const TObjects& list);

// Writes the list file, replacing an existing file completely or not at all.
// Raises FileError "Cannot create file "%s". %s" when it cannot be written.
void SaveList(const std::filesystem::path& fileName, const TObjects& list);

}  // namespace brannock
