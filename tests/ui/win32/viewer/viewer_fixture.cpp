#include "viewer_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win32/wide_text.h"
#include "typelib/file_loader.h"
#include "typelib/loader.h"

namespace brannock::ui::testing {

namespace {

std::wstring EnvWide(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value ? value : L"";
}

}  // namespace

std::vector<TestLibrary> FixtureLibraries() {
  std::vector<TestLibrary> libraries;
  const std::wstring dir = EnvWide(L"BRANNOCK_VIEWER_TLB_DIR");
  if (dir.empty()) return libraries;
  for (const char* name : {"minimal", "render_demo", "shapes"}) {
    std::wstring wide(name, name + std::strlen(name));
    libraries.push_back({name, dir + L"\\" + wide + L".tlb"});
  }
  return libraries;
}

TestLibrary Mshtml() { return {"mshtml", L"C:\\windows\\system32\\mshtml.tlb"}; }

TestLibrary Fixture(const std::string& name) {
  for (const TestLibrary& library : FixtureLibraries())
    if (library.name == name) return library;
  return {};
}

Text RenderedUnit(const std::string& name) {
  const std::wstring dir = EnvWide(L"BRANNOCK_VIEWER_RENDERED_DIR");
  if (dir.empty()) return {};
  std::ifstream in(std::filesystem::path(dir) / (name + ".unit"), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const Text unit = Utf8ToUtf16(bytes.str());
  Text crlf;
  crlf.reserve(unit.size() + unit.size() / 16);
  for (char16_t c : unit) {
    if (c == u'\n') crlf += u'\r';
    crlf += c;
  }
  if (crlf.ends_with(u"\r\n")) crlf.resize(crlf.size() - 2);
  return crlf;
}

BoxCapture::BoxCapture() {
  SetMessageBoxHook([this](BoxKind kind, const Text& text, const Text&) {
    (kind == BoxKind::Information ? infos : errors).push_back(text);
  });
  SetErrorReportHook([this](const Text& text) { reports.push_back(text); });
}

BoxCapture::~BoxCapture() {
  SetMessageBoxHook({});
  SetErrorReportHook({});
}

typelib::TypeLibLoader& PlatformLoader() {
  static const std::unique_ptr<typelib::TypeLibLoader> loader = typelib::CreateTypeLibLoader(nullptr, {});
  return *loader;
}

std::unique_ptr<TfrmTLBView> OpenView(const TestLibrary& library) {
  TObjectData record;
  record.Typ = TObjectType::otTypeLib;
  record.Server = platform::FromWide(library.path);
  return OpenTypeLibView(record, PlatformLoader(), nullptr);
}

std::shared_ptr<typelib::TypeLib> OpenWithFileReader(const TestLibrary& library) {
  static typelib::FileTypeLibLoader reader(nullptr, typelib::PathMapper());
  std::shared_ptr<typelib::TypeLib> lib;
  if (typelib::Failed(reader.LoadTypeLib(platform::FromWide(library.path), &lib))) return nullptr;
  return lib;
}

Text ItemText(HWND tree, HTREEITEM item) {
  std::wstring buffer(4096, L'\0');
  TVITEMW tv{};
  tv.mask = TVIF_TEXT | TVIF_HANDLE;
  tv.hItem = item;
  tv.pszText = buffer.data();
  tv.cchTextMax = static_cast<int>(buffer.size());
  if (!TreeView_GetItem(tree, &tv)) return {};
  return platform::FromWide(tv.pszText, wcslen(tv.pszText));
}

std::vector<HTREEITEM> Children(HWND tree, HTREEITEM parent) {
  std::vector<HTREEITEM> items;
  for (HTREEITEM c = parent ? TreeView_GetChild(tree, parent) : TreeView_GetRoot(tree); c;
       c = TreeView_GetNextSibling(tree, c))
    items.push_back(c);
  return items;
}

bool IsExpanded(HWND tree, HTREEITEM item) {
  return (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

int ItemImage(HWND tree, HTREEITEM item) {
  TVITEMW tv{};
  tv.mask = TVIF_IMAGE | TVIF_HANDLE;
  tv.hItem = item;
  return TreeView_GetItem(tree, &tv) ? tv.iImage : -1;
}

Text WindowText(HWND window) {
  std::wstring buffer(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int n = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
  return platform::FromWide(buffer.data(), static_cast<size_t>(n));
}

Text ViewText(HWND view) {
  const auto length = static_cast<size_t>(SendMessageW(view, WM_GETTEXTLENGTH, 0, 0));
  std::wstring buffer(length + 1, L'\0');
  const auto copied = static_cast<size_t>(
      SendMessageW(view, WM_GETTEXT, static_cast<WPARAM>(buffer.size()), reinterpret_cast<LPARAM>(buffer.data())));
  return platform::FromWide(buffer.data(), copied);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace brannock::ui::testing
