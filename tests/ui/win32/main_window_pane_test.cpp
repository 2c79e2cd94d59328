// The detail pane of the Win32 main window against the Linux build: for
// every fixture object, the header, the enabled commands and the registry
// tree equal what brannock-pane-lines (ui/logic on the prefix's files)
// wrote, with the hex switch on and off. Run by scripts/wine-window-stage.sh,
// which sets BRANNOCK_PANE_EXPECTED.
#include "pane_lines.h"
#include "ui/logic/detail_pane.h"
#include "ui/logic/main_window_text.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

using brannock::testing::PaneLine;
using brannock::testing::PaneRecord;

TEST(Win32MainWindow, PaneShowsTheLinesOfTheLinuxBuild) {
  const std::string expectedFile = Env("BRANNOCK_PANE_EXPECTED");
  if (expectedFile.empty()) GTEST_SKIP() << "run by scripts/wine-window-stage.sh";
  std::vector<PaneRecord> expected;
  ASSERT_TRUE(brannock::testing::ParsePaneRecords(ReadFileText(expectedFile), &expected));
  ASSERT_GE(expected.size(), 2u * 14u) << "every fixture object, hex on and off";

  Captured captured;
  LiveWindow w;
  TfrmMain& frm = *w.frm;
  size_t compared = 0;
  for (const PaneRecord& e : expected) {
    SCOPED_TRACE(Utf16ToUtf8(e.guid) + (e.hex ? " hex" : " characters"));
    const auto typ = static_cast<TObjectType>(e.kind);
    HTREEITEM item = w.Find(typ, e.guid);
    ASSERT_TRUE(item);
    captured.reports.clear();
    const bool hexChecked = (GetMenuState(frm.Menu, cmdHex, MF_BYCOMMAND) & MF_CHECKED) != 0;
    if (hexChecked != e.hex) {
      w.Select(item);
      captured.reports.clear();
      Command(frm, cmdHex);  // rebuilds the pane for the same selection
    } else {
      w.Select(nullptr);
      w.Select(item);
    }
    EXPECT_TRUE(Shown(frm.pc));
    EXPECT_EQ(WindowText(frm.eName), e.name);
    EXPECT_EQ(WindowText(frm.eGUID), e.shownGuid);
    EXPECT_EQ(MenuEnabled(frm.Menu, cmdReg), e.registerServer);
    EXPECT_EQ(MenuEnabled(frm.Menu, cmdUnreg), e.registerServer);
    EXPECT_EQ(IsWindowEnabled(frm.bReg) != FALSE, e.registerServer);
    EXPECT_EQ(IsWindowEnabled(frm.bUnreg) != FALSE, e.registerServer);
    EXPECT_EQ(MenuEnabled(frm.Menu, cmdCreateInst), e.createInstance);
    EXPECT_EQ(MenuEnabled(frm.Menu, cmdView), e.viewTypeLib);
    EXPECT_EQ(IsWindowEnabled(frm.bView) != FALSE, e.viewTypeLib);
    EXPECT_TRUE(IsWindowEnabled(frm.bCopy));
    const std::vector<PaneLine> shown = RegTreeLines(frm.RegTree);
    const std::vector<PaneLine> wanted = e.lines;
    EXPECT_EQ(shown.size(), wanted.size());
    for (size_t i = 0; i < std::min(shown.size(), wanted.size()); ++i) {
      EXPECT_EQ(shown[i].level, wanted[i].level) << "line " << i;
      EXPECT_EQ(Utf16ToUtf8(shown[i].text), Utf16ToUtf8(wanted[i].text)) << "line " << i;
    }
    // Level-0 lines are bold by their item state (the control measures them
    // so), the lines below them are not.
    for (HTREEITEM top = TreeView_GetRoot(frm.RegTree); top; top = TreeView_GetNextSibling(frm.RegTree, top)) {
      EXPECT_TRUE(TreeView_GetItemState(frm.RegTree, top, TVIS_BOLD) & TVIS_BOLD)
          << Utf16ToUtf8(ItemText(frm.RegTree, top));
      if (HTREEITEM child = TreeView_GetChild(frm.RegTree, top)) {
        EXPECT_FALSE(TreeView_GetItemState(frm.RegTree, child, TVIS_BOLD) & TVIS_BOLD);
      }
    }
    // A registry error ends the tree where it happened and is reported.
    if (!e.error.empty()) {
      EXPECT_EQ(captured.reports, std::vector<Text>{e.error});
      ++compared;
      continue;
    }
    EXPECT_TRUE(captured.reports.empty()) << Utf16ToUtf8(captured.reports.empty() ? Text() : captured.reports[0]);
    // Every line is expanded and the memo repeats the selected one whole.
    if (!shown.empty()) {
      HTREEITEM last = TreeView_GetRoot(frm.RegTree);
      for (HTREEITEM c = last; c; c = TreeView_GetChild(frm.RegTree, c)) {
        last = c;
        if (TreeView_GetChild(frm.RegTree, c)) {
          EXPECT_TRUE(IsExpanded(frm.RegTree, c));
        }
      }
      TreeView_SelectItem(frm.RegTree, last);
      EXPECT_EQ(WindowText(frm.Memo), ItemText(frm.RegTree, last));
    }
    ++compared;
  }
  EXPECT_EQ(compared, expected.size());

  // A root after an object: the header names the root, the page hides, the
  // command states stay as the object left them.
  const bool registerState = MenuEnabled(frm.Menu, cmdReg);
  w.Select(frm.IFRoot);
  EXPECT_FALSE(Shown(frm.pc));
  EXPECT_EQ(WindowText(frm.eName), u"Interfaces");
  EXPECT_EQ(WindowText(frm.eGUID), RootPaneText(static_cast<int>(w.catalogue.IFList.size())));
  EXPECT_EQ(MenuEnabled(frm.Menu, cmdReg), registerState);
  EXPECT_TRUE(WindowText(frm.Memo).empty());
  EXPECT_TRUE(std::any_of(expected.begin(), expected.end(), [](const PaneRecord& r) { return !r.error.empty(); }))
      << "the fixture value too large for its text is among them";
}

// A class key below HKEY_CLASSES_ROOT with a default value in one subkey.
void PutClass(const wchar_t* guid, const wchar_t* subkey, const std::wstring& value) {
  HKEY key;
  const std::wstring path = std::wstring(L"CLSID\\") + guid + (subkey ? std::wstring(L"\\") + subkey : L"");
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

TEST(Win32MainWindow, HeaderIconComesFromDefaultIconOrTheServer) {
  if (Env("BRANNOCK_FIXTURE_DIR").empty()) GTEST_SKIP() << "run by scripts/wine-window-stage.sh";
  const std::wstring dir = platform::ToWide(Utf8ToUtf16(Env("BRANNOCK_FIXTURE_DIR")));
  struct Case {
    const wchar_t* guid;
    const wchar_t* defaultIcon;
    const wchar_t* server;
    bool icon;
    const char* why;
  };
  const std::wstring ico = dir + L"\\icon.ico";
  const std::wstring icoAt0 = ico + L",0";
  const Case cases[] = {
      {L"{B4A22F11-0000-4000-8000-0000000000F1}", L"shell32.dll,3", nullptr, true, "DefaultIcon in the system folder"},
      {L"{B4A22F12-0000-4000-8000-0000000000F2}", nullptr, L"shell32.dll", true, "the server's first icon"},
      {L"{B4A22F14-0000-4000-8000-0000000000F4}", ico.c_str(), nullptr, true, "an icon file without index"},
      {L"{B4A22F15-0000-4000-8000-0000000000F5}", icoAt0.c_str(), L"C:\\no\\such.dll", true, "icon file, index 0"},
      {L"{B4A22F16-0000-4000-8000-0000000000F6}", L"shell32.dll,99999", nullptr, false, "an index beyond the icons"},
      {L"{B4A22F17-0000-4000-8000-0000000000F7}", L"C:\\no\\such.ico", L"C:\\no\\such.dll", false, "no file"},
  };
  for (const Case& c : cases) {
    PutClass(c.guid, nullptr, L"Icon case");
    if (c.defaultIcon) PutClass(c.guid, L"DefaultIcon", c.defaultIcon);
    if (c.server) PutClass(c.guid, L"InprocServer32", c.server);
  }
  Captured captured;
  LiveWindow w;
  TfrmMain& frm = *w.frm;
  for (const Case& c : cases) {
    HTREEITEM item = w.Find(TObjectType::otCLSID, platform::FromWide(c.guid, wcslen(c.guid)));
    ASSERT_TRUE(item);
    w.Select(item);
    EXPECT_EQ(SendMessageW(frm.imgDefaultIcon, STM_GETICON, 0, 0) != 0, c.icon) << c.why;
  }
  // A root clears the icon.
  w.Select(w.Find(TObjectType::otCLSID, u"{B4A22F11-0000-4000-8000-0000000000F1}"));
  w.Select(frm.OCRoot);
  EXPECT_FALSE(SendMessageW(frm.imgDefaultIcon, STM_GETICON, 0, 0));
  // An index that is not a number stops the update with a conversion error.
  PutClass(L"{B4A22F18-0000-4000-8000-0000000000F8}", nullptr, L"Icon case");
  PutClass(L"{B4A22F18-0000-4000-8000-0000000000F8}", L"DefaultIcon", L"shell32.dll,x");
  Command(frm, cmdRefresh);
  w.Select(w.Find(TObjectType::otCLSID, u"{B4A22F11-0000-4000-8000-0000000000F1}"));
  const UINT lines = TreeView_GetCount(frm.RegTree);
  ASSERT_GT(lines, 0u);
  w.Select(w.Find(TObjectType::otCLSID, u"{B4A22F18-0000-4000-8000-0000000000F8}"));
  ASSERT_EQ(captured.reports.size(), 1u);
  EXPECT_EQ(captured.reports[0], u"'x' is not a valid integer value.");
  EXPECT_EQ(WindowText(frm.eGUID), u"{B4A22F18-0000-4000-8000-0000000000F8}") << "the header is set";
  EXPECT_EQ(TreeView_GetCount(frm.RegTree), lines) << "the registry tree keeps the last object's lines";
  for (const Case& c : cases) RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + c.guid).c_str());
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L"CLSID\\{B4A22F18-0000-4000-8000-0000000000F8}");
}

}  // namespace
}  // namespace brannock::ui::testing
