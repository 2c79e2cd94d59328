// The main window's File and Edit commands: saving a list, copying the
// summary, the About box.
#include "ui/qt/main_window.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>

#include <filesystem>
#include <functional>

#include "catalogue/list_file.h"
#include "ui/logic/detail_pane.h"
#include "ui/logic/main_window_text.h"
#include "ui/qt/about_dialog.h"
#include "ui/qt/busy.h"
#include "ui/qt/qt_text.h"

namespace brannock::ui {

namespace {

TfrmMain::SaveFileChooser& Chooser() {
  static TfrmMain::SaveFileChooser chooser = [](QWidget* owner, const QString& suggested) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({ToQt(kListFileFilterName), "All files (*)"});
    dialog.setDefaultSuffix(ToQt(kListFileExtension));
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
  };
  return chooser;
}

}  // namespace

void TfrmMain::SetSaveFileChooser(SaveFileChooser chooser) { Chooser() = std::move(chooser); }

void TfrmMain::cmSave(int tag) {
  const std::optional<SaveCommand> command = SaveCommandFor(tag);
  if (!command) return;
  const QString file = Chooser()(this, ToQt(command->suggestedFile));
  if (file.isEmpty()) return;
  QtBusyScope busy;
  if (catalogue_.List(command->typ).empty()) catalogue_.ReadList(command->typ);
  SaveList(std::filesystem::path(file.toStdString()), catalogue_.List(command->typ));
}

void TfrmMain::bCopyClick() {
  std::vector<SummaryLine> lines;
  std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int level) {
    lines.push_back({level, FromQt(item->text(0))});
    for (int i = 0; i < item->childCount(); ++i) walk(item->child(i), level + 1);
  };
  for (int i = 0; i < RegTree->topLevelItemCount(); ++i) walk(RegTree->topLevelItem(i), 0);
  const Text text = CopySummaryText(FromQt(eName->text()), FromQt(eGUID->text()), lines);
  QGuiApplication::clipboard()->setText(ToQt(text));
}

void TfrmMain::cmAbout() { ShowAbout(this); }

}  // namespace brannock::ui
