// The Win32 main window's figures under Wine (run under xvfb-run): filling
// and sorting a root of 40,000 interfaces already read into memory, a
// selection's pane on that registry and on the live one, and reading the
// live registry's collections through advapi32. Prints figures; asserts
// nothing.
//   wine main_window_bench_win32.exe [INTERFACES]
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "registry/memory_store.h"
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

std::unique_ptr<registry::MemoryStore> SyntheticRegistry(int interfaces) {
  auto store = std::make_unique<registry::MemoryStore>();
  constexpr auto R = registry::RootKey::ClassesRoot;
  uint32_t seed = 12345;
  for (int i = 0; i < interfaces; ++i) {
    seed = seed * 1103515245u + 12345u;
    char guid[64];
    std::snprintf(guid, sizeof guid, "{%08X-0000-0000-C000-%012X}", seed, i);
    char name[64];
    std::snprintf(name, sizeof name, "I%cInterface%06u", 'A' + static_cast<int>(seed % 26), seed % 1000000);
    const Text key = u"Interface\\" + Utf8ToUtf16(guid);
    store->SetString(R, key, u"", Utf8ToUtf16(name));
    store->SetString(R, key + u"\\ProxyStubClsid32", u"", u"{00020424-0000-0000-C000-000000000046}");
    store->SetString(R, key + u"\\NumMethods", u"", u"7");
  }
  store->SetString(R, u"CLSID\\{00020424-0000-0000-C000-000000000046}", u"", u"PSOAInterface");
  store->SetString(R, u"CLSID\\{00020424-0000-0000-C000-000000000046}\\InprocServer32", u"", u"oleaut32.dll");
  return store;
}

// Selects the middle child of the root and times the pane's update.
double SelectionMs(ui::TfrmMain& frm, HTREEITEM root) {
  HTREEITEM item = TreeView_GetChild(frm.Tree, root);
  const size_t count = static_cast<size_t>(TreeView_GetCount(frm.Tree));
  for (size_t i = 0; item && i < count / 2; ++i) {
    HTREEITEM next = TreeView_GetNextSibling(frm.Tree, item);
    if (!next) break;
    item = next;
  }
  const auto start = Clock::now();
  TreeView_SelectItem(frm.Tree, item);
  UpdateWindow(frm.Handle());
  return Ms(start);
}

}  // namespace

int main(int argc, char** argv) {
  const int interfaces = argc > 1 ? std::atoi(argv[1]) : 40000;
  CoInitialize(nullptr);
  {
    auto start = Clock::now();
    const auto store = SyntheticRegistry(interfaces);
    std::printf("synthetic registry of %d interfaces built in memory: %.0f ms\n", interfaces, Ms(start));
    Catalogue catalogue(*store);
    start = Clock::now();
    catalogue.ReadList(TObjectType::otInterface);
    std::printf("reading the interfaces from memory: %.0f ms\n", Ms(start));

    ui::TfrmMain::Options options;
    options.quitOnClose = false;
    ui::TfrmMain frm(catalogue, options);
    frm.Show(SW_SHOWNORMAL);
    Pump();
    start = Clock::now();
    TreeView_Expand(frm.Tree, frm.IFRoot, TVE_EXPAND);
    UpdateWindow(frm.Handle());
    std::printf("filling and sorting %zu interfaces into the tree view: %.0f ms\n", catalogue.IFList.size(), Ms(start));
    Pump();
    for (int i = 0; i < 3; ++i) std::printf("a selection's pane (memory registry): %.1f ms\n", SelectionMs(frm, frm.IFRoot));
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
    for (int i = 0; i < 3; ++i) std::printf("a selection's pane (Wine's registry): %.1f ms\n", SelectionMs(frm, frm.OCRoot));
  }
  CoUninitialize();
  return 0;
}
