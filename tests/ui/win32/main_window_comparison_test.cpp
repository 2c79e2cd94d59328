// The Win32 main window's comparison: on a registry in memory against an
// export of it (scripts/wine-window-stage.sh runs it with the other window
// tests), and on the live registry of a Wine prefix into which
// scripts/wine-compare-stage.sh registered the fixture server, which sets
//   BRANNOCK_COMPARE_BEFORE  the system.reg of the prefix before (Windows path)
// (WineCompare.* runs there only).
#include "registry/memory_store.h"
#include "registry/reg_file_writer.h"
#include "ui/win32/window_images.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

using registry::RootKey;

// Whether the item's image is an object's image with the badge of `change`.
bool HasBadge(HWND tree, HTREEITEM item, analysis::ObjectChange change) {
  TVITEMW tv{};
  tv.mask = TVIF_IMAGE;
  tv.hItem = item;
  if (!TreeView_GetItem(tree, &tv)) return false;
  for (int i = 0; i < kTreeImageCount; ++i)
    if (tv.iImage == BadgedTreeImage(i, change)) return true;
  return false;
}

HTREEITEM ChildNamed(TfrmMain& frm, HTREEITEM root, TextView name) {
  for (HTREEITEM c : Children(frm.Tree, root))
    if (frm.NodeOf(c)->Text == name) return c;
  return nullptr;
}

bool HasLine(HWND tree, TextView text) {
  for (const auto& line : RegTreeLines(tree))
    if (line.text == text) return true;
  return false;
}

// "Compare with..." on `before`, its counts in the status bar, the added
// class with its badge and its added lines, then "End Comparison".
void CompareAndEnd(TfrmMain& frm, TextView before, TextView counts, TextView addedClass, TextView addedLine) {
  TfrmMain::SetComparisonSourceChooser([before = Text(before)](HWND, TextView) { return before; });
  Command(frm, cmdCompareWith);
  TfrmMain::SetComparisonSourceChooser(nullptr);
  ASSERT_TRUE(frm.Comparing());
  EXPECT_TRUE(MenuEnabled(frm.Menu, cmdEndComparison));
  const Text status = frm.StatusPanelText(static_cast<int>(SendMessageW(frm.sb, SB_GETPARTS, 0, 0)) - 1);
  EXPECT_EQ(status.rfind(u"Compared with ", 0), 0u) << Utf16ToUtf8(status);
  EXPECT_TRUE(status.ends_with(u": " + Text(counts))) << Utf16ToUtf8(status);
  EXPECT_TRUE(IsExpanded(frm.Tree, frm.OCRoot));

  HTREEITEM added = ChildNamed(frm, frm.OCRoot, addedClass);
  ASSERT_TRUE(added);
  EXPECT_TRUE(HasBadge(frm.Tree, added, analysis::ObjectChange::Added));
  TreeView_SelectItem(frm.Tree, added);
  EXPECT_EQ(WindowText(frm.eName), addedClass);
  EXPECT_TRUE(HasLine(frm.RegTree, addedLine));
  EXPECT_FALSE(MenuEnabled(frm.Menu, cmdReg));
  EXPECT_FALSE(MenuEnabled(frm.Menu, cmdView));
  EXPECT_TRUE(IsWindowEnabled(frm.bCopy));

  Command(frm, cmdEndComparison);
  EXPECT_FALSE(frm.Comparing());
  EXPECT_FALSE(MenuEnabled(frm.Menu, cmdEndComparison));
  EXPECT_TRUE(Children(frm.Tree, frm.OCRoot).empty());
  TreeView_Expand(frm.Tree, frm.OCRoot, TVE_EXPAND);  // the plain tree reads its collection again
  HTREEITEM plain = ChildNamed(frm, frm.OCRoot, addedClass);
  ASSERT_TRUE(plain);
  EXPECT_FALSE(HasBadge(frm.Tree, plain, analysis::ObjectChange::Added));
}

TEST(Win32Comparison, CompareWithShowsWhatDiffersUntilEndComparison) {
  Captured captured;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::filesystem::path beforeFile = std::filesystem::path(temp) / "brannock-compare-before.reg";
  registry::MemoryStore before;
  before.SetString(RootKey::ClassesRoot, u"CLSID\\{C1}", u"", u"Kept Class");
  before.SetString(RootKey::ClassesRoot, u"CLSID\\{C1}\\InprocServer32", u"ThreadingModel", u"Both");
  registry::SaveRegFile(beforeFile, before, RootKey::ClassesRoot, u"");

  registry::MemoryStore now;
  now.SetString(RootKey::ClassesRoot, u"CLSID\\{C1}", u"", u"Kept Class");
  now.SetString(RootKey::ClassesRoot, u"CLSID\\{C1}\\InprocServer32", u"ThreadingModel", u"Free");
  now.SetString(RootKey::ClassesRoot, u"CLSID\\{C9}", u"", u"Installed Class");
  now.SetString(RootKey::ClassesRoot, u"CLSID\\{C9}\\InprocServer32", u"", u"C:\\installed.dll");
  registry::ViewedRegistry view(now, registry::RegistryView::Bits64);
  Catalogue catalogue(view);
  TfrmMain::Options options;
  options.quitOnClose = false;
  options.view = &view;
  TfrmMain frm(catalogue, options);

  TfrmMain::SetComparisonSourceChooser([](HWND, TextView) { return Text(); });  // cancelled
  Command(frm, cmdCompareWith);
  EXPECT_FALSE(frm.Comparing());

  const Text beforeText = platform::FromWide(beforeFile.wstring());
  CompareAndEnd(frm, beforeText, u"1 added, 0 removed, 1 changed", u"Installed Class", u"+ InprocServer32 = C:\\installed.dll");

  // The changed class: its badge and its removed and added lines.
  TfrmMain::SetComparisonSourceChooser([&](HWND, TextView) { return beforeText; });
  Command(frm, cmdCompareWith);
  TfrmMain::SetComparisonSourceChooser(nullptr);
  HTREEITEM changed = ChildNamed(frm, frm.OCRoot, u"Kept Class");
  ASSERT_TRUE(changed);
  EXPECT_TRUE(HasBadge(frm.Tree, changed, analysis::ObjectChange::Changed));
  TreeView_SelectItem(frm.Tree, changed);
  EXPECT_TRUE(HasLine(frm.RegTree, u"- InprocServer32[ThreadingModel] = Both"));
  EXPECT_TRUE(HasLine(frm.RegTree, u"+ InprocServer32[ThreadingModel] = Free"));
  Command(frm, cmdEndComparison);
  EXPECT_TRUE(captured.reports.empty());
  std::filesystem::remove(beforeFile);
}

TEST(WineCompare, CompareWithOnTheRegisteredServersPrefix) {
  const std::string before = Env("BRANNOCK_COMPARE_BEFORE");
  if (before.empty()) GTEST_SKIP() << "run by scripts/wine-compare-stage.sh";
  Captured captured;
  LiveWindow w;
  // The class, the library and its two interfaces (wine-compare-stage.sh).
  CompareAndEnd(*w.frm, Utf8ToUtf16(before), u"4 added, 0 removed, 0 changed", u"Brannock Registration Fixture",
                u"+ InprocServer32 = C:\\brannock_compare_fixture.dll");
  EXPECT_TRUE(captured.reports.empty());
}

}  // namespace
}  // namespace brannock::ui::testing
