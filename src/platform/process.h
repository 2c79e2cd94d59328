// Starting another program: the registration tool and similar helpers.
#pragma once

#include <cstdint>
#include <optional>

#include "common/text.h"

namespace brannock::platform {

// How long RunProcess waits for the started program to end; a program that
// runs longer goes on by itself.
constexpr uint32_t kRunProcessWaitMs = 2000;

// Starts `executable` with `parameters` and waits for it to end, at most
// kRunProcessWaitMs; true when the program was started.
//
// Windows: the command line is the executable, one blank and the
// parameters, trimmed of characters up to U+0020 at both ends (an executable
// path with blanks is quoted); the working directory is the executable's
// folder with its trailing backslash, or the current one for a bare name
// found through the search path; a show mode of 0 or more is passed to the
// new process (STARTF_USESHOWWINDOW), a negative one leaves it to the system.
//
// POSIX: the program is the executable (looked up through PATH when it holds
// no "/"), its arguments the parameters split by SplitCommandLine; it runs in
// the executable's folder when the path has one. The show mode is ignored.
bool RunProcess(TextView executable, TextView parameters, int showMode);

// The 32-bit system folder of 64-bit Windows (SysWOW64), which holds the
// 32-bit builds of the system's programs; empty on 32-bit Windows and off
// Windows.
Text Wow64SystemFolder();

// Words put before the program, and environment entries added for it: how a
// POSIX desktop runs a Windows tool, for example {"wine"} with
// {"WINEPREFIX=/home/u/.wine"} to run regsvr32 in a Wine prefix.
struct ProcessLauncher {
  TextList command;
  TextList environment;  // NAME=VALUE; replaces an inherited entry of that NAME
};

// RunProcess through a launcher: the launcher's words, then the executable
// and the split parameters. The executable names a file of the launched
// world, so the working directory is left as it is. Without words and
// entries this is RunProcess itself. Windows runs its tools itself: a
// launcher with words or entries does not start anything there (false).
bool RunProcess(TextView executable, TextView parameters, int showMode, const ProcessLauncher& launcher);

#if !defined(_WIN32)

// The explicit form: argv[0] is looked up through PATH when it holds no "/";
// `environment` entries are added as above; the program starts in
// `workingDirectory` when one is given. Waits as RunProcess does; true when
// the program was started.
bool RunProgram(const TextList& argv, const TextList& environment, const std::optional<Text>& workingDirectory);
#endif

}  // namespace brannock::platform
