#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/version_info.h"
#include "platform/win32/wide_text.h"
#include "ui/logic/about_text.h"
#include "ui/win32/about_dialog.h"
#include "viewer_fixture.h"

namespace brannock::ui::testing {
namespace {

// A string of this program's own version resource, read here directly.
Text ResourceString(const wchar_t* name) {
  wchar_t file[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, file, MAX_PATH);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(file, &handle);
  if (size == 0) return u"<no version resource>";
  std::vector<char> block(size);
  GetFileVersionInfoW(file, 0, size, block.data());
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904E4\\") + name;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || !value) return {};
  return platform::FromWide(static_cast<const wchar_t*>(value), wcsnlen(static_cast<const wchar_t*>(value), length));
}

TEST(Win32About, TextsComeFromTheVersionResource) {
  TdlgAbout about(nullptr, platform::ReadVersionInfo());
  EXPECT_EQ(WindowText(about.lProduct), ResourceString(L"ProductName"));
  EXPECT_EQ(WindowText(about.lProduct), u"Brannock");
  EXPECT_EQ(WindowText(about.lVer), u"Version 1.3.0.0");
  EXPECT_EQ(WindowText(about.lCR), ResourceString(L"LegalCopyright"));
  EXPECT_FALSE(WindowText(about.lCR).empty());
  // No comments in the resource: the description is the file description.
  EXPECT_EQ(ResourceString(L"Comments"), u"");
  EXPECT_EQ(WindowText(about.lDesc), ResourceString(L"FileDescription"));
  EXPECT_EQ(WindowText(about.Handle()), u"About....");
  EXPECT_EQ(WindowText(about.lEmail), u"brannock@example.org");
  EXPECT_EQ(WindowText(about.lWWW), u"brannock.example.org");
  EXPECT_EQ(WindowText(about.Button2), u"OK");
  const Text terms = WindowText(about.mLic);
  EXPECT_TRUE(terms.starts_with(TermsOfUseText().substr(0, 40)));
  EXPECT_NE(terms.find(u"\r\n\r\n"), Text::npos);
  DWORD start = 1, end = 1;
  SendMessageW(about.mLic, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);
  // The client area and the bands.
  RECT client;
  GetClientRect(about.Handle(), &client);
  EXPECT_EQ(client.right, 462);
  EXPECT_EQ(client.bottom, 367);
  EXPECT_EQ(about.TopBand().bottom - about.TopBand().top, 117);
  EXPECT_EQ(GetWindowLongW(about.Handle(), GWL_STYLE) & (WS_CAPTION | WS_BORDER), 0);
}

TEST(Win32About, LinksGoToTheShellAndEnterCloses) {
  std::vector<Text> opened;
  SetShellOpenHook([&](const Text& address) { opened.push_back(address); });
  TdlgAbout about(nullptr, platform::ReadVersionInfo());
  SendMessageW(about.Handle(), WM_COMMAND, MAKEWPARAM(1, STN_CLICKED), reinterpret_cast<LPARAM>(about.lEmail));
  SendMessageW(about.Handle(), WM_COMMAND, MAKEWPARAM(2, STN_CLICKED), reinterpret_cast<LPARAM>(about.lWWW));
  SetShellOpenHook({});
  EXPECT_EQ(opened, (std::vector<Text>{kMakerEmail, kMakerHomepage}));

  SetTimer(about.Handle(), 1, 10000, [](HWND window, UINT, UINT_PTR, DWORD) { PostMessageW(window, WM_CLOSE, 0, 0); });
  const DWORD start = GetTickCount();
  PostMessageW(about.Button2, WM_KEYDOWN, VK_RETURN, 0);
  about.ShowModal();
  EXPECT_LT(GetTickCount() - start, 5000u);
  EXPECT_FALSE(about.Handle());
}

}  // namespace
}  // namespace brannock::ui::testing
