#include "ui/qt/tlb_viewer.h"

#include <Qsci/qsciprinter.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "analysis/object_typelib.h"
#include "platform/messages.h"
#include "typelib/unit_text.h"
#include "ui/qt/viewer_find_dialog.h"
#include "typed_keys.h"
#include "viewer_fixture.h"

namespace brannock::ui::testing {
namespace {

using Sci = QsciScintillaBase;

struct OpenedView {
  std::shared_ptr<TypeLib> lib;
  std::unique_ptr<TfrmTLBView> view;
};

OpenedView Open(std::shared_ptr<TypeLib> lib) {
  MemoryLoader loader = LoaderOf(lib);
  OpenedView opened{lib, OpenTypeLibView(FileRecord(), loader, nullptr)};
  return opened;
}

TextList RenderedLines(TypeLib& lib) {
  TextList lines;
  typelib::TypeLibToStrings(analysis::UnitHeaderOf(FileRecord()), lib, &lines);
  return lines;
}

QStringList ShownTree(TfrmTLBView& view) {
  QStringList texts;
  for (QTreeWidgetItem* item : view.Tree->AllNodes()) {
    int depth = 0;
    for (QTreeWidgetItem* p = item->parent(); p; p = p->parent()) ++depth;
    texts << QString(depth * 2, QLatin1Char(' ')) + item->text(0);
  }
  return texts;
}

TEST(TypeLibViewer, OpensWithTreeTextAndStatus) {
  BoxCapture boxes;
  auto lib = DemoLibrary();
  OpenedView opened = Open(lib);
  ASSERT_TRUE(opened.view);
  TfrmTLBView& view = *opened.view;
  EXPECT_EQ(view.windowTitle(), QStringLiteral("ITypeLib Viewer"));
  EXPECT_EQ(view.width(), 792);
  EXPECT_EQ(view.FUnitname, u"DemoLib");
  EXPECT_TRUE(boxes.boxes.empty());

  EXPECT_EQ(ShownTree(view),
            (QStringList{"DemoLib (Demo types) (8)", "  Enums (1)", "    typedef enum Colors", "  Structs (1)",
                         "    typedef struct Point", "  Modules (1)", "    module Helpers", "  Interfaces (2)",
                         "    interface IShape", "    interface IPlain", "  Dispinterfaces (1)",
                         "    dispinterface IShapeDisp", "  CoClasses (1)", "    coclass TShape", "  Typedefs (1)",
                         "    typedef Handle", "  Unions (1)", "    typedef union Value"}));
  QTreeWidgetItem* root = view.Tree->topLevelItem(0);
  EXPECT_TRUE(root->isExpanded());
  EXPECT_FALSE(root->child(0)->isExpanded());
  // Each node shows its kind's picture.
  const auto pixelsOf = [](const QIcon& icon) {
    return icon.pixmap(kPictureSize, kPictureSize).toImage().convertToFormat(QImage::Format_ARGB32);
  };
  EXPECT_EQ(pixelsOf(root->icon(0)), PictureImage(Rasterize(ViewerPicture(kLibraryNodeKind))));
  EXPECT_EQ(pixelsOf(root->child(3)->icon(0)), PictureImage(Rasterize(ViewerPicture(kCategoryNodeKind))));
  EXPECT_EQ(pixelsOf(NodeByText(view, "interface IShape")->icon(0)),
            PictureImage(Rasterize(ViewerPicture(TKIND_INTERFACE))));
  EXPECT_EQ(TTypeTreeWidget::NodeOf(NodeByText(view, "coclass TShape")).Kind, TKIND_COCLASS);
  EXPECT_EQ(TTypeTreeWidget::NodeOf(root->child(3)).Kind, 12);

  // The text is the rendered unit, line for line.
  const TextList lines = RenderedLines(*lib);
  ASSERT_EQ(view.SynMemo->LineCount(), static_cast<int>(lines.size()));
  for (int i = 0; i < view.SynMemo->LineCount(); ++i)
    EXPECT_EQ(FromQt(view.SynMemo->text(i).remove(QLatin1Char('\n'))), lines[static_cast<size_t>(i)]) << i;

  EXPECT_EQ(view.sbPanel0->text(), QStringLiteral("Ready"));
  EXPECT_EQ(view.sbPanel1->text(), QStringLiteral("Line: 1   Col: 1   Lines: %1").arg(lines.size()));
  EXPECT_EQ(view.FCurrentLine, 0);
  EXPECT_EQ(view.SynMemo->SendScintilla(Sci::SCI_GETCARETLINEVISIBLE), 1);
  EXPECT_EQ(view.SynMemo->GutterText(0), QStringLiteral("0"));
  EXPECT_FALSE(view.SynMemo->isReadOnly());

  // The caret status follows the caret.
  view.SynMemo->setCursorPosition(3, 4);
  EXPECT_EQ(view.sbPanel1->text(), QStringLiteral("Line: 4   Col: 5   Lines: %1").arg(lines.size()));
  EXPECT_EQ(view.FCurrentLine, 3);
}

TEST(TypeLibViewer, EmptyLibrary) {
  OpenedView opened = Open(std::make_shared<MemoryTypeLib>(u"Nothing", u""));
  ASSERT_TRUE(opened.view);
  EXPECT_EQ(ShownTree(*opened.view), (QStringList{"Nothing () (8)", "  Enums", "  Structs", "  Modules",
                                                   "  Interfaces", "  Dispinterfaces", "  CoClasses", "  Typedefs",
                                                   "  Unions"}));
  EXPECT_EQ(opened.view->SynMemo->LineCount(), 17);
  EXPECT_EQ(opened.view->sbPanel1->text(), QStringLiteral("Line: 1   Col: 1   Lines: 17"));
}

TEST(TypeLibViewer, FillingStopsAtAFailureAndTheRootStaysCollapsed) {
  auto lib = std::make_shared<MemoryTypeLib>(u"Broken");
  lib->AddType(TKIND_ENUM, u"First");
  lib->AddType(TKIND_DISPATCH, u"IDual", u"", TypeFlag::Dual);  // its interface view is missing
  lib->AddType(TKIND_ENUM, u"Never");
  OpenedView opened = Open(lib);
  ASSERT_TRUE(opened.view);
  EXPECT_FALSE(opened.view->Tree->topLevelItem(0)->isExpanded());
  EXPECT_TRUE(NodeByText(*opened.view, "dispinterface IDualDisp"));
  EXPECT_FALSE(NodeByText(*opened.view, "typedef enum Never"));
  // The text is complete all the same.
  EXPECT_TRUE(opened.view->SynMemo->text().contains(QStringLiteral("  Never = TOleEnum;")));
}

// Double-clicks the node shown as `shown` and returns the caret line.
QString JumpTo(TfrmTLBView& view, const QString& shown) {
  QTreeWidgetItem* item = NodeByText(view, shown);
  if (!item) return QStringLiteral("<no node %1>").arg(shown);
  view.Tree->setCurrentItem(item);
  view.TreeDblClick();
  return CaretLineText(view);
}

TEST(TypeLibViewer, DoubleClickGoesToTheDeclaration) {
  OpenedView opened = Open(DemoLibrary());
  ASSERT_TRUE(opened.view);
  TfrmTLBView& view = *opened.view;
  view.show();
  QApplication::setActiveWindow(&view);

  EXPECT_EQ(JumpTo(view, "typedef enum Colors"), QStringLiteral("  Colors = TOleEnum;"));
  EXPECT_EQ(JumpTo(view, "typedef struct Point"), QStringLiteral("  Point = record"));
  EXPECT_EQ(JumpTo(view, "interface IPlain"), QStringLiteral("  IPlain = interface(IDispatch)"));
  EXPECT_EQ(JumpTo(view, "typedef Handle"), QStringLiteral("  Handle = LongInt;"));
  EXPECT_EQ(JumpTo(view, "typedef union Value"), QStringLiteral("  Value = record"));
  // The dual interface: each node finds its own block.
  EXPECT_EQ(JumpTo(view, "dispinterface IShapeDisp"), QStringLiteral("  IShapeDisp = dispinterface"));
  const int dispLine = view.SynMemo->CaretLine();
  EXPECT_EQ(JumpTo(view, "interface IShape"), QStringLiteral("  IShape = interface(IDispatch)"));
  EXPECT_GT(view.SynMemo->CaretLine(), dispLine);
  EXPECT_EQ(JumpTo(view, "coclass TShape"), QStringLiteral("  TShape = class(TAutoObject, IShape);"));

  // The found line is the third visible one; the caret is behind the match;
  // only the blank in front of the match is selected.
  const int line = view.SynMemo->CaretLine();
  // (The editor stops scrolling where the last line reaches the bottom.)
  const int lastTop = view.SynMemo->LineCount() - static_cast<int>(view.SynMemo->SendScintilla(Sci::SCI_LINESONSCREEN));
  EXPECT_EQ(view.SynMemo->firstVisibleLine(), std::min(line - 2, std::max(0, lastTop)));
  const int lineStart = view.SynMemo->positionFromLineIndex(line, 0);
  EXPECT_EQ(view.SynMemo->CaretPosition(), lineStart + 11);  // "  TShape = "
  EXPECT_EQ(view.SynMemo->SendScintilla(Sci::SCI_GETSELECTIONS), 2);
  EXPECT_EQ(view.SynMemo->SendScintilla(Sci::SCI_GETSELECTIONNSTART, 1UL), lineStart);
  EXPECT_EQ(view.SynMemo->SendScintilla(Sci::SCI_GETSELECTIONNEND, 1UL), lineStart + 1);
  EXPECT_EQ(view.sbPanel1->text().left(view.sbPanel1->text().indexOf("Lines")),
            QStringLiteral("Line: %1   Col: 12   ").arg(line + 1));
  EXPECT_EQ(QApplication::focusWidget(), view.SynMemo);

  // A module, a category and the root find nothing: caret and view at the
  // top, nothing selected.
  for (const char* shown : {"module Helpers", "Enums (1)", "DemoLib (Demo types) (8)"}) {
    JumpTo(view, shown);
    EXPECT_EQ(view.SynMemo->CaretPosition(), 0) << shown;
    EXPECT_EQ(view.SynMemo->firstVisibleLine(), 0) << shown;
    EXPECT_FALSE(view.SynMemo->hasSelectedText()) << shown;
    EXPECT_EQ(view.SynMemo->SendScintilla(Sci::SCI_GETSELECTIONS), 1) << shown;
  }
  // No focused node: nothing happens.
  view.SynMemo->setCursorPosition(5, 0);
  view.Tree->setCurrentItem(nullptr);
  view.TreeDblClick();
  EXPECT_EQ(view.SynMemo->CaretLine(), 5);
}

TEST(TypeLibViewer, DoubleClickFindsTheTypeNotAConstantOfTheSameName) {
  // An enumeration constant IFoo comes before the interface IFoo, and an
  // alias ifoo after it: each node finds its own declaration line.
  auto lib = std::make_shared<MemoryTypeLib>(u"Cases");
  lib->AddType(TKIND_ENUM, u"Kinds")->AddConstant(0, u"IFoo", Variant::Int(VT_I4, 1));
  lib->AddType(TKIND_INTERFACE, u"IFoo");
  auto alias = lib->AddType(TKIND_ALIAS, u"ifoo");
  alias->attr.tdescAlias = Vt(VT_I4);
  OpenedView opened = Open(lib);
  ASSERT_TRUE(opened.view);
  EXPECT_EQ(JumpTo(*opened.view, "interface IFoo"), QStringLiteral("  IFoo = interface(IDispatch)"));
  EXPECT_EQ(JumpTo(*opened.view, "typedef ifoo"), QStringLiteral("  ifoo = LongInt;"));

  // Without a declaration line (the text was edited) the plain search,
  // which ignores case, takes the first match.
  opened.view->SynMemo->setText(QStringLiteral("const\n  ifoo = 1;\n  IFoo = 2;\n"));
  EXPECT_EQ(JumpTo(*opened.view, "interface IFoo"), QStringLiteral("  ifoo = 1;"));
}

TEST(TypeLibViewer, TypeAheadMatchesTheShownText) {
  OpenedView opened = Open(DemoLibrary());
  ASSERT_TRUE(opened.view);
  TfrmTLBView& view = *opened.view;
  view.show();
  QStringList misses;
  view.Tree->OnTypeAheadMiss = [&](const QString& text) { misses << text; };
  view.Tree->setFocus();
  view.Tree->setCurrentItem(view.Tree->topLevelItem(0));

  // Interfaces sit in a collapsed category; type-ahead finds them anyway.
  TypeAt(view.Tree, QStringLiteral("interface I"), 10000);
  ASSERT_TRUE(view.Tree->currentItem());
  EXPECT_EQ(view.Tree->currentItem()->text(0), QStringLiteral("interface IShape"));
  EXPECT_TRUE(view.Tree->currentItem()->parent()->isExpanded());
  EXPECT_TRUE(misses.isEmpty());
  // Moving on: the search text grows and stays at the focused node.
  TypeAt(view.Tree, QStringLiteral("P"), 10900);
  EXPECT_EQ(view.Tree->currentItem()->text(0), QStringLiteral("interface IPlain"));

  // The name alone reaches no type node: "I" finds the category
  // "Interfaces", and the rest of the name nothing.
  TypeAt(view.Tree, QStringLiteral("IShape"), 12000);  // after a pause
  EXPECT_EQ(misses, (QStringList{"IS", "ISh", "ISha", "IShap", "IShape"}));
  EXPECT_EQ(view.Tree->currentItem()->text(0), QStringLiteral("Interfaces (2)"));
}

TEST(TypeLibViewer, FindForwardBackwardWholeWordAndCase) {
  BoxCapture boxes;
  auto lib = std::make_shared<MemoryTypeLib>(u"Finds", u"shape Shape shapes");
  OpenedView opened = Open(lib);
  ASSERT_TRUE(opened.view);
  TfrmTLBView& view = *opened.view;
  TFindDialog& fd = *view.fd;
  // The help string line: "// helpstring: shape Shape shapes".
  const int line = 4;
  const int start = view.SynMemo->positionFromLineIndex(line, 0);
  auto selection = [&] {
    const int anchor = static_cast<int>(view.SynMemo->SendScintilla(Sci::SCI_GETANCHOR));
    return std::pair{anchor - start, view.SynMemo->CaretPosition() - start};
  };

  // Find... takes the word at the caret.
  view.SynMemo->setCursorPosition(line, 17);
  view.cmFind();
  EXPECT_TRUE(fd.isVisible());
  EXPECT_EQ(fd.FindText(), QStringLiteral("shape"));
  EXPECT_TRUE(fd.Down());
  EXPECT_FALSE(fd.MatchCase());
  EXPECT_FALSE(fd.WholeWord());

  // Forward, ignoring case, from the caret: Shape, then shapes.
  view.fdFind();
  EXPECT_EQ(selection(), (std::pair{21, 26}));
  view.fdFind();
  EXPECT_EQ(selection(), (std::pair{27, 32}));
  EXPECT_TRUE(boxes.boxes.empty());
  // The end of the text stops the search: no wrap-around.
  view.fdFind();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].kind, BoxKind::Information);
  EXPECT_EQ(boxes.boxes[0].text, u"Text not found.");
  EXPECT_EQ(boxes.boxes[0].caption, u"Information");

  // Backwards with match case: the caret goes before each match.
  fd.SetDown(false);
  fd.SetMatchCase(true);
  view.fdFind();
  EXPECT_EQ(selection(), (std::pair{32, 27}));
  view.fdFind();
  EXPECT_EQ(selection(), (std::pair{20, 15}));  // "Shape" is skipped
  // Whole words: "shapes" no longer matches "shape".
  view.SynMemo->setCursorPosition(line, 0);
  fd.SetDown(true);
  fd.SetWholeWord(true);
  view.fdFind();
  EXPECT_EQ(selection(), (std::pair{15, 20}));
  view.fdFind();
  EXPECT_EQ(boxes.boxes.size(), 2u);

  // Find Next sets the direction down, searches and focuses the editor.
  fd.SetWholeWord(false);
  fd.SetMatchCase(false);
  fd.SetDown(false);
  view.SynMemo->setCursorPosition(line, 0);
  view.show();
  QApplication::setActiveWindow(&view);
  view.cmFindNext();
  EXPECT_TRUE(fd.Down());
  EXPECT_EQ(selection(), (std::pair{15, 20}));
  EXPECT_EQ(QApplication::focusWidget(), view.SynMemo);

  // An empty text is never found.
  fd.SetFindText(QString());
  view.fdFind();
  EXPECT_EQ(boxes.boxes.size(), 3u);
}

TEST(TypeLibViewer, KeysOfTheWindow) {
  BoxCapture boxes;
  OpenedView opened = Open(DemoLibrary());
  ASSERT_TRUE(opened.view);
  TfrmTLBView& view = *opened.view;
  view.show();
  QApplication::setActiveWindow(&view);
  view.SynMemo->setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&view, 60000));

  // F3 before any search: nothing to find.
  QTest::keyClick(view.SynMemo, Qt::Key_F3);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, u"Text not found.");

  // Shift+Enter breaks no line; Enter does.
  const int lines = view.SynMemo->LineCount();
  QTest::keyClick(view.SynMemo, Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(view.SynMemo->LineCount(), lines);
  QTest::keyClick(view.SynMemo, Qt::Key_Return);
  EXPECT_EQ(view.SynMemo->LineCount(), lines + 1);
  // The status follows once the editor has updated its view.
  const QString status = QStringLiteral("Line: 2   Col: 1   Lines: %1").arg(lines + 1);
  for (int i = 0; i < 6000 && view.sbPanel1->text() != status; ++i) QTest::qWait(10);
  EXPECT_EQ(view.sbPanel1->text(), status);
  EXPECT_EQ(view.FCurrentLine, 1);

  // Ctrl+F opens the find dialog; Esc closes the window.
  QTest::keyClick(view.SynMemo, Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(view.fd->isVisible());
  QApplication::setActiveWindow(&view);
  view.SynMemo->setFocus();
  QTest::keyClick(view.SynMemo, Qt::Key_Escape);
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(view.result(), QDialog::Rejected);
}

TEST(TypeLibViewer, PrintsToPdf) {
  BoxCapture boxes;
  OpenedView opened = Open(DemoLibrary());
  ASSERT_TRUE(opened.view);
  TfrmTLBView& view = *opened.view;
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("demo.pdf"));
  QsciPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  view.PrintTo(printer);
  EXPECT_TRUE(boxes.reports.empty());
  EXPECT_EQ(printer.docName(), QStringLiteral("Brannock - [DemoLib]"));
  const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
  EXPECT_NEAR(margins.left(), 25, 0.1);
  EXPECT_NEAR(margins.right(), 15, 0.1);
  EXPECT_NEAR(margins.top(), 25, 0.1);
  EXPECT_NEAR(margins.bottom(), 25, 0.1);
  EXPECT_EQ(view.sbPanel0->text(), QStringLiteral("Ready"));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  QFile pdf(file);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_GE(bytes.count("/Type /Page\n"), 1);
  // The document title is the job title, in UTF-16 in the information block.
  QByteArray title = QByteArray("\xFE\xFF", 2);
  for (QChar c : QStringLiteral("Brannock - [DemoLib]")) title += QByteArray(1, '\0') + QByteArray(1, char(c.unicode()));
  EXPECT_TRUE(bytes.contains(title) || bytes.contains("Brannock - [DemoLib]"));

  // A long text runs over several pages.
  view.SynMemo->setText(QStringLiteral("line\n").repeated(400));
  const QString longFile = dir.filePath(QStringLiteral("long.pdf"));
  printer.setOutputFileName(longFile);
  view.PrintTo(printer);
  QFile longPdf(longFile);
  ASSERT_TRUE(longPdf.open(QIODevice::ReadOnly));
  EXPECT_GE(longPdf.readAll().count("/Type /Page\n"), 4);
}

TEST(TypeLibViewer, PrintErrorGoesToTheReport) {
  BoxCapture boxes;
  OpenedView opened = Open(DemoLibrary());
  ASSERT_TRUE(opened.view);
  QsciPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QStringLiteral("/nonexistent-dir/x/out.pdf"));
  // The report comes once "Ready" and the normal cursor are back.
  QString statusAtReport;
  bool hourglassAtReport = true;
  SetErrorReportHook([&](const Text& text) {
    statusAtReport = opened.view->sbPanel0->text();
    hourglassAtReport = QApplication::overrideCursor() != nullptr;
    boxes.reports.push_back(text);
  });
  opened.view->PrintTo(printer);
  EXPECT_EQ(statusAtReport, QStringLiteral("Ready"));
  EXPECT_FALSE(hourglassAtReport);
  ASSERT_EQ(boxes.reports.size(), 1u);
  EXPECT_FALSE(boxes.reports[0].empty());
  EXPECT_EQ(opened.view->sbPanel0->text(), QStringLiteral("Ready"));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(ViewTypeLib, LoadFailureShowsTheErrorBox) {
  BoxCapture boxes;
  MemoryLoader loader;  // nothing registered, no file exists
  TObjectData record = FileRecord(u"C:\\missing.tlb");
  EXPECT_FALSE(OpenTypeLibView(record, loader, nullptr));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].kind, BoxKind::Error);
  EXPECT_EQ(boxes.boxes[0].text, platform::ErrorCodeText(0x80004001));
  EXPECT_EQ(boxes.boxes[0].caption, u"Error");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // The file exists but does not load: its code is shown.
  loader.existingFiles = {record.Server};
  loader.fileResult = Code::TypeCantLoadLibrary;
  ViewTypeLib(record, loader, nullptr);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, platform::ErrorCodeText(0x80029C4A));
  EXPECT_TRUE(boxes.reports.empty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // A registration that is not a GUID goes to the general error report.
  record.TypeLib = u"{not a guid}";
  ViewTypeLib(record, loader, nullptr);
  ASSERT_EQ(boxes.reports.size(), 1u);
  EXPECT_EQ(boxes.reports[0], u"Invalid class string.");
  EXPECT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(ViewTypeLib, ShowsTheWindowModallyUntilItCloses) {
  BoxCapture boxes;
  auto lib = DemoLibrary();
  MemoryLoader loader = LoaderOf(lib);
  QWidget owner;
  QString caption, status;
  bool modal = false;
  QTimer::singleShot(0, [&] {
    auto* view = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!view) return;
    auto* viewer = dynamic_cast<TfrmTLBView*>(view);
    modal = view->isModal() && viewer && view->parentWidget() == &owner;
    caption = view->windowTitle();
    if (viewer) {
      status = viewer->sbPanel1->text();
      viewer->mmExit->trigger();
    }
  });
  ViewTypeLib(FileRecord(), loader, &owner);
  EXPECT_TRUE(modal);
  EXPECT_EQ(caption, QStringLiteral("ITypeLib Viewer"));
  EXPECT_TRUE(status.startsWith(QStringLiteral("Line: 1   Col: 1   Lines: ")));
  // Destroyed on close.
  EXPECT_TRUE(owner.findChildren<TfrmTLBView*>().isEmpty());
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
}  // namespace brannock::ui::testing
