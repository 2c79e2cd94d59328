// brannock-pane-lines: the detail pane of the Brannock fixtures of a Wine
// prefix (every object whose GUID starts with {B4A22) and of the objects
// named on the command line, as the Linux build shows it from the prefix's
// files; both hex settings. The Wine stage gives the result to the Windows
// window test, which compares its own pane with it.
//   brannock-pane-lines PREFIX [KIND:GUID]...
#include <cstdio>
#include <string>

#include "catalogue/catalogue.h"
#include "registry/registry_source.h"
#include "ui/logic/detail_pane.h"
#include "ui/logic/error_report_text.h"
#include "catalogue/registry_tree_builder.h"
#include "../pane_lines.h"

using namespace brannock;

namespace {

testing::PaneRecord Pane(Catalogue& catalogue, TObjectData entry, bool hex) {
  catalogue.Resolve(entry);
  testing::PaneRecord r;
  r.kind = static_cast<int>(entry.Typ);
  r.guid = entry.GUID;
  r.name = entry.Name;
  r.shownGuid = entry.GUID;
  const ui::CommandStates states = ui::CommandStatesFor(entry, true);  // a Wine prefix runs regsvr32
  r.registerServer = states.registerServer;
  r.createInstance = states.createInstance;
  r.viewTypeLib = states.viewTypeLib;
  r.hex = hex;
  RegistryTreeBuilder builder(catalogue.Backend(), hex);
  try {
    builder.FillObjectTree(entry);
  } catch (...) {
    // The window shows the lines added so far and reports the error.
    r.error = ui::ErrorReportText(std::current_exception()).value_or(Text());
  }
  for (const RegLine& line : builder.Lines()) r.lines.push_back({line.level, line.text});
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: brannock-pane-lines PREFIX [KIND:GUID]...\n", stderr);
    return 2;
  }
  registry::RegistrySource source = registry::OpenRegistryPath(argv[1]);
  Catalogue catalogue(*source.backend);
  for (TObjectType typ : {TObjectType::otCLSID, TObjectType::otTypeLib, TObjectType::otAppID, TObjectType::otInterface}) {
    catalogue.ReadList(typ);
    for (const TObjectData& entry : catalogue.List(typ)) {
      bool wanted = EqualsNoCase(TextView(entry.GUID).substr(0, 6), u"{B4A22");
      for (int i = 2; i < argc && !wanted; ++i) {
        const std::string arg = argv[i];
        wanted = arg.size() > 2 && arg[0] - '0' == static_cast<int>(typ) && arg[1] == ':' &&
                 EqualsNoCase(Utf8ToUtf16(arg.substr(2)), entry.GUID);
      }
      if (!wanted) continue;
      for (bool hex : {true, false}) std::fputs(testing::FormatPaneRecord(Pane(catalogue, entry, hex)).c_str(), stdout);
    }
  }
  return 0;
}
