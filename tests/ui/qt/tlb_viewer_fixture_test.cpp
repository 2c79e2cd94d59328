// The viewer on libraries compiled by widl and read by the file reader.
#include <gtest/gtest.h>

#include <Qsci/qscilexer.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <filesystem>

#include "typelib/idl_text.h"
#include "typelib/loader.h"
#include "typelib/reader_fixtures.h"
#include "typelib/unit_text.h"
#include "ui/qt/viewer_find_dialog.h"
#include "viewer_fixture.h"

namespace brannock::ui::testing {
namespace {

using typelib::testing::Fixture;
using typelib::testing::FixtureDir;

std::unique_ptr<TfrmTLBView> OpenFile(const std::filesystem::path& file) {
  auto loader = typelib::CreateTypeLibLoader(nullptr, {});
  return OpenTypeLibView(FileRecord(Utf8ToUtf16(file.string())), *loader, nullptr);
}

QStringList Children(QTreeWidgetItem* item) {
  QStringList texts;
  for (int i = 0; i < item->childCount(); ++i) texts << item->child(i)->text(0);
  return texts;
}

TEST(TypeLibViewerOnFiles, ShapesTreeTextAndNavigation) {
  REQUIRE_TLB_FIXTURES();
  BoxCapture boxes;
  std::unique_ptr<TfrmTLBView> view = OpenFile(Fixture("shapes.tlb"));
  ASSERT_TRUE(view);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(view->FUnitname, u"ShapeLib");

  QTreeWidgetItem* root = view->Tree->topLevelItem(0);
  EXPECT_EQ(root->text(0), QStringLiteral("ShapeLib (Shapes and colours) (8)"));
  EXPECT_TRUE(root->isExpanded());
  EXPECT_EQ(Children(root), (QStringList{"Enums (1)", "Structs (1)", "Modules (1)", "Interfaces (3)",
                                         "Dispinterfaces (3)", "CoClasses (2)", "Typedefs (2)", "Unions (1)"}));
  // The dual interfaces show twice: listed as dispatch types, and under
  // "Interfaces" through the interface they implement.
  EXPECT_EQ(Children(root->child(3)),
            (QStringList{"interface IPlain", "interface IShape", "interface ICircle"}));
  EXPECT_EQ(Children(root->child(4)),
            (QStringList{"dispinterface IShapeDisp", "dispinterface ICircleDisp", "dispinterface DShapeEventsDisp"}));
  EXPECT_EQ(Children(root->child(5)), (QStringList{"coclass TShape", "coclass THidden"}));
  EXPECT_EQ(Children(root->child(6)), (QStringList{"typedef Handle", "typedef NameList"}));

  // The text is the rendered unit.
  auto loader = typelib::CreateTypeLibLoader(nullptr, {});
  std::shared_ptr<typelib::TypeLib> lib;
  ASSERT_EQ(loader->LoadTypeLib(Utf8ToUtf16(Fixture("shapes.tlb").string()), &lib), 0);
  TextList lines;
  typelib::TypeLibToStrings({Utf8ToUtf16(Fixture("shapes.tlb").string())}, *lib, &lines);
  EXPECT_EQ(view->SynMemo->LineCount(), static_cast<int>(lines.size()));
  EXPECT_EQ(view->sbPanel1->text(), QStringLiteral("Line: 1   Col: 1   Lines: %1").arg(lines.size()));

  // Every type node finds the declaration line of its own name; the module
  // has no block and finds nothing.
  int jumps = 0;
  for (QTreeWidgetItem* item : view->Tree->AllNodes()) {
    const TTypeNode node = TTypeTreeWidget::NodeOf(item);
    if (node.Kind < 0 || node.Kind > 7) continue;
    view->Tree->setCurrentItem(item);
    view->TreeDblClick();
    if (node.Kind == typelib::TKIND_MODULE) {
      EXPECT_EQ(view->SynMemo->CaretPosition(), 0);
      continue;
    }
    EXPECT_EQ(CaretLineText(*view).section(QLatin1Char('='), 0, 0), QStringLiteral("  %1 ").arg(ToQt(node.Text)))
        << item->text(0).toStdString();
    ++jumps;
  }
  EXPECT_EQ(jumps, 13);
  // IShapeDisp's block comes before IShape's.
  view->Tree->setCurrentItem(view->Tree->findItems("dispinterface IShapeDisp", Qt::MatchExactly | Qt::MatchRecursive)[0]);
  view->TreeDblClick();
  const int dispLine = view->SynMemo->CaretLine();
  view->Tree->setCurrentItem(view->Tree->findItems("interface IShape", Qt::MatchExactly | Qt::MatchRecursive)[0]);
  view->TreeDblClick();
  EXPECT_GT(view->SynMemo->CaretLine(), dispLine);
}

TEST(TypeLibViewerOnFiles, ViewMenuShowsIdlFindsInItAndJumpsToItsDeclarations) {
  REQUIRE_TLB_FIXTURES();
  BoxCapture boxes;
  std::unique_ptr<TfrmTLBView> view = OpenFile(Fixture("shapes.tlb"));
  ASSERT_TRUE(view);
  EXPECT_EQ(view->View1->title(), QStringLiteral("View"));
  EXPECT_TRUE(view->mmPascal->isChecked());
  EXPECT_FALSE(view->mmIdl->isChecked());
  const QString pascal = view->SynMemo->text();

  view->mmIdl->trigger();
  EXPECT_TRUE(view->mmIdl->isChecked());
  EXPECT_FALSE(view->mmPascal->isChecked());
  EXPECT_STREQ(view->SynMemo->lexer()->language(), "IDL");
  auto loader = typelib::CreateTypeLibLoader(nullptr, {});
  std::shared_ptr<typelib::TypeLib> lib;
  ASSERT_EQ(loader->LoadTypeLib(Utf8ToUtf16(Fixture("shapes.tlb").string()), &lib), 0);
  TextList lines;
  typelib::TypeLibToIdl({Utf8ToUtf16(Fixture("shapes.tlb").string())}, *lib, &lines);
  EXPECT_EQ(view->SynMemo->LineCount(), static_cast<int>(lines.size()));
  EXPECT_EQ(view->sbPanel1->text(), QStringLiteral("Line: 1   Col: 1   Lines: %1").arg(lines.size()));
  EXPECT_EQ(view->sbPanel0->text(), QStringLiteral("Ready"));
  // The colouring: "library" a keyword, "uuid" an attribute.
  const QString text = view->SynMemo->text();
  view->SynMemo->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0L, -1L);
  auto styleAt = [&](qsizetype index) {
    return static_cast<TPascalToken>(view->SynMemo->SendScintilla(
        QsciScintillaBase::SCI_GETSTYLEAT, static_cast<unsigned long>(text.left(index).toUtf8().size())));
  };
  EXPECT_EQ(styleAt(text.indexOf(QStringLiteral("\nlibrary ")) + 1), TPascalToken::Keyword);
  EXPECT_EQ(styleAt(text.indexOf(QStringLiteral("uuid("))), TPascalToken::Attribute);
  EXPECT_EQ(styleAt(text.indexOf(QStringLiteral("importlib(\"")) + 10), TPascalToken::String);

  // Find works in the IDL.
  view->fd->SetFindText(QStringLiteral("coclass"));
  view->fd->SetDown(true);
  view->fdFind();
  const auto selectionStart = view->SynMemo->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
  const auto selectionEnd = view->SynMemo->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND);
  EXPECT_EQ(text.toUtf8().mid(selectionStart, selectionEnd - selectionStart), QByteArray("coclass"));
  EXPECT_TRUE(boxes.boxes.empty());

  // A double click finds the IDL declaration of the type.
  auto jump = [&](const char* node) {
    view->Tree->setCurrentItem(
        view->Tree->findItems(QString::fromLatin1(node), Qt::MatchExactly | Qt::MatchRecursive).value(0));
    view->TreeDblClick();
    return CaretLineText(*view);
  };
  // The tree shows the unit's names; IDL declares the library's own.
  EXPECT_EQ(jump("coclass TShape"), QStringLiteral("    coclass Shape {"));
  EXPECT_EQ(jump("typedef Handle"), QStringLiteral("    typedef [public] long Handle;"));
  // Both nodes of a dual interface find its one IDL declaration.
  const QString dual = jump("interface IShape");
  EXPECT_TRUE(dual.startsWith(QStringLiteral("    interface IShape : "))) << dual.toStdString();
  EXPECT_EQ(jump("dispinterface IShapeDisp"), dual);

  // And back: the same unit as when the window opened.
  view->mmPascal->trigger();
  EXPECT_TRUE(view->mmPascal->isChecked());
  EXPECT_STREQ(view->SynMemo->lexer()->language(), "Pascal");
  EXPECT_EQ(view->SynMemo->text(), pascal);
  EXPECT_EQ(jump("coclass TShape").section(QLatin1Char('='), 0, 0), QStringLiteral("  TShape "));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(TypeLibViewerOnFiles, UnreachableImportStopsTheTree) {
  REQUIRE_TLB_FIXTURES();
  // Without stdole2.tlb beside it, the dual interface's implemented
  // IDispatch cannot be followed: the tree stops there, the text is whole.
  QTemporaryDir dir;
  const std::filesystem::path alone = std::filesystem::path(dir.path().toStdString()) / "shapes.tlb";
  std::filesystem::copy_file(Fixture("shapes.tlb"), alone);
  BoxCapture boxes;
  std::unique_ptr<TfrmTLBView> view = OpenFile(alone);
  ASSERT_TRUE(view);
  QTreeWidgetItem* root = view->Tree->topLevelItem(0);
  EXPECT_FALSE(root->isExpanded());
  EXPECT_EQ(Children(root->child(3)), (QStringList{"interface IPlain"}));
  EXPECT_EQ(Children(root->child(4)), (QStringList{"dispinterface IShapeDisp"}));
  EXPECT_EQ(root->child(5)->childCount(), 0);
  EXPECT_TRUE(view->SynMemo->text().contains(QStringLiteral("  THidden = class(TAutoObject, IPlain);")));
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_TRUE(boxes.reports.empty());
}

TEST(TypeLibViewerOnFiles, DamagedFileIsALoadFailure) {
  REQUIRE_TLB_FIXTURES();
  QTemporaryDir dir;
  const QString file = QDir(dir.path()).filePath(QStringLiteral("cut.tlb"));
  QFile whole(QString::fromStdString(Fixture("shapes.tlb").string()));
  ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
  QFile cut(file);
  ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
  cut.write(whole.read(100));
  cut.close();
  BoxCapture boxes;
  EXPECT_FALSE(OpenFile(file.toStdString()));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].kind, BoxKind::Error);
  EXPECT_NE(boxes.boxes[0].text.find(u"(Error code: 0x8002"), Text::npos);
}

}  // namespace
}  // namespace brannock::ui::testing
