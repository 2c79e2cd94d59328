#include "ui/logic/find_commands.h"

namespace brannock::ui {

void TFindCommands::cmFind() { ShowFindWindow(); }

const analysis::RegistrationIndex& TFindCommands::Index() {
  if (!analysis_.HasIndex()) {
    BusyScope busy(StatusDisplay(), BusyScope::Cursor::Wait);
    return analysis_.Index();
  }
  return analysis_.Index();
}

const analysis::ObjectFinder& TFindCommands::Finder() {
  Index();
  return analysis_.Finder();
}

void TFindCommands::GoToObject(TObjectType typ, uint32_t index) {
  ExpandRoot(typ);
  SelectObjectNode(typ, index);
}

void TFindCommands::ShowReferences() {
  const TObjectNode* node = FocusedObjectNode();
  if (!node || !ReferencesPageShown()) return;
  const analysis::RegistrationIndex& index = Index();
  // A node of lists read before the index was built (cannot be, as the
  // index reads the lists the tree shows) names nothing.
  if (node->Index < 0 || static_cast<size_t>(node->Index) >= index.Count(node->Typ)) {
    ShowReferenceRows({}, {});
    return;
  }
  analysis::LibraryScan& scan = analysis_.Libraries();
  if (analysis::NeedsLibraries(node->Typ) && !scan.Finished() && !librariesDeclined_) {
    if (const std::unique_ptr<typelib::TypeLibLoader> loader = LibraryLoader()) {
      const std::unique_ptr<LibraryProgress> progress = OpenLibraryProgress();
      if (!ReadLibraries(scan, *loader, StatusDisplay(), *progress)) librariesDeclined_ = true;
    }
  }
  const analysis::References refs = analysis_.ReferencesOf(node->Typ, static_cast<uint32_t>(node->Index));
  ShowReferenceRows(ReferenceRows(refs), refs.notes);
}

void TFindCommands::PageChange() {
  librariesDeclined_ = false;
  ShowReferences();
}

void TFindCommands::CatalogueReadAnew() {
  analysis_.Forget();
  librariesDeclined_ = false;
  ShowReferenceRows({}, {});
  SearchFindWindowAgain();
}

}  // namespace brannock::ui
