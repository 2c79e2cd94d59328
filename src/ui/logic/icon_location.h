// The header icon's location rules: a registry-style icon location
// ("file,index") is split, and the file is looked for under its own name,
// then in the system directory and then in the Windows directory. On a host
// that reads a Wine prefix the Windows paths map to the prefix's files.
#pragma once

#include <cstdint>
#include <filesystem>

#include "common/text.h"
#include "typelib/path_mapper.h"

namespace brannock::ui {

struct IconLocation {
  Text file;
  int32_t index = 0;
};

// The file is the text before the first comma and the index the integer
// after it (at most 255 characters of it are read); without a comma the
// whole text is the file and the index 0. An index that is not an integer
// raises ConversionError "'%s' is not a valid integer value".
IconLocation SplitIconLocation(TextView candidate);

// Turns the Windows file names of a registry source into host files.
class HostFileLocator {
 public:
  // Without a prefix, names are taken as host paths and there is no system
  // or Windows directory to search.
  explicit HostFileLocator(const std::filesystem::path& winePrefix = {});

  // The host file for a Windows path ("C:\windows\x.dll" through the
  // prefix's dosdevices, letters matched in any case) or a host path; empty
  // when no file exists there.
  std::filesystem::path Existing(TextView name) const;

  // The file under its own name, else in the system directory, else in the
  // Windows directory; empty when none holds it or the name is empty.
  // With `wow64Files` (the 32-bit view of a 64-bit registry) the system
  // directory is SysWOW64, also where the name itself says system32, as a
  // 32-bit program would open it.
  std::filesystem::path LocateIconFile(TextView name, bool wow64Files = false) const;

 private:
  typelib::PathMapper drives_;
};

}  // namespace brannock::ui
