#include "ui/logic/tree_commands.h"

#include "catalogue/object_kinds.h"
#include "ui/logic/view_choice.h"

namespace brannock::ui {

void TTreeCommands::Refresh() {
  BusyScope busy(StatusDisplay(), BusyScope::Cursor::Wait);
  if (treeContext_.source) treeContext_.source->ReloadIfChanged();
  try {
    ReadLists();
  } catch (...) {
    ListsReadAnew();
    throw;
  }
  ListsReadAnew();
}

void TTreeCommands::ReadLists() {
  if (treeComparison_.Comparing()) {
    for (const ObjectKind& kind : kObjectKinds) treeCatalogue_.List(kind.typ).clear();
    treeComparison_.CompareAgain();
    return;
  }
  CreateTree();
  for (const ObjectKind& kind : kObjectKinds) {
    treeCatalogue_.ReadList(kind.typ);
    FillRoot(kind.typ, treeCatalogue_.List(kind.typ));
  }
}

void TTreeCommands::cmChooseView(registry::RegistryView view) {
  if (!treeContext_.view) return;
  if (SwitchView(*treeContext_.view, treeCatalogue_, view)) {
    // Every list, record and pane line came from the other view: none stays.
    ClearPane();
    ShowView();
    Refresh();
  }
  ShowView();
}

}  // namespace brannock::ui
