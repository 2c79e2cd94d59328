// The object tree of the Win32 main window on the live (Wine) registry,
// driven through messages: the four roots, lazy reading on expansion, the
// order of the children, Refresh, and the type-ahead search.
#include "ui/logic/detail_pane.h"
#include "ui/logic/busy_scope.h"
#include "ui/logic/main_window_text.h"
#include "ui/logic/object_tree.h"
#include "registry/registry_source.h"
#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

// The second status bar panel names the registry shown; "Ready" stays in
// the first, and a window given no source text has no second panel text.
TEST(Win32MainWindow, StatusBarNamesTheRegistryShown) {
  registry::RegistrySource source = registry::OpenRegistrySource(std::nullopt);
  Catalogue catalogue(*source.backend);
  TfrmMain::Options options;
  options.quitOnClose = false;
  options.sourceText = source.Description();
  TfrmMain frm(catalogue, options);
  EXPECT_EQ(frm.StatusPanelText(1), u"Live registry");
  EXPECT_EQ(frm.StatusText(), kReadyText);

  LiveWindow plain;
  EXPECT_EQ(plain.frm->StatusPanelText(1), u"");
  EXPECT_EQ(plain.frm->StatusText(), kReadyText);
}

TEST(Win32MainWindow, RootsReadTheirCollectionOnceAndListItSorted) {
  Captured captured;
  LiveWindow w;
  TfrmMain& frm = *w.frm;
  std::vector<Text> roots;
  for (HTREEITEM r : Children(frm.Tree, nullptr)) roots.push_back(ItemText(frm.Tree, r));
  EXPECT_EQ(roots, (std::vector<Text>{u"Object Classes", u"Application IDs", u"Type Libraries", u"Interfaces"}));
  EXPECT_EQ(frm.StatusText(), kReadyText);
  EXPECT_FALSE(MenuEnabled(frm.Menu, cmdView));
  EXPECT_FALSE(MenuEnabled(frm.Menu, cmdCreateInst));
  EXPECT_FALSE(MenuEnabled(frm.Menu, cmdReg));
  EXPECT_FALSE(MenuEnabled(frm.Menu, cmdUnreg));
  EXPECT_FALSE(Shown(frm.pc));

  for (const RootInfo& info : kRoots) {
    HTREEITEM root = frm.RootOf(info.typ);
    EXPECT_TRUE(w.catalogue.List(info.typ).empty()) << "nothing is read before the expansion";
    w.Select(root);
    EXPECT_EQ(WindowText(frm.eGUID), u"Expand node to retrieve items");
    TreeView_Expand(frm.Tree, root, TVE_EXPAND);
    const TObjects& list = w.catalogue.List(info.typ);
    ASSERT_FALSE(list.empty()) << "the fixture prefix has objects of every kind";
    const std::vector<HTREEITEM> children = Children(frm.Tree, root);
    ASSERT_EQ(children.size(), list.size());
    // Ascending by the folded texts; equal texts in list order.
    for (size_t i = 1; i < children.size(); ++i) {
      const TObjectNode* a = frm.NodeOf(children[i - 1]);
      const TObjectNode* b = frm.NodeOf(children[i]);
      ASSERT_EQ(TreeCompareNodes(a->Text, b->Text), 0) << Utf16ToUtf8(a->Text) << " before " << Utf16ToUtf8(b->Text);
      if (LowerAscii(a->Text) == LowerAscii(b->Text)) {
        EXPECT_LT(a->Index, b->Index);
      }
      EXPECT_EQ(ItemText(frm.Tree, children[i]), list[static_cast<size_t>(b->Index)].Name);
    }
    EXPECT_EQ(frm.StatusText(), kReadyText);
    w.Select(nullptr);
    w.Select(root);
    EXPECT_EQ(WindowText(frm.eGUID), RootPaneText(static_cast<int>(children.size())));

    // Collapsing and expanding again reads nothing: an entry added to the
    // list meanwhile shows no node.
    w.catalogue.List(info.typ).push_back(TObjectData{});
    TreeView_Expand(frm.Tree, root, TVE_COLLAPSE);
    TreeView_Expand(frm.Tree, root, TVE_EXPAND);
    EXPECT_EQ(Children(frm.Tree, root).size(), children.size());
    EXPECT_EQ(w.catalogue.List(info.typ).size(), children.size() + 1);
    w.catalogue.List(info.typ).pop_back();
  }
  EXPECT_TRUE(captured.reports.empty());
}

TEST(Win32MainWindow, RefreshReadsEveryCollectionAndLeavesTheRootsCollapsed) {
  Captured captured;
  LiveWindow w;
  TfrmMain& frm = *w.frm;
  TreeView_Expand(frm.Tree, frm.OCRoot, TVE_EXPAND);
  w.catalogue.OCList.clear();  // read anew by the refresh
  Command(frm, cmdRefresh);
  for (const RootInfo& info : kRoots) {
    HTREEITEM root = frm.RootOf(info.typ);
    EXPECT_FALSE(IsExpanded(frm.Tree, root)) << Utf16ToUtf8(info.caption);
    EXPECT_EQ(Children(frm.Tree, root).size(), w.catalogue.List(info.typ).size());
    EXPECT_FALSE(w.catalogue.List(info.typ).empty());
  }
  EXPECT_EQ(TreeView_GetSelection(frm.Tree), nullptr);
  EXPECT_EQ(frm.StatusText(), kReadyText);
  // The accelerator Ctrl+R gives the same command.
  MSG msg{frm.Handle(), WM_KEYDOWN, 'R', 0, 0, {}};
  const HWND focus = GetFocus();
  SetFocus(frm.Tree);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  EXPECT_TRUE(frm.FilterMessage(msg));
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  SetFocus(focus);
  EXPECT_TRUE(captured.reports.empty());
}

TEST(Win32MainWindow, TypeAheadSelectsFromTheFocusedNode) {
  Captured captured;
  LiveWindow w;
  TfrmMain& frm = *w.frm;
  TreeView_Expand(frm.Tree, frm.OCRoot, TVE_EXPAND);
  TreeView_Expand(frm.Tree, frm.AIRoot, TVE_EXPAND);
  w.Select(frm.OCRoot);
  // Typed at once: the key messages wait in the queue, as when the user
  // types faster than the window handles them.
  auto type = [&](const char* text) {
    for (const char* c = text; *c; ++c) PostMessageW(frm.Tree, WM_CHAR, static_cast<WPARAM>(*c), 0);
    Pump();
  };
  // Letter case does not count; the first match from the focused node on.
  type("bRANNOCK t");
  HTREEITEM selected = TreeView_GetSelection(frm.Tree);
  ASSERT_TRUE(selected);
  EXPECT_EQ(frm.NodeOf(selected)->Text, u"Brannock Test; Class; with semicolons");
  EXPECT_EQ(WindowText(frm.eName), u"Brannock Test; Class; with semicolons") << "the pane follows";
  // After a pause a new search starts, from the node now focused: the
  // application ID of the same name comes after the class.
  Sleep(1100);
  type("brannock test");
  selected = TreeView_GetSelection(frm.Tree);
  ASSERT_TRUE(selected);
  EXPECT_EQ(frm.NodeOf(selected)->Text, u"Brannock Test; Class; with semicolons") << "the focused node matches";
  Sleep(1100);
  type("brannock test a");
  selected = TreeView_GetSelection(frm.Tree);
  ASSERT_TRUE(selected);
  EXPECT_EQ(frm.NodeOf(selected)->Text, u"Brannock Test AppID");
  EXPECT_EQ(TreeView_GetParent(frm.Tree, selected), frm.AIRoot);
  EXPECT_TRUE(captured.reports.empty());

  // With only the roots loaded: a node whose text begins the search text
  // matches as well; when nothing matches the selection stays.
  LiveWindow fresh;
  TfrmMain& f = *fresh.frm;
  fresh.Select(f.OCRoot);
  for (const char* c = "application idsXYZ"; *c; ++c) PostMessageW(f.Tree, WM_CHAR, static_cast<WPARAM>(*c), 0);
  Pump();
  EXPECT_EQ(TreeView_GetSelection(f.Tree), f.AIRoot);
  Sleep(1100);
  for (const char* c = "\x7f\x7e"; *c; ++c) PostMessageW(f.Tree, WM_CHAR, static_cast<WPARAM>(*c), 0);
  Pump();
  EXPECT_EQ(TreeView_GetSelection(f.Tree), f.AIRoot);
  EXPECT_TRUE(captured.reports.empty());
}

}  // namespace
}  // namespace brannock::ui::testing
