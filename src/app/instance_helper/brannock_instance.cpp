// brannock-instance.exe PROGID: creates a test instance of a COM class for
// the window program when it reads a Wine prefix and has no COM of its own.
// The program runs it as `wine brannock-instance.exe PROGID` with WINEPREFIX
// set to the prefix.
//
// It obtains an instance of the ProgID's class (a running one that gives
// IDispatch, else a new in-process or local server), asks it for its type
// information (IDispatch::GetTypeInfo, index 0, LOCALE_SYSTEM_DEFAULT),
// releases everything, and writes exactly one line to its standard output:
//
//   none                      no instance was obtained: the ProgID does not
//                             resolve, or creation failed
//   ok                        the instance gave its type information
//   typeinfo-failed 0xXXXXXXXX
//                             GetTypeInfo failed with that code, eight
//                             upper-case hexadecimal digits
//
// The line may end in CR LF. Exit code 0 after a report, 2 on a wrong call
// (then nothing is written to standard output).
#include <cstdio>
#include <cwchar>

#include "platform/instance_probe.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: brannock-instance PROGID\n", stderr);
    return 2;
  }
  const brannock::Text progId(reinterpret_cast<const char16_t*>(argv[1]), std::wcslen(argv[1]));
  using namespace brannock::platform;
  const std::string line = FormatInstanceReport(ProbeInstance(progId, ProcessLauncher{}));
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
  return 0;
}
