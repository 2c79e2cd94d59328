// Opening the viewer on a large library file (Wine's mshtml.tlb): load,
// tree, rendering and the filled editor, then double-click navigation.
//   viewer_bench LIBRARY [ROUNDS]
// With $WINEPREFIX set, references to registered libraries resolve through
// that prefix's registry.
#include <QApplication>
#include <QTreeWidgetItem>
#include <chrono>
#include <cstdio>
#include <memory>

#include "analysis/object_typelib.h"
#include "catalogue/object_data.h"
#include "typelib/unit_text.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/tlb_viewer.h"
#include "ui/qt/type_tree_widget.h"
#include "ui/qt/viewer_editor.h"
#include "viewer_fixture.h"

namespace {

using namespace brannock;
using namespace brannock::ui;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: viewer_bench LIBRARY [ROUNDS]\n");
    return 2;
  }
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  TObjectData record;
  record.Server = Utf8ToUtf16(argv[1]);
  testing::PrefixLoader prefixLoader;
  typelib::TypeLibLoader* loader = prefixLoader.loader.get();

  std::printf("library: %s\n", argv[1]);
  for (int round = 0; round < rounds; ++round) {
    // The phases one by one, as the viewer's entry runs them.
    auto start = Clock::now();
    std::shared_ptr<typelib::TypeLib> lib;
    if (typelib::Failed(analysis::LoadObjectTypeLib(record, *loader, &lib)) || !lib) {
      std::fprintf(stderr, "cannot load %s\n", argv[1]);
      return 1;
    }
    const double loadMs = MsSince(start);
    TfrmTLBView view(nullptr);
    start = Clock::now();
    view.FillTree(*lib);
    const double treeMs = MsSince(start);
    start = Clock::now();
    TextList lines;
    view.FUnitname = typelib::TypeLibToStrings(analysis::UnitHeaderOf(record), *lib, &lines);
    const double renderMs = MsSince(start);
    start = Clock::now();
    QString text;
    for (const Text& line : lines) text += ToQt(line) + QLatin1Char('\n');
    text.chop(1);
    view.SynMemo->setText(text);
    view.SynMemoStatusChange();
    const double editorMs = MsSince(start);

    // The whole entry, as the user waits for it.
    start = Clock::now();
    auto opened = OpenTypeLibView(record, *loader, nullptr);
    const double openMs = MsSince(start);
    if (!opened) return 1;

    // Double-click on the last type node: the search runs through the text.
    QTreeWidgetItem* target = nullptr;
    for (QTreeWidgetItem* item : opened->Tree->AllNodes())
      if (TTypeTreeWidget::NodeOf(item).Kind < 8) target = item;
    // The first jump also reads the text for searching; the second one to
    // the same node finds it ready.
    double navigateMs = 0, againMs = 0;
    if (target) {
      opened->Tree->setCurrentItem(target);
      start = Clock::now();
      opened->TreeDblClick();
      navigateMs = MsSince(start);
      start = Clock::now();
      opened->TreeDblClick();
      againMs = MsSince(start);
    }
    std::printf(
        "round %d: load %.1f ms, tree %.1f ms (%d nodes), render %.1f ms (%zu lines), editor %.1f ms; "
        "whole entry %.1f ms; navigation to '%s' %.2f ms (line %d), again %.2f ms\n",
        round + 1, loadMs, treeMs, static_cast<int>(view.Tree->AllNodes().size()), renderMs, lines.size(), editorMs,
        openMs, target ? qPrintable(target->text(0)) : "-", navigateMs, opened->SynMemo->CaretLine() + 1, againMs);
  }
  return 0;
}
