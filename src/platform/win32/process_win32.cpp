#include <windows.h>

#include "platform/process.h"
#include "platform/win32/wide_text.h"

namespace brannock::platform {

namespace {

// The folder part of a path with its trailing separator; empty for a bare
// name.
Text FolderOf(TextView path) {
  const size_t last = path.find_last_of(u"\\/");
  return last == TextView::npos ? Text() : Text(path.substr(0, last + 1));
}

// Without an application name the system takes the program from the
// command line up to the first blank, so "C:\Program Files\x.exe" would
// start "C:\Program.exe" if there were one: such a path goes in quotes.
Text ProgramPart(TextView executable) {
  if (executable.find(u' ') == TextView::npos || executable.starts_with(u'"')) return Text(executable);
  return u"\"" + Text(executable) + u"\"";
}

}  // namespace

bool RunProcess(TextView executable, TextView parameters, int showMode) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (showMode >= 0) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showMode);
  }
  std::wstring commandLine = ToWide(TrimControls(ProgramPart(executable) + u" " + Text(parameters)));
  const Text folder = FolderOf(executable);
  const std::wstring wideFolder = ToWide(folder);

  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                      NORMAL_PRIORITY_CLASS | CREATE_NEW_PROCESS_GROUP, nullptr,
                      folder.empty() ? nullptr : wideFolder.c_str(), &startup, &process))
    return false;
  WaitForSingleObject(process.hProcess, kRunProcessWaitMs);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

Text Wow64SystemFolder() {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemWow64DirectoryW(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? FromWide(folder, length) : Text();
}

bool RunProcess(TextView executable, TextView parameters, int showMode, const ProcessLauncher& launcher) {
  if (!launcher.command.empty() || !launcher.environment.empty()) return false;
  return RunProcess(executable, parameters, showMode);
}

}  // namespace brannock::platform
