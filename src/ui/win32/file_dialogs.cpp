#include "ui/win32/file_dialogs.h"

#include <commdlg.h>

#include "platform/win32/wide_text.h"

namespace brannock::ui {

namespace {

// "name" NUL "pattern;pattern" NUL ... NUL: the filter of the common file
// dialogs.
std::wstring Filter(const std::vector<FileFilter>& filters) {
  std::wstring filter;
  for (const FileFilter& f : filters) {
    filter += platform::ToWide(f.name) + L'\0';
    for (size_t i = 0; i < f.patterns.size(); ++i) filter += (i ? L";" : L"") + platform::ToWide(f.patterns[i]);
    filter += L'\0';
  }
  return filter + L'\0';
}

Text Choose(HWND owner, TextView suggested, const std::vector<FileFilter>& filters, TextView title,
            const char16_t* extension) {
  std::wstring file = platform::ToWide(suggested);
  file.resize(32768, L'\0');
  const std::wstring filter = Filter(filters);
  const std::wstring caption = platform::ToWide(title);
  const std::wstring defaultExtension = extension ? platform::ToWide(extension) : std::wstring();
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (extension) {
    ofn.Flags |= OFN_OVERWRITEPROMPT;
    ofn.lpstrDefExt = defaultExtension.c_str();
    if (!GetSaveFileNameW(&ofn)) return {};
  } else {
    ofn.Flags |= OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameW(&ofn)) return {};
  }
  return platform::FromWide(file.c_str(), wcslen(file.c_str()));
}

}  // namespace

Text ChooseFileToOpen(HWND owner, const std::vector<FileFilter>& filters, TextView title) {
  return Choose(owner, {}, filters, title, nullptr);
}

Text ChooseFileToSave(HWND owner, TextView suggested, const std::vector<FileFilter>& filters, TextView extension) {
  const Text ext(extension);
  return Choose(owner, suggested, filters, {}, ext.c_str());
}

}  // namespace brannock::ui
