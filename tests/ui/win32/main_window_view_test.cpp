// The View menu of the Win32 main window on the live (Wine) registry, which
// holds the 32-bit registrations of tests/data/wine/views.reg below
// Wow6432Node: each view lists its own classes and interfaces and shows its
// own server lines; the choice is named in the title and the status bar
// and kept with the window settings. A registry of 32-bit Windows has no
// 64-bit item to choose.
#include "registry/memory_store.h"
#include "ui/logic/busy_scope.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/view_choice.h"
#include "ui/win32/header_icon.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

constexpr char16_t kOnly32[] = u"Brannock 32-bit Only";
constexpr char16_t kOnly64[] = u"Brannock 64-bit Only";
constexpr char16_t kBoth[] = u"Brannock Both Views";

Text MenuText(HMENU menu, UINT id) {
  wchar_t buffer[256] = {};
  const int n = GetMenuStringW(menu, id, buffer, 256, MF_BYCOMMAND);
  return platform::FromWide(buffer, static_cast<size_t>(std::max(n, 0)));
}

bool Checked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

bool RadioItem(HMENU menu, UINT id) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  return GetMenuItemInfoW(menu, id, FALSE, &info) && (info.fType & MFT_RADIOCHECK);
}

std::vector<Text> ChildTexts(const TfrmMain& frm, HTREEITEM root) {
  std::vector<Text> texts;
  for (HTREEITEM c : Children(frm.Tree, root)) texts.push_back(frm.NodeOf(c)->Text);
  return texts;
}

bool Has(const std::vector<Text>& texts, TextView text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

bool PaneMentions(HWND regTree, TextView part) {
  for (const auto& line : RegTreeLines(regTree))
    if (line.text.find(part) != Text::npos) return true;
  return false;
}

// The main window over the live registry seen in one view.
struct ViewedWindow {
  registry::Win32Registry live;
  registry::ViewedRegistry viewed{live, registry::RegistryView::Bits64};
  Catalogue catalogue{viewed};
  std::unique_ptr<TfrmMain> frm;
  explicit ViewedWindow(bool settings) {
    TfrmMain::Options options;
    options.quitOnClose = false;
    options.view = &viewed;
    options.settings = settings ? &live : nullptr;
    frm = std::make_unique<TfrmMain>(catalogue, options);
  }
  HTREEITEM Named(HTREEITEM root, TextView name) {
    TreeView_Expand(frm->Tree, root, TVE_EXPAND);
    for (HTREEITEM c : Children(frm->Tree, root))
      if (frm->NodeOf(c)->Text == name) return c;
    return nullptr;
  }
};

TEST(Win32MainWindow, ViewMenuShowsEachViewAndKeepsTheChoice) {
  Captured captured;
  ViewedWindow w(true);
  TfrmMain& frm = *w.frm;
  EXPECT_EQ(WindowText(frm.Handle()), u"Brannock - 64-bit");
  EXPECT_EQ(frm.StatusPanelText(frm.ViewPanel()), u"64-bit registrations");
  EXPECT_EQ(frm.StatusText(), kReadyText);
  EXPECT_EQ(MenuText(frm.Menu, cmdView64), u"64-bit registrations");
  EXPECT_EQ(MenuText(frm.Menu, cmdView32), u"32-bit registrations");
  EXPECT_TRUE(RadioItem(frm.Menu, cmdView64) && RadioItem(frm.Menu, cmdView32));
  EXPECT_TRUE(Checked(frm.Menu, cmdView64));
  EXPECT_FALSE(Checked(frm.Menu, cmdView32));
  EXPECT_TRUE(MenuEnabled(frm.Menu, cmdView64) && MenuEnabled(frm.Menu, cmdView32));
  // File, View, Object, Help.
  wchar_t second[32] = {};
  GetMenuStringW(frm.Menu, 1, second, 32, MF_BYPOSITION);
  EXPECT_STREQ(second, L"View");

  std::vector<Text> classes = ChildTexts(frm, frm.OCRoot);
  EXPECT_TRUE(classes.empty()) << "nothing read before the expansion";
  HTREEITEM both = w.Named(frm.OCRoot, kBoth);
  ASSERT_TRUE(both);
  classes = ChildTexts(frm, frm.OCRoot);
  EXPECT_TRUE(Has(classes, kOnly64));
  EXPECT_FALSE(Has(classes, kOnly32));
  TreeView_SelectItem(frm.Tree, both);
  EXPECT_TRUE(PaneMentions(frm.RegTree, u"both64.dll"));
  EXPECT_FALSE(PaneMentions(frm.RegTree, u"both32.dll"));
  // The 64-bit view's registrations: the system's own regsvr32.
  std::optional<ToolCommand> started64;
  SetToolRunner([&](const ToolCommand& command) {
    started64 = command;
    return true;
  });
  Command(frm, cmdReg);
  SetToolRunner(nullptr);
  ASSERT_TRUE(started64);
  EXPECT_EQ(started64->executable, u"regsvr32");

  Command(frm, cmdView32);
  EXPECT_TRUE(captured.reports.empty());
  EXPECT_EQ(w.viewed.View(), registry::RegistryView::Bits32);
  EXPECT_EQ(WindowText(frm.Handle()), u"Brannock - 32-bit");
  EXPECT_EQ(frm.StatusPanelText(frm.ViewPanel()), u"32-bit registrations");
  EXPECT_EQ(frm.StatusText(), kReadyText);
  EXPECT_TRUE(Checked(frm.Menu, cmdView32));
  EXPECT_FALSE(Checked(frm.Menu, cmdView64));
  // As Refresh: all four collections read anew from the 32-bit view; the
  // pane of the other view's object is gone.
  EXPECT_EQ(WindowText(frm.eName), u"");
  EXPECT_EQ(WindowText(frm.eGUID), u"");
  EXPECT_EQ(TreeView_GetCount(frm.RegTree), 0u);
  EXPECT_FALSE(SendMessageW(frm.imgDefaultIcon, STM_GETICON, 0, 0));
  EXPECT_FALSE(Shown(frm.pc));
  for (const RootInfo& info : kRoots) EXPECT_FALSE(w.catalogue.List(info.typ).empty()) << Utf16ToUtf8(info.caption);
  classes = ChildTexts(frm, frm.OCRoot);
  EXPECT_TRUE(Has(classes, kOnly32));
  EXPECT_TRUE(Has(classes, kBoth));
  EXPECT_FALSE(Has(classes, kOnly64));
  EXPECT_TRUE(Has(ChildTexts(frm, frm.IFRoot), u"IBrannock32"));
  both = w.Named(frm.OCRoot, kBoth);
  ASSERT_TRUE(both);
  TreeView_SelectItem(frm.Tree, both);
  EXPECT_TRUE(PaneMentions(frm.RegTree, u"both32.dll"));
  EXPECT_FALSE(PaneMentions(frm.RegTree, u"both64.dll"));

  // Choosing the view shown reads nothing again: the nodes and the pane stay.
  Command(frm, cmdView32);
  EXPECT_EQ(TreeView_GetSelection(frm.Tree), both);
  EXPECT_TRUE(PaneMentions(frm.RegTree, u"both32.dll"));

  // Register and Unregister of a 32-bit registration start the 32-bit
  // regsvr32, the one in SysWOW64 (noted, not run).
  std::vector<ToolCommand> started;
  SetToolRunner([&](const ToolCommand& command) {
    started.push_back(command);
    return true;
  });
  Command(frm, cmdReg);
  Command(frm, cmdUnreg);
  SetToolRunner(nullptr);
  wchar_t wow64[MAX_PATH] = {};
  ASSERT_GT(GetSystemWow64DirectoryW(wow64, MAX_PATH), 0u);
  const Text regsvr32 = platform::FromWide(std::wstring(wow64) + L"\\regsvr32.exe");
  ASSERT_EQ(started.size(), 2u);
  const Text server = u"\"C:\\Program Files (x86)\\Brannock\\both32.dll\"";
  EXPECT_EQ(started[0].executable, regsvr32);
  EXPECT_EQ(started[0].parameters, server);
  EXPECT_EQ(started[1].executable, regsvr32);
  EXPECT_EQ(started[1].parameters, u"/u " + server);

  SendMessageW(frm.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(ReadStoredView(w.live), registry::RegistryView::Bits32);
  EXPECT_TRUE(captured.reports.empty());
}

// A registry of 32-bit Windows: the 64-bit item says there is none, and a
// choice of it that does not come through the menu is refused.
TEST(Win32MainWindow, ViewMenuOfA32BitRegistry) {
  Captured captured;
  registry::MemoryStore only32;
  only32.SetMachineView(registry::RegistryView::Bits32);
  only32.SetString(registry::RootKey::ClassesRoot, u"CLSID\\{B4A22F21-0000-4000-8000-000000000021}", u"", u"Only");
  registry::ViewedRegistry viewed(only32, registry::RegistryView::Bits32);
  Catalogue catalogue(viewed);
  TfrmMain::Options options;
  options.quitOnClose = false;
  options.view = &viewed;
  TfrmMain frm(catalogue, options);
  EXPECT_EQ(WindowText(frm.Handle()), u"Brannock - 32-bit");
  EXPECT_FALSE(MenuEnabled(frm.Menu, cmdView64));
  EXPECT_EQ(MenuText(frm.Menu, cmdView64), u"64-bit registrations (none in a registry of 32-bit Windows)");
  EXPECT_TRUE(Checked(frm.Menu, cmdView32));
  Guarded(ReportError, [&] { frm.cmChooseView(registry::RegistryView::Bits64); });
  EXPECT_EQ(captured.reports,
            std::vector<Text>{u"The registry has no 64-bit registrations: it is a registry of 32-bit Windows."});
  EXPECT_EQ(viewed.View(), registry::RegistryView::Bits32);
  EXPECT_EQ(WindowText(frm.Handle()), u"Brannock - 32-bit");
}

// The 32-bit view's header icon: a server path in system32 is the file a
// 32-bit program opens, the one in SysWOW64.
TEST(Win32MainWindow, The32BitViewTakesIconsFromSysWow64) {
  if (Env("BRANNOCK_FIXTURE_DIR").empty()) GTEST_SKIP() << "run by scripts/wine-window-stage.sh";
  wchar_t wow64[MAX_PATH] = {};
  ASSERT_GT(GetSystemWow64DirectoryW(wow64, MAX_PATH), 0u) << "a 64-bit prefix";
  const std::wstring source = platform::ToWide(Utf8ToUtf16(Env("BRANNOCK_FIXTURE_DIR"))) + L"\\icon.ico";
  const std::wstring target = std::wstring(wow64) + L"\\brannock_view_icon.ico";
  ASSERT_TRUE(CopyFileW(source.c_str(), target.c_str(), FALSE));
  const Text inSystem32 = u"C:\\windows\\system32\\brannock_view_icon.ico";
  EXPECT_EQ(LowerAscii(LocateIconFile(inSystem32, true)), LowerAscii(platform::FromWide(target)));
  EXPECT_EQ(LowerAscii(LocateIconFile(u"brannock_view_icon.ico", true)), LowerAscii(platform::FromWide(target)));
  EXPECT_EQ(LocateIconFile(inSystem32, false), u"") << "not in system32 itself";

  // The same class in both views, with the icon in system32 by its name.
  const wchar_t* guid = L"CLSID\\{B4A22F22-0000-4000-8000-000000000022}";
  for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    for (const wchar_t* sub : {L"", L"\\DefaultIcon"}) {
      HKEY key;
      ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(guid) + sub).c_str(), 0, nullptr, 0,
                                KEY_WRITE | view, nullptr, &key, nullptr),
                ERROR_SUCCESS);
      const std::wstring value = *sub ? platform::ToWide(inSystem32) : L"Brannock Icon View";
      RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
      RegCloseKey(key);
    }
  }
  Captured captured;
  ViewedWindow w(false);
  TfrmMain& frm = *w.frm;
  HTREEITEM item = w.Named(frm.OCRoot, u"Brannock Icon View");
  ASSERT_TRUE(item);
  TreeView_SelectItem(frm.Tree, item);
  EXPECT_FALSE(SendMessageW(frm.imgDefaultIcon, STM_GETICON, 0, 0)) << "the 64-bit view opens system32";
  Command(frm, cmdView32);
  item = w.Named(frm.OCRoot, u"Brannock Icon View");
  ASSERT_TRUE(item);
  TreeView_SelectItem(frm.Tree, item);
  EXPECT_TRUE(SendMessageW(frm.imgDefaultIcon, STM_GETICON, 0, 0)) << "the 32-bit view opens SysWOW64";
  EXPECT_TRUE(captured.reports.empty());
  for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    RegDeleteKeyExW(HKEY_CLASSES_ROOT, (std::wstring(guid) + L"\\DefaultIcon").c_str(), view, 0);
    RegDeleteKeyExW(HKEY_CLASSES_ROOT, guid, view, 0);
  }
  DeleteFileW(target.c_str());
}

}  // namespace
}  // namespace brannock::ui::testing
