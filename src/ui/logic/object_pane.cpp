#include "ui/logic/object_pane.h"

namespace brannock::ui {

std::optional<ObjectPane> BuildObjectPane(Catalogue& catalogue, TObjectNode& node, bool asHex, bool toolsRun) {
  TObjects& list = catalogue.List(node.Typ);
  if (node.Index < 0 || static_cast<size_t>(node.Index) >= list.size()) return std::nullopt;
  TObjectData& entry = list[static_cast<size_t>(node.Index)];
  ObjectPane pane;
  pane.name = node.Text;
  pane.guid = entry.GUID;
  RegistryTreeBuilder builder(catalogue.Backend(), asHex);
  try {
    catalogue.Resolve(entry);
    pane.snapshot = entry;
    pane.snapshot.Typ = node.Typ;
    node.Server = pane.snapshot.Server;
    pane.states = CommandStatesFor(pane.snapshot, toolsRun);
    builder.FillObjectTree(pane.snapshot);
  } catch (...) {
    pane.error = std::current_exception();
  }
  pane.lines = builder.Lines();
  return pane;
}

}  // namespace brannock::ui
