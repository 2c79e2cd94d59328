// The files of the machine a registry source describes, as far as this
// program can see them: the live registry's machine is this one; a Wine
// prefix's files are reached through its drives; any source's through the
// --drive mappings. A path whose drive is not mapped cannot be checked, and
// is never called missing.
#pragma once

#include <filesystem>
#include <map>

#include "common/text.h"
#include "registry/registry_source.h"
#include "typelib/path_mapper.h"

namespace brannock::analysis {

enum class Presence : uint8_t { Present, Missing, Unknown };

class MachineFiles {
 public:
  // `native`: the paths are this machine's own. `systemDir` and
  // `windowsDir` ("C:\windows\system32", "C:\windows") are where a bare
  // file name is looked for.
  MachineFiles(typelib::PathMapper mapper, bool native, Text systemDir, Text windowsDir);

  // For a source: the live registry's own machine, a Wine prefix's drives,
  // plus the --drive mappings (`drives`, "C=/mnt/win"). The folders come
  // from the source's Windows environment (SystemRoot); with `wow64Files`
  // the system folder is SysWOW64, as a 32-bit program opens it.
  static MachineFiles ForSource(const registry::RegistrySource& source, const TextList& drives, bool wow64Files);

  // Whether any file can be checked at all.
  bool CanCheck() const { return native_ || !mapper_.Empty(); }

  // An absolute path (any form Windows takes), or a bare file name looked
  // for in the system folder, then in the Windows folder. Unknown for a
  // path on a drive that is not mapped, and for a relative path.
  Presence Of(TextView windowsPath);

  const Text& SystemDir() const { return systemDir_; }
  const Text& WindowsDir() const { return windowsDir_; }

 private:
  Presence OfPlainPath(const Text& plain);

  typelib::PathMapper mapper_;
  bool native_;
  Text systemDir_;
  Text windowsDir_;
  std::map<Text, Presence> known_;  // by upper-cased plain path
};

// The file a server value names: the text in its first pair of double
// quotes, else the whole text or, for a command line with arguments
// (LocalServer32), its first part that names an existing file, as the
// system starts such a command (cutting at each blank in turn). The file
// reported when none exists is the shortest part ending in ".exe" or
// ".dll", else the whole text.
struct ServerFile {
  Text path;
  Presence presence = Presence::Unknown;
};
ServerFile FindServerFile(TextView value, MachineFiles& files);

// Whether a path lies where any user may write, judged by the path alone:
// the user profile folders (\Users\, which holds the public profile, and
// \Documents and Settings\), the temporary folders (\Temp\, \Tmp\,
// \Windows\Temp\), \ProgramData\, or a variable for one of them
// (%TEMP%, %APPDATA%, %USERPROFILE%, ...) that was not expanded.
bool InUserWritablePlace(TextView path);

}  // namespace brannock::analysis
