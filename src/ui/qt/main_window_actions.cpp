// The controls of the main window's object commands (TObjectCommands): the
// focused node, the file dialogs and the choice among several libraries,
// the summary's texts, the clipboard and the viewer.
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>

#include "ui/logic/main_window_text.h"
#include "ui/logic/typelib_choice.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/tlb_viewer.h"

namespace brannock::ui {

namespace {

QString ChooseSave(QWidget* owner, const QString& suggested) {
  QFileDialog dialog(owner);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({ToQt(kListFileFilterName), "All files (*)"});
  dialog.setDefaultSuffix(ToQt(kListFileExtension));
  dialog.selectFile(suggested);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

QString ChooseOpen(QWidget* owner) {
  QFileDialog dialog(owner);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setSizeGripEnabled(true);
  dialog.setNameFilters({"TypeLib Files (*.tlb *.olb *.dll *.ocx *.exe)", "All Files (*)"});
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

int ChooseResource(QWidget* owner, const QStringList& items) {
  bool ok = false;
  const QString chosen = QInputDialog::getItem(owner, ToQt(kTypeLibChoiceCaption), ToQt(kTypeLibChoicePrompt), items,
                                               0, false, &ok);
  return ok ? static_cast<int>(items.indexOf(chosen)) : -1;
}

struct Choosers {
  TfrmMain::SaveFileChooser save;
  TfrmMain::TypeLibFileChooser open;
  TfrmMain::TypeLibResourceChooser resource;
};

Choosers& Dialogs() {
  static Choosers choosers;
  return choosers;
}

}  // namespace

void TfrmMain::SetSaveFileChooser(SaveFileChooser chooser) { Dialogs().save = std::move(chooser); }
void TfrmMain::SetTypeLibFileChooser(TypeLibFileChooser chooser) { Dialogs().open = std::move(chooser); }
void TfrmMain::SetTypeLibResourceChooser(TypeLibResourceChooser chooser) { Dialogs().resource = std::move(chooser); }

TObjectCommands::Focus TfrmMain::FocusedRecord() const {
  QTreeWidgetItem* item = Tree->currentItem();
  // While comparing, an object node stands for a difference, not for an
  // entry of the catalogue: the object commands see none.
  if (!item || (Comparing() && item->parent())) return {};
  return {&ObjectTree::NodeOf(item)->Node(), item->parent() == nullptr};
}

Text TfrmMain::ChooseSaveFile(TextView suggested) {
  const SaveFileChooser& chooser = Dialogs().save;
  return FromQt(chooser ? chooser(this, ToQt(suggested)) : ChooseSave(this, ToQt(suggested)));
}

Text TfrmMain::ChooseTypeLibFile() {
  const TypeLibFileChooser& chooser = Dialogs().open;
  return FromQt(chooser ? chooser(this) : ChooseOpen(this));
}

std::optional<size_t> TfrmMain::ChooseTypeLibResource(const TextList& items) {
  QStringList shown;
  for (const Text& item : items) shown << ToQt(item);
  const TypeLibResourceChooser& chooser = Dialogs().resource;
  const int index = chooser ? chooser(this, shown) : ChooseResource(this, shown);
  if (index < 0) return std::nullopt;
  return static_cast<size_t>(index);
}

Text TfrmMain::HeaderName() const { return FromQt(eName->text()); }
Text TfrmMain::HeaderGuid() const { return FromQt(eGUID->text()); }

std::vector<SummaryLine> TfrmMain::RegistryLines() const {
  std::vector<SummaryLine> lines;
  std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int level) {
    lines.push_back({level, FromQt(item->text(0))});
    for (int i = 0; i < item->childCount(); ++i) walk(item->child(i), level + 1);
  };
  for (int i = 0; i < RegTree->topLevelItemCount(); ++i) walk(RegTree->topLevelItem(i), 0);
  return lines;
}

void TfrmMain::PutOnClipboard(const Text& text) { QGuiApplication::clipboard()->setText(ToQt(text)); }

void TfrmMain::ShowTypeLib(const TObjectData& record, typelib::TypeLibLoader& loader) {
  ViewTypeLib(record, loader, this);
}

}  // namespace brannock::ui
