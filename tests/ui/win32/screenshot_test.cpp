// The picture of the main window for the README, taken by
// scripts/screenshot-win32.sh under Xvfb: the window shows a fixture class;
// its screen rectangle goes into BRANNOCK_SCREENSHOT_READY, and the window
// stays until BRANNOCK_SCREENSHOT_DONE exists (at most 30 s).
#include <algorithm>

#include "window_fixture.h"

namespace brannock::ui::testing {
namespace {

TEST(Win32Screenshot, MainWindowWithAClassSelected) {
  const std::string ready = Env("BRANNOCK_SCREENSHOT_READY"), done = Env("BRANNOCK_SCREENSHOT_DONE");
  if (ready.empty() || done.empty()) GTEST_SKIP() << "run by scripts/screenshot-win32.sh";
  Captured captured;
  // As brannock.exe opens it: the live registry in its 64-bit view.
  registry::Win32Registry live;
  registry::ViewedRegistry viewed(live, registry::RegistryView::Bits64);
  Catalogue catalogue(viewed);
  TfrmMain::Options options;
  options.quitOnClose = false;
  options.view = &viewed;
  options.sourceText = u"Live registry";
  TfrmMain frm(catalogue, options);
  frm.Show(SW_SHOWNORMAL);
  // Gone to as Find goes to an object: its root read and expanded, the node
  // selected and shown, the tree at its left edge.
  if (catalogue.OCList.empty()) catalogue.ReadList(TObjectType::otCLSID);
  const TObjects& classes = catalogue.OCList;
  const auto at = std::find_if(classes.begin(), classes.end(), [](const TObjectData& record) {
    return record.GUID == u"{B4A22001-0000-4000-8000-000000000001}";
  });
  ASSERT_NE(at, classes.end());
  frm.GoToObject(TObjectType::otCLSID, static_cast<uint32_t>(at - classes.begin()));
  ASSERT_TRUE(TreeView_GetSelection(frm.Tree));
  TreeView_SelectItem(frm.RegTree, TreeView_GetRoot(frm.RegTree));
  SetForegroundWindow(frm.Handle());
  SetFocus(frm.Tree);
  Pump();
  RedrawWindow(frm.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  RECT r;
  GetWindowRect(frm.Handle(), &r);
  {
    std::ofstream out(std::filesystem::path(ready + ".tmp"));
    out << (r.right - r.left) << "x" << (r.bottom - r.top) << "+" << r.left << "+" << r.top << "\n";
  }
  std::filesystem::rename(ready + ".tmp", ready);
  for (int i = 0; i < 600 && !std::filesystem::exists(done); ++i) {
    Pump();
    Sleep(50);
  }
  EXPECT_TRUE(std::filesystem::exists(done));
  EXPECT_TRUE(captured.reports.empty());
}

}  // namespace
}  // namespace brannock::ui::testing
