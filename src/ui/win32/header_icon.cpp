#include "ui/win32/header_icon.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/win32/wide_text.h"
#include "typelib/wow64_paths.h"
#include "ui/logic/icon_location.h"

namespace brannock::ui {

namespace {

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  full.resize(length < needed ? length : 0);
  return full.empty() ? path : full;
}

using DirectoryFunction = UINT(WINAPI*)(LPWSTR, UINT);

// The folder without a closing backslash; empty when there is none.
Text Folder(DirectoryFunction directory) {
  wchar_t buffer[MAX_PATH];
  const UINT length = directory(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring path(buffer, length);
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return platform::FromWide(path);
}

std::wstring InDirectory(DirectoryFunction directory, const std::wstring& name) {
  const Text folder = Folder(directory);
  return folder.empty() ? std::wstring() : platform::ToWide(folder) + L'\\' + name;
}

// ExtractIconW gives 1 for a file that is not an executable, a library or
// an icon file: that is no icon either.
HICON UsableIcon(HICON icon) {
  if (reinterpret_cast<UINT_PTR>(icon) <= 1) return nullptr;
  return icon;
}

}  // namespace

Text LocateIconFile(TextView name, bool wow64Files) {
  if (name.empty()) return {};
  Text redirected(name);
  if (wow64Files) {
    const Text system = Folder(&GetSystemDirectoryW), wow64 = Folder(&GetSystemWow64DirectoryW);
    if (!system.empty() && !wow64.empty()) redirected = typelib::RedirectToWow64Dir(name, system, wow64);
  }
  const std::wstring wide = platform::ToWide(redirected);
  if (FileExists(wide)) return redirected;
  for (DirectoryFunction directory : {wow64Files ? &GetSystemWow64DirectoryW : &GetSystemDirectoryW,
                                      &GetWindowsDirectoryW}) {
    const std::wstring candidate = InDirectory(directory, wide);
    if (!candidate.empty() && FileExists(candidate)) return platform::FromWide(FullPath(candidate));
  }
  return {};
}

HICON HeaderIcon(const TObjectData& snapshot, bool wow64Files) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  Text located;
  for (const Text* candidate : {&snapshot.DefaultIcon, &snapshot.Server}) {
    const IconLocation location = SplitIconLocation(*candidate);
    located = LocateIconFile(location.file, wow64Files);
    if (located.empty()) continue;
    if (HICON icon = UsableIcon(ExtractIconW(instance, platform::ToWide(located).c_str(), location.index)))
      return icon;
  }
  if (located.empty()) return nullptr;
  // The call may write the path of the program that gave the icon into the
  // buffer, so it gets room for a full path.
  std::wstring buffer = platform::ToWide(located);
  buffer.resize(std::max<size_t>(buffer.size(), 32768), L'\0');
  WORD index = 0;
  return UsableIcon(ExtractAssociatedIconW(instance, buffer.data(), &index));
}

}  // namespace brannock::ui
