// Find and the References page of the Qt main window, offscreen, on the
// registrations of the widl fixture shapes.tlb (tests/analysis/
// analysis_registry.h), the library read from its host path.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include "analysis/analysis_registry.h"
#include "registry/viewed_registry.h"
#include "typelib/reader_fixtures.h"
#include "ui/qt/error_report.h"
#include "ui/qt/find_window.h"
#include "ui/qt/library_progress.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"
#include "tree_items.h"

namespace brannock::ui::testing {
namespace {

using namespace analysis::testing;
using typelib::testing::Fixture;

// The progress window of the libraries' reading, watched as it shows: the
// text it shows then, and Cancel clicked at once when asked (the reading
// goes on between two libraries only after the window has shown).
class ProgressWatch : public QObject {
 public:
  explicit ProgressWatch(bool cancel) : cancel_(cancel) { qApp->installEventFilter(this); }
  ~ProgressWatch() override { qApp->removeEventFilter(this); }
  QStringList shown;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* progress = dynamic_cast<LibraryProgressWindow*>(watched)) {
        shown << progress->windowTitle() + " | " + progress->Status->text();
        if (cancel_) progress->bCancel->click();
      }
    }
    return false;
  }

 private:
  bool cancel_;
};

// "name;GUID;field" for each row of the Find window's list.
QStringList FoundRows(const FindWindow& find) {
  QStringList rows;
  const QAbstractItemModel* model = find.List->model();
  for (int r = 0; r < model->rowCount(); ++r)
    rows << model->index(r, 0).data().toString() + ";" + model->index(r, 1).data().toString() + ";" +
                model->index(r, 2).data().toString();
  return rows;
}

// "relation;name;GUID" for each row of the References page.
QStringList ReferenceLines(const TfrmMain& w) {
  QStringList lines;
  for (int i = 0; i < w.RefList->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = w.RefList->topLevelItem(i);
    lines << item->text(0) + ";" + item->text(1) + ";" + item->text(2);
  }
  return lines;
}

void DoubleClick(QAbstractItemView* view, const QModelIndex& index) {
  view->scrollTo(index);
  const QPoint at = view->visualRect(index).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

// The References row with this relation and target name, double-clicked.
void DoubleClickReference(TfrmMain& w, const QString& relation, const QString& name) {
  for (int i = 0; i < w.RefList->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = w.RefList->topLevelItem(i);
    if (item->text(0) == relation && item->text(1) == name) {
      DoubleClick(w.RefList, w.RefList->indexFromItem(item, 1));
      return;
    }
  }
  ADD_FAILURE() << "no reference " << relation.toStdString() << " " << name.toStdString();
}

const QString kShapeGuid = ToQt(kShape);
const QString kIShapeGuid = ToQt(kIShape);

class FindWindowTest : public ::testing::Test {
 protected:
  registry::MemoryStore store_;
  std::unique_ptr<registry::ViewedRegistry> view_;
  std::unique_ptr<Catalogue> catalogue_;
  std::unique_ptr<TfrmMain> w_;
  QStringList reports_;

  FindWindowTest() {
    RegisterAnalysisFixtures(store_, platform::HostPathText(Fixture("shapes.tlb")));
    SetErrorReportHook([this](const Text& t) { reports_ << ToQt(t); });
  }
  ~FindWindowTest() override {
    w_.reset();
    TfrmMain::SetComparisonSourceChooser(nullptr);
    SetErrorReportHook(nullptr);
  }

  // The window on the registry in its 64-bit view, shown and active.
  void Open() {
    view_ = std::make_unique<registry::ViewedRegistry>(store_, registry::RegistryView::Bits64);
    catalogue_ = std::make_unique<Catalogue>(*view_);
    TfrmMain::Options options;
    options.view = view_.get();
    w_ = std::make_unique<TfrmMain>(*catalogue_, std::move(options));
    w_->show();
    QApplication::setActiveWindow(w_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(w_.get(), 60000));
  }

  // Ctrl+F in the main window: the Find window, shown.
  FindWindow& OpenFind() {
    QTest::keyClick(w_.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(w_->frmFind && w_->frmFind->isVisible());
    return *w_->frmFind;
  }

  static void Type(FindWindow& find, const QString& text) {
    find.eText->clear();
    QTest::keyClicks(find.eText, text);
  }

  QString Selected() const { return w_->Tree->currentItem() ? w_->Tree->currentItem()->text(0) : QString(); }
};

TEST_F(FindWindowTest, TypedNamesListTheObjectAndEnterSelectsIt) {
  Open();
  EXPECT_EQ(w_->mmFind->text(), "Find...");
  EXPECT_EQ(w_->mmFind->shortcut(), QKeySequence("Ctrl+F"));
  FindWindow& find = OpenFind();
  EXPECT_EQ(find.windowTitle(), "Find");
  EXPECT_FALSE(find.isModal());
  EXPECT_EQ(find.List->model()->headerData(2, Qt::Horizontal).toString(), "Found in");
  EXPECT_TRUE(FoundRows(find).isEmpty());
  EXPECT_TRUE(find.Count->text().isEmpty());

  // A ProgID, typed key by key: the list follows each key.
  Type(find, "shapes.shape.2");
  EXPECT_EQ(FoundRows(find), QStringList{"Shape Object;" + kShapeGuid + ";ProgID = Shapes.Shape.2"});
  EXPECT_EQ(find.Count->text(), "1 object");
  EXPECT_FALSE(find.List->model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
  // Enter: the class selected in its root, read first, with its pane.
  EXPECT_EQ(w_->OCRoot->childCount(), 0);
  QTest::keyClick(find.eText, Qt::Key_Return);
  EXPECT_EQ(Selected(), "Shape Object");
  EXPECT_TRUE(w_->OCRoot->isExpanded());
  EXPECT_EQ(w_->eGUID->text(), kShapeGuid);
  EXPECT_TRUE(w_->pc->isVisible());
  EXPECT_FALSE(w_->RegTree->findItems("Shapes.Shape.2", Qt::MatchContains | Qt::MatchRecursive).isEmpty());
  EXPECT_TRUE(find.isVisible()) << "modeless: it stays";

  // A server's file name: both classes that the file serves, whichever way
  // the path is written (the one of an expandable value as expanded); the
  // row chosen goes, by Enter and by a double click.
  Type(find, "shapeserver.dll");
  EXPECT_EQ(FoundRows(find),
            (QStringList{"Shape Helper;" + ToQt(kSameFile) +
                             ";InprocServer32 = \"C:\\PROGRAM FILES\\Shapes\\shapeserver.DLL\"",
                         "Shape Object;" + kShapeGuid +
                             ";InprocServer32 = C:\\Program Files\\Shapes\\ShapeServer.dll"}));
  EXPECT_EQ(find.Count->text(), "2 objects");
  QTest::keyClick(find.eText, Qt::Key_Return);
  EXPECT_EQ(Selected(), "Shape Helper") << "none chosen: the first";
  find.List->setCurrentIndex(find.List->model()->index(1, 0));
  QTest::keyClick(find.List, Qt::Key_Return);
  EXPECT_EQ(Selected(), "Shape Object");
  DoubleClick(find.List, find.List->model()->index(0, 1));
  EXPECT_EQ(Selected(), "Shape Helper");
  EXPECT_EQ(w_->eGUID->text(), ToQt(kSameFile));

  // A GUID's leading part, in another case and with its brace: an interface,
  // its root read when Enter goes there.
  Type(find, "{6a1b2c3d-0007");
  EXPECT_EQ(FoundRows(find), QStringList{"IShape;" + kIShapeGuid + ";GUID"});
  EXPECT_EQ(w_->IFRoot->childCount(), 0);
  QTest::keyClick(find.eText, Qt::Key_Enter);
  EXPECT_EQ(Selected(), "IShape");
  EXPECT_TRUE(w_->IFRoot->isExpanded());
  EXPECT_EQ(w_->eGUID->text(), kIShapeGuid);

  // Nothing matches; Enter does nothing.
  Type(find, "no such thing");
  EXPECT_TRUE(FoundRows(find).isEmpty());
  EXPECT_EQ(find.Count->text(), "No object matches.");
  QTest::keyClick(find.eText, Qt::Key_Return);
  EXPECT_EQ(Selected(), "IShape");

  // Esc closes it; Ctrl+F brings it back with its text, ready to type over.
  QTest::keyClick(find.eText, Qt::Key_Escape);
  EXPECT_FALSE(find.isVisible());
  QApplication::setActiveWindow(w_.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(w_.get(), 60000));
  EXPECT_EQ(&OpenFind(), &find);
  EXPECT_EQ(find.eText->selectedText(), "no such thing");
  Type(find, "Shape Service");
  EXPECT_EQ(FoundRows(find), QStringList{"Shape Service;" + ToQt(kService) + ";Name"});
  EXPECT_EQ(w_->sb->text(), "Ready");
  EXPECT_TRUE(reports_.isEmpty()) << reports_.join("\n").toStdString();
}

TEST_F(FindWindowTest, TheListFollowsTheCatalogueReadAnew) {
  store_.SetString(HKCR, u"Wow6432Node\\CLSID\\{B4A26040-0000-4000-8000-000000000040}", u"", u"Thirty-two Shape");
  Open();
  FindWindow& find = OpenFind();
  Type(find, "shape");
  const QStringList before = FoundRows(find);
  EXPECT_FALSE(before.join('\n').contains("Thirty-two Shape"));

  // Refresh: a class registered since is found.
  store_.SetString(HKCR, u"CLSID\\{B4A26041-0000-4000-8000-000000000041}", u"", u"Shape Added Later");
  w_->mmRefresh->trigger();
  QStringList after = FoundRows(find);
  EXPECT_EQ(after.size(), before.size() + 1);
  EXPECT_TRUE(after.join('\n').contains("Shape Added Later"));

  // The other view: its classes, and Enter goes to the class of that view.
  w_->mmView32->trigger();
  after = FoundRows(find);
  EXPECT_TRUE(after.join('\n').contains("Thirty-two Shape")) << after.join('\n').toStdString();
  EXPECT_FALSE(after.join('\n').contains("Shape Added Later"));
  Type(find, "thirty-two");
  QTest::keyClick(find.eText, Qt::Key_Return);
  EXPECT_EQ(Selected(), "Thirty-two Shape");
  EXPECT_EQ(w_->eGUID->text(), "{B4A26040-0000-4000-8000-000000000040}");
  EXPECT_TRUE(reports_.isEmpty()) << reports_.join("\n").toStdString();
}

TEST_F(FindWindowTest, ReferencesOfAnInterfaceAndOfTheCoclassThatImplementsIt) {
  REQUIRE_TLB_FIXTURES();
  Open();
  ASSERT_EQ(w_->pc->count(), 2);
  EXPECT_EQ(w_->pc->tabText(1), " References ");
  EXPECT_EQ(w_->RefList->headerItem()->text(0), "Relation");
  w_->IFRoot->setExpanded(true);
  w_->Tree->setCurrentItem(Child(w_->IFRoot, "IShape"));
  EXPECT_EQ(w_->RefList->topLevelItemCount(), 0) << "the page is not shown: nothing is read";

  // The page chosen: the libraries are read once, with their progress.
  {
    ProgressWatch watch(/*cancel=*/false);
    w_->pc->setCurrentWidget(w_->tsReferences);
    EXPECT_EQ(watch.shown, QStringList{"Reading type libraries | Reading type libraries: 0 of 2"});
  }
  const QStringList lines = ReferenceLines(*w_);
  EXPECT_TRUE(lines.contains("implemented by [default];Shape Object;" + kShapeGuid)) << lines.join('\n').toStdString();
  EXPECT_TRUE(lines.contains("TypeLib;Shapes and colours;" + ToQt(kShapeLib)));
  EXPECT_TRUE(w_->RefNotes->toPlainText().startsWith("Not read: Shapes of the future ("))
      << w_->RefNotes->toPlainText().toStdString();
  EXPECT_EQ(w_->findChild<LibraryProgressWindow*>(), nullptr) << "gone once read";
  EXPECT_EQ(w_->sb->text(), "Ready");

  // A double click goes to the coclass, whose page lists the interface.
  {
    ProgressWatch watch(false);
    DoubleClickReference(*w_, "implemented by [default]", "Shape Object");
    EXPECT_TRUE(watch.shown.isEmpty()) << "read once";
  }
  EXPECT_EQ(Selected(), "Shape Object");
  EXPECT_EQ(w_->eGUID->text(), kShapeGuid);
  EXPECT_EQ(w_->pc->currentWidget(), w_->tsReferences);
  EXPECT_TRUE(ReferenceLines(*w_).contains("implements [default];IShape;" + kIShapeGuid))
      << ReferenceLines(*w_).join('\n').toStdString();

  // Missing targets are marked and go nowhere.
  w_->Tree->setCurrentItem(Child(w_->IFRoot, "IPlain"));
  EXPECT_TRUE(ReferenceLines(*w_).contains("TypeLib;(missing);" + ToQt(kGoneLib)))
      << ReferenceLines(*w_).join('\n').toStdString();
  const QList<QTreeWidgetItem*> gone = w_->RefList->findItems("(missing)", Qt::MatchExactly, 1);
  ASSERT_FALSE(gone.isEmpty());
  EXPECT_EQ(gone[0]->foreground(1).color(), w_->RefList->palette().color(QPalette::Disabled, QPalette::Text));
  const QList<QTreeWidgetItem*> present = w_->RefList->findItems("Shape Object", Qt::MatchExactly, 1);
  ASSERT_FALSE(present.isEmpty());
  EXPECT_EQ(present[0]->foreground(1).style(), Qt::NoBrush);
  DoubleClickReference(*w_, "TypeLib", "(missing)");
  EXPECT_EQ(Selected(), "IPlain");

  // The Registry page again: the References page is not read while hidden.
  w_->pc->setCurrentWidget(w_->tsRegistry);
  w_->Tree->setCurrentItem(Child(w_->IFRoot, "ICircle"));
  EXPECT_EQ(w_->RefList->topLevelItemCount(), 0);
  EXPECT_TRUE(reports_.isEmpty()) << reports_.join("\n").toStdString();
}

TEST_F(FindWindowTest, CancelStopsReadingTheLibrariesUntilThePageIsChosenAgain) {
  REQUIRE_TLB_FIXTURES();
  Open();
  w_->IFRoot->setExpanded(true);
  w_->Tree->setCurrentItem(Child(w_->IFRoot, "IShape"));
  {
    ProgressWatch watch(/*cancel=*/true);
    w_->pc->setCurrentWidget(w_->tsReferences);
    EXPECT_EQ(watch.shown.size(), 1);
  }
  EXPECT_EQ(w_->RefNotes->toPlainText(),
            "Reading the type libraries stopped after 0 of 2: what the others declare is not listed.");
  EXPECT_FALSE(ReferenceLines(*w_).join('\n').contains("implemented by"));
  EXPECT_TRUE(ReferenceLines(*w_).contains("TypeLib;Shapes and colours;" + ToQt(kShapeLib)))
      << "what the registry says is there";
  EXPECT_EQ(w_->sb->text(), "Ready");

  // Not asked again at the next selection.
  {
    ProgressWatch watch(false);
    w_->Tree->setCurrentItem(Child(w_->IFRoot, "ICircle"));
    EXPECT_TRUE(watch.shown.isEmpty());
  }
  EXPECT_TRUE(w_->RefNotes->toPlainText().startsWith("Reading the type libraries stopped"));

  // The page chosen anew: read, and the coclass is there.
  w_->pc->setCurrentWidget(w_->tsRegistry);
  {
    ProgressWatch watch(false);
    w_->pc->setCurrentWidget(w_->tsReferences);
    EXPECT_EQ(watch.shown.size(), 1);
  }
  EXPECT_TRUE(ReferenceLines(*w_).contains("implemented by;Shape Object;" + kShapeGuid))
      << ReferenceLines(*w_).join('\n').toStdString();
  EXPECT_FALSE(w_->RefNotes->toPlainText().contains("stopped"));
  EXPECT_TRUE(reports_.isEmpty()) << reports_.join("\n").toStdString();
}

// While comparing, a difference has no References page; going to an object
// from the Find window ends the comparison and brings the page back.
TEST_F(FindWindowTest, WhileComparing) {
  Open();
  QTemporaryDir dir;
  const QString before = dir.filePath("before.reg");
  {
    QFile file(before);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CLASSES_ROOT\\CLSID]\r\n");
  }
  w_->pc->setCurrentWidget(w_->tsReferences);
  TfrmMain::SetComparisonSourceChooser([before](QWidget*) { return before; });
  w_->mmCompareWith->trigger();
  ASSERT_TRUE(w_->Comparing());
  EXPECT_EQ(w_->pc->indexOf(w_->tsReferences), -1);
  w_->Tree->setCurrentItem(Child(w_->OCRoot, "Shape Object"));
  EXPECT_EQ(w_->eGUID->text(), kShapeGuid);
  EXPECT_EQ(w_->RefList->topLevelItemCount(), 0);

  FindWindow& find = OpenFind();
  Type(find, "Shapes.Shape.2");
  QTest::keyClick(find.eText, Qt::Key_Return);
  EXPECT_FALSE(w_->Comparing());
  EXPECT_EQ(Selected(), "Shape Object");
  EXPECT_EQ(w_->pc->indexOf(w_->tsReferences), 1);
  EXPECT_TRUE(reports_.isEmpty()) << reports_.join("\n").toStdString();
}

}  // namespace
}  // namespace brannock::ui::testing
