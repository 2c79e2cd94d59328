// The detail pane of a selected object, built whole before anything of it is
// shown: the header texts, the command states and the registry tree lines.
// A failure on the way (a registry error while the details are resolved or
// a value is rendered) ends the building; what was built until then is still
// the selected object's, so the pane never shows one object's header over
// another's registry tree, and the failure is reported after the pane is
// shown.
#pragma once

#include <exception>
#include <optional>
#include <vector>

#include "catalogue/catalogue.h"
#include "ui/logic/detail_pane.h"
#include "ui/logic/object_tree.h"
#include "catalogue/registry_tree_builder.h"

namespace brannock::ui {

struct ObjectPane {
  TObjectData snapshot;  // the resolved record; Typ is the node's
  CommandStates states;
  Text name;  // eName: the node's text
  Text guid;  // eGUID: the object's GUID
  std::vector<RegLine> lines;
  // Set when the building stopped: the lines so far are shown, not
  // expanded, and then the error goes to the general error report.
  std::exception_ptr error;
};

// Resolves the node's list entry in place,
// stores its server into the node record and builds the pane. Nothing when
// the node's list entry is gone (the list was read anew without its tree).
// `toolsRun` tells whether regsvr32 can run for the source (RunsTools).
std::optional<ObjectPane> BuildObjectPane(Catalogue& catalogue, TObjectNode& node, bool asHex, bool toolsRun);

}  // namespace brannock::ui
