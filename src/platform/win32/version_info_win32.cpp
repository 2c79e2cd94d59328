// The version resource of the running program (version.dll).
#include <windows.h>

#include <vector>

#include "common/version.h"
#include "platform/version_info.h"
#include "platform/win32/wide_text.h"

namespace brannock::platform {
namespace {

Text StringEntry(const std::vector<char>& block, const std::wstring& table, const wchar_t* name) {
  const std::wstring path = L"\\StringFileInfo\\" + table + L"\\" + name;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || !value || length == 0) return {};
  const auto* text = static_cast<const wchar_t*>(value);
  size_t n = 0;
  while (n < length && text[n] != L'\0') ++n;
  return FromWide(text, n);
}

}  // namespace

TVersionInfo ReadVersionInfo() {
  wchar_t fileName[MAX_PATH + 1] = {};
  const DWORD nameLength = GetModuleFileNameW(nullptr, fileName, MAX_PATH);
  DWORD handle = 0;
  const DWORD size = nameLength > 0 && nameLength < MAX_PATH ? GetFileVersionInfoSizeW(fileName, &handle) : 0;
  std::vector<char> block(size);
  if (size == 0 || !GetFileVersionInfoW(fileName, 0, size, block.data()))
    return BuildVersionInfo(Utf8ToUtf16(BRANNOCK_VERSION_TEXT));

  TVersionInfo info;
  void* fixedValue = nullptr;
  UINT fixedLength = 0;
  if (VerQueryValueW(block.data(), L"\\", &fixedValue, &fixedLength) && fixedLength >= sizeof(VS_FIXEDFILEINFO)) {
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(fixedValue);
    info.Major = HIWORD(fixed->dwFileVersionMS);
    info.Minor = LOWORD(fixed->dwFileVersionMS);
    info.Release = HIWORD(fixed->dwFileVersionLS);
    info.Build = LOWORD(fixed->dwFileVersionLS);
    info.PreRelease = (fixed->dwFileFlags & fixed->dwFileFlagsMask & VS_FF_PRERELEASE) != 0;
  }

  // The string table of the first translation entry, else US English in the
  // Western code page.
  std::wstring table = L"040904E4";
  void* translations = nullptr;
  UINT translationsLength = 0;
  if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translations, &translationsLength) &&
      translationsLength >= 2 * sizeof(WORD)) {
    const auto* words = static_cast<const WORD*>(translations);
    wchar_t name[9] = {};
    wsprintfW(name, L"%04X%04X", words[0], words[1]);
    table = name;
  }
  info.ProductName = StringEntry(block, table, L"ProductName");
  info.LegalCopyright = StringEntry(block, table, L"LegalCopyright");
  info.Comments = StringEntry(block, table, L"Comments");
  info.FileDescription = StringEntry(block, table, L"FileDescription");
  return info;
}

}  // namespace brannock::platform
