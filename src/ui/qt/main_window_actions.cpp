// The object commands of the main window: register and unregister the
// selected object's server, create a test instance of it, view its type
// library, and view a type library file.
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>

#include "platform/messages.h"
#include "typelib/loader.h"
#include "ui/logic/typelib_choice.h"
#include "ui/qt/busy.h"
#include "ui/qt/main_window.h"
#include "ui/qt/object_action_hooks.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/tlb_viewer.h"
#include "ui/qt/message_boxes.h"

namespace brannock::ui {

namespace {

QString ChooseTypeLibFile(QWidget* owner) {
  QFileDialog dialog(owner);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setSizeGripEnabled(true);
  dialog.setNameFilters({"TypeLib Files (*.tlb *.olb *.dll *.ocx *.exe)", "All Files (*)"});
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

// The index of the chosen item, or -1 when the user cancels.
int ChooseTypeLibResource(QWidget* owner, const QStringList& items) {
  bool ok = false;
  const QString chosen =
      QInputDialog::getItem(owner, "View TypeLib", "This file holds several type libraries:", items, 0, false, &ok);
  return ok ? static_cast<int>(items.indexOf(chosen)) : -1;
}

struct Hooks {
  ToolRunner runner;
  InstanceProbe probe;
  TypeLibFileChooser chooser;
  TypeLibResourceChooser resourceChooser;
};

Hooks& ActionHooks() {
  static Hooks hooks;
  return hooks;
}

}  // namespace

void SetToolRunner(ToolRunner runner) { ActionHooks().runner = std::move(runner); }
void SetInstanceProbe(InstanceProbe probe) { ActionHooks().probe = std::move(probe); }
void SetTypeLibFileChooser(TypeLibFileChooser chooser) { ActionHooks().chooser = std::move(chooser); }

void SetTypeLibResourceChooser(TypeLibResourceChooser chooser) {
  ActionHooks().resourceChooser = std::move(chooser);
}

std::optional<TObjectData> TfrmMain::FocusedObject() const {
  QTreeWidgetItem* item = Tree->currentItem();
  if (!item || !item->parent()) return std::nullopt;
  const TObjectNode& node = ObjectTree::NodeOf(item)->Node();
  return NodeObject(catalogue_.List(node.Typ), node);
}

void TfrmMain::bRegClick(int tag) {
  QTreeWidgetItem* item = Tree->currentItem();
  if (!item) return;
  const std::optional<ToolCommand> command =
      RegistrationCommand(options_.tools, ObjectTree::NodeOf(item)->Node().Server, tag != 0);
  if (!command) return;
  // The tool shows its own result; whether it started is not reported.
  const ToolRunner& runner = ActionHooks().runner;
  runner ? runner(*command) : RunTool(*command);
  // Under Wine the registration changed the prefix's files: show it.
  if (options_.source && options_.source->ReloadIfChanged()) Refresh();
}

void TfrmMain::cmCreateInst() {
  if (!Tree->currentItem() || !Tree->currentItem()->parent()) return;
  QtBusyScope busy(this, sb, BusyScope::Cursor::Wait);
  const std::optional<TObjectData> object = FocusedObject();
  if (!object) return;
  const InstanceProbe& probe = ActionHooks().probe;
  const std::optional<Text> failure =
      InstanceFailureText(probe ? probe(options_.tools, object->ProgId) : ProbeInstance(options_.tools, object->ProgId));
  // "Ready" and the normal cursor are back before the box shows.
  busy.End();
  if (failure) ShowErrorBox(*failure);
}

void TfrmMain::cmViewTLB() {
  if (!Tree->currentItem() || !Tree->currentItem()->parent()) return;
  // The viewer is modal: "Working..." stays until it is closed. It sets the
  // wait cursor itself while it loads.
  QtBusyScope busy(this, sb, BusyScope::Cursor::Unchanged);
  const std::optional<TObjectData> object = FocusedObject();
  if (object) ViewObjectTypeLib(*object);
}

void TfrmMain::cmViewTypeLib() {
  const TypeLibFileChooser& chooser = ActionHooks().chooser;
  const QString file = chooser ? chooser(this) : ChooseTypeLibFile(this);
  if (file.isEmpty()) return;
  TObjectData record;
  record.Server = FromQt(file);
  // A file with several type libraries: the user chooses one.
  if (const auto loader = CreateLoader()) {
    std::vector<typelib::TypeLibResource> resources;
    {
      QtBusyScope busy;
      typelib::ListTypeLibResources(*loader, record.Server, &resources);
    }
    if (resources.size() > 1) {
      QStringList items;
      for (const Text& item : TypeLibChoiceItems(resources)) items << ToQt(item);
      const TypeLibResourceChooser& choose = ActionHooks().resourceChooser;
      const int index = choose ? choose(this, items) : ChooseTypeLibResource(this, items);
      if (index < 0) return;
      record.Server = TypeLibChoiceFile(record.Server, resources, static_cast<size_t>(index));
    }
  }
  ViewObjectTypeLib(record);
}

std::unique_ptr<typelib::TypeLibLoader> TfrmMain::CreateLoader() {
  return typelib::CreateTypeLibLoader(options_.tools.kind == ToolHost::Kind::Native ? nullptr : &catalogue_.Backend(),
                                      options_.tools.winePrefix, {},
                                      options_.view ? options_.view->View() : registry::RegistryView::Bits64);
}

void TfrmMain::ViewObjectTypeLib(const TObjectData& record) {
  if (const std::unique_ptr<typelib::TypeLibLoader> loader = CreateLoader()) ViewTypeLib(record, *loader, this);
}

}  // namespace brannock::ui
