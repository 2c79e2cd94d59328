// Object > "Check Registrations" and the Security page of the Qt main
// window, offscreen, on the planted-fault machine of
// tests/data/analysis/check_machine.reg.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "registry/registry_source.h"
#include "registry/viewed_registry.h"
#include "ui/qt/check_dialog.h"
#include "ui/qt/error_report.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"
#include "tree_items.h"

namespace brannock::ui::testing {
namespace {

class CheckWindowTest : public ::testing::Test {
 protected:
  registry::RegistrySource source_ =
      registry::OpenRegistryPath(std::filesystem::path(BRANNOCK_TEST_DATA) / "analysis" / "check_machine.reg");
  registry::ViewedRegistry view_{*source_.backend, registry::RegistryView::Bits64};
  Catalogue catalogue_{view_};
  std::unique_ptr<TfrmMain> w_;
  QStringList reports_;

  CheckWindowTest() {
    SetErrorReportHook([this](const Text& t) { reports_ << ToQt(t); });
    TfrmMain::Options options;
    options.view = &view_;
    options.source = &source_;
    w_ = std::make_unique<TfrmMain>(catalogue_, std::move(options));
    w_->show();
  }
  ~CheckWindowTest() override {
    w_.reset();
    TfrmMain::SetCheckResultChooser(nullptr);
    SetErrorReportHook(nullptr);
  }

  static constexpr const char* kNoBackRow = "ProgID NoBack.ProgID {C0000002-0000-4000-8000-000000000000}";

  // Double-clicks the row whose first column is `text` with the mouse (the
  // dialog shown first); the row chosen.
  static std::optional<size_t> DoubleClickRow(CheckDialog& dialog, const QString& text) {
    dialog.show();
    const QList<QTreeWidgetItem*> hits = dialog.List->findItems(text, Qt::MatchExactly, 0);
    EXPECT_EQ(hits.size(), 1);
    if (hits.size() != 1) return std::nullopt;
    dialog.List->scrollToItem(hits[0]);
    const QPoint at = dialog.List->visualItemRect(hits[0]).center();
    QTest::mouseClick(dialog.List->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dialog.List->viewport(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(dialog.isVisible());
    return dialog.Chosen();
  }
};

TEST_F(CheckWindowTest, FindingsListAndADoubleClickSelectsTheObject) {
  ASSERT_NE(w_->mmCheck, nullptr);
  EXPECT_EQ(w_->mmCheck->text(), "Check Registrations");
  EXPECT_TRUE(w_->mmCheck->isEnabled());
  QString count;
  QStringList firstRow;
  bool shownWhileBusy = true;
  TfrmMain::SetCheckResultChooser([&](CheckDialog& dialog) -> std::optional<size_t> {
    dialog.show();
    shownWhileBusy = w_->sb->text() != "Ready";
    count = dialog.Count->text();
    QTreeWidgetItem* first = dialog.List->topLevelItem(0);
    firstRow << first->text(0) << first->text(1) << first->toolTip(0);
    EXPECT_FALSE(first->icon(0).isNull());  // the severity's image
    // A double click with the mouse on the ProgID whose class does not name
    // it back.
    return DoubleClickRow(dialog, kNoBackRow);
  });
  w_->mmCheck->trigger();
  EXPECT_TRUE(reports_.isEmpty()) << reports_.join("\n").toStdString();
  EXPECT_FALSE(shownWhileBusy);
  EXPECT_EQ(count, "9 errors, 9 warnings, 2 notes. Double-click a row to select its object.");
  EXPECT_EQ(firstRow, (QStringList{"class Treat Missing {C0000004-0000-4000-8000-000000000000}",
                                   "TreatAs names the class {C00000FF-0000-4000-8000-000000000000}, which is not "
                                   "registered",
                                   "HKEY_CLASSES_ROOT\\CLSID\\{C0000004-0000-4000-8000-000000000000}\\TreatAs"}));
  // The class is selected, its root filled and open, its pane shown.
  ASSERT_NE(w_->Tree->currentItem(), nullptr);
  EXPECT_EQ(w_->Tree->currentItem()->text(0), "Missing Server");
  EXPECT_TRUE(w_->OCRoot->isExpanded());
  EXPECT_EQ(w_->eGUID->text(), "{C0000002-0000-4000-8000-000000000000}");
  EXPECT_EQ(w_->sb->text(), "Ready");
}

TEST_F(CheckWindowTest, TheSecurityPageOfAnAppIdAndOfAClassWithOne) {
  w_->OCRoot->setExpanded(true);
  w_->AIRoot->setExpanded(true);
  // A class without an AppID: the Registry and References pages alone.
  w_->Tree->setCurrentItem(Child(w_->OCRoot, "Missing Server"));
  EXPECT_EQ(w_->pc->count(), 2);
  EXPECT_EQ(w_->pc->indexOf(w_->tsSecurity), -1);
  // The AppID without permissions of its own: the machine's defaults, said so.
  w_->Tree->setCurrentItem(Child(w_->AIRoot, "Defaults AppID"));
  ASSERT_EQ(w_->pc->count(), 3);
  EXPECT_EQ(w_->pc->tabText(2), " Security ");
  const QString text = w_->SecurityText->toPlainText();
  EXPECT_TRUE(text.startsWith("AppID {A0000002-0000-4000-8000-000000000000} (Defaults AppID)\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("the machine default applies, DefaultLaunchPermission of "
                            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Ole\n   O:BAG:BAD:(A;;CCDCLCSWRP;;;SY)"));
  EXPECT_TRUE(text.contains("   Allow INTERACTIVE (S-1-5-4): Local Launch, Remote Launch, Local Activation, Remote Activation"));
  // A class with an AppID shows that AppID's page; the Registry page stays first.
  w_->pc->setCurrentWidget(w_->tsSecurity);
  w_->Tree->setCurrentItem(Child(w_->OCRoot, "Good Class"));
  ASSERT_EQ(w_->pc->count(), 3);
  EXPECT_EQ(w_->pc->tabText(0), " Registry ");
  EXPECT_EQ(w_->pc->currentWidget(), w_->tsSecurity);
  EXPECT_TRUE(w_->SecurityText->toPlainText().startsWith("The class runs in the AppID {A0000001-0000-4000-8000-000000000000}"));
  // Without one the page goes; the References page next to it is shown.
  w_->Tree->setCurrentItem(Child(w_->OCRoot, "Writable"));
  EXPECT_EQ(w_->pc->count(), 2);
  EXPECT_EQ(w_->pc->currentWidget(), w_->tsReferences);
  EXPECT_TRUE(reports_.isEmpty()) << reports_.join("\n").toStdString();
}

// While the window compares: a difference shows no Security page, and the
// object of a finding is selected in the plain tree, the comparison ended.
TEST_F(CheckWindowTest, WhileComparing) {
  w_->AIRoot->setExpanded(true);
  w_->Tree->setCurrentItem(Child(w_->AIRoot, "Defaults AppID"));
  ASSERT_EQ(w_->pc->count(), 3);

  // Compared with a registry that holds none of these objects, every object
  // is added.
  QTemporaryDir dir;
  const QString before = dir.filePath("before.reg");
  {
    QFile file(before);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CLASSES_ROOT\\CLSID]\r\n");
  }
  TfrmMain::SetComparisonSourceChooser([before](QWidget*) { return before; });
  w_->mmCompareWith->trigger();
  TfrmMain::SetComparisonSourceChooser(nullptr);
  ASSERT_TRUE(w_->Comparing());
  QTreeWidgetItem* added = Child(w_->AIRoot, "Defaults AppID");
  ASSERT_NE(added, nullptr);
  w_->Tree->setCurrentItem(added);
  EXPECT_EQ(w_->pc->count(), 1) << "a difference has neither a Security nor a References page";
  EXPECT_TRUE(w_->SecurityText->toPlainText().isEmpty());

  TfrmMain::SetCheckResultChooser([](CheckDialog& dialog) { return DoubleClickRow(dialog, kNoBackRow); });
  w_->mmCheck->trigger();
  EXPECT_FALSE(w_->Comparing());
  EXPECT_FALSE(w_->mmEndComparison->isEnabled());
  ASSERT_NE(w_->Tree->currentItem(), nullptr);
  EXPECT_EQ(w_->Tree->currentItem()->text(0), "Missing Server");
  EXPECT_EQ(w_->eGUID->text(), "{C0000002-0000-4000-8000-000000000000}");
  EXPECT_TRUE(reports_.isEmpty()) << reports_.join("\n").toStdString();
}

}  // namespace
}  // namespace brannock::ui::testing
