// Detail pane benchmark: the registry tree of a class whose ProgID value is
// "CLSID", on a registry of 20,000 classes (about a large real machine).
// The ProgID path stops at its line limit; the figure is the time of the
// whole pane (the class's own key and the ProgID path), fastest of ten runs.
//
//   detail_pane_bench [CLASSES]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "catalogue/registry_tree_builder.h"
#include "registry/memory_store.h"
#include "ui/logic/detail_pane.h"

using namespace brannock;
using registry::RootKey;

int main(int argc, char** argv) {
  const int classes = argc > 1 ? std::atoi(argv[1]) : 20000;
  registry::MemoryStore store;
  for (int i = 0; i < classes; ++i) {
    const Text key = u"CLSID\\{" + IntToText(100000 + i) + u"}";
    store.SetString(RootKey::ClassesRoot, key, u"", u"Class " + IntToText(i));
    store.SetString(RootKey::ClassesRoot, key, u"AppID", u"{A}");
    store.SetString(RootKey::ClassesRoot, key + u"\\InprocServer32", u"", u"%SystemRoot%\\x.dll",
                    registry::RegType::ExpandSz);
    store.SetString(RootKey::ClassesRoot, key + u"\\InprocServer32", u"ThreadingModel", u"Both");
  }
  TObjectData snapshot;
  snapshot.Typ = TObjectType::otCLSID;
  snapshot.GUID = u"{100000}";
  snapshot.ProgId = u"CLSID";

  double best = 1e9;
  size_t lines = 0;
  for (int run = 0; run < 10; ++run) {
    const auto start = std::chrono::steady_clock::now();
    RegistryTreeBuilder builder(store, true);
    builder.FillObjectTree(snapshot);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (ms < best) best = ms;
    lines = builder.Lines().size();
  }
  std::printf("classes: %d\npane lines: %zu (limit %zu per key path)\npane build: %.2f ms (fastest of 10)\n",
              classes, lines, kMaxLinesPerKeyPath, best);
  return 0;
}
