// Windows paths found in a registry source (C:\windows\system32\x.dll) as
// host files: through a Wine prefix's dosdevices links (c: -> ../drive_c)
// or explicit mappings of drives and network shares (--drive C=/mnt/win,
// --drive \\server\share=/mnt/share). Windows paths ignore letter case, so
// each component is looked up on the host without regard to case when its
// exact spelling does not exist.
//
// Every form Windows takes for a file is accepted: C:\x and C:/x, the
// long-path forms \\?\C:\x and \\?\UNC\server\share\x, network paths
// \\server\share\x, and any of them in double quotes.
#pragma once

#include <filesystem>
#include <map>
#include <optional>

#include "common/text.h"

namespace brannock::typelib {

class PathMapper {
 public:
  // The drives of a Wine prefix: every "x:" link in its dosdevices folder.
  static PathMapper ForWinePrefix(const std::filesystem::path& prefix);

  // Maps drive `letter` (any case) to the host folder `dir`; a later
  // mapping of the same letter replaces the earlier one.
  void AddDrive(char16_t letter, const std::filesystem::path& dir);

  // Maps the network share "\\server\share" (any case) to `dir`.
  void AddShare(TextView share, const std::filesystem::path& dir);

  // Parses "C=/mnt/win" or "\\server\share=/mnt/share" (the --drive
  // option's value); false when it is neither.
  bool AddDriveOption(TextView option);

  bool Empty() const { return drives_.empty() && shares_.empty(); }

  // The host file of an absolute Windows path in any of the forms above;
  // nothing when its drive or share is not mapped or the file does not
  // exist.
  std::optional<std::filesystem::path> MapWindowsPath(TextView path) const;

  // Whether the drive or share of an absolute Windows path is mapped at
  // all (the file itself may still be missing).
  bool HasRootOf(TextView path) const;

 private:
  std::map<char16_t, std::filesystem::path> drives_;
  std::map<Text, std::filesystem::path> shares_;  // "\\SERVER\SHARE", upper case
};

// A Windows path in its plain form: blanks around it and one pair of
// double quotes removed, forward slashes turned into backslashes, and the
// long-path prefixes \\?\ and \\?\UNC\ (also \\.\) taken off.
Text PlainWindowsPath(TextView path);

// The root of a plain absolute Windows path: "C:" for a drive path,
// "\\server\share" for a network path; empty for anything else.
Text WindowsPathRoot(TextView plainPath);

// What a user can do when `path` does not map to a host file: the --drive
// option that would map its root ("--drive C=DIR"); empty when the path has
// no root of its own.
Text DriveOptionHint(TextView path);

// Finds `name` in `dir`: the exact name first, then any entry whose name is
// the same without regard to case (ASCII letters).
std::optional<std::filesystem::path> FindNoCase(const std::filesystem::path& dir, TextView name);

}  // namespace brannock::typelib
