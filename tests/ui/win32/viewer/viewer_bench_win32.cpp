// Figures of the Windows viewer (run under Wine with a display): from the
// command to the first paint of the opened window, a double click that
// jumps to the last type of the tree, and a Find over the whole unit.
//   viewer_bench_win32.exe [--runs N] LIBRARY...
// Each figure is the median of N runs (5), in milliseconds.
#include <windows.h>
#include <objbase.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "analysis/object_typelib.h"
#include "platform/win32/wide_text.h"
#include "typelib/loader.h"
#include "typelib/unit_text.h"
#include "ui/logic/type_tree.h"
#include "ui/win32/message_boxes.h"
#include "ui/win32/text_view.h"
#include "ui/win32/tlb_viewer.h"
#include "timed_typelib.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace brannock;
using namespace brannock::ui;

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Paints the whole window (the first paint), or only what waits to be painted.
void PaintNow(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }
void PaintPending(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

// The last type node in the tree's display order.
HTREEITEM LastType(HWND tree) {
  HTREEITEM last = nullptr;
  for (HTREEITEM category = TreeView_GetChild(tree, TreeView_GetRoot(tree)); category;
       category = TreeView_GetNextSibling(tree, category)) {
    TreeView_Expand(tree, category, TVE_EXPAND);
    for (HTREEITEM type = TreeView_GetChild(tree, category); type; type = TreeView_GetNextSibling(tree, type))
      last = type;
    TreeView_Expand(tree, category, TVE_COLLAPSE);
  }
  return last;
}

// Where the opening time goes: loading, the type tree, rendering.
void Breakdown(typelib::TypeLibLoader& loader, const TObjectData& record) {
  Clock::time_point start = Clock::now();
  std::shared_ptr<typelib::TypeLib> lib;
  if (typelib::Failed(analysis::LoadObjectTypeLib(record, loader, &lib)) || !lib) return;
  const double load = Ms(start);
  start = Clock::now();
  const TTypeTree tree = BuildTypeTree(*lib);
  const double fill = Ms(start);
  start = Clock::now();
  TextList lines;
  typelib::TypeLibToStrings(analysis::UnitHeaderOf(record), *lib, &lines);
  const double render = Ms(start);
  {
    // The rendering again, each call into the type library timed: the
    // services' part and the renderer's own.
    bench::TCallTimes times;
    bench::TTimedTypeLib timed(lib, &times);
    TextList again;
    const Clock::time_point timedStart = Clock::now();
    typelib::TypeLibToStrings(analysis::UnitHeaderOf(record), timed, &again);
    const double total = Ms(timedStart);
    std::wprintf(L"  rendering, timed again: %.0f ms, of which in the type library's calls %.0f ms, "
                 L"the renderer's own %.0f ms\n",
                 total, times.TotalMs(), total - times.TotalMs());
    times.Print();
  }
  start = Clock::now();
  TfrmTLBView window(nullptr);
  const double create = Ms(start);
  start = Clock::now();
  window.FillTree(*lib);
  const double treeView = Ms(start);
  start = Clock::now();
  window.SetUnitText(std::move(lines));
  const double text = Ms(start);
  start = Clock::now();
  ShowWindow(window.Handle(), SW_SHOW);
  PaintNow(window.Handle());
  const double paint = Ms(start);
  std::wprintf(L"  of which: load %.0f ms, type tree %.0f ms, rendering %.0f ms; window %.0f ms, tree view %.0f ms, "
               L"text view %.0f ms, show and paint %.0f ms\n",
               load, fill, render, create, treeView, text, paint);
}

int kRuns = 5;

void Bench(typelib::TypeLibLoader& loader, const wchar_t* path) {
  TObjectData record;
  record.Typ = TObjectType::otTypeLib;
  record.Server = platform::FromWide(path, wcslen(path));
  std::vector<double> open, jump, jumpSearch, jumpPaint, find, scroll;
  int64_t lines = 0;
  for (int run = 0; run < kRuns; ++run) {
    const Clock::time_point start = Clock::now();
    const auto view = OpenTypeLibView(record, loader, nullptr);
    if (!view) {
      std::wprintf(L"%ls: does not load\n", path);
      return;
    }
    ShowWindow(view->Handle(), SW_SHOW);
    PaintNow(view->Handle());
    open.push_back(Ms(start));
    lines = view->SynMemo->Document().LineCount();

    TreeView_SelectItem(view->Tree, LastType(view->Tree));
    PaintNow(view->Handle());
    const Clock::time_point jumpStart = Clock::now();
    view->TreeDblClick();
    jumpSearch.push_back(Ms(jumpStart));
    const Clock::time_point paintStart = Clock::now();
    PaintPending(view->Handle());
    jumpPaint.push_back(Ms(paintStart));
    jump.push_back(Ms(jumpStart));

    // Scrolling line by line, as the arrow of the scroll bar does it.
    const Clock::time_point scrollStart = Clock::now();
    for (int i = 0; i < 20; ++i) {
      SendMessageW(view->SynMemo->Handle(), WM_VSCROLL, SB_LINEUP, 0);
      PaintPending(view->SynMemo->Handle());
    }
    scroll.push_back(Ms(scrollStart) / 20);

    // A text that is nowhere: the search runs to the end of the unit.
    view->SynMemo->SelectRange({}, {});
    lstrcpynW(view->FindRequest.lpstrFindWhat, L"NoSuchTextAnywhere", view->FindRequest.wFindWhatLen);
    view->FindRequest.Flags = FR_DOWN;
    const Clock::time_point findStart = Clock::now();
    view->fdFind();
    PaintPending(view->Handle());
    find.push_back(Ms(findStart));
  }
  std::wprintf(L"%ls (%lld lines): open to first paint %.0f ms, jump to the last type %.1f ms "
               L"(search %.1f ms, repaint %.1f ms), find over the whole unit %.1f ms, "
               L"one line scrolled %.1f ms\n",
               path, static_cast<long long>(lines), Median(open), Median(jump), Median(jumpSearch),
               Median(jumpPaint), Median(find), Median(scroll));
  Breakdown(loader, record);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InitCommonControls();
  CoInitialize(nullptr);
  SetMessageBoxHook([](BoxKind, const Text&, const Text&) {});
  const auto loader = typelib::CreateTypeLibLoader(nullptr, {});
  for (int i = 1; i < argc; ++i) {
    if (wcscmp(argv[i], L"--runs") == 0 && i + 1 < argc) {
      kRuns = std::max(1, _wtoi(argv[++i]));
      continue;
    }
    Bench(*loader, argv[i]);
  }
  std::fflush(stdout);
  return 0;
}
