// What the detail pane shows for a selected node, as data: the root texts,
// the enabled commands, the key paths of the registry tree, and the summary
// that "Copy to Clipboard" puts on the clipboard.
#pragma once

#include <vector>

#include "catalogue/object_data.h"
#include "common/text.h"
#include "catalogue/registry_tree_builder.h"

namespace brannock::ui {

// eGUID of a root: "Expand node to retrieve items" without children,
// "Node contains %d items" with them.
Text RootPaneText(int childCount);

struct CommandStates {
  bool registerServer = false;  // bReg, bUnreg, mmReg, mmUnreg
  bool createInstance = false;  // mmCreateInst
  bool viewTypeLib = false;     // mmView, bView
};

// Register and Unregister need a server and a way to run regsvr32 for the
// source (`toolsRun`: the live registry, a Wine prefix; not a .reg export, a
// hive or the demo registry).
CommandStates CommandStatesFor(const TObjectData& snapshot, bool toolsRun);

struct SummaryLine {
  int level = 0;
  Text text;
};

// "Name: %s", "GUID: %s", 80 hyphens, then each registry line indented by
// three blanks per level; every line ends with CR LF.
Text CopySummaryText(TextView name, TextView guid, const std::vector<SummaryLine>& lines);
// The same for the lines of a registry tree as built.
Text CopySummaryText(TextView name, TextView guid, const std::vector<RegLine>& lines);

}  // namespace brannock::ui
