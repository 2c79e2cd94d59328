// The main window's comparison, offscreen on the fixture registry, and under
// a display against a Wine prefix into which scripts/wine-compare-stage.sh
// registered the fixture server, which sets
//   BRANNOCK_COMPARE_NOW     the prefix with the server registered
//   BRANNOCK_COMPARE_BEFORE  the prefix's registry before
// (without them WineCompare.* is skipped; ctest leaves it out).
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>

#include "actions_fixture.h"
#include "registry/reg_file_writer.h"
#include "registry/registry_source.h"
#include "ui/qt/window_images.h"

namespace brannock::ui::testing {
namespace {

using registry::RootKey;

// The lines of the pane, each with its colour when it has one.
QStringList PaneLines(TfrmMain& frm) {
  QStringList out;
  for (QTreeWidgetItemIterator it(frm.RegTree); *it; ++it) {
    const QBrush brush = (*it)->foreground(0);
    out << (*it)->text(0) + (brush.style() == Qt::NoBrush ? QString() : " @" + brush.color().name());
  }
  return out;
}

bool HasBadge(QTreeWidgetItem* item, analysis::ObjectChange change) {
  const QIcon icon = item->data(0, Qt::DecorationRole).value<QIcon>();
  return icon.cacheKey() == BadgedTreeImage(4, change).cacheKey();
}

// "Compare with..." on `before`, its counts in the status bar, the added
// class with its badge and its added lines, then "End Comparison".
void CompareAndEnd(TfrmMain& frm, const QString& before, const QString& counts, const QString& addedClass,
                   const QString& addedLine) {
  TfrmMain::SetComparisonSourceChooser([before](QWidget*) { return before; });
  frm.mmCompareWith->trigger();
  TfrmMain::SetComparisonSourceChooser(nullptr);
  ASSERT_TRUE(frm.Comparing());
  EXPECT_TRUE(frm.mmEndComparison->isEnabled());
  EXPECT_TRUE(frm.sbCompare->isVisible());
  EXPECT_TRUE(frm.sbCompare->text().startsWith("Compared with ")) << frm.sbCompare->text().toStdString();
  EXPECT_TRUE(frm.sbCompare->text().endsWith(": " + counts)) << frm.sbCompare->text().toStdString();
  EXPECT_TRUE(frm.OCRoot->isExpanded());

  QTreeWidgetItem* added = ChildNamed(frm.OCRoot, addedClass);
  ASSERT_TRUE(added);
  EXPECT_TRUE(HasBadge(added, analysis::ObjectChange::Added));
  frm.Tree->setCurrentItem(added);
  EXPECT_EQ(frm.eName->text(), addedClass);
  const QStringList lines = PaneLines(frm);
  EXPECT_TRUE(lines.contains(addedLine + " @#1e8c32")) << lines.join('\n').toStdString();
  // The object commands do not act on a difference; the summary is its.
  EXPECT_FALSE(frm.mmReg->isEnabled());
  EXPECT_FALSE(frm.mmView->isEnabled());
  EXPECT_TRUE(frm.bCopy->isEnabled());

  frm.mmEndComparison->trigger();
  EXPECT_FALSE(frm.Comparing());
  EXPECT_FALSE(frm.mmEndComparison->isEnabled());
  EXPECT_FALSE(frm.sbCompare->isVisible());
  EXPECT_EQ(frm.OCRoot->childCount(), 0);
  frm.OCRoot->setExpanded(true);  // the plain tree reads its collection again
  QTreeWidgetItem* plain = ChildNamed(frm.OCRoot, addedClass);
  ASSERT_TRUE(plain);
  EXPECT_FALSE(HasBadge(plain, analysis::ObjectChange::Added));
}

TEST(MainWindowComparison, CompareWithShowsWhatDiffersUntilEndComparison) {
  Captured captured;
  QTemporaryDir dir;
  registry::MemoryStore before;
  FillFixture(before);
  const QString beforeFile = dir.filePath("before.reg");
  registry::SaveRegFile(FromQt(beforeFile), before, RootKey::ClassesRoot, u"");

  registry::MemoryStore now;
  FillFixture(now);
  now.SetString(RootKey::ClassesRoot, u"CLSID\\{C9}", u"", u"Installed Class");
  now.SetString(RootKey::ClassesRoot, u"CLSID\\{C9}\\InprocServer32", u"", u"C:\\installed.dll");
  now.SetString(RootKey::ClassesRoot, u"CLSID\\{C1}\\InprocServer32", u"ThreadingModel", u"Free");
  registry::ViewedRegistry view(now, registry::RegistryView::Bits64);
  Catalogue catalogue(view);
  TfrmMain::Options options;
  options.view = &view;
  TfrmMain frm(catalogue, std::move(options));
  frm.show();

  // Cancelled: nothing changes.
  TfrmMain::SetComparisonSourceChooser([](QWidget*) { return QString(); });
  frm.mmCompareWith->trigger();
  EXPECT_FALSE(frm.Comparing());

  CompareAndEnd(frm, beforeFile, "1 added, 0 removed, 1 changed", "Installed Class", "+ InprocServer32 = C:\\installed.dll");
  EXPECT_TRUE(captured.reports.empty());

  // The changed class: its badge, its removed and added lines; Copy to
  // Clipboard copies them as shown. A file that is no registry is reported
  // and the comparison stays.
  TfrmMain::SetComparisonSourceChooser([beforeFile](QWidget*) { return beforeFile; });
  frm.mmCompareWith->trigger();
  QTreeWidgetItem* changed = ChildNamed(frm.OCRoot, "Alpha Class");
  ASSERT_TRUE(changed);
  EXPECT_TRUE(HasBadge(changed, analysis::ObjectChange::Changed));
  frm.Tree->setCurrentItem(changed);
  const QStringList lines = PaneLines(frm);
  EXPECT_TRUE(lines.contains("- InprocServer32[ThreadingModel] = Both @#c82828")) << lines.join('\n').toStdString();
  EXPECT_TRUE(lines.contains("+ InprocServer32[ThreadingModel] = Free @#1e8c32")) << lines.join('\n').toStdString();
  TfrmMain::SetComparisonSourceChooser([&dir](QWidget*) { return dir.filePath("missing.reg"); });
  frm.mmCompareWith->trigger();
  TfrmMain::SetComparisonSourceChooser(nullptr);
  EXPECT_EQ(captured.reports.size(), 1u);
  EXPECT_TRUE(frm.Comparing());
  EXPECT_EQ(frm.sb->text(), "Ready");
  frm.mmEndComparison->trigger();
}

TEST(WineCompare, CompareWithOnTheRegisteredServersPrefix) {
  const char* now = std::getenv("BRANNOCK_COMPARE_NOW");
  const char* before = std::getenv("BRANNOCK_COMPARE_BEFORE");
  if (!now || !before) GTEST_SKIP() << "run by scripts/wine-compare-stage.sh";
  Captured captured;
  registry::RegistrySource source = registry::OpenRegistryPath(now);
  registry::ViewedRegistry view(*source.backend, registry::RegistryView::Bits64);
  Catalogue catalogue(view);
  TfrmMain::Options options;
  options.view = &view;
  options.source = &source;
  TfrmMain frm(catalogue, std::move(options));
  frm.show();
  // The prefix before is chosen by its system.reg.
  // The class, the library and its two interfaces (wine-compare-stage.sh).
  CompareAndEnd(frm, QString(before) + "/system.reg", "4 added, 0 removed, 0 changed", "Brannock Registration Fixture",
                "+ InprocServer32 = C:\\brannock_compare_fixture.dll");
  EXPECT_TRUE(captured.reports.empty());
}

}  // namespace
}  // namespace brannock::ui::testing
