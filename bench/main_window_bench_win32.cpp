// The Win32 main window's figures under Wine (scripts/bench-win32-window.sh
// runs it under xvfb-run): filling and sorting a root of 40,000 interfaces
// already read into memory, a selection's pane on that registry and on the
// live one, a typed character's search, and reading the live registry's
// collections through advapi32. Prints figures; asserts nothing.
//   wine main_window_bench_win32.exe [INTERFACES]
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "catalogue/registry_tree_builder.h"
#include "registry/memory_store.h"
#include "support/synthetic_interfaces.h"
#include "ui/logic/detail_pane.h"
#include "ui/logic/object_tree.h"
#include "ui/win32/header_icon.h"
#include "registry/win32_registry.h"
#include "ui/win32/main_window.h"

using namespace brannock;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Selects the child at `part` (0..1) of the root's children and times the
// pane's update, painting included; `painting` gets the painting's part.
double SelectionMs(ui::TfrmMain& frm, TObjectType typ, double part, double* painting) {
  const auto& children = frm.LoadedChildren(typ);
  if (children.empty()) return 0;
  HTREEITEM item = children[static_cast<size_t>(part * static_cast<double>(children.size() - 1))].item;
  const auto start = Clock::now();
  TreeView_SelectItem(frm.Tree, item);
  const auto painted = Clock::now();
  UpdateWindow(frm.Handle());
  *painting = Ms(painted);
  return Ms(start);
}

// The parts of one selection's pane, each on its own: resolving the
// record, reading the registry lines, finding the header icon.
void PrintPaneParts(Catalogue& catalogue, TObjectType typ, size_t index, const char* registry) {
  TObjectData record = catalogue.List(typ)[index];
  auto start = Clock::now();
  catalogue.Resolve(record);
  const double resolve = Ms(start);
  start = Clock::now();
  RegistryTreeBuilder builder(catalogue.Backend(), true);
  builder.FillObjectTree(record);
  const double lines = Ms(start);
  start = Clock::now();
  HICON icon = ui::HeaderIcon(record);
  const double header = Ms(start);
  if (icon) DestroyIcon(icon);
  std::printf("  of which (%s) resolving %.1f ms, %zu registry lines %.1f ms, the header icon %.1f ms\n", registry,
              resolve, builder.Lines().size(), lines, header);
}

// One selection's painting, control by control.
void PrintPaintingParts(ui::TfrmMain& frm, HTREEITEM item, const char* which) {
  TreeView_SelectItem(frm.Tree, item);
  std::printf("  of which painting (%s):", which);
  const std::pair<const char*, HWND> controls[] = {{"tree", frm.Tree},   {"icon", frm.imgDefaultIcon},
                                                   {"name", frm.eName},  {"GUID", frm.eGUID},
                                                   {"tabs", frm.pc},     {"registry", frm.RegTree},
                                                   {"memo", frm.Memo},   {"buttons", frm.bView},
                                                   {"status", frm.sb}};
  for (const auto& [name, control] : controls) {
    const auto start = Clock::now();
    UpdateWindow(control);
    if (control == frm.bView)
      for (HWND button : {frm.bCopy, frm.bReg, frm.bUnreg}) UpdateWindow(button);
    std::printf(" %s %.1f", name, Ms(start));
  }
  const auto start = Clock::now();
  UpdateWindow(frm.Handle());
  std::printf(", the rest %.1f ms\n", Ms(start));
}

// The tree's row `row` (0 the top one in view).
HTREEITEM RowInView(HWND tree, int row) {
  HTREEITEM item = TreeView_GetFirstVisible(tree);
  for (int i = 0; i < row && item; ++i) item = TreeView_GetNextVisible(tree, item);
  return item;
}

void PrintSelections(ui::TfrmMain& frm, TObjectType typ, const char* registry) {
  for (double part : {0.5, 0.25, 0.75, 0.1}) {
    double painting = 0;
    const double total = SelectionMs(frm, typ, part, &painting);
    std::printf("a selection's pane (%s, child at %.0f%%): %.1f ms, of which painting %.1f ms\n", registry,
                part * 100, total, painting);
  }
  const auto& children = frm.LoadedChildren(typ);
  if (children.empty()) return;
  PrintPaintingParts(frm, children[static_cast<size_t>(0.6 * static_cast<double>(children.size() - 1))].item,
                     "child at 60%");
  // Nodes in view, as a click or the arrow keys select them: the tree is
  // not scrolled.
  for (int row = 3; row < 6; ++row) {
    HTREEITEM item = RowInView(frm.Tree, row);
    if (!item) break;
    auto start = Clock::now();
    TreeView_SelectItem(frm.Tree, item);
    const double selecting = Ms(start);
    const auto painted = Clock::now();
    UpdateWindow(frm.Handle());
    const double painting = Ms(painted);
    // The pane's own update, on its own: the node's details and controls.
    start = Clock::now();
    frm.TreeChange(item);
    const double pane = Ms(start);
    UpdateWindow(frm.Handle());
    std::printf("a selection's pane (%s, a node in view): %.1f ms, of which painting %.1f ms; the pane's update alone %.1f ms\n",
                registry, selecting + painting, painting, pane);
  }
  if (HTREEITEM item = RowInView(frm.Tree, 7)) PrintPaintingParts(frm, item, "a node in view");
}

}  // namespace

int main(int argc, char** argv) {
  const int interfaces = argc > 1 ? std::atoi(argv[1]) : 40000;
  CoInitialize(nullptr);
  {
    auto start = Clock::now();
    const auto store = testing::SyntheticInterfaces(interfaces);
    std::printf("synthetic registry of %d interfaces built in memory: %.0f ms\n", interfaces, Ms(start));
    Catalogue catalogue(*store);
    start = Clock::now();
    catalogue.ReadList(TObjectType::otInterface);
    std::printf("reading the interfaces from memory: %.0f ms\n", Ms(start));

    ui::TfrmMain::Options options;
    options.quitOnClose = false;
    {
      // Where the fill's time goes: the sort, the insertion below the
      // collapsed root, and the expansion that shows the nodes.
      std::vector<TextView> names;
      for (const TObjectData& d : catalogue.IFList) names.push_back(d.Name);
      start = Clock::now();
      const std::vector<int32_t> order = ui::SortedChildOrder(names);
      std::printf("  of which sorting the names: %.0f ms\n", Ms(start));
      ui::TfrmMain parts(catalogue, options);
      parts.Show(SW_SHOWNORMAL);
      Pump();
      start = Clock::now();
      parts.FillKey(parts.IFRoot, catalogue.IFList);
      std::printf("  of which sorting and inserting below the collapsed root: %.0f ms\n", Ms(start));
      start = Clock::now();
      TreeView_Expand(parts.Tree, parts.IFRoot, TVE_EXPAND);
      std::printf("  of which expanding the root: %.0f ms\n", Ms(start));
      start = Clock::now();
      UpdateWindow(parts.Handle());
      std::printf("  of which painting: %.0f ms\n", Ms(start));
      start = Clock::now();
      TreeView_Expand(parts.Tree, parts.IFRoot, TVE_COLLAPSE);
      TreeView_Expand(parts.Tree, parts.IFRoot, TVE_EXPAND);
      UpdateWindow(parts.Handle());
      std::printf("collapsing and expanding the filled root again: %.0f ms\n", Ms(start));
      start = Clock::now();
    }
    std::printf("  closing a window of %zu nodes: %.0f ms\n", catalogue.IFList.size(), Ms(start));
    ui::TfrmMain frm(catalogue, options);
    frm.Show(SW_SHOWNORMAL);
    Pump();
    start = Clock::now();
    TreeView_Expand(frm.Tree, frm.IFRoot, TVE_EXPAND);
    UpdateWindow(frm.Handle());
    std::printf("filling and sorting %zu interfaces into the tree view: %.0f ms\n", catalogue.IFList.size(), Ms(start));
    Pump();
    // The busy state of a second root's reading, the first one filled and
    // in view (this registry has no type libraries: the reading is nil).
    start = Clock::now();
    TreeView_Expand(frm.Tree, frm.TLRoot, TVE_EXPAND);
    UpdateWindow(frm.Handle());
    std::printf("expanding an empty root beside the filled one (the busy state's painting): %.1f ms\n", Ms(start));
    PrintSelections(frm, TObjectType::otInterface, "memory registry");
    PrintPaneParts(catalogue, TObjectType::otInterface, catalogue.IFList.size() / 3, "memory registry");
    start = Clock::now();
    frm.TreeKeyPress(L'I', 0);
    frm.TreeKeyPress(L'Z', 100);
    std::printf("type-ahead, two characters over %zu nodes: %.1f ms\n", frm.LoadedChildren(TObjectType::otInterface).size(),
                Ms(start));
    start = Clock::now();
    SendMessageW(frm.Handle(), WM_COMMAND, ui::cmdRefresh, 0);
    std::printf("Refresh (all four collections read and filled): %.0f ms\n", Ms(start));
  }
  {
    registry::Win32Registry live;
    Catalogue catalogue(live);
    for (TObjectType typ : {TObjectType::otCLSID, TObjectType::otTypeLib, TObjectType::otAppID, TObjectType::otInterface}) {
      const auto start = Clock::now();
      catalogue.ReadList(typ);
      std::printf("reading %zu objects of kind %d through advapi32: %.0f ms\n", catalogue.List(typ).size(),
                  static_cast<int>(typ), Ms(start));
    }
    ui::TfrmMain::Options options;
    options.quitOnClose = false;
    ui::TfrmMain frm(catalogue, options);
    frm.Show(SW_SHOWNORMAL);
    Pump();
    TreeView_Expand(frm.Tree, frm.OCRoot, TVE_EXPAND);
    Pump();
    PrintSelections(frm, TObjectType::otCLSID, "Wine's registry");
    PrintPaneParts(catalogue, TObjectType::otCLSID, catalogue.OCList.size() / 3, "Wine's registry");
  }
  CoUninitialize();
  return 0;
}
