// The file system redirection of 64-bit Windows for 32-bit programs, as far
// as type library files need it: a path into the system folder (system32)
// names the file of the same name in the 32-bit system folder (SysWOW64).
// Windows exempts a few subfolders of system32 (catroot, drivers\etc,
// logfiles, spool); none holds type libraries, and they are redirected here
// like the rest.
#pragma once

#include "common/text.h"

namespace brannock::typelib {

// The folders of a Wine prefix (and of a default Windows installation).
constexpr TextView kSystemDir = u"C:\\windows\\system32";
constexpr TextView kWow64SystemDir = u"C:\\windows\\syswow64";

// `path` with a leading `systemDir` (letter case and the kind of slash
// ignored, also after a "\\?\" prefix) replaced by `wow64Dir`; any other
// path unchanged.
Text RedirectToWow64Dir(TextView path, TextView systemDir = kSystemDir, TextView wow64Dir = kWow64SystemDir);

}  // namespace brannock::typelib
