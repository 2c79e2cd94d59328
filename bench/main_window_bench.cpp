// Expanding the "Interfaces" root of a large registry and selecting an
// object in the main window, offscreen. Prints figures; asserts nothing.
//   main_window_bench [REGISTRY]   (a .reg export, Wine prefix or hive, e.g. from
//                                   tools/gen_synthetic_registry.py --reg big.reg;
//                                   default: 40,000 interfaces built in memory)
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "registry/memory_store.h"
#include "registry/registry_source.h"
#include "support/synthetic_interfaces.h"
#include "ui/qt/main_window.h"

using namespace brannock;

namespace {

std::unique_ptr<registry::RegistryBackend> SyntheticRegistry(int interfaces) {
  return testing::SyntheticInterfaces(interfaces);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  registry::RegistrySource source;
  QElapsedTimer load;
  load.start();
  if (argc > 1) {
    source = registry::OpenRegistryPath(argv[1]);
  } else {
    source.backend = SyntheticRegistry(40000);
  }
  std::printf("registry loaded: %lld ms\n", static_cast<long long>(load.elapsed()));

  Catalogue catalogue(*source.backend);
  ui::TfrmMain window(catalogue, {});
  window.show();
  QCoreApplication::processEvents();

  QElapsedTimer t;
  t.start();
  {
    Catalogue alone(*source.backend);
    alone.ReadList(TObjectType::otInterface);
    std::printf("interfaces list read alone (catalogue): %lld ms\n", static_cast<long long>(t.elapsed()));
  }
  t.restart();
  window.IFRoot->setExpanded(true);
  const qint64 expandMs = t.elapsed();
  QCoreApplication::processEvents();
  const qint64 paintedMs = t.elapsed();
  std::printf("interfaces root: %d children, filled and sorted in %lld ms (painted after %lld ms; goal < 500 ms)\n",
              window.IFRoot->childCount(), static_cast<long long>(expandMs), static_cast<long long>(paintedMs));

  const int samples = std::min(window.IFRoot->childCount(), 50);
  qint64 worst = 0, total = 0;
  for (int i = 0; i < samples; ++i) {
    QTreeWidgetItem* item = window.IFRoot->child(i * (window.IFRoot->childCount() / std::max(samples, 1)));
    t.restart();
    window.Tree->setCurrentItem(item);
    const qint64 ms = t.elapsed();
    worst = std::max(worst, ms);
    total += ms;
  }
  if (samples > 0)
    std::printf("selection pane: %d selections, mean %.2f ms, worst %lld ms (goal < 50 ms)\n", samples,
                static_cast<double>(total) / samples, static_cast<long long>(worst));

  t.restart();
  window.Tree->setCurrentItem(window.IFRoot);
  window.Tree->keyboardSearch("IZ");
  std::printf("incremental search over all nodes: %lld ms\n", static_cast<long long>(t.elapsed()));
  return 0;
}
